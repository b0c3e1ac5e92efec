// Cutting CD texts on character boundaries: the code pages' lead bytes as the simulated system
// gives them, and cuts of Big5 text that would split a character, fall on a boundary, or meet a
// text that ends in a lone lead byte.
#include <gtest/gtest.h>

#include <string>

#include "common/lead_bytes.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_system.h"

namespace {

// Two Big5 characters; the second's lead byte 0xA4 is also the first's trail byte.
const char BIG5_TWO[] = "\xA4\xA4\xA4\xE5";

CLeadBytes LeadBytesOf(uint32_t codePage)
{
    CSimClock clock;
    CSimSystem system(clock);
    system.SetCodePage(codePage);
    return CLeadBytes(system);
}

TEST(LeadBytes, EachCodePageLeadsWithItsOwnRanges)
{
    CLeadBytes big5 = LeadBytesOf(950);
    EXPECT_TRUE(big5.IsLeadByte(0x81));
    EXPECT_TRUE(big5.IsLeadByte(0xA4));
    EXPECT_TRUE(big5.IsLeadByte(0xFE));
    EXPECT_FALSE(big5.IsLeadByte(0x80));
    EXPECT_FALSE(big5.IsLeadByte(0xFF));
    EXPECT_FALSE(big5.IsLeadByte('A'));

    CLeadBytes shiftJis = LeadBytesOf(932);
    EXPECT_TRUE(shiftJis.IsLeadByte(0x9F));
    EXPECT_FALSE(shiftJis.IsLeadByte(0xA4)); // a single-byte katakana
    EXPECT_TRUE(shiftJis.IsLeadByte(0xE0));
    EXPECT_FALSE(shiftJis.IsLeadByte(0xFD));

    for (uint32_t codePage : {936u, 949u})
        EXPECT_TRUE(LeadBytesOf(codePage).IsLeadByte(0xA4));
    for (uint32_t codePage : {1252u, 1250u, 437u}) {
        CLeadBytes single = LeadBytesOf(codePage);
        for (unsigned b = 0; b < 256; ++b) {
            EXPECT_FALSE(single.IsLeadByte(static_cast<uint8_t>(b))) << codePage << " " << b;
        }
    }
}

TEST(LeadBytes, TheLanguageOfTaiwanBringsBig5)
{
    EXPECT_EQ(950u, CSimSystem::CodePageOfLanguage(0x0404));
    EXPECT_EQ(936u, CSimSystem::CodePageOfLanguage(0x0804));
    EXPECT_EQ(1252u, CSimSystem::CodePageOfLanguage(0x0409));
    CSimClock clock;
    CSimSystem system(clock);
    EXPECT_EQ(1252u, system.GetACP());
}

TEST(LeadBytes, ACutNeverLeavesALeadByteWithoutItsTrail)
{
    CLeadBytes big5 = LeadBytesOf(950);
    EXPECT_EQ(2u, big5.Boundary(BIG5_TWO, 3)); // inside the second character
    EXPECT_EQ(4u, big5.Boundary(BIG5_TWO, 4)); // on a boundary everything stays
    EXPECT_EQ(2u, big5.Boundary(BIG5_TWO, 2)); // 0xA4 here is a trail byte, not a lead
    EXPECT_EQ(0u, big5.Boundary(BIG5_TWO, 1));
    EXPECT_EQ(1u, big5.Boundary("A\xA4\xA4", 2));
    EXPECT_EQ(3u, big5.Boundary("A\xA4\xA4", 3));

    FixedText<4> narrow;
    big5.Assign(&narrow, BIG5_TWO);
    EXPECT_EQ(std::string("\xA4\xA4"), narrow.c_str());
    FixedText<5> exact;
    big5.Assign(&exact, BIG5_TWO);
    EXPECT_EQ(std::string(BIG5_TWO), exact.c_str());
    FixedText<16> counted;
    big5.Assign(&counted, "\xA4\xA4\xA4\xE5zz", 3);
    EXPECT_EQ(std::string("\xA4\xA4"), counted.c_str());

    FixedText<6> joined = "ab";
    big5.Append(&joined, BIG5_TWO);
    EXPECT_EQ(std::string("ab\xA4\xA4"), joined.c_str());
    big5.Append(&joined, "c");
    EXPECT_EQ(std::string("ab\xA4\xA4"
                          "c"),
              joined.c_str());
}

TEST(LeadBytes, AHalfCharacterAtTheTextsOwnEndIsDropped)
{
    CLeadBytes big5 = LeadBytesOf(950);
    FixedText<64> text;
    big5.Assign(&text, "\xA4\xA4\xA4");
    EXPECT_EQ(std::string("\xA4\xA4"), text.c_str());
    big5.Assign(&text, "\xB1");
    EXPECT_TRUE(text.Empty());
}

TEST(LeadBytes, SingleByteCodePagesCutAtTheByteCountAsBefore)
{
    CLeadBytes western = LeadBytesOf(1252);
    FixedText<4> narrow;
    western.Assign(&narrow, BIG5_TWO);
    FixedText<4> plain = BIG5_TWO;
    EXPECT_EQ(std::string("\xA4\xA4\xA4"), narrow.c_str());
    EXPECT_STREQ(plain.c_str(), narrow.c_str());
    EXPECT_EQ(3u, western.Boundary("\xA4\xA4\xA4", 3));
    FixedText<6> joined = "ab";
    western.Append(&joined, BIG5_TWO);
    EXPECT_EQ(std::string("ab\xA4\xA4\xA4"), joined.c_str());
}

} // namespace
