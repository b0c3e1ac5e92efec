// Tests of the simulated profile reader: the corpus answers recorded under Wine, and the rules
// that the content loaders depend on, spelled out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/profile_reader.h"
#include "tools/profile-dump-native/profile_query.h"

namespace {

struct CRead {
    uint32_t result;
    std::string text;
};

// One read with a guarded buffer: bytes past bufferSize must stay untouched.
CRead Read(const std::string& profile, const char* section, const char* key,
           uint32_t bufferSize = 255, const char* defaultValue = "")
{
    std::vector<char> buffer(bufferSize + 8, '#');
    CRead read;
    read.result = ReadProfileString(profile.data(), profile.size(), section, key, defaultValue,
                                    buffer.data(), bufferSize);
    for (size_t i = bufferSize; i < buffer.size(); ++i) {
        EXPECT_EQ('#', buffer[i]) << "written past the buffer at " << i;
    }
    read.text = bufferSize ? std::string(buffer.data()) : std::string();
    return read;
}

std::string ReadText(const std::string& profile, const char* section, const char* key,
                     uint32_t bufferSize = 255, const char* defaultValue = "")
{
    return Read(profile, section, key, bufferSize, defaultValue).text;
}

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

}  // namespace

// Every query of the corpus answers as GetPrivateProfileStringA did under Wine.
TEST(ProfileReaderTest, CorpusMatchesRecordedWineAnswers)
{
    const std::filesystem::path corpus = std::filesystem::path(TOVA_TEST_DATA_DIR) / "profiles";
    int lists = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".queries") continue;
        std::filesystem::path expectedPath = entry.path();
        expectedPath.replace_extension(".wine");
        ASSERT_TRUE(std::filesystem::exists(expectedPath)) << expectedPath;
        std::filesystem::path profilePath = entry.path();
        profilePath.replace_extension(".ini");
        const std::string profile = FileBytes(profilePath);  // empty when missing
        const std::vector<std::string> expected = Lines(FileBytes(expectedPath));

        std::vector<std::string> actual;
        for (const std::string& line : Lines(FileBytes(entry.path()))) {
            CProfileQuery query;
            if (!ParseQueryLine(line, &query)) continue;
            std::vector<char> buffer(query.size + 1, '~');
            uint32_t result = ReadProfileString(
                profile.data(), profile.size(), query.section.c_str(), query.key.c_str(),
                query.hasDefault ? query.defaultValue.c_str() : nullptr, buffer.data(),
                query.size);
            actual.push_back(FormatQueryReport(query, result, buffer.data()));
        }
        ASSERT_EQ(expected.size(), actual.size()) << entry.path();
        for (size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(expected[i], actual[i]) << entry.path().filename() << " query " << i + 1;
        }
        ++lists;
    }
    EXPECT_GE(lists, 10);
}

TEST(ProfileReaderTest, NamesIgnoreAsciiCaseAndSurroundingBlanksOnly)
{
    const std::string ini =
        "  [ Panel0 ]\r\n\t3_X \t=\t 42 \r\nkey with blanks = v\r\n[Sect\xC9]\r\nk=accent\r\n";
    EXPECT_EQ("42", ReadText(ini, "panel0", "3_x"));
    EXPECT_EQ("42", ReadText(ini, " PANEL0\t", " 3_x "));
    EXPECT_EQ("v", ReadText(ini, "Panel0", "KEY WITH BLANKS"));
    EXPECT_EQ("", ReadText(ini, "Panel0", "key  with blanks"));  // inner blanks must match
    EXPECT_EQ("accent", ReadText(ini, "SECT\xC9", "K"));
    EXPECT_EQ("", ReadText(ini, "sect\xE9", "k"));  // no folding beyond ASCII
}

TEST(ProfileReaderTest, SectionsAndKeysFirstOneWins)
{
    const std::string ini = "early=0\n[A]\nk=first\nk=second\nbare\nbare=hidden\n[B]\nk=b\n"
                            "[Open=5\n[a]\nk=third\nonlyhere=2\n[]\nlate=3\n[Shut] tail\nz=9\n";
    EXPECT_EQ("first", ReadText(ini, "A", "k"));
    EXPECT_EQ("b", ReadText(ini, "B", "k"));
    EXPECT_EQ("def", ReadText(ini, "A", "onlyhere", 255, "def"));  // the second [a] is not read
    EXPECT_EQ("def", ReadText(ini, "A", "bare", 255, "def"));      // a key without '=' hides
    EXPECT_EQ("0", ReadText(ini, "", "early"));                    // keys before any header
    EXPECT_EQ("def", ReadText(ini, "", "late", 255, "def"));       // "[]" repeats that section
    EXPECT_EQ("5", ReadText(ini, "B", "[Open"));  // no ']': an ordinary key line
    EXPECT_EQ("9", ReadText(ini, "Shut", "z"));
    EXPECT_EQ("", ReadText(ini, "Missing", "k"));
}

TEST(ProfileReaderTest, ValuesKeepInnerTextAndLoseOnePairOfQuotes)
{
    const std::string ini = "[Q]\nd=\"double\"\ns='single'\nmixed=\"mixed'\none=\"\nempty=\"\"\n"
                            "inner=\" padded \"\neq=a=b ; not a comment\n;c=commented\n";
    EXPECT_EQ("double", ReadText(ini, "Q", "d"));
    EXPECT_EQ("single", ReadText(ini, "Q", "s"));
    EXPECT_EQ("\"mixed'", ReadText(ini, "Q", "mixed"));
    EXPECT_EQ("\"", ReadText(ini, "Q", "one"));
    EXPECT_EQ("", ReadText(ini, "Q", "empty", 255, "def"));  // present, so not the default
    EXPECT_EQ(" padded ", ReadText(ini, "Q", "inner"));
    EXPECT_EQ("a=b ; not a comment", ReadText(ini, "Q", "eq"));
    EXPECT_EQ("commented", ReadText(ini, "Q", ";c"));  // ';' lines are keys like any other
    EXPECT_EQ("", ReadText(ini, "Q", "c"));
}

TEST(ProfileReaderTest, BufferCutsToSizeMinusOneAndReturnsTheLength)
{
    const std::string ini = "[T]\nten=0123456789\nq=\"abcdefgh\"\n";
    EXPECT_EQ(10u, Read(ini, "T", "ten", 11).result);
    EXPECT_EQ("0123456789", Read(ini, "T", "ten", 11).text);
    EXPECT_EQ(9u, Read(ini, "T", "ten", 10).result);
    EXPECT_EQ("012345678", Read(ini, "T", "ten", 10).text);
    EXPECT_EQ("", Read(ini, "T", "ten", 1).text);
    EXPECT_EQ(0u, Read(ini, "T", "ten", 0).result);
    // A quoted value that exactly fills the buffer loses its last character too.
    EXPECT_EQ("abcdefgh", ReadText(ini, "T", "q", 10));
    EXPECT_EQ("abcdefg", ReadText(ini, "T", "q", 9));
    EXPECT_EQ("abcdefg", ReadText(ini, "T", "q", 8));
    const std::string pair = "[T]\ne=\"\"\n";
    EXPECT_EQ(0u, Read(pair, "T", "e", 1).result);
}

TEST(ProfileReaderTest, DefaultLosesTrailingSpacesAndIsCut)
{
    const std::string ini = "[S]\nk=v\n";
    EXPECT_EQ("  two  blanks", ReadText(ini, "S", "x", 255, "  two  blanks  "));
    EXPECT_EQ(" ", ReadText(ini, "S", "x", 255, "   "));   // its first character stays
    EXPECT_EQ("tab\t", ReadText(ini, "S", "x", 255, "tab\t"));
    EXPECT_EQ("ab", ReadText(ini, "S", "x", 255, "\"ab\""));  // quotes go as with values
    EXPECT_EQ("fal", ReadText(ini, "S", "x", 4, "fallback"));
    EXPECT_EQ(3u, Read(ini, "S", "x", 4, "fallback").result);
    std::vector<char> buffer(8, '#');
    EXPECT_EQ(0u, ReadProfileString(ini.data(), ini.size(), "S", "x", nullptr, buffer.data(), 8));
    EXPECT_EQ('\0', buffer[0]);
}

TEST(ProfileReaderTest, LineEndsAndOddBytes)
{
    EXPECT_EQ("2", ReadText("[E]\r\na=1\r\nb=2\r\n", "E", "b"));
    EXPECT_EQ("2", ReadText("[E]\ra=1\rb=2", "E", "b"));
    EXPECT_EQ("2", ReadText("[E]\r\r\na=1\n\rb=2", "E", "b"));
    const char zerosText[] = "[N]\na=1\0tail\nb= \0x\n[C\0X]\nk=1\n";
    const std::string zeros(zerosText, sizeof zerosText - 1);
    EXPECT_EQ("1", ReadText(zeros, "N", "a"));
    EXPECT_EQ("", ReadText(zeros, "N", "b", 255, "def"));
    EXPECT_EQ("1", ReadText(zeros, "C", "k"));
    EXPECT_EQ("v", ReadText("[W]\nk=\x0b\x0c\x1av\x1a \t\n", "W", "k"));
    EXPECT_EQ("\xA0v", ReadText("[W]\nk=\xA0v\n", "W", "k"));
}

TEST(ProfileReaderTest, MarkedFilesAreDecodedIntoTheAnsiCodePage)
{
    const std::string utf8 = "\xEF\xBB\xBF[S]\nk=\xC3\xA4\xE2\x82\xAC\xE4\xB8\xAD\xC3|\n";
    EXPECT_EQ("\xE4\x80??|", ReadText(utf8, "S", "k"));
    const std::string late = "[S]\n\xEF\xBB\xBFk=1\n";  // a mark inside the file is plain bytes
    EXPECT_EQ("1", ReadText(late, "S", "\xEF\xBB\xBFk"));
    const char wide[] = "\xFF\xFE[\0S\0]\0\n\0k\0=\0\xAC\x20\n\0";
    EXPECT_EQ("\x80", ReadText(std::string(wide, sizeof wide - 1), "S", "k"));
    // A UTF-16 file cut after half a unit: the lone byte is read as a unit of its own, never
    // past the end of the data.
    const char cut[] = "\xFF\xFE[\0S\0]\0\n\0k\0=\0x\0y\0z";
    EXPECT_EQ("xyz", ReadText(std::string(cut, sizeof cut - 1), "S", "k"));
}

TEST(ProfileReaderTest, NoDataOrNullNamesGiveTheDefault)
{
    char buffer[8] = "#######";
    EXPECT_EQ(3u, ReadProfileString(nullptr, 5, "S", "k", "def", buffer, sizeof buffer));
    EXPECT_STREQ("def", buffer);
    EXPECT_EQ(3u, ReadProfileString("[S]\nk=1\n", 8, nullptr, "k", "def", buffer, sizeof buffer));
    EXPECT_EQ(3u, ReadProfileString("[S]\nk=1\n", 8, "S", nullptr, "def", buffer, sizeof buffer));
    EXPECT_EQ(0u, ReadProfileString("[S]\nk=1\n", 8, "S", "k", "def", nullptr, 8));
}
