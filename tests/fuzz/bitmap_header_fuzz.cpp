// Fuzz target: the bitmap header reader over a file of exactly the input's size, and the same
// judgement from the file's first bytes and its size alone.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/bitmap_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    CBitmapHeader header = {};
    bool whole = ReadBitmapHeader(bytes.data(), bytes.size(), &header);
    std::vector<uint8_t> head(data, data + (size < BITMAP_HEAD_BYTES ? size : BITMAP_HEAD_BYTES));
    CBitmapHeader fromHead = {};
    if (ReadBitmapFileHeader(head.data(), head.size(), size, &fromHead) != whole) __builtin_trap();
    if (whole) {
        // What the reader accepts must be a picture the loader can allocate.
        if (header.width <= 0 || header.height == 0) __builtin_trap();
        int64_t rows = header.height < 0 ? -static_cast<int64_t>(header.height) : header.height;
        if (static_cast<int64_t>(header.width) * rows > BITMAP_MAX_PIXELS) __builtin_trap();
    }
    return 0;
}
