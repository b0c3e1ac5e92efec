// The cost of start-up in files: on every demo board tova-sim start loads each picture the
// content file names once, never more pictures than the distinct files it opened, and a CD whose
// panels all name the same few pictures loads just those.
#include <gtest/gtest.h>

#include <dirent.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "unit/platform/temp_dir.h"

namespace {

const char* const SYSTEMS[] = {"win98se", "nt4", "winxp"};

std::vector<std::string> DemoBoards()
{
    std::vector<std::string> boards;
    std::string folder = std::string(TOVA_SOURCE_DIR) + "/demo/boards";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return boards;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > 6 && name.compare(name.size() - 6, 6, ".board") == 0) {
            boards.push_back(folder + "/" + name);
        }
    }
    closedir(dir);
    return boards;
}

// The name=value lines tova-sim start prints, by name.
std::map<std::string, std::string> Start(const std::string& cd, const std::string& board,
                                         const std::string& os, const std::string& extra = "")
{
    std::string command = std::string(TOVA_SIM_EXE) + " start --drive E=" + cd + " --board " +
                          board + " --os " + os + " " + extra + " 2>/dev/null";
    std::map<std::string, std::string> values;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return values;
    char line[4096];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        size_t eq = text.find('=');
        if (eq == std::string::npos) continue;
        size_t end = text.find_last_not_of("\r\n");
        values[text.substr(0, eq)] = text.substr(eq + 1, end - eq);
    }
    pclose(pipe);
    return values;
}

long long Number(const std::map<std::string, std::string>& values, const char* name)
{
    auto found = values.find(name);
    return found == values.end() ? -1 : atoll(found->second.c_str());
}

// Keys whose value names a picture: the looks and masks, backgrounds, marquees, the return strip.
bool IsPictureKey(const std::string& key)
{
    auto endsWith = [&key](const char* tail) {
        std::string t(tail);
        return key.size() >= t.size() && key.compare(key.size() - t.size(), t.size(), t) == 0;
    };
    return endsWith("bmp") || endsWith("bmp_m") || key == "BK" || key == "MQ" ||
           key == "MQ_BK" || key == "rtnblk";
}

// The distinct picture names of a content file, compared without regard to case.
size_t NamedPictures(const std::string& iniPath)
{
    std::ifstream in(iniPath);
    std::set<std::string> names;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq == std::string::npos || !IsPictureKey(line.substr(0, eq))) continue;
        std::string value = line.substr(eq + 1);
        for (char& c : value) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        if (!value.empty()) names.insert(value);
    }
    return names.size();
}

// The content file with every picture value replaced by one of pictures, in turn.
std::string FewPictures(const std::string& iniPath, const std::vector<std::string>& pictures)
{
    std::ifstream in(iniPath);
    std::ostringstream out;
    std::string line;
    size_t next = 0;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos && IsPictureKey(line.substr(0, eq))) {
            line = line.substr(0, eq + 1) + pictures[next++ % pictures.size()];
        }
        out << line << "\n";
    }
    return out.str();
}

void ExpectCounters(const std::map<std::string, std::string>& values, const std::string& what)
{
    for (const char* name : {"portOps", "imageLoads", "distinctFiles", "bytesRead",
                             "profileReads", "cdromMs"}) {
        EXPECT_GE(Number(values, name), 0) << what << ": no " << name;
    }
}

}  // namespace

TEST(StartCost, EveryNamedPictureIsLoadedOnceOnEveryDemoBoard)
{
    std::string cd = TOVA_DEMO_CD_DIR;
    size_t named = NamedPictures(cd + "/bmp.ini");
    // The demo CD names some seventy pictures; the panels name each of them many times over.
    ASSERT_GT(named, 50u);
    std::vector<std::string> boards = DemoBoards();
    ASSERT_GE(boards.size(), 6u);
    for (const std::string& board : boards) {
        for (const char* os : SYSTEMS) {
            std::string what = board + " " + os;
            std::map<std::string, std::string> values = Start(cd, board, os);
            ExpectCounters(values, what);
            long long loads = Number(values, "imageLoads");
            long long files = Number(values, "distinctFiles");
            EXPECT_EQ(static_cast<long long>(named), loads) << what;
            EXPECT_LE(loads, files) << what;
            // Every distinct file costs its seek. The panels read their content files from one
            // copy: the only profile call left is the title's.
            EXPECT_GE(Number(values, "cdromMs"), 100 * files) << what;
            EXPECT_EQ(1, Number(values, "profileReads")) << what;
        }
    }
}

TEST(StartCost, PanelsNamingTheSameFewPicturesLoadJustThose)
{
    std::string demo = TOVA_DEMO_CD_DIR;
    CTempDir dir;
    std::string cd = dir.Path() + "/cd";
    ASSERT_EQ(0, system(("cp -r '" + demo + "' '" + cd + "'").c_str()));
    // Three pictures, the second also under another spelling of its name.
    std::string ini = FewPictures(demo + "/bmp.ini", {"bmp\\drv_n.bmp", "bmp\\drv_o.bmp",
                                                      "BMP\\DRV_O.BMP", "bmp\\drv_d.bmp"});
    std::ofstream(cd + "/bmp.ini") << ini;
    std::string board = std::string(TOVA_SOURCE_DIR) + "/demo/boards/ich4-845pe.board";

    std::map<std::string, std::string> few = Start(cd, board, "winxp");
    std::map<std::string, std::string> full = Start(demo, board, "winxp");
    ExpectCounters(few, "few pictures");
    EXPECT_EQ(3, Number(few, "imageLoads"));
    EXPECT_LE(Number(few, "imageLoads"), Number(few, "distinctFiles"));
    EXPECT_EQ(Number(full, "distinctFiles") - Number(full, "imageLoads"),
              Number(few, "distinctFiles") - 3)
        << "the same content files besides the pictures";
    EXPECT_LT(Number(few, "cdromMs"), Number(full, "cdromMs"));
    EXPECT_EQ(full["itemCount"], few["itemCount"]) << "the pictures change nothing else";
}

// On a Traditional Chinese system the content files hold Big5 text, which the system reads
// through its code page: those reads stay the system's, and what the panels show is the same.
TEST(StartCost, TheBig5FilesOfAChineseSystemAreReadByTheSystem)
{
    std::string cd = TOVA_DEMO_CD_DIR;
    std::string board = std::string(TOVA_SOURCE_DIR) + "/demo/boards/ich4-845pe.board";
    std::map<std::string, std::string> chinese = Start(cd, board, "winxp", "--lang 0x0404");
    std::map<std::string, std::string> western = Start(cd, board, "winxp");
    EXPECT_EQ("1", chinese["languageCode"]);
    EXPECT_GT(Number(chinese, "profileReads"), 200);
    EXPECT_EQ(1, Number(western, "profileReads"));
    EXPECT_EQ(western["itemCount"], chinese["itemCount"]);
    EXPECT_EQ(Number(western, "imageLoads"), Number(chinese, "imageLoads"));
}
