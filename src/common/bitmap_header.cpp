// The header of a bitmap file as the system's loader judges it.
#include "common/bitmap_header.h"

namespace {

const size_t FILE_HEADER_SIZE = 14;
const uint32_t CORE_HEADER_SIZE = 12;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t MAX_INFO_HEADER_SIZE = 124;  // BITMAPV5HEADER
const uint32_t BI_RGB = 0;
const uint32_t BI_RLE8 = 1;
const uint32_t BI_RLE4 = 2;
const uint32_t BI_BITFIELDS = 3;

uint16_t Le16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool DepthFitsCompression(uint16_t bits, uint32_t compression)
{
    switch (compression) {
    case BI_RGB:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BI_RLE8:
        return bits == 8;
    case BI_RLE4:
        return bits == 4;
    case BI_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

}  // namespace

bool ReadBitmapHeader(const uint8_t* bytes, size_t size, CBitmapHeader* header)
{
    return ReadBitmapFileHeader(bytes, size, size, header);
}

bool ReadBitmapFileHeader(const uint8_t* bytes, size_t headSize, uint64_t size,
                          CBitmapHeader* header)
{
    if (!bytes || !header || size < FILE_HEADER_SIZE + CORE_HEADER_SIZE) return false;
    // Every field read lies in the first BITMAP_HEAD_BYTES (in a core header's first 26); the
    // rest of the file is judged by its size alone.
    if (headSize > size) headSize = static_cast<size_t>(size);
    if (headSize < FILE_HEADER_SIZE + CORE_HEADER_SIZE) return false;
    if (bytes[0] != 'B' || bytes[1] != 'M') return false;
    uint32_t pixelOffset = Le32(bytes + 10);
    const uint8_t* info = bytes + FILE_HEADER_SIZE;
    uint32_t infoSize = Le32(info);
    if (infoSize != CORE_HEADER_SIZE &&
        (infoSize < INFO_HEADER_SIZE || infoSize > MAX_INFO_HEADER_SIZE)) {
        return false;
    }
    if (size - FILE_HEADER_SIZE < infoSize) return false;
    if (headSize < FILE_HEADER_SIZE + (infoSize < INFO_HEADER_SIZE ? infoSize : INFO_HEADER_SIZE)) {
        return false;
    }

    CBitmapHeader h = {};
    h.headerSize = infoSize;
    int64_t height = 0;
    uint16_t planes = 0;
    uint32_t colorsUsed = 0;
    uint32_t imageSize = 0;
    if (infoSize == CORE_HEADER_SIZE) {
        h.width = Le16(info + 4);
        height = Le16(info + 6);
        planes = Le16(info + 8);
        h.bitCount = Le16(info + 10);
        h.compression = BI_RGB;
    } else {
        h.width = static_cast<int32_t>(Le32(info + 4));
        int32_t rawHeight = static_cast<int32_t>(Le32(info + 8));
        height = rawHeight;
        planes = Le16(info + 12);
        h.bitCount = Le16(info + 14);
        h.compression = Le32(info + 16);
        imageSize = Le32(info + 20);
        colorsUsed = Le32(info + 32);
    }
    if (height < 0) height = -height;  // stored top-down
    if (planes != 1 || h.width <= 0 || height <= 0) return false;
    if (!DepthFitsCompression(h.bitCount, h.compression)) return false;
    if (static_cast<int64_t>(h.width) * height > BITMAP_MAX_PIXELS) return false;
    h.height = static_cast<int32_t>(height);

    // The colour table sits between the info header and the pixels.
    uint64_t entries = 0;
    if (h.bitCount <= 8) {
        uint64_t full = 1ULL << h.bitCount;
        entries = colorsUsed != 0 && colorsUsed < full ? colorsUsed : full;
    } else if (h.compression == BI_BITFIELDS && infoSize == INFO_HEADER_SIZE) {
        entries = 3;  // the three colour masks
    }
    uint64_t entrySize = infoSize == CORE_HEADER_SIZE ? 3 : 4;
    uint64_t tableEnd = FILE_HEADER_SIZE + static_cast<uint64_t>(infoSize) + entries * entrySize;
    if (tableEnd > size) return false;
    if (pixelOffset < FILE_HEADER_SIZE + infoSize || pixelOffset > size) return false;

    if (h.compression == BI_RGB || h.compression == BI_BITFIELDS) {
        uint64_t stride = ((static_cast<uint64_t>(h.width) * h.bitCount + 31) / 32) * 4;
        uint64_t pixels = stride * static_cast<uint64_t>(h.height);
        if (pixels > size - pixelOffset) return false;
    } else if (imageSize == 0 || imageSize > size - pixelOffset) {
        // The loader decodes as many bytes as the header says are there.
        return false;
    }
    *header = h;
    return true;
}
