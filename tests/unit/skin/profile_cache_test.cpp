// Tests of the start-up's copy of the content files: its answers are the system's, it reads a
// file once, and it hands the system every read whose answer it cannot vouch for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/profile_reader.h"
#include "skin/profile_cache.h"
#include "tools/profile-dump-native/profile_query.h"
#include "unit/platform/null_files.h"

namespace {

// The system's files: profile reads answered over the file's bytes (as Wine answers them, per
// the reader's own tests), each call and each whole read counted.
class CCountingFiles : public CNullFiles {
public:
    std::map<std::string, std::string> contents;
    int profileCalls = 0;
    int wholeReads = 0;

    bool CanOpenForReading(const char* path) override { return contents.count(path) > 0; }
    bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) override
    {
        ++wholeReads;
        auto it = contents.find(path);
        if (it == contents.end()) return false;
        size_t n = it->second.size() < maxBytes ? it->second.size() : maxBytes;
        bytes->assign(it->second.data(), it->second.data() + n);
        return true;
    }
    uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                     char* buffer, uint32_t size, const char* fileName) override
    {
        ++profileCalls;
        auto it = contents.find(fileName);
        std::string bytes = it == contents.end() ? std::string() : it->second;
        return ReadProfileString(bytes.data(), bytes.size(), section, key, defaultValue, buffer,
                                 size);
    }
};

struct CAnswer {
    uint32_t result;
    std::string text;
    bool operator==(const CAnswer& other) const
    {
        return result == other.result && text == other.text;
    }
};

std::ostream& operator<<(std::ostream& out, const CAnswer& answer)
{
    return out << answer.result << " \"" << answer.text << "\"";
}

// One read with a guarded buffer: nothing may be written past size.
CAnswer Ask(Files& files, const char* file, const char* section, const char* key,
            uint32_t size = 255, const char* defaultValue = "")
{
    std::vector<char> buffer(size + 8, '#');
    CAnswer answer;
    answer.result =
        files.GetPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
    for (size_t i = size; i < buffer.size(); ++i)
        EXPECT_EQ('#', buffer[i]) << "past the buffer";
    answer.text = size ? std::string(buffer.data()) : std::string();
    return answer;
}

const char FILE_NAME[] = "E:\\bmp.ini";

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

// On every file and query of the reader's corpus (blanks, cuts, quotes, zeros, marks, CR-only
// lines...), the start-up gets what the system's call gives, on a single-byte and a double-byte
// code page.
TEST(ProfileCacheTest, AnswersAsTheSystemOnTheWholeCorpus)
{
    CLeadBytes westernLeads;
    CLeadBytes chineseLeads;
    for (int b = 0x81; b <= 0xFE; ++b)
        chineseLeads.SetLeadByte(static_cast<uint8_t>(b));
    const std::filesystem::path corpus = std::filesystem::path(TOVA_TEST_DATA_DIR) / "profiles";
    int queries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".queries") continue;
        std::filesystem::path ini = entry.path();
        ini.replace_extension(".ini");
        for (const CLeadBytes* leads : {&westernLeads, &chineseLeads}) {
            CCountingFiles system;
            if (std::filesystem::exists(ini)) system.contents[FILE_NAME] = FileBytes(ini);
            CProfileCache cache(system, *leads);
            std::istringstream lines(FileBytes(entry.path()));
            std::string line;
            while (std::getline(lines, line)) {
                CProfileQuery query;
                if (!ParseQueryLine(line, &query) || query.size == 0) continue;
                const char* def = query.hasDefault ? query.defaultValue.c_str() : nullptr;
                const char* s = query.section.c_str();
                const char* k = query.key.c_str();
                EXPECT_EQ(Ask(system, FILE_NAME, s, k, query.size, def),
                          Ask(cache, FILE_NAME, s, k, query.size, def))
                    << entry.path().filename() << ": " << line;
                ++queries;
            }
            EXPECT_LE(system.wholeReads, 1) << "the file is read once";
        }
    }
    EXPECT_GT(queries, 100);
}

TEST(ProfileCacheTest, APlainFileIsReadOnceAndAskedOfTheSystemNever)
{
    CCountingFiles system;
    system.contents[FILE_NAME] =
        "[Common]\r\ntitle=Demo CD \xE9t\xE9\r\ntotal=7\r\n[Panel0]\r\n\t0_x = 12 "
        "\r\nBK=bmp\\bk.bmp\r\n";
    system.contents["E:\\tip.ini"] = "[Eng]\nDriver A=Installs A\n";
    CLeadBytes leads;
    CProfileCache cache(system, leads);
    EXPECT_EQ((CAnswer{11, "Demo CD \xE9t\xE9"}), Ask(cache, FILE_NAME, "Common", "title"));
    EXPECT_EQ((CAnswer{2, "12"}), Ask(cache, FILE_NAME, "panel0", "0_X"));
    EXPECT_EQ((CAnswer{0, ""}), Ask(cache, FILE_NAME, "Panel0", "absent"));
    EXPECT_EQ((CAnswer{0, ""}), Ask(cache, FILE_NAME, "Panel9", "BK"));
    EXPECT_EQ((CAnswer{10, "Installs A"}), Ask(cache, "E:\\tip.ini", "Eng", "Driver A"));
    EXPECT_EQ(0, system.profileCalls);
    EXPECT_EQ(2, system.wholeReads);
}

TEST(ProfileCacheTest, AMissingFileReadsEmptyWithoutTheSystem)
{
    CCountingFiles system;
    CLeadBytes leads;
    CProfileCache cache(system, leads);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((CAnswer{0, ""}), Ask(cache, "E:\\tip.ini", "Eng", "Driver A"));
    }
    EXPECT_EQ(0, system.profileCalls);
    EXPECT_EQ(1, system.wholeReads) << "a missing file is not looked for again";
}

// What the systems' readers may answer differently, or what the copy cannot know, goes to the
// system: the whole file, or just the one value.
TEST(ProfileCacheTest, LeavesToTheSystemWhatOnlyItCanAnswer)
{
    struct CCase {
        const char* what;
        std::string bytes;
        uint32_t size;
        bool chinese;    // the system's code page has lead bytes 0x81 to 0xFE
        int systemCalls; // of the two reads of key k
    };
    const std::string big = "[S]\r\nk=v\r\n" + std::string(70000, ';') + "\r\n";
    const CCase cases[] = {
        {"plain", "[S]\r\nk=v\r\n", 255, false, 0},
        {"a quoted value", "[S]\r\nk=\"v\"\r\n", 255, false, 2},
        {"a value the buffer cuts", "[S]\r\nk=value\r\n", 4, false, 2},
        {"a value that just fills the buffer", "[S]\r\nk=val\r\n", 4, false, 2},
        {"Big5 text on a Chinese system", "[S]\r\nk=\xA4\xA4\r\n", 255, true, 2},
        {"the same bytes on a Western system", "[S]\r\nk=\xA4\xA4\r\n", 255, false, 0},
        {"a UTF-8 mark", "\xEF\xBB\xBF[S]\r\nk=v\r\n", 255, false, 2},
        {"a UTF-16 mark", std::string("\xFF\xFE[\0S\0]\0", 8), 255, false, 2},
        {"a zero byte", std::string("[S]\r\nk=v\0w\r\n", 12), 255, false, 2},
        {"a CR without LF", "[S]\rk=v\r", 255, false, 2},
        {"an end-of-file mark", "[S]\r\nk=v\x1A\r\n", 255, false, 2},
        {"a file over 64 KB", big, 255, false, 2},
    };
    for (const CCase& c : cases) {
        CCountingFiles system;
        system.contents[FILE_NAME] = c.bytes;
        CLeadBytes leads;
        if (c.chinese) {
            for (int b = 0x81; b <= 0xFE; ++b)
                leads.SetLeadByte(static_cast<uint8_t>(b));
        }
        CProfileCache cache(system, leads);
        for (int i = 0; i < 2; ++i) {
            CAnswer fromCache = Ask(cache, FILE_NAME, "S", "k", c.size);
            int calls = system.profileCalls;
            EXPECT_EQ(Ask(system, FILE_NAME, "S", "k", c.size), fromCache) << c.what;
            system.profileCalls = calls;
        }
        EXPECT_EQ(c.systemCalls, system.profileCalls) << c.what;
    }
}

TEST(ProfileCacheTest, BareNamesDefaultsAndManyFilesAreTheSystems)
{
    CCountingFiles system;
    system.contents["bmp.ini"] = "[S]\nk=v\n";
    system.contents[FILE_NAME] = "[S]\nk=v\n";
    CLeadBytes leads;
    CProfileCache cache(system, leads);
    // A bare name is looked for in the Windows folder by the system, not where a read looks.
    EXPECT_EQ((CAnswer{1, "v"}), Ask(cache, "bmp.ini", "S", "k"));
    EXPECT_EQ(1, system.profileCalls);
    EXPECT_EQ((CAnswer{5, "dflt!"}), Ask(cache, FILE_NAME, "S", "absent", 255, "dflt!"));
    EXPECT_EQ(2, system.profileCalls);
    // Past the few files it keeps, every read is the system's.
    for (int i = 0; i < static_cast<int>(PROFILE_CACHE_FILES); ++i) {
        Ask(cache, ("E:\\f" + std::to_string(i) + ".ini").c_str(), "S", "k");
    }
    system.profileCalls = 0;
    EXPECT_EQ((CAnswer{1, "v"}), Ask(cache, FILE_NAME, "S", "k"));
    EXPECT_EQ(1, system.profileCalls);
}
