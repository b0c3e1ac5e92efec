#!/usr/bin/env python3
"""Texts of the Traditional Chinese run: what a content file holds, what the program drew, and
how much of it a reader of the screen finds.

usage:
  cjk_text.py value FILE SECTION KEY [SIZE]
      the value as a program on code page 950 holds it in a field of SIZE bytes (default 255):
      cut to SIZE - 1 bytes, and no lead byte left without its trail byte; printed in UTF-8,
      then a tab and its length in UTF-16 units
  cjk_text.py drawn TRACE
      every text Wine drew (its "font" trace channel, NtGdiExtTextOutW lines), one line each:
      X, Y, the length in UTF-16 units, whether the trace cut it short (1) and the text in
      UTF-8, tab-separated
  cjk_text.py found EXPECTED SEEN
      how many of the Chinese characters of the text in file EXPECTED the text in file SEEN
      holds (each as often as it is expected), as "FOUND TOTAL"
"""
import collections
import re
import sys

CODE_PAGE = "cp950"


def lead_byte(b):
    return 0x81 <= b <= 0xFE


def cut(raw, size):
    """A text of the file as a field of size bytes holds it, on a character boundary."""
    raw = raw[: size - 1]
    i = 0
    while i < len(raw):
        if lead_byte(raw[i]):
            if i + 1 >= len(raw):
                return raw[:i]
            i += 2
        else:
            i += 1
    return raw


def profile_value(path, section, key):
    wanted = None
    with open(path, "rb") as f:
        for line in f.read().split(b"\n"):
            line = line.rstrip(b"\r")
            if line.startswith(b"["):
                wanted = line[1 : line.find(b"]")].decode("ascii", "replace").lower() == section.lower()
            elif wanted and b"=" in line:
                name, value = line.split(b"=", 1)
                if name.strip().decode("ascii", "replace").lower() == key.lower():
                    return value.strip()
    sys.exit(f"cjk_text: no [{section}] {key} in {path}")


def utf16_units(text):
    return len(text.encode("utf-16-le")) // 2


def command_value(path, section, key, size=255):
    text = cut(profile_value(path, section, key), int(size)).decode(CODE_PAGE)
    print(f"{text}\t{utf16_units(text)}")


# NtGdiExtTextOutW hdc, x, y, flags, rect, L"text"..., count, dx
DRAWN = re.compile(r'NtGdiExtTextOutW [^,]*, (-?\d+), (-?\d+), [^,]*, .*?, L"((?:[^"\\]|\\.)*)"(\.\.\.)?, (\d+),')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"', "'": "'", "0": "\0"}


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c != "\\":
            out.append(c)
            i += 1
        elif re.match(r"[0-9a-fA-F]{4}", text[i + 1 : i + 5]):
            out.append(chr(int(text[i + 1 : i + 5], 16)))
            i += 5
        else:
            out.append(ESCAPES.get(text[i + 1 : i + 2], text[i + 1 : i + 2]))
            i += 2
    return "".join(out)


def command_drawn(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = DRAWN.search(line)
            if m:
                x, y, text, short, count = m.groups()
                text = unescape(text).replace("\t", " ").replace("\n", " ")
                print(f"{x}\t{y}\t{count}\t{1 if short else 0}\t{text}")


def chinese(text):
    return [c for c in text if "\u4e00" <= c <= "\u9fff"]


def command_found(expected_path, seen_path):
    with open(expected_path, encoding="utf-8") as f:
        expected = collections.Counter(chinese(f.read()))
    with open(seen_path, encoding="utf-8", errors="replace") as f:
        seen = collections.Counter(chinese(f.read()))
    found = sum(min(n, seen[c]) for c, n in expected.items())
    print(found, sum(expected.values()))


def main(argv):
    commands = {"value": (command_value, (3, 4)), "drawn": (command_drawn, (1, 1)),
                "found": (command_found, (2, 2))}
    if len(argv) < 2 or argv[1] not in commands:
        sys.exit(__doc__)
    function, (least, most) = commands[argv[1]]
    if not least <= len(argv) - 2 <= most:
        sys.exit(__doc__)
    function(*argv[2:])


if __name__ == "__main__":
    main(sys.argv)
