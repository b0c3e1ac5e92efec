// The header of a bitmap file as the system's loader judges it: whether LoadImageA can load
// the file, and the picture's size. CD pictures are outside input, so nothing here trusts a
// field before checking it against the bytes that are really there.
#pragma once

#include <cstddef>
#include <cstdint>

struct CBitmapHeader {
    int32_t width;
    int32_t height;  // rows, whatever the direction they are stored in
    uint16_t bitCount;
    uint32_t compression;
    uint32_t headerSize;  // 12 for the OS/2 core header, 40 and more for the Windows ones
};

// The largest picture the loader is taken to accept; anything larger is refused as the system
// would refuse the memory for it.
const int64_t BITMAP_MAX_PIXELS = 64LL * 1024 * 1024;

// True when bytes (the whole file, size bytes) is a bitmap file the loader accepts: "BM", a
// core or Windows info header with one plane, a bit depth and compression that go together,
// a positive width and a non-zero height, a colour table and pixel data inside the file.
bool ReadBitmapHeader(const uint8_t* bytes, size_t size, CBitmapHeader* header);
