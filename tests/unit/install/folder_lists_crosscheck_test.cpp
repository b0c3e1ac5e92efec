// Cross-check of the installer's built-in folder lists against an independent transcription
// (tests/data/folder_lists.tsv): the entries themselves, and what a package under each entry
// is classified as, predicted from the data file alone.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "hw/hw_state.h"
#include "install/invocation.h"

namespace {

typedef std::map<std::string, std::vector<std::string>> CTsvLists;

// Lists by name; a malformed line or an index out of order fails the test that loads it.
CTsvLists LoadTranscription()
{
    CTsvLists lists;
    std::ifstream in(std::string(TOVA_TEST_DATA_DIR) + "/folder_lists.tsv");
    EXPECT_TRUE(in.good()) << "folder_lists.tsv is missing";
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t')) fields.push_back(field);
        if (fields.size() != 3 || fields[2].empty()) {
            ADD_FAILURE() << "line " << lineNumber << ": " << fields.size() << " fields";
            continue;
        }
        std::vector<std::string>& list = lists[fields[0]];
        EXPECT_EQ(std::to_string(list.size()), fields[1]) << "line " << lineNumber;
        list.push_back(fields[2]);
    }
    return lists;
}

struct CBuiltInList {
    const char* const* entries;
    size_t count;
};

bool BuiltInList(const std::string& name, CBuiltInList* list)
{
    static const std::map<std::string, CBuiltInList> byName = {
        {"flaggedFolders", {flaggedFolders, FLAGGED_FOLDER_COUNT}},
        {"noWaitFolders", {noWaitFolders, NO_WAIT_FOLDER_COUNT}},
        {"raidMarkers", {raidMarkers, RAID_MARKER_COUNT}},
        {"restartFolders", {restartFolders, RESTART_FOLDER_COUNT}},
        {"exitFolders9x", {exitFolders9x, EXIT_FOLDER_9X_COUNT}},
        {"vgaExitFolders9x", {vgaExitFolders9x, VGA_EXIT_FOLDER_9X_COUNT}},
        {"usb2Folders", {usb2Folders, USB2_FOLDER_COUNT}},
    };
    auto found = byName.find(name);
    if (found == byName.end()) return false;
    *list = found->second;
    return true;
}

// A setup program's path below a folder that holds the entry.
std::string PathHolding(const std::string& entry)
{
    std::string path = "E:\\DRV" + (entry[0] == '\\' ? "" : std::string("\\")) + entry;
    if (path.back() != '\\') path += "\\";
    return path + "SETUP.EXE";
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

TEST(FolderListsCrossCheckTest, TranscriptionNamesEveryList)
{
    std::map<std::string, size_t> counts;
    for (const auto& list : LoadTranscription()) counts[list.first] = list.second.size();
    const std::map<std::string, size_t> expected = {
        {"flaggedFolders", 4}, {"noWaitFolders", 48},   {"raidMarkers", 3},
        {"restartFolders", 1}, {"exitFolders9x", 2},    {"vgaExitFolders9x", 4},
        {"usb2Folders", 5},
    };
    EXPECT_EQ(expected, counts);
}

TEST(FolderListsCrossCheckTest, BuiltInListsEqualTheTranscription)
{
    for (const auto& list : LoadTranscription()) {
        SCOPED_TRACE(list.first);
        CBuiltInList builtIn = {nullptr, 0};
        ASSERT_TRUE(BuiltInList(list.first, &builtIn)) << "unknown list";
        ASSERT_EQ(list.second.size(), builtIn.count);
        for (size_t i = 0; i < list.second.size(); ++i) {
            ASSERT_NE(nullptr, builtIn.entries[i]) << "entry " << i;
            EXPECT_EQ(list.second[i], builtIn.entries[i]) << "entry " << i;
        }
    }
}

// A package under any no-wait folder is polled for its log, unless it is the SiS AGP package,
// which every rule gives way to; under a flagged folder it takes that folder's variant.
TEST(FolderListsCrossCheckTest, EveryListedFolderClassifiesItsPackages)
{
    CTsvLists lists = LoadTranscription();
    ASSERT_EQ(48u, lists["noWaitFolders"].size());
    for (const std::string& entry : lists["noWaitFolders"]) {
        std::string path = Lower(PathHolding(entry));
        bool sisAgp = entry.find("\\SIS\\SIS635_645_650_733_735\\") != std::string::npos;
        CRowClass row = ClassifyRow(path.c_str(), 0, OS_WINXP);
        EXPECT_EQ(sisAgp ? INSTALL_KIND_SIS_AGP : INSTALL_KIND_NO_WAIT, row.installKind) << path;
        EXPECT_EQ(FLAG_VARIANT_NONE, row.flagVariant) << path;
    }
    const std::vector<std::string>& flagged = lists["flaggedFolders"];
    ASSERT_EQ(4u, flagged.size());
    for (size_t i = 0; i < flagged.size(); ++i) {
        std::string path = PathHolding(flagged[i]);
        CRowClass row = ClassifyRow(path.c_str(), 0, OS_WIN2000);
        EXPECT_EQ(INSTALL_KIND_FLAGGED, row.installKind) << path;
        EXPECT_EQ(static_cast<int>(i), row.flagVariant) << path;
    }
}

// The sequencer's lists are matched by the shared helpers: a command line under an entry holds
// the list, and each RAID marker counts once.
TEST(FolderListsCrossCheckTest, TheSequencersListsMatchCommandLinesUnderTheirEntries)
{
    for (const auto& list : LoadTranscription()) {
        SCOPED_TRACE(list.first);
        CBuiltInList builtIn = {nullptr, 0};
        ASSERT_TRUE(BuiltInList(list.first, &builtIn));
        for (const std::string& entry : list.second) {
            std::string line = PathHolding(entry) + " -S -F2\"C:\\ZOV.LOG\"";
            EXPECT_TRUE(HoldsFolderEntry(line.c_str(), builtIn.entries, builtIn.count)) << line;
            EXPECT_FALSE(HoldsFolderEntry(Lower(line).c_str(), builtIn.entries, builtIn.count))
                << "matched on upper-cased text only";
        }
    }
    EXPECT_EQ(3, CountFolderEntries("E:\\OTHER\\PROMISE\\OTHER\\SII\\SI3112\\OTHER\\ITE_RAID\\",
                                    raidMarkers));
    EXPECT_EQ(1, CountFolderEntries("E:\\OTHER\\PROMISE\\OTHER\\PROMISE\\SETUP.EXE", raidMarkers));
    EXPECT_EQ(0, CountFolderEntries("E:\\PROMISE\\SETUP.EXE", raidMarkers));
}
