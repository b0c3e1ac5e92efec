// tova-sim lint: reads a driver CD through the simulated drives as the program would and reports
// what would make it show nothing, show it wrong or fail to install.
#include "tools/tova-sim/lint.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <set>

#include "hw/catalogues.h"
#include "hw/driver_list.h"
#include "hw/hw_state.h"
#include "hw/os_class.h"
#include "install/invocation.h"
#include "common/bitmap_header.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_window.h"
#include "skin/content_files.h"
#include "skin/panel_table.h"
#include "tools/tova-sim/exit_codes.h"
#include "tools/tova-sim/lint_names.h"

namespace {

const char LINT_ID_FILE[] = "id.log";
const char LINT_RESPONSE_FILE[] = "setup1.iss";
const int LINT_COMMON_TOTAL = 7;
const int LINT_PANEL0_TOTAL = 3;
const int LINT_PANEL1_MAX_ROWS = 33;
const int LINT_LIST_FIELDS = 8;
const size_t LINT_FOLDER_PREFIX = 7;

// What the install list keeps of each field: its record field less the terminating zero.
const size_t LINT_ENTRY_NUMBER_MAX = decltype(DriverItem::entryNumber)::CAPACITY - 1;
const size_t LINT_DESCRIPTION_MAX = decltype(DriverItem::description)::CAPACITY - 1;
const size_t LINT_FOLDER_MAX = decltype(DriverItem::folder)::CAPACITY - 1;
const size_t LINT_SETUP_FILE_MAX = decltype(DriverItem::setupFile)::CAPACITY - 1;
const size_t LINT_VERSION_MAX = decltype(DriverItem::versionText)::CAPACITY - 1;

// The category texts detection searches for, without their semicolons.
const char* const LINT_CATEGORIES[] = {"Chipset",   "LAN",  "audio",  "Promise",  "Winbond",
                                       "SeriesATA", "SCSI", "USB2.0", "IntelUSB", "AMR"};

struct CLintSystem {
    uint8_t osCode;
    const char* name;
};
const CLintSystem LINT_SYSTEMS[] = {
    {OS_WIN95, "Windows 95"}, {OS_WIN98, "Windows 98"},     {OS_WIN98SE, "Windows 98 SE"},
    {OS_NT4, "Windows NT 4"}, {OS_WIN2000, "Windows 2000"}, {OS_WINME, "Windows Me"},
    {OS_WINXP, "Windows XP"},
};

const char* SystemName(uint8_t osCode)
{
    for (const CLintSystem& system : LINT_SYSTEMS) {
        if (system.osCode == osCode) return system.name;
    }
    return "?";
}

bool SameTextNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string Trim(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

std::string Lower(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Where each key of a profile file stands, so that a finding can name its line. The values
// themselves are read through the profile reads the program uses.
class CProfileLines {
public:
    void Index(const std::vector<char>& bytes)
    {
        std::string section;
        int number = 0;
        size_t pos = 0;
        while (pos < bytes.size()) {
            size_t end = pos;
            while (end < bytes.size() && bytes[end] != '\n')
                ++end;
            std::string line(bytes.data() + pos, end - pos);
            ++number;
            pos = end + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::string trimmed = Trim(line);
            if (!trimmed.empty() && trimmed[0] == '[') {
                size_t close = trimmed.find(']');
                section = Lower(Trim(
                    trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
                continue;
            }
            size_t equals = trimmed.find('=');
            if (equals == std::string::npos) continue;
            std::string key = section + "\n" + Lower(Trim(trimmed.substr(0, equals)));
            if (lines.find(key) == lines.end()) lines[key] = number;
        }
    }
    // The line of section/key, 0 when it has none.
    int LineOf(const char* section, const char* key) const
    {
        auto found = lines.find(Lower(section) + "\n" + Lower(key));
        return found == lines.end() ? 0 : found->second;
    }

private:
    std::map<std::string, int> lines;
};

// One line of the driver list: its number and where it stands in the list text.
struct CListLine {
    int number;
    size_t begin;
    size_t end; // its CR or LF
};

// A system's block of the driver list.
struct CListBlock {
    uint8_t osCode;
    int firstLine;
    size_t begin;
    size_t end;
    bool ended; // a ";-" closes it
};

// The first occurrence of key in text[from, end).
size_t FindText(const char* text, size_t from, size_t end, const char* key)
{
    size_t length = strlen(key);
    for (size_t i = from; i + length <= end; ++i) {
        if (memcmp(text + i, key, length) == 0) return i;
    }
    return std::string::npos;
}

// How many entries the key selects in a block: every hit becomes one, the search going on two
// characters after it.
int CountHits(const char* block, size_t length, const std::string& key)
{
    int count = 0;
    for (size_t hit = FindText(block, 0, length, key.c_str()); hit != std::string::npos;
         hit = FindText(block, hit + 2, length, key.c_str())) {
        ++count;
    }
    return count;
}

// Every device code the block lists for the tag (";LAN;").
std::set<int> CodesInBlock(const char* block, size_t length, const std::string& tag)
{
    std::set<int> codes;
    for (size_t hit = FindText(block, 0, length, tag.c_str()); hit != std::string::npos;
         hit = FindText(block, hit + 1, length, tag.c_str())) {
        size_t i = hit + tag.size();
        long code = 0;
        size_t digits = 0;
        while (i < length && block[i] >= '0' && block[i] <= '9' && digits < 9) {
            code = code * 10 + (block[i] - '0');
            ++i;
            ++digits;
        }
        if (digits > 0 && i < length && block[i] == ';') codes.insert(static_cast<int>(code));
    }
    return codes;
}

// The most entries one code of the list can select in the category.
int MostForOneCode(const char* block, size_t length, const std::string& category,
                   const std::set<int>& codes)
{
    int most = 0;
    for (int code : codes) {
        std::string key = ";" + category + ";" + std::to_string(code) + ";";
        int count = CountHits(block, length, key);
        if (count > most) most = count;
    }
    return most;
}

std::set<int> CatalogueCodes(const CCatalogueRow* catalogue)
{
    std::set<int> codes;
    for (int i = 0; i < CatalogueRowCount(catalogue); ++i) {
        codes.insert(static_cast<int>(catalogue[i].code));
    }
    return codes;
}

bool TakesResponseFile(uint8_t installKind)
{
    return installKind == INSTALL_KIND_PROMISE_RAID || installKind == INSTALL_KIND_SIL_RAID ||
           installKind == INSTALL_KIND_VIA_USB2 || installKind == INSTALL_KIND_SIS_AGP ||
           installKind == INSTALL_KIND_ITE_RAID;
}

class CCdLint {
public:
    CCdLint(CSimFiles& files, FILE* out) : files(files), out(out) {}

    bool FoundErrors() const { return foundErrors; }

    // The CD root is the first drive with the marker, as the program looks for it; without one
    // the first drive given is checked as the CD.
    void FindCdRoot(char firstDrive)
    {
        for (char drive = 'C'; drive <= 'Z'; ++drive) {
            std::string marker = std::string(1, drive) + ":\\" + LINT_ID_FILE;
            if (files.CanOpenForReading(marker.c_str())) {
                cdRoot = std::string(1, drive) + ":\\";
                return;
            }
        }
        cdRoot = std::string(1, firstDrive) + ":\\";
        Error(LINT_ID_FILE, 0, "missing in the CD root: the program does not find its CD");
    }

    const std::string& CdRoot() const { return cdRoot; }

    // leadBytes: those of the code page the file is read on.
    void CheckContentFile(const char* name, const CLeadBytes& leadBytes)
    {
        contentLeadBytes = leadBytes;
        std::string path = cdRoot + name;
        std::vector<char> bytes;
        if (!files.ReadWholeFile(path.c_str(), DRIVER_LIST_MAX_BYTES, &bytes)) {
            Error(name, 0, "missing: the panels have no pictures, positions or texts");
            return;
        }
        CProfileLines lines;
        lines.Index(bytes);

        int commonTotal = ReadProfileNumber(files, path.c_str(), "Common", "total");
        if (commonTotal != LINT_COMMON_TOTAL) {
            Error(name, lines.LineOf("Common", "total"),
                  "[Common] total is " + std::to_string(commonTotal) +
                      ", not 7: the tabs, Exit and the web button are fixed at items 0 to 6");
        }
        int panel0Total =
            ReadProfileNumber(files, path.c_str(), "Panel0", "total", CONTENT_TEXT_LONG);
        if (panel0Total != LINT_PANEL0_TOTAL) {
            Error(name, lines.LineOf("Panel0", "total"),
                  "[Panel0] total is " + std::to_string(panel0Total) +
                      ", not 3: Rapid Setup on, start and Rapid Setup off are fixed items");
        }

        int commonItems = Clamp(commonTotal, LINT_COMMON_TOTAL);
        for (int i = 0; i < commonItems; ++i) {
            for (const char* suffix : {"_Nbmp", "_Obmp", "_Dbmp"}) {
                CheckPicturePair(name, path, lines, "Common", i, suffix, CONTENT_TEXT_SHORT);
            }
        }
        int ownItems = Clamp(panel0Total, LINT_PANEL0_TOTAL);
        for (int i = 0; i < ownItems; ++i) {
            for (const char* suffix : {"_Nbmp", "_Obmp"}) {
                CheckPicturePair(name, path, lines, "Panel0", i, suffix, CONTENT_TEXT_LONG);
            }
        }
        CBitmapHeader header;
        for (const char* key : {"BK", "rtnblk", "MQ", "MQ_BK"}) {
            CheckPicture(name, path, lines, "Panel0", key, CONTENT_TEXT_LONG, &header);
        }
        for (const char* key : {"BK", "MQ", "MQ_BK"}) {
            CheckPicture(name, path, lines, "Panel1", key, CONTENT_TEXT_LONG, &header);
            for (const char* section : {"Panel2", "Panel3", "Panel4"}) {
                CheckPicture(name, path, lines, section, key, CONTENT_TEXT_SHORT, &header);
            }
        }

        int toolRows = ReadProfileNumber(files, path.c_str(), "Panel1", "total", CONTENT_TEXT_LONG);
        if (toolRows > LINT_PANEL1_MAX_ROWS) {
            Error(name, lines.LineOf("Panel1", "total"),
                  "[Panel1] total is " + std::to_string(toolRows) +
                      ": only 33 utility rows are loaded, the rest are never shown");
        }
        toolRows = Clamp(toolRows, LINT_PANEL1_MAX_ROWS);
        for (int j = 0; j < toolRows; ++j) {
            FixedText<CONTENT_KEY_SIZE> key = ProfileItemKey(static_cast<unsigned>(j), "_Desc");
            // The caption as the row holds it, cut to its field: that is the tooltip's key.
            FixedText<PANEL_CAPTION_SIZE> caption;
            ReadProfileText(files, leadBytes, path.c_str(), "Panel1", key.c_str(), &caption);
            if (!caption.Empty()) {
                AddCaption(caption.c_str(),
                           std::string(name) + " line " +
                               std::to_string(lines.LineOf("Panel1", key.c_str())));
            }
        }
    }

    void CheckDriverList(const std::string& programDir, const std::set<uint8_t>& supported)
    {
        std::string path = programDir + CONTENT_LIST_FILE;
        std::string shown = Shown(path);
        CInstallList list;
        if (!ReadListFile(files, path.c_str(), list)) {
            Error(shown, 0, "missing: the program offers no driver");
            return;
        }
        const char* text = list.listText.data();
        size_t length = strlen(text);
        SplitLines(text, length);
        FindBlocks(list, shown, supported);

        for (const CListLine& line : listLines) {
            CheckListLine(shown, std::string(text + line.begin, line.end - line.begin), line);
        }
        for (const CListBlock& block : blocks) {
            if (block.ended && supported.count(block.osCode)) CheckEntryCount(list, shown, block);
        }
    }

    // Every caption needs a tooltip; one warning a caption, however often it is used.
    void CheckTooltips()
    {
        std::string path = cdRoot + CONTENT_TIP_FILE;
        if (!files.CanOpenForReading(path.c_str())) {
            Warning(CONTENT_TIP_FILE, 0, "missing: no row has a tooltip");
            return;
        }
        for (const auto& caption : captions) {
            FixedText<CONTENT_TEXT_LONG> tip;
            ReadProfileText(files, CLeadBytes(), path.c_str(), CONTENT_TIP_SECTION,
                            caption.first.c_str(), &tip);
            if (tip.Empty()) {
                Warning(CONTENT_TIP_FILE, 0,
                        "[Eng] has no tooltip for \"" + caption.first + "\" (" + caption.second +
                            ")");
            }
        }
    }

    // Every name on the CD, not only those the content files give: the image carries them all,
    // and a name it changes is one the program or a package's setup no longer finds.
    void CheckImageNames()
    {
        std::string host;
        if (!files.HostPath(cdRoot.c_str(), &host)) return;
        for (const CImageNameFinding& finding : ::CheckImageNames(host)) {
            Warning(finding.path, 0, finding.message);
        }
    }

private:
    static int Clamp(int value, int most) { return value < 0 ? 0 : (value > most ? most : value); }

    void Print(const char* kind, const std::string& file, int line, const std::string& message)
    {
        fprintf(out, "%s\t%s\t%d\t%s\n", kind, file.c_str(), line, message.c_str());
    }
    void Error(const std::string& file, int line, const std::string& message)
    {
        foundErrors = true;
        Print("error", file, line, message);
    }
    void Warning(const std::string& file, int line, const std::string& message)
    {
        Print("warning", file, line, message);
    }

    // A path as the CD author knows it: relative to the CD root when it lies on the CD.
    std::string Shown(const std::string& path) const
    {
        if (path.size() >= cdRoot.size() && SameTextNoCase(path.substr(0, cdRoot.size()), cdRoot))
            return path.substr(cdRoot.size());
        return path;
    }

    void AddCaption(const std::string& caption, const std::string& where)
    {
        for (const auto& known : captions) {
            if (known.first == caption) return;
        }
        captions.push_back(std::make_pair(caption, where));
    }

    // A picture the description names: it must exist and be a bitmap the loader takes. True
    // (with its header) when it is one.
    bool CheckPicture(const char* name, const std::string& path, const CProfileLines& lines,
                      const char* section, const char* key, uint32_t size, CBitmapHeader* header)
    {
        char value[CONTENT_TEXT_LONG] = {};
        ReadProfileText(files, contentLeadBytes, path.c_str(), section, key, value, size);
        if (value[0] == '\0') return false;
        int line = lines.LineOf(section, key);
        std::string picture = cdRoot + value;
        std::string where = std::string("[") + section + "] " + key + ": picture " + value;
        std::string host;
        std::vector<char> bytes;
        if (!files.HostPath(picture.c_str(), &host)) {
            Error(name, line, where + " is missing");
            return false;
        }
        if (!files.ReadWholeFile(picture.c_str(), SIM_BITMAP_FILE_MAX_BYTES, &bytes)) {
            Error(name, line, where + " cannot be read");
            return false;
        }
        if (!ReadBitmapHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                              header)) {
            Error(name, line,
                  where + " is not a bitmap Windows loads (use an uncompressed BMP3 of 1, 4, 8 or "
                          "24 bits a pixel)");
            return false;
        }
        return true;
    }

    // An image key and its mask: both checked, and a mask must match its picture's size.
    void CheckPicturePair(const char* name, const std::string& path, const CProfileLines& lines,
                          const char* section, int item, const char* suffix, uint32_t size)
    {
        FixedText<CONTENT_KEY_SIZE> key = ProfileItemKey(static_cast<unsigned>(item), suffix);
        FixedText<CONTENT_KEY_SIZE> maskKey = ProfileMaskKey(static_cast<unsigned>(item), suffix);
        CBitmapHeader image = {}, mask = {};
        bool imageGood = CheckPicture(name, path, lines, section, key.c_str(), size, &image);
        bool maskGood = CheckPicture(name, path, lines, section, maskKey.c_str(), size, &mask);
        if (imageGood && maskGood && (image.width != mask.width || image.height != mask.height)) {
            Error(name, lines.LineOf(section, maskKey.c_str()),
                  std::string("[") + section + "] " + maskKey.c_str() + ": mask is " +
                      std::to_string(mask.width) + "x" + std::to_string(mask.height) +
                      ", its picture " + std::to_string(image.width) + "x" +
                      std::to_string(image.height));
        }
    }

    void SplitLines(const char* text, size_t length)
    {
        listLines.clear();
        size_t pos = 0;
        int number = 0;
        while (pos < length) {
            size_t end = pos;
            while (end < length && text[end] != '\n')
                ++end;
            size_t contentEnd = end;
            while (contentEnd > pos && text[contentEnd - 1] == '\r')
                --contentEnd;
            listLines.push_back({++number, pos, contentEnd});
            pos = end + 1;
        }
    }

    int LineAt(size_t offset) const
    {
        int number = 1;
        for (const CListLine& line : listLines) {
            if (line.begin > offset) break;
            number = line.number;
        }
        return number;
    }

    // The blocks as the program cuts them: from the line holding ";<os>;Chipset" to the first
    // ";-" after it.
    void FindBlocks(const CInstallList& list, const std::string& shown,
                    const std::set<uint8_t>& supported)
    {
        const char* text = list.listText.data();
        size_t length = strlen(text);
        blocks.clear();
        for (const CLintSystem& system : LINT_SYSTEMS) {
            std::string key = ";" + std::to_string(system.osCode) + ";Chipset";
            size_t hit = FindText(text, 0, length, key.c_str());
            if (hit == std::string::npos) {
                if (supported.count(system.osCode)) {
                    Error(shown, 0,
                          std::string("no block for ") + system.name + ": no line holds \"" + key +
                              "\", so it gets no driver");
                }
                continue;
            }
            size_t lineBegin = hit;
            while (lineBegin > 0 && text[lineBegin - 1] != '\n')
                --lineBegin;
            size_t searchFrom = lineBegin >= 2 ? lineBegin - 2 : 0;
            size_t end = FindText(text, searchFrom, length, ";-");
            CListBlock block = {system.osCode, LineAt(hit), lineBegin, end,
                                end != std::string::npos};
            if (!block.ended) {
                // Its lines count as its own for the other checks, so that they are not reported
                // again as lying outside every block.
                block.end = length;
                Error(shown, block.firstLine,
                      std::string("the ") + system.name +
                          " block has no \";-\" line after it, so " + system.name +
                          " gets no driver");
            }
            blocks.push_back(block);
        }
    }

    void CheckListLine(const std::string& shown, const std::string& line, const CListLine& at)
    {
        std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == ';') return;
        const int number = at.number;

        std::vector<std::string> fields;
        size_t pos = 0;
        while (static_cast<int>(fields.size()) < LINT_LIST_FIELDS - 1) {
            size_t semicolon = line.find(';', pos);
            if (semicolon == std::string::npos) break;
            fields.push_back(line.substr(pos, semicolon - pos));
            pos = semicolon + 1;
        }
        fields.push_back(line.substr(pos));
        if (static_cast<int>(fields.size()) < LINT_LIST_FIELDS) {
            Error(shown, number,
                  "only " + std::to_string(fields.size()) +
                      " of the 8 fields (number;system;category;code;description;folder;setup "
                      "program;version)");
            return;
        }
        const std::string& category = fields[2];
        const std::string& description = fields[4];
        const std::string& setupFile = fields[6];
        if (category.empty()) {
            Error(shown, number, "the category is empty");
        } else {
            bool known = false;
            for (const char* name : LINT_CATEGORIES)
                known = known || category == name;
            if (!known) {
                Error(shown, number,
                      "unknown category \"" + category +
                          "\" (Chipset, LAN, audio, Promise, Winbond, SeriesATA, SCSI, USB2.0, "
                          "IntelUSB or AMR, in this case)");
            }
        }
        const std::string& code = fields[3];
        if (code.empty()) {
            Error(shown, number, "the device code is empty");
        } else if (code.find_first_not_of("0123456789") != std::string::npos ||
                   (code.size() > 1 && code[0] == '0')) {
            // Detection looks the code up as ";<category>;<decimal>;", so no board selects it.
            Error(shown, number,
                  "the device code \"" + code +
                      "\" is not a plain decimal number: it never matches");
        }
        if (setupFile.empty()) Error(shown, number, "the setup program is empty");

        size_t digits = 0, i = 0;
        while (i < line.size() && !(line[i] >= '0' && line[i] <= '9'))
            ++i;
        while (i + digits < line.size() && line[i + digits] >= '0' && line[i + digits] <= '9') {
            ++digits;
        }
        std::string folder;
        for (size_t k = LINT_FOLDER_PREFIX; k < fields[5].size(); ++k) {
            folder += fields[5][k] == '/' ? '\\' : fields[5][k];
        }
        WarnIfCut(shown, number, "entry number", digits, LINT_ENTRY_NUMBER_MAX);
        WarnIfCut(shown, number, "description", description.size(), LINT_DESCRIPTION_MAX);
        WarnIfCut(shown, number, "folder", folder.size(), LINT_FOLDER_MAX);
        WarnIfCut(shown, number, "setup program", setupFile.size(), LINT_SETUP_FILE_MAX);
        WarnIfCut(shown, number, "version text", fields[7].size(), LINT_VERSION_MAX);

        std::vector<uint8_t> systems;
        for (const CListBlock& block : blocks) {
            if (at.begin >= block.begin && at.begin < block.end) systems.push_back(block.osCode);
        }
        if (systems.empty()) {
            Warning(shown, number, "lies outside every system's block: it is never offered");
        }
        if (!description.empty()) {
            AddCaption(description, shown + " line " + std::to_string(number));
        }
        if (!setupFile.empty()) CheckPackage(shown, number, folder, setupFile, systems);
    }

    void WarnIfCut(const std::string& shown, int number, const char* field, size_t length,
                   size_t most)
    {
        if (length <= most) return;
        Warning(shown, number,
                std::string("the ") + field + " has " + std::to_string(length) +
                    " characters; the program keeps " + std::to_string(most));
    }

    // The package's folder and setup program on the CD, and the response file of the packages
    // that are started with one on a system whose block offers the line.
    void CheckPackage(const std::string& shown, int number, const std::string& folder,
                      const std::string& setupFile, const std::vector<uint8_t>& systems)
    {
        std::string host;
        if (!folder.empty() && !files.HostPath((cdRoot + folder).c_str(), &host)) {
            Error(shown, number, "the package folder " + folder + " is missing on the CD");
            return;
        }
        std::string command = cdRoot + folder + setupFile;
        if (!files.CanOpenForReading(command.c_str())) {
            Error(shown, number,
                  "the setup program " + folder + setupFile + " is missing on the CD");
            return;
        }
        size_t lastSlash = command.rfind('\\');
        std::string responseFile = command.substr(0, lastSlash + 1) + LINT_RESPONSE_FILE;
        for (uint8_t osCode : systems) {
            // Two RAID rows make the RAID packages take their response file too.
            CRowClass row = ClassifyRow(command.c_str(), 2, osCode);
            if (!TakesResponseFile(row.installKind)) continue;
            if (!files.CanOpenForReading(responseFile.c_str())) {
                Error(shown, number,
                      std::string("no ") + LINT_RESPONSE_FILE + " beside " + folder + setupFile +
                          ": on " + SystemName(osCode) + " the package is started with it");
            }
            return;
        }
    }

    // The most entries one board could get on the system: one code a category, except serial
    // ATA, which detection records for three controllers.
    void CheckEntryCount(CInstallList& list, const std::string& shown, const CListBlock& block)
    {
        ExtractOsSection(list, block.osCode);
        const char* section = list.osSection.data();
        size_t length = strlen(section);
        const uint8_t os = block.osCode;
        int total = 0;
        for (const char* category : LINT_CATEGORIES) {
            std::string name = category;
            if (name == "SeriesATA") continue;
            bool usb2 = os == OS_WIN98SE || os == OS_WINME || os == OS_WIN2000 || os == OS_WINXP;
            if (name == "USB2.0" && !usb2) continue;
            if (name == "IntelUSB" && os != OS_WIN98SE && os != OS_WINME) continue;
            total += MostForOneCode(section, length, name,
                                    CodesInBlock(section, length, ";" + name + ";"));
        }
        for (const CCatalogueRow* catalogue :
             {CATALOGUE_SERIAL_ATA, CATALOGUE_INTEL_SATA, CATALOGUE_THIRD_SATA}) {
            total += MostForOneCode(section, length, "SeriesATA", CatalogueCodes(catalogue));
        }
        if (total > DRIVER_ITEM_CAPACITY) {
            Warning(shown, block.firstLine,
                    std::string(SystemName(os)) + ": one board could get " + std::to_string(total) +
                        " entries; the program keeps the first 30");
        }
    }

    CSimFiles& files;
    CLeadBytes contentLeadBytes;
    FILE* out;
    std::string cdRoot;
    bool foundErrors = false;
    std::vector<CListLine> listLines;
    std::vector<CListBlock> blocks;
    // Every row caption with where it first came from, in that order.
    std::vector<std::pair<std::string, std::string>> captions;
};

} // namespace

int RunLint(const CLintOptions& options, FILE* out, FILE* err)
{
    if (options.drives.empty()) {
        fprintf(err, "tova-sim lint: give the CD with --drive LETTER=DIR\n");
        return SIM_EXIT_USAGE;
    }
    CSimMachine machine;
    std::set<uint8_t> supported;
    for (const std::string& name : options.systems) {
        uint8_t osCode = 0, servicePack = 0;
        if (!machine.system.SelectOs(name.c_str())) {
            fprintf(err, "tova-sim: unknown operating system '%s' (see tova-sim --help)\n",
                    name.c_str());
            return SIM_EXIT_USAGE;
        }
        ClassifyOs(machine.system, machine.window, &osCode, &servicePack);
        if (osCode < OS_WIN95 || osCode > OS_WINXP) {
            fprintf(err, "tova-sim lint: '%s' is not a system the program supports\n",
                    name.c_str());
            return SIM_EXIT_USAGE;
        }
        supported.insert(osCode);
    }
    if (supported.empty()) {
        for (const CLintSystem& system : LINT_SYSTEMS)
            supported.insert(system.osCode);
    }
    for (const auto& drive : options.drives) {
        if (!machine.files.MapDrive(drive.first, drive.second.c_str())) {
            fprintf(err, "tova-sim: drive %c: cannot map folder %s\n", drive.first,
                    drive.second.c_str());
            return SIM_EXIT_USAGE;
        }
    }

    CCdLint lint(machine.files, out);
    lint.FindCdRoot(options.drives.front().first);
    std::string programDir = lint.CdRoot();
    if (!options.programDir.empty()) {
        if (!machine.files.FullPath(options.programDir.c_str(), &programDir)) {
            fprintf(err, "tova-sim lint: bad --program-dir '%s'\n", options.programDir.c_str());
            return SIM_EXIT_USAGE;
        }
        if (programDir.back() != '\\') programDir += '\\';
    }
    // The Traditional Chinese file is read on systems of that language and its code page.
    lint.CheckContentFile(CONTENT_FILE_DEFAULT, CLeadBytes(machine.system));
    machine.system.SetCodePage(CSimSystem::CodePageOfLanguage(CONTENT_LANG_CHT));
    lint.CheckContentFile(CONTENT_FILE_CHT, CLeadBytes(machine.system));
    lint.CheckDriverList(programDir, supported);
    lint.CheckTooltips();
    lint.CheckImageNames();
    return lint.FoundErrors() ? LINT_EXIT_ERRORS : LINT_EXIT_CLEAN;
}
