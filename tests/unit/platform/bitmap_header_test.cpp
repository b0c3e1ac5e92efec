// The bitmap header reader: what the system's loader accepts of a CD picture, and that nothing
// in a broken file makes it read past the bytes it was given.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/bitmap_header.h"
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

}  // namespace
