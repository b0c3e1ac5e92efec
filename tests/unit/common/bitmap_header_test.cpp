// The bitmap header reader: what the system's loader accepts of a CD picture, and that nothing
// in a broken file makes it read past the bytes it was given.
#include <gtest/gtest.h>

#include <string>

#include "common/bitmap_header.h"
#include "unit/skin/skin_rig.h"

namespace {

bool Read(const std::string& bytes, CBitmapHeader* header)
{
    // A copy of exactly the file's size, so that a read past its end shows under the
    // sanitizers.
    std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    return ReadBitmapHeader(exact.data(), exact.size(), header);
}

void Put32(std::string* bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The judgement of a caller that reads only the file's first bytes and learns its size.
bool ReadHead(const std::string& bytes, CBitmapHeader* header)
{
    size_t headSize = bytes.size() < BITMAP_HEAD_BYTES ? bytes.size() : BITMAP_HEAD_BYTES;
    std::vector<uint8_t> head(bytes.begin(), bytes.begin() + static_cast<long>(headSize));
    return ReadBitmapFileHeader(head.data(), head.size(), bytes.size(), header);
}

// An 8-bit run-length picture of width x 1: one run of width pixels and the end of the
// picture, its header saying imageSize bytes of pixels.
std::string Rle8File(int width, uint32_t imageSize)
{
    std::string bytes = BmpFile(1, 1);
    bytes.resize(54);
    bytes[28] = 8;
    Put32(&bytes, 18, static_cast<uint32_t>(width));
    Put32(&bytes, 30, 1);  // BI_RLE8
    Put32(&bytes, 34, imageSize);
    Put32(&bytes, 46, 2);  // two colours
    bytes.append(8, '\0');
    Put32(&bytes, 10, static_cast<uint32_t>(bytes.size()));
    bytes += std::string("\x04\x01\x00\x01", 4);
    Put32(&bytes, 2, static_cast<uint32_t>(bytes.size()));
    return bytes;
}

TEST(BitmapHeader, ReadsTheSizeOfAPictureTheLoaderTakes)
{
    CBitmapHeader header = {};
    ASSERT_TRUE(Read(BmpFile(440, 50), &header));
    EXPECT_EQ(440, header.width);
    EXPECT_EQ(50, header.height);
    EXPECT_EQ(24, header.bitCount);

    std::string topDown = BmpFile(3, 7);
    Put32(&topDown, 22, static_cast<uint32_t>(-7));
    ASSERT_TRUE(Read(topDown, &header));
    EXPECT_EQ(7, header.height);
}

TEST(BitmapHeader, RefusesWhatTheLoaderRefuses)
{
    CBitmapHeader header = {};
    std::string good = BmpFile(8, 8);
    struct {
        const char* what;
        size_t at;
        uint32_t value;
    } faults[] = {
        {"not BM", 0, 0x4D41},          {"no width", 18, 0},
        {"no height", 22, 0},           {"negative width", 18, 0xFFFFFFF8},
        {"two planes", 26, 0x00180002}, {"odd depth", 28, 7},
        {"RLE on 24 bits", 30, 1},      {"unknown compression", 30, 9},
        {"pixels past the end", 10, 0x7FFFFFFF}, {"info header size", 14, 13},
        {"absurd size", 18, 0x10000000},
    };
    for (const auto& f : faults) {
        std::string bytes = good;
        if (f.at == 0) {
            bytes[0] = 'A';
        } else {
            Put32(&bytes, f.at, f.value);
        }
        EXPECT_FALSE(Read(bytes, &header)) << f.what;
    }
    // Every cut of a good file is refused, none is read past its end.
    for (size_t size = 0; size < good.size(); ++size) {
        EXPECT_FALSE(Read(good.substr(0, size), &header)) << size << " bytes";
    }
}

TEST(BitmapHeader, ColourTableMustBeInTheFile)
{
    // An 8-bit picture whose 256-entry table would run past the file's end.
    std::string bytes = BmpFile(4, 1);
    bytes[28] = 8;
    CBitmapHeader header = {};
    EXPECT_FALSE(Read(bytes, &header));
    bytes.resize(54 + 256 * 4 + 4, '\0');
    Put32(&bytes, 10, 54 + 256 * 4);
    EXPECT_TRUE(Read(bytes, &header));
}

// The headers of CD pictures that made the system's loader read past the file's end.
TEST(BitmapHeader, RefusesHeadersThatPromiseMoreThanTheFileHolds)
{
    CBitmapHeader header = {};
    const std::string good = BmpFile(20, 10);
    struct {
        const char* what;
        size_t at;
        uint32_t value;
    } lies[] = {
        {"four times the rows", 22, 40},
        {"top-down, 2^31 - 1 rows", 22, 0x80000001},
        {"pixels after the end", 10, static_cast<uint32_t>(good.size()) + 1000},
        {"a width whose rows overflow 32 bits", 18, 0x40000000},
        {"an 8-bit palette of 2^31 - 1 colours", 28, 8},
    };
    for (const auto& lie : lies) {
        std::string bytes = good;
        Put32(&bytes, lie.at, lie.value);
        if (lie.at == 28) Put32(&bytes, 46, 0x7FFFFFFF);
        EXPECT_FALSE(Read(bytes, &header)) << lie.what;
        EXPECT_FALSE(ReadHead(bytes, &header)) << lie.what;
    }
    // The sizes in the file header and of the image do not decide an uncompressed picture.
    std::string sizes = good;
    Put32(&sizes, 2, 0xFFFFFFF0);
    Put32(&sizes, 34, 0x7FFFFFF0);
    EXPECT_TRUE(Read(sizes, &header));
    EXPECT_TRUE(ReadHead(sizes, &header));
}

TEST(BitmapHeader, ACompressedPictureHoldsThePixelBytesItsHeaderPromises)
{
    CBitmapHeader header = {};
    EXPECT_TRUE(Read(Rle8File(4, 4), &header));
    EXPECT_EQ(8, header.bitCount);
    EXPECT_FALSE(Read(Rle8File(4, 5), &header)) << "one byte more than the file holds";
    EXPECT_FALSE(Read(Rle8File(4, 0x7FFFFFFF), &header));
    EXPECT_FALSE(Read(Rle8File(4, 0), &header)) << "no size: the loader cannot bound its decoding";
}

// A caller that reads only the file's first bytes judges every file as one holding all of it.
TEST(BitmapHeader, TheHeadAndTheSizeJudgeAsTheWholeFile)
{
    CBitmapHeader whole = {};
    CBitmapHeader head = {};
    std::vector<std::string> files = {BmpFile(440, 50), Rle8File(4, 4), Rle8File(4, 5)};
    const std::string good = BmpFile(8, 8);
    for (size_t size = 0; size <= good.size(); ++size) files.push_back(good.substr(0, size));
    for (size_t at = 0; at + 4 <= 54; at += 2) {
        std::string bytes = good;
        Put32(&bytes, at, 0x80000010);
        files.push_back(bytes);
    }
    for (const std::string& file : files) {
        bool byWhole = Read(file, &whole);
        EXPECT_EQ(byWhole, ReadHead(file, &head)) << file.size() << " bytes";
        if (byWhole) {
            EXPECT_EQ(whole.width, head.width);
        }
    }
    // Fewer head bytes than the fields read: no judgement on bytes that are not there.
    std::string bytes = good;
    EXPECT_FALSE(ReadBitmapFileHeader(reinterpret_cast<const uint8_t*>(bytes.data()), 30,
                                      bytes.size(), &head));
}

}  // namespace
