#!/usr/bin/env python3
"""The early-reader check finds each kind of reader it names, wherever the pipeline stands,
and passes the pipelines and texts that only look like one."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import early_readers  # noqa: E402

FLAGGED = {
    "a=$(find . -name x | head -n 1)": "head",
    "grep foo f | grep -q bar": "grep -q",
    "cat f | grep -m1 x": "grep -m1",
    "cat f | grep --quiet x": "grep --quiet",
    "tr -d '\\r' <f |\n    awk '/x/ { print;\n      exit }'": "awk ... exit",
    "cat f | sed -n '/x/{p;q}'": "sed ... q",
    "printf x | read -r v": "read",
    'read -r a <<<"$(inspect list | grep x |\n    grep -o r | head -n 1 | cut -d= -f2)"': "head",
    "x=$(echo \"$(cat f | head -c 3)\")": "head",
}
CLEAN = [
    "echo a | awk '{ n++ } END { exit n }'",
    'echo "a | head"',
    "x=1 || head -n 1 f",
    "find . | sed -n 1p",
    "grep -q x file",
    "awk '{ print; exit }' file",
    "echo \"$(echo 'a | head')\"",
    "echo a # | head",
]


def main():
    failures = 0
    for text, reader in FLAGGED.items():
        got = [early_readers.early_reader(c) for _, c in early_readers.segments_after_pipes(text)]
        if reader not in got:
            print(f"FAIL: not found: {reader!r} in {text!r} (got {got})")
            failures += 1
    for text in CLEAN:
        got = [r for _, c in early_readers.segments_after_pipes(text)
               if (r := early_readers.early_reader(c))]
        if got:
            print(f"FAIL: flagged {got} in {text!r}")
            failures += 1
    total = len(FLAGGED) + len(CLEAN)
    print(f"{total - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
