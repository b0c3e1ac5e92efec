#!/usr/bin/env python3
"""Finds shell pipelines whose reader may stop before its writer is done.

Under `set -o pipefail` a writer that is still writing when its reader exits dies of SIGPIPE,
and the pipeline fails at random (status 141, no message). Readers of that kind: head, read,
grep -q / -m / --quiet / --max-count, an awk program that exits outside its END block, and a
sed script with a q or Q command. Such a reader should read a file or a here-string, or read
its whole input.

usage: early_readers.py FILE...   prints FILE:LINE: reader for each one; exit 1 if any.
"""
import re
import sys


class Scanner:
    """Collects (line, command text) for every command that reads from a single '|'.

    Quotes are followed across lines (an awk program spans many), command substitutions are
    scanned inside double quotes as well, comments are skipped, and a command runs to the next
    unquoted |, ;, &, newline (not continued) or closing parenthesis.
    """

    def __init__(self, text):
        self.text = text
        self.line = 1
        self.found = []

    def char(self, i):
        return self.text[i] if i < len(self.text) else ""

    def code(self, i, closing):
        """Scans code from i; with closing, up to the ')' that ends a $( ); returns the index."""
        text = self.text
        current = None
        depth = 0

        def finish():
            nonlocal current
            if current is not None:
                self.found.append((current[0], current[1].strip()))
                current = None

        while i < len(text):
            c = text[i]
            if c == "\n":
                self.line += 1
                if current is not None and current[1].strip():
                    finish()
                i += 1
                continue
            if c == "'":
                j = text.find("'", i + 1)
                j = len(text) if j < 0 else j
                self.line += text.count("\n", i, j)
                if current is not None:
                    current[1] += text[i:j + 1]
                i = j + 1
                continue
            if c == '"':
                j = self.double_quoted(i + 1)
                if current is not None:
                    current[1] += text[i:j]
                i = j
                continue
            if c == "\\":
                if self.char(i + 1) == "\n":
                    self.line += 1
                elif current is not None:
                    current[1] += self.char(i + 1)
                i += 2
                continue
            if c == "#" and (i == 0 or text[i - 1] in " \t\n;|&("):
                while i < len(text) and text[i] != "\n":
                    i += 1
                continue
            if c == "$" and self.char(i + 1) == "(":
                j = self.code(i + 2, True)
                if current is not None:
                    current[1] += text[i:j]
                i = j
                continue
            if c == "(":
                depth += 1
            if c == ")":
                if closing and depth == 0:
                    finish()
                    return i + 1
                depth -= 1
            if c == "|":
                finish()
                if self.char(i + 1) in ("|", "&"):
                    i += 2
                    continue
                current = [self.line, ""]
                i += 1
                continue
            if c in ";&)":
                finish()
                i += 1
                continue
            if current is not None:
                current[1] += c
            i += 1
        finish()
        return i

    def double_quoted(self, i):
        """Scans a double-quoted string from just after its quote; returns the index after it."""
        text = self.text
        while i < len(text):
            c = text[i]
            if c == "\n":
                self.line += 1
            if c == "\\":
                if self.char(i + 1) == "\n":
                    self.line += 1
                i += 2
                continue
            if c == '"':
                return i + 1
            if c == "$" and self.char(i + 1) == "(":
                i = self.code(i + 2, True)
                continue
            i += 1
        return i


def segments_after_pipes(text):
    scanner = Scanner(text)
    scanner.code(0, False)
    return scanner.found


def unquote(word):
    return word.strip("'\"")


def early_reader(command):
    """The name of the early reader this command is, or None."""
    words = command.split()
    if not words:
        return None
    name = unquote(words[0])
    if name == "head":
        return "head"
    if name == "read":
        return "read"
    if name in ("grep", "egrep", "fgrep"):
        for word in words[1:]:
            word = unquote(word)
            if word in ("--quiet", "--silent") or word.startswith("--max-count"):
                return "grep " + word
            if re.fullmatch(r"-[A-Za-z]*[qsm][A-Za-z0-9]*", word) and ("q" in word or "m" in word):
                return "grep " + word
        return None
    if name in ("awk", "gawk", "mawk"):
        program = command[len(words[0]):]
        # An exit in the END block runs after all the input was read.
        main = re.split(r"\bEND\b", program)[0]
        if re.search(r"\bexit\b", main):
            return "awk ... exit"
        return None
    if name == "sed":
        for script in re.findall(r"'([^']*)'", command):
            if re.search(r"(^|[;{}\s0-9$/])[qQ]\s*[0-9]*\s*($|[;}])", script):
                return "sed ... q"
        return None
    return None


def main(paths):
    found = 0
    for path in paths:
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for line, command in segments_after_pipes(text):
            reader = early_reader(command)
            if reader:
                print(f"{path}:{line}: {reader}")
                found += 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
