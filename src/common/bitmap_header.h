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

// The bytes of a file's start that are enough to judge it: the file header and the fields of
// the info header that are read.
const size_t BITMAP_HEAD_BYTES = 54;

// True when bytes (the whole file, size bytes) is a bitmap file the loader accepts: "BM", a
// core or Windows info header with one plane, a bit depth and compression that go together,
// a positive width and a non-zero height, a colour table and pixel data inside the file (a
// compressed picture: the pixel bytes its header promises).
bool ReadBitmapHeader(const uint8_t* bytes, size_t size, CBitmapHeader* header);
// The same judgement from the file's first headSize bytes (BITMAP_HEAD_BYTES, or the whole file
// when it is shorter) and its size, for a caller that does not hold the whole file.
bool ReadBitmapFileHeader(const uint8_t* head, size_t headSize, uint64_t fileSize,
                          CBitmapHeader* header);
