// Tests of the content-file choice and of the profile reads the panel loaders build on.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>

#include "common/profile_reader.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_system.h"
#include "skin/content_files.h"
#include "unit/platform/null_files.h"
#include "unit/platform/temp_dir.h"

namespace {

// A file service that answers profile reads from one in-memory profile and remembers the last
// call, so the tests can see the default and the buffer size the helpers pass.
class CProfileFilesMock : public CNullFiles {
public:
    std::string profile;
    std::string lastSection, lastKey, lastDefault, lastFile;
    uint32_t lastSize = 0;
    int calls = 0;
    // When set, the read fills the whole buffer without a terminator and claims this length.
    uint32_t misbehaveWith = 0;

    uint32_t GetPrivateProfileString(const char* section, const char* key,
                                     const char* defaultValue, char* buffer, uint32_t size,
                                     const char* fileName) override
    {
        ++calls;
        lastSection = section;
        lastKey = key;
        lastDefault = defaultValue ? defaultValue : "<null>";
        lastFile = fileName;
        lastSize = size;
        if (misbehaveWith) {
            for (uint32_t i = 0; i < size; ++i) buffer[i] = 'z';
            return misbehaveWith;
        }
        return ReadProfileString(profile.data(), profile.size(), section, key, defaultValue,
                                 buffer, size);
    }
};

struct CContentFilesTest : public ::testing::Test {
    CSimClock clock;
    CSimSystem system{clock};
    CContentFiles files;
};

}  // namespace

TEST_F(CContentFilesTest, OnlyTaiwanChineseSelectsTheChineseDescription)
{
    const uint16_t others[] = {0x0409, 0x0804, 0x0C04, 0x1004, 0x1404, 0x0004, 0x0000, 0x0405};
    for (uint16_t lang : others) {
        system.SetDefaultLangId(lang);
        files.contentFile = "E:\\";
        files.tipFile = "E:\\";
        SelectContentFiles(system, "C:\\TOVA\\", &files);
        EXPECT_EQ(0, files.languageCode) << std::hex << lang;
        EXPECT_STREQ("E:\\bmp.ini", files.contentFile.c_str()) << std::hex << lang;
        EXPECT_STREQ("E:\\tip.ini", files.tipFile.c_str()) << std::hex << lang;
    }
    system.SetDefaultLangId(0x0404);
    files.contentFile = "E:\\";
    files.tipFile = "E:\\";
    SelectContentFiles(system, "C:\\TOVA\\", &files);
    EXPECT_EQ(1, files.languageCode);
    EXPECT_STREQ("E:\\cht.ini", files.contentFile.c_str());
    EXPECT_STREQ("E:\\tip.ini", files.tipFile.c_str());
}

TEST_F(CContentFilesTest, EveryChoiceResetsListPathHeaderAndLanguage)
{
    system.SetDefaultLangId(0x0404);
    SelectContentFiles(system, "E:\\", &files);
    EXPECT_EQ(1, files.languageCode);
    // At start the paths are empty, so only the bare names are there.
    EXPECT_STREQ("cht.ini", files.contentFile.c_str());

    files.headerX = 7;
    files.headerY = 9;
    files.contentFile.Clear();
    files.tipFile.Clear();
    system.SetDefaultLangId(0x0409);
    SelectContentFiles(system, "D:\\SETUP\\", &files);
    EXPECT_EQ(0, files.languageCode);
    EXPECT_EQ(200, files.headerX);
    EXPECT_EQ(15, files.headerY);
    // The list path is rebuilt, not appended to.
    EXPECT_STREQ("D:\\SETUP\\tova.txt", files.textFile.c_str());
    EXPECT_STREQ("bmp.ini", files.contentFile.c_str());
}

TEST_F(CContentFilesTest, OverlongFoldersAreCutToTheField)
{
    std::string longDir(600, 'd');
    files.contentFile = longDir.c_str();
    SelectContentFiles(system, longDir.c_str(), &files);
    EXPECT_EQ(CONTENT_PATH_SIZE - 1, files.textFile.Length());
    EXPECT_EQ(CONTENT_PATH_SIZE - 1, files.contentFile.Length());
    EXPECT_EQ(std::string(511, 'd'), files.contentFile.c_str());
}

TEST(ContentProfileTest, TextReadsPassAnEmptyDefaultAndTheFieldSize)
{
    CProfileFilesMock mock;
    mock.profile = "[Common]\ntitle=T\n[Panel0]\nline1=" + std::string(600, 'x') + "\n";
    FixedText<255> shortText;
    EXPECT_EQ(1u,
              ReadProfileText(mock, CLeadBytes(), "E:\\bmp.ini", "Common", "title", &shortText));
    EXPECT_STREQ("T", shortText.c_str());
    EXPECT_EQ("", mock.lastDefault);
    EXPECT_EQ(255u, mock.lastSize);
    EXPECT_EQ("E:\\bmp.ini", mock.lastFile);

    FixedText<512> longText;
    EXPECT_EQ(511u,
              ReadProfileText(mock, CLeadBytes(), "E:\\bmp.ini", "Panel0", "line1", &longText));
    EXPECT_EQ(512u, mock.lastSize);
    EXPECT_EQ(std::string(511, 'x'), longText.c_str());
    EXPECT_EQ(254u,
              ReadProfileText(mock, CLeadBytes(), "E:\\bmp.ini", "Panel0", "line1", &shortText));

    shortText = "stale";
    EXPECT_EQ(0u,
              ReadProfileText(mock, CLeadBytes(), "E:\\bmp.ini", "Panel0", "missing", &shortText));
    EXPECT_TRUE(shortText.Empty());
    EXPECT_EQ(0u,
              ReadProfileText(mock, CLeadBytes(), "E:\\bmp.ini", "Panel0", "line1", nullptr, 10));
}

TEST(ContentProfileTest, AServiceThatOverrunsItsAnswerIsHeldToTheBuffer)
{
    CProfileFilesMock mock;
    mock.misbehaveWith = 100000;
    char buffer[17];
    buffer[16] = '#';
    EXPECT_EQ(15u, ReadProfileText(mock, CLeadBytes(), "f", "s", "k", buffer, 16));
    EXPECT_EQ(15u, strlen(buffer));
    EXPECT_EQ('#', buffer[16]);
}

TEST(ContentProfileTest, NumbersFollowTheDecimalRule)
{
    struct {
        const char* text;
        int value;
    } cases[] = {
        {"42", 42},          {"  42px", 42},       {"\t-3", -3},        {"+7", 7},
        {"", 0},             {"abc", 0},           {"-", 0},            {"- 5", 0},
        {"+-5", 0},          {"0x10", 0},          {"007", 7},          {"12 34", 12},
        {"2147483647", INT_MAX},                   {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},                  {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX},   {"-000000000000000000012", -12},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, ParseProfileNumber(c.text)) << c.text;
    EXPECT_EQ(0, ParseProfileNumber(nullptr));
}

TEST(ContentProfileTest, NumbersReadFromTheFile)
{
    CProfileFilesMock mock;
    mock.profile = "[Common]\n0_x = 12 \n0_y=-3\nq=\"5\"\n[Panel0]\n0_x=" +
                   std::string(600, '7') + "\n";
    EXPECT_EQ(12, ReadProfileNumber(mock, "bmp.ini", "Common", "0_x"));
    EXPECT_EQ(255u, mock.lastSize);
    EXPECT_EQ(-3, ReadProfileNumber(mock, "bmp.ini", "common", "0_Y"));
    EXPECT_EQ(5, ReadProfileNumber(mock, "bmp.ini", "Common", "q"));  // the quotes are gone
    EXPECT_EQ(0, ReadProfileNumber(mock, "bmp.ini", "Common", "3_x"));  // missing key
    EXPECT_EQ(INT_MAX, ReadProfileNumber(mock, "bmp.ini", "Panel0", "0_x", CONTENT_TEXT_LONG));
    EXPECT_EQ(512u, mock.lastSize);
}

TEST(ContentProfileTest, ItemKeysAreNumberAndSuffix)
{
    EXPECT_STREQ("3_x", ProfileItemKey(3, "_x").c_str());
    EXPECT_STREQ("0_Nbmp", ProfileItemKey(0, "_Nbmp").c_str());
    EXPECT_STREQ("39_Obmp", ProfileItemKey(39, "_Obmp").c_str());
    EXPECT_STREQ("10_Desc", ProfileItemKey(10, "_Desc").c_str());
    EXPECT_STREQ("9_exe_2k", ProfileItemKey(9, "_exe_2k").c_str());
    EXPECT_STREQ("3_Nbmp_m", ProfileMaskKey(3, "_Nbmp").c_str());
    EXPECT_STREQ("12_Dbmp_m", ProfileMaskKey(12, "_Dbmp").c_str());
    std::string longSuffix(100, 's');
    FixedText<CONTENT_KEY_SIZE> cut = ProfileItemKey(4294967295u, longSuffix.c_str());
    EXPECT_EQ(CONTENT_KEY_SIZE - 1, cut.Length());
    EXPECT_EQ(0, strncmp(cut.c_str(), "4294967295sss", 13));
}

// The chosen files, read through the simulated drives: a Chinese system takes its panel
// texts from "cht.ini", and a missing "tip.ini" only leaves the tooltips empty.
TEST_F(CContentFilesTest, ChosenFilesAreReadThroughTheDrives)
{
    CTempDir cd;
    ASSERT_FALSE(cd.Path().empty());
    auto write = [&](const char* name, const char* text) {
        FILE* file = fopen((cd.Path() + "/" + name).c_str(), "wb");
        ASSERT_NE(nullptr, file);
        fputs(text, file);
        fclose(file);
    };
    write("bmp.ini", "[Common]\r\ntitle=Driver CD\r\n[Panel0]\r\nline1=English\r\n");
    write("cht.ini", "[Common]\r\ntitle=Chinese\r\n[Panel0]\r\nline1=\xA4\xA4\xA4\xE5\r\n");
    CSimFiles drives;
    ASSERT_TRUE(drives.MapDrive('E', cd.Path().c_str()));

    system.SetDefaultLangId(0x0404);
    files.contentFile = "E:\\";
    files.tipFile = "E:\\";
    SelectContentFiles(system, "E:\\", &files);
    FixedText<512> line;
    ReadProfileText(drives, CLeadBytes(), files.contentFile.c_str(), "Panel0", "line1", &line);
    EXPECT_STREQ("\xA4\xA4\xA4\xE5", line.c_str());
    FixedText<512> tip = "stale";
    ReadProfileText(drives, CLeadBytes(), files.tipFile.c_str(), CONTENT_TIP_SECTION, "Realtek LAN",
                    &tip);
    EXPECT_TRUE(tip.Empty());

    system.SetDefaultLangId(0x0409);
    files.contentFile = "E:\\";
    SelectContentFiles(system, "E:\\", &files);
    ReadProfileText(drives, CLeadBytes(), files.contentFile.c_str(), "Panel0", "line1", &line);
    EXPECT_STREQ("English", line.c_str());
}

// On a Big5 system a value the profile buffer cuts inside a character loses that character's
// lead byte, and a value whose own last byte is a lone lead byte loses it; a cut on a boundary
// keeps everything, and code page 1252 cuts the same bytes at the byte count.
TEST_F(CContentFilesTest, Big5ValuesAreCutOnCharacterBoundaries)
{
    CTempDir cd;
    ASSERT_FALSE(cd.Path().empty());
    cd.Write("cht.ini", "[Panel1]\r\n0_Desc=\xA4\xA4\xA4\xE5\xAA\xA9\r\nlone=A\xA4\xA4\xB1\r\n");
    CSimFiles drives;
    ASSERT_TRUE(drives.MapDrive('E', cd.Path().c_str()));
    system.SetCodePage(950);
    CLeadBytes big5(system);

    char buffer[6];
    EXPECT_EQ(4u, ReadProfileText(drives, big5, "E:\\cht.ini", "Panel1", "0_Desc", buffer, 6));
    EXPECT_EQ(std::string("\xA4\xA4\xA4\xE5"), buffer);
    FixedText<7> whole;
    EXPECT_EQ(6u, ReadProfileText(drives, big5, "E:\\cht.ini", "Panel1", "0_Desc", &whole));
    EXPECT_EQ(std::string("\xA4\xA4\xA4\xE5\xAA\xA9"), whole.c_str());
    FixedText<64> lone;
    EXPECT_EQ(3u, ReadProfileText(drives, big5, "E:\\cht.ini", "Panel1", "lone", &lone));
    EXPECT_EQ(std::string("A\xA4\xA4"), lone.c_str());

    CLeadBytes western;
    EXPECT_EQ(5u, ReadProfileText(drives, western, "E:\\cht.ini", "Panel1", "0_Desc", buffer, 6));
    EXPECT_EQ(std::string("\xA4\xA4\xA4\xE5\xAA"), buffer);
    EXPECT_EQ(4u, ReadProfileText(drives, western, "E:\\cht.ini", "Panel1", "lone", &lone));
}
