#!/usr/bin/env python3
"""Breaks a staged demo CD on purpose, one way per case, for hostile_cd.sh.

    hostile_cd.py CASE CD_DIR

Each case changes only the files it names and prints one line per change, so the test's log
says what the program was given.
"""
import struct
import sys
from pathlib import Path

# The biWidth of a bitmap whose row size in bytes no longer fits in 32 bits at 24 bits a pixel.
OVERFLOWING_WIDTH = 0x40000000
# A Big5 lead byte: the first byte of the character U+4E0D and many others.
BIG5_LEAD = b"\xa4"


def say(message):
    print(message)


def patch_header(path, **fields):
    """Overwrites fields of a BITMAPFILEHEADER + BITMAPINFOHEADER in place."""
    layout = {  # name: (offset, struct format)
        "bfSize": (2, "<I"), "bfOffBits": (10, "<I"), "biWidth": (18, "<i"),
        "biHeight": (22, "<i"), "biBitCount": (28, "<H"), "biSizeImage": (34, "<I"),
        "biClrUsed": (46, "<I"),
    }
    data = bytearray(path.read_bytes())
    for name, value in fields.items():
        offset, fmt = layout[name]
        struct.pack_into(fmt, data, offset, value)
    path.write_bytes(bytes(data))
    say(f"{path.name}: {', '.join(f'{k}={v:#x}' for k, v in fields.items())} "
        f"({len(data)} bytes in the file)")


def cut_file(path, size):
    data = path.read_bytes()
    path.write_bytes(data[:size])
    say(f"{path.name}: cut from {len(data)} to {size} bytes")


def replace_once(path, old, new):
    data = path.read_bytes()
    if data.count(old) != 1:
        sys.exit(f"hostile_cd.py: {path.name} holds {old!r} {data.count(old)} times, not once")
    path.write_bytes(data.replace(old, new))


def rle8_file(width, height, image_size):
    """An 8-bit run-length picture: each row one run of two colours' stripes, its header saying
    image_size bytes of pixels."""
    rows = b"".join(bytes([width, r % 2, 0, 0]) for r in range(height)) + b"\x00\x01"
    palette = b"\x00\x00\xff\x00\xff\x00\x00\x00"
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, image_size, 0, 0, 2, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return head + info + palette + rows


# The Common items' normal pictures are the ones drawn on Panel0 (tab 0 shows its down picture),
# so each is broken in its own way and the screen tells which ones were drawn.
def bitmap_cut(cd):
    bmp = cd / "bmp"
    cut_file(bmp / "bk.bmp", (bmp / "bk.bmp").stat().st_size * 2 // 5)  # the background, mid-pixels
    cut_file(bmp / "util_n.bmp", 30)       # inside the info header
    cut_file(bmp / "readme_n.bmp", 14)     # the file header alone
    cut_file(bmp / "sysinfo_n.bmp", 0)     # nothing at all
    cut_file(bmp / "more_n.bmp", (bmp / "more_n.bmp").stat().st_size // 2)
    cut_file(bmp / "exit_n_m.bmp", 1000)   # a mask cut short, its picture whole


def bitmap_lie(cd):
    bmp = cd / "bmp"
    size = (bmp / "bk.bmp").stat().st_size
    # Four times the rows the file holds, and a file size to match.
    patch_header(bmp / "bk.bmp", biHeight=490 * 4, bfSize=size * 4)
    # Sizes that are no use to the loader of an uncompressed picture.
    patch_header(bmp / "util_n.bmp", biSizeImage=0x7FFFFFF0, bfSize=0xFFFFFFF0)
    patch_header(bmp / "readme_n.bmp", bfOffBits=(bmp / "readme_n.bmp").stat().st_size + 1000)
    patch_header(bmp / "sysinfo_n.bmp", biWidth=OVERFLOWING_WIDTH)
    # A palette of 2^31 colours in front of the pixels.
    patch_header(bmp / "more_n.bmp", biBitCount=8, biClrUsed=0x7FFFFFFF)
    patch_header(bmp / "exit_n.bmp", biHeight=-0x7FFFFFFF)
    web = rle8_file(83, 36, 0x7FFFFFF0)
    (bmp / "web_n.bmp").write_bytes(web)
    say(f"web_n.bmp: a run-length picture of {len(web)} bytes whose header promises 0x7ffffff0 "
        "bytes of pixels")


def ini_empty(cd):
    (cd / "bmp.ini").write_bytes(b"")
    say("bmp.ini: 0 bytes")


def ini_huge(cd):
    """4 MB of bmp.ini: a 100,000-byte title and Panel0 line1, and 3.8 MB of other keys."""
    ini = cd / "bmp.ini"
    text = ini.read_bytes()
    long_title = b"Huge " + b"".join(b"%07d " % i for i in range(0, 100000 // 8))
    long_title = long_title[:100000]
    long_line1 = b"Line1 " + b"L" * (100000 - 6)
    text = text.replace(b"title=Demo Board Driver CD  Version 1.0", b"title=" + long_title, 1)
    text = text.replace(b"line1=Drivers for this board", b"line1=" + long_line1, 1)
    padding = bytearray(b"\r\n[Padding]\r\n")
    n = 0
    while len(text) + len(padding) < 4 * 1024 * 1024:
        padding += b"key%06d=%s\r\n" % (n, b"p" * 90)
        n += 1
    ini.write_bytes(text + bytes(padding))
    say(f"bmp.ini: {ini.stat().st_size} bytes, title and Panel0 line1 of 100000 bytes, "
        f"{n} padding keys")


def readme_large(cd):
    lines = [b"Readme line %05d of a readme far larger than 64 KB .........\r\n" % i
             for i in range(3300)]
    data = b"".join(lines)
    (cd / "readme.txt").write_bytes(data)
    say(f"readme.txt: {len(data)} bytes")


def tip_long(cd):
    tip = cd / "tip.ini"
    long_driver = b"Driver tip " + b"".join(b"d%04d " % i for i in range(500))
    long_tool = b"Tool tip " + b"".join(b"t%04d " % i for i in range(500))
    replace_once(tip, b"Intel PRO/100 VE Network Driver=Installs the Intel PRO/100 VE Network Driver.",
                 b"Intel PRO/100 VE Network Driver=" + long_driver)
    replace_once(tip, b"Adobe Reader=Starts the Adobe Reader setup.", b"Adobe Reader=" + long_tool)
    say(f"tip.ini: the tips of a driver row and a utility row of {len(long_driver)} and "
        f"{len(long_tool)} bytes")


def list_broken(cd):
    """Short lines inside the XP block's LAN and audio ranges, an over-long description, and
    NUL bytes after the block's end."""
    tova = cd / "tova.txt"
    lan = b"193;16;LAN;12;Intel PRO/100 VE Network Driver;%CDROM%LAN\\Intel\\;setup.exe;V7.1\r\n"
    audio = b"197;16;audio;14;Sigmatel C-Major Audio Driver;%CDROM%Audio\\Sigmatel\\;setup.exe;V5.10.3772\r\n"
    replace_once(tova, lan, lan +
                 b"230;16;LAN;12\r\n"
                 b"231;16;LAN;12;Short LAN Driver\r\n"
                 b"232;16;LAN;12;No Setup LAN Driver;%CDROM%LAN\\None\\\r\n"
                 b";16;LAN;12;;;;\r\n")
    replace_once(tova, audio, audio +
                 b"233;16;audio;14;Long Audio " + b"x" * 4000 + b";%CDROM%Audio\\Long\\;setup.exe;V1\r\n"
                 b"234;16;audio;14;\r\n")
    with tova.open("ab") as f:
        f.write(b"\x00\x00garbage after the list\x00;16;LAN;12;After NUL;%CDROM%LAN\\\\;setup.exe;V9\r\n")
    say("tova.txt: four short LAN lines and a 4000-byte audio description in the XP block, an "
        "audio line cut after its code, NUL bytes after the list")


def list_nul(cd):
    tova = cd / "tova.txt"
    replace_once(tova, b";16;LAN;12;Intel PRO/100 VE", b";16;LAN;12;Intel PRO/100\x00 VE")
    say("tova.txt: a NUL byte inside the XP block's LAN line")


def big5_tail(cd):
    """Texts whose last byte is a Big5 lead byte, in bmp.ini, cht.ini, tova.txt and readme.txt."""
    for name in ("bmp.ini", "cht.ini"):
        ini = cd / name
        data = ini.read_bytes()
        if name == "bmp.ini":
            data = data.replace(b"title=Demo Board Driver CD  Version 1.0",
                                b"title=Big5 Tail Title " + BIG5_LEAD, 1)
        data = data.replace(b"\r\nline2=", b"\r\nline2=Ends in a lead byte " + BIG5_LEAD + b"\r\nx=", 1)
        data = data.replace(b"\r\n0_Desc=", b"\r\n0_Desc=Tail Tool " + BIG5_LEAD + b"\r\nx=", 1)
        ini.write_bytes(data)
    replace_once(cd / "tova.txt", b";16;LAN;12;Intel PRO/100 VE Network Driver;",
                 b";16;LAN;12;Tail Driver " + BIG5_LEAD + b";")
    with (cd / "readme.txt").open("ab") as f:
        f.write(b"The readme's last byte leads a character: " + BIG5_LEAD)
    say("bmp.ini: the title, bmp.ini and cht.ini: Panel0 line2 and utility row 0 end in 0xA4; tova.txt: "
        "the LAN row's description ends in 0xA4; readme.txt: its last byte")


CASES = {
    "bitmap-cut": bitmap_cut, "bitmap-lie": bitmap_lie, "ini-empty": ini_empty,
    "ini-huge": ini_huge, "readme-large": readme_large, "tip-long": tip_long,
    "list-broken": list_broken, "list-nul": list_nul, "big5-tail": big5_tail,
}

if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in CASES:
        sys.exit("usage: hostile_cd.py {" + "|".join(CASES) + "} CD_DIR")
    CASES[sys.argv[1]](Path(sys.argv[2]))
