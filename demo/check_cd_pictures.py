#!/usr/bin/env python3
"""Checks the pictures of a staged demo CD and the program's drawn bitmap resources.

Every picture the CD's description files name must exist and be a BMP that Windows 95 loads
from a file (BITMAPINFOHEADER, 1/4/8/24 bits, uncompressed); a mask must match its picture's
size, hold only black and white, and the picture must be black wherever its mask is white. The
resource bitmaps are found through the resource script and must have the sizes the painting
code draws them at. The start and normal buttons must hide the Windows NT 4 notice that is drawn
at the Rapid Setup switch's place when Rapid Setup is turned on.

Usage: check_cd_pictures.py --cd STAGED_CD --res RESOURCE_BITMAP_DIR --rc tova.rc
"""

import argparse
import os
import re
import struct
import sys

# Keys of a description file (lower-cased) that name a picture.
PICTURE_KEY = re.compile(r"(bmp(_m)?|^bk|^rtnblk|^mq|^mq_bk)$")
# Resource bitmaps with a fixed size: number -> (width, height, bits or None).
RESOURCE_SIZES = {158: (440, 50, 24), 161: (159, 73, None), 163: (52, 35, None),
                  164: (52, 35, None)}
RESOURCE_NUMBERS = (156, 157, 158, 161, 163, 164)


class Failures:
    def __init__(self):
        self.messages = []
        self.checked = 0

    def add(self, message):
        self.messages.append(message)


class Bmp:
    """A BMP file as the Windows 95 loader sees it; error is None when it would load."""

    def __init__(self, path):
        self.path = path
        self.error = None
        self.width = self.height = self.bits = 0
        self._pixels = None
        try:
            with open(path, "rb") as f:
                self.data = f.read()
        except OSError as e:
            self.error = "cannot be read (%s)" % e.strerror
            return
        self._parse()

    def _parse(self):
        d = self.data
        if len(d) < 54 or d[:2] != b"BM":
            self.error = "is not a BMP file"
            return
        _, _, _, offset = struct.unpack_from("<IHHI", d, 2)
        (size, width, height, planes, bits, compression, _, _, _, used,
         _) = struct.unpack_from("<IiiHHIIiiII", d, 14)
        if size != 40:
            self.error = "has a %d-byte info header, not BITMAPINFOHEADER" % size
        elif width <= 0 or height == 0 or planes != 1:
            self.error = "has size %dx%d with %d planes" % (width, height, planes)
        elif bits not in (1, 4, 8, 24):
            self.error = "has %d bits per pixel" % bits
        elif compression != 0:
            self.error = "is compressed (type %d)" % compression
        if self.error:
            return
        self.width, self.height, self.bits = width, abs(height), bits
        self.top_down = height < 0
        self.stride = (width * bits + 31) // 32 * 4
        colours = used or (1 << bits if bits <= 8 else 0)
        self.palette = [struct.unpack_from("<BBB", d, 54 + 4 * i)[::-1] for i in range(colours)]
        self.offset = offset
        if offset < 54 + 4 * colours or offset + self.stride * self.height > len(d):
            self.error = "has its pixels outside the file"

    def pixels(self):
        """Rows of (r, g, b) tuples, top row first."""
        if self._pixels is None:
            rows = []
            for y in range(self.height):
                row_index = y if self.top_down else self.height - 1 - y
                start = self.offset + row_index * self.stride
                raw = self.data[start:start + self.stride]
                if self.bits == 24:
                    row = [tuple(raw[3 * x:3 * x + 3][::-1]) for x in range(self.width)]
                else:
                    per_byte = 8 // self.bits
                    row = []
                    for x in range(self.width):
                        byte = raw[x // per_byte]
                        shift = 8 - self.bits * (x % per_byte + 1)
                        index = (byte >> shift) & ((1 << self.bits) - 1)
                        row.append(self.palette[index] if index < len(self.palette) else None)
                rows.append(row)
            self._pixels = rows
        return self._pixels


def read_profile(path):
    """Sections of a profile file: {section: {key: value}}, first key wins like Windows."""
    sections = {}
    section = None
    with open(path, "rb") as f:
        for line in f.read().decode("latin-1").splitlines():
            line = line.strip()
            if line.startswith("[") and "]" in line:
                section = sections.setdefault(line[1:line.index("]")].lower(), {})
            elif section is not None and "=" in line:
                key, value = line.split("=", 1)
                section.setdefault(key.strip().lower(), value.strip())
    return sections


def load(cd, value, cache):
    path = os.path.join(cd, *value.split("\\"))
    if path not in cache:
        cache[path] = Bmp(path)
    return cache[path]


def check_mask_rule(image, mask, what, failures):
    if (image.width, image.height) != (mask.width, mask.height):
        failures.add("%s: picture %dx%d but mask %dx%d"
                     % (what, image.width, image.height, mask.width, mask.height))
        return
    opaque = 0
    for y, (irow, mrow) in enumerate(zip(image.pixels(), mask.pixels())):
        for x, (ip, mp) in enumerate(zip(irow, mrow)):
            if mp == (0, 0, 0):
                opaque += 1
            elif mp != (255, 255, 255):
                failures.add("%s: mask pixel (%d,%d) is %s, not black or white" % (what, x, y, mp))
                return
            elif ip != (0, 0, 0):
                failures.add("%s: pixel (%d,%d) is %s where the mask is white" % (what, x, y, ip))
                return
    if opaque == 0:
        failures.add("%s: the mask hides the whole picture" % what)


def check_description_file(cd, name, cache, failures):
    path = os.path.join(cd, name)
    if not os.path.isfile(path):
        failures.add("%s is missing from the staged CD" % name)
        return {}
    sections = read_profile(path)
    for section, keys in sections.items():
        for key, value in keys.items():
            if not value or not PICTURE_KEY.search(key):
                continue
            what = "%s [%s] %s=%s" % (name, section, key, value)
            bmp = load(cd, value, cache)
            failures.checked += 1
            if bmp.error:
                failures.add("%s: %s %s" % (what, bmp.path, bmp.error))
                continue
            if key.endswith("bmp"):
                mask_value = keys.get(key + "_m", "")
                if not mask_value:
                    failures.add("%s: no mask %s_m" % (what, key))
                    continue
                mask = load(cd, mask_value, cache)
                if not mask.error:
                    check_mask_rule(bmp, mask, what, failures)
    # The items the program draws: every Common item in three looks, Panel0's three in two.
    common = sections.get("common", {})
    panel0 = sections.get("panel0", {})
    expect = [("common", common, i, look) for i in range(7) for look in "NOD"]
    expect += [("panel0", panel0, i, look) for i in range(3) for look in "NO"]
    for section, keys, i, look in expect:
        if not keys.get("%d_%sbmp" % (i, look.lower())):
            failures.add("%s [%s]: item %d has no %sbmp picture" % (name, section, i, look))
    for section in ("panel0", "panel4"):
        value = sections.get(section, {}).get("bk", "")
        bk = load(cd, value, cache) if value else None
        if bk is None or bk.error or bk.width < 640 or bk.height < 480:
            failures.add("%s [%s]: the window background must cover 640 x 480" % (name, section))
    return sections


def resource_files(rc_path, res):
    """Resource number -> drawn file, from the BITMAP lines of the resource script."""
    found = {}
    with open(rc_path, encoding="latin-1") as f:
        for line in f:
            m = re.match(r'\s*(\d+)\s+BITMAP\s+"([^"]+)"', line)
            if m:
                found[int(m.group(1))] = os.path.join(res, m.group(2))
    return found


def check_resources(rc_path, res, failures):
    files = resource_files(rc_path, res)
    bitmaps = {}
    for number in RESOURCE_NUMBERS:
        if number not in files:
            failures.add("tova.rc names no BITMAP %d" % number)
            continue
        bmp = Bmp(files[number])
        failures.checked += 1
        if bmp.error:
            failures.add("bitmap %d: %s %s" % (number, bmp.path, bmp.error))
            continue
        bitmaps[number] = bmp
        want = RESOURCE_SIZES.get(number)
        if want and ((bmp.width, bmp.height) != want[:2] or (want[2] and bmp.bits != want[2])):
            failures.add("bitmap %d is %dx%d at %d bits, not %dx%d%s"
                         % (number, bmp.width, bmp.height, bmp.bits, want[0], want[1],
                            " at %d bits" % want[2] if want[2] else ""))
    if 163 in bitmaps and 164 in bitmaps:
        check_mask_rule(bitmaps[163], bitmaps[164], "bitmaps 163/164", failures)
    return bitmaps


def check_notice_covered(cd, sections, notice, cache, failures, name):
    """The start and normal buttons, drawn after the notice at the switch's place, hide it."""
    panel0 = sections.get("panel0", {})
    try:
        at = {i: (int(panel0.get("%d_x" % i, "0")), int(panel0.get("%d_y" % i, "0")))
              for i in range(3)}
    except ValueError:
        failures.add("%s [Panel0]: positions are not numbers" % name)
        return
    for look in "NO":
        covered = set()
        for i in (1, 2):
            mask = load(cd, panel0.get("%d_%sbmp_m" % (i, look.lower()), ""), cache)
            if mask.error:
                return
            for y, row in enumerate(mask.pixels()):
                for x, p in enumerate(row):
                    if p == (0, 0, 0):
                        covered.add((at[i][0] + x, at[i][1] + y))
        bare = [(x, y) for y, row in enumerate(notice.pixels()) for x, p in enumerate(row)
                if p != (0, 0, 0) and (at[0][0] + x, at[0][1] + y) not in covered]
        if bare:
            failures.add("%s: %d pixels of the NT 4 notice show beside the %s start/normal "
                         "buttons, e.g. at %s" % (name, len(bare), look, bare[0]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cd", required=True)
    parser.add_argument("--res", required=True)
    parser.add_argument("--rc", required=True)
    args = parser.parse_args()

    failures = Failures()
    cache = {}
    bitmaps = check_resources(args.rc, args.res, failures)
    for name in ("bmp.ini", "cht.ini"):
        sections = check_description_file(args.cd, name, cache, failures)
        if sections and 161 in bitmaps:
            check_notice_covered(args.cd, sections, bitmaps[161], cache, failures, name)
    for message in failures.messages:
        print("FAIL: " + message)
    print("checked %d pictures: %s" % (failures.checked,
                                        "%d problems" % len(failures.messages)
                                        if failures.messages else "all good"))
    return 1 if failures.messages else 0


if __name__ == "__main__":
    sys.exit(main())
