// tova-sim lint on CDs made here: a clean CD has no finding, each planted fault is reported once
// with its file and line, and the demo CD has no error.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct CFinding {
    std::string kind;
    std::string file;
    int line;
    std::string message;
};

struct CLintRun {
    std::vector<CFinding> findings;
    std::vector<std::string> badLines; // output lines that are not findings
    std::string errors;                // the error output
    int status;
};

// Runs tova-sim lint; what it writes to its error output (usage messages, and any report of the
// sanitizers) is kept apart.
CLintRun RunLint(const std::string& arguments)
{
    CLintRun run = {{}, {}, "", -1};
    char errorsPath[] = "/tmp/tova-lint-err-XXXXXX";
    int fd = mkstemp(errorsPath);
    if (fd < 0) return run;
    close(fd);
    std::string command = std::string(TOVA_SIM_EXE) + " lint " + arguments + " 2>" + errorsPath;
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream errors(errorsPath);
    std::stringstream errorText;
    errorText << errors.rdbuf();
    run.errors = errorText.str();
    remove(errorsPath);
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        size_t pos = 0;
        for (int k = 0; k < 3; ++k) {
            size_t tab = line.find('\t', pos);
            if (tab == std::string::npos) break;
            fields.push_back(line.substr(pos, tab - pos));
            pos = tab + 1;
        }
        if (fields.size() != 3 || (fields[0] != "error" && fields[0] != "warning")) {
            run.badLines.push_back(line);
            continue;
        }
        run.findings.push_back({fields[0], fields[1], atoi(fields[2].c_str()), line.substr(pos)});
    }
    return run;
}

std::string Describe(const CLintRun& run)
{
    std::string text;
    for (const CFinding& f : run.findings) {
        text += f.kind + " " + f.file + ":" + std::to_string(f.line) + " " + f.message + "\n";
    }
    for (const std::string& line : run.badLines)
        text += "?? " + line + "\n";
    return text;
}

// A 24-bit uncompressed bitmap of the given size, all black.
std::string Bitmap(int width, int height)
{
    int rowBytes = (width * 3 + 3) / 4 * 4;
    int pixelBytes = rowBytes * height;
    std::string bytes(54 + pixelBytes, '\0');
    auto put32 = [&bytes](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bytes[26] = 1;  // planes
    bytes[28] = 24; // bits a pixel
    put32(34, static_cast<uint32_t>(pixelBytes));
    return bytes;
}

// A small CD that lints clean; each test spoils one thing of it before writing it out.
struct CTestCd {
    std::vector<std::string> list; // tova.txt, one entry a line
    std::string bmpIni;
    std::string chtIni;
    std::string tipIni;
    std::vector<std::pair<std::string, std::string>> files; // path below the root, content
    std::string listFolder;                                 // "" or a folder below the root

    CTestCd()
    {
        const int systems[] = {10, 11, 12, 13, 14, 15, 16};
        list.push_back("; lint test list");
        int number = 1;
        for (int os : systems) {
            std::string s = std::to_string(os);
            list.push_back(std::to_string(number++) + ";" + s +
                           ";Chipset;79;Test Chipset Driver;%CDROM%Chipset\\Test\\;setup.exe;V1.0");
            list.push_back(std::to_string(number++) + ";" + s +
                           ";LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0");
            if (os == 16) {
                list.push_back(std::to_string(number++) +
                               ";16;Chipset;80;SiS AGP Driver;%CDROM%Chipset\\SiS\\"
                               "SiS635_645_650_733_735\\;setup.exe;V1.14");
            }
            list.push_back(";----- end of " + s);
        }
        bmpIni = "[Common]\r\ntitle=Lint Test\r\ntotal=7\r\n";
        for (int i = 0; i < 7; ++i) {
            std::string n = std::to_string(i);
            bmpIni += n + "_x=10\r\n" + n + "_y=" + std::to_string(100 + 30 * i) + "\r\n" + n +
                      "_Obmp=bmp\\tab.bmp\r\n" + n + "_Obmp_m=bmp\\tab_m.bmp\r\n";
        }
        bmpIni += "[Panel0]\r\nBK=bmp\\bk.bmp\r\ntotal=3\r\n0_x=300\r\n0_y=300\r\n"
                  "0_Nbmp=bmp\\btn.bmp\r\n0_Nbmp_m=bmp\\btn_m.bmp\r\n"
                  "[Panel1]\r\ntotal=2\r\n0_x=220\r\n0_y=100\r\n0_Desc=Test "
                  "Utility\r\n0_exe=util\\a.exe\r\n"
                  "1_x=220\r\n1_y=120\r\n1_Desc=Other Utility\r\n1_exe=util\\b.exe\r\n"
                  "[Panel4]\r\nBK=bmp\\bk.bmp\r\n";
        chtIni = "[Common]\r\ntotal=7\r\n[Panel0]\r\ntotal=3\r\n";
        tipIni = "[Eng]\r\nTest Chipset Driver=Installs the chipset driver.\r\n"
                 "Test LAN Driver=Installs the LAN driver.\r\nSiS AGP Driver=Installs the AGP "
                 "driver.\r\n"
                 "Test Utility=A utility.\r\nOther Utility=Another utility.\r\n";
        files = {{"id.log", ""},
                 {"bmp/tab.bmp", Bitmap(20, 10)},
                 {"bmp/tab_m.bmp", Bitmap(20, 10)},
                 {"bmp/bk.bmp", Bitmap(64, 48)},
                 {"bmp/btn.bmp", Bitmap(10, 10)},
                 {"bmp/btn_m.bmp", Bitmap(10, 10)},
                 {"Chipset/Test/setup.exe", "stand-in"},
                 {"LAN/Test/setup.exe", "stand-in"},
                 {"Chipset/SiS/SiS635_645_650_733_735/setup.exe", "stand-in"},
                 {"Chipset/SiS/SiS635_645_650_733_735/setup1.iss", "[InstallShield Silent]"}};
    }

    // The 1-based line of the list entry that holds text.
    int LineOf(const std::string& text) const
    {
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].find(text) != std::string::npos) return static_cast<int>(i) + 1;
        }
        return -1;
    }

    void RemoveFile(const std::string& path)
    {
        for (size_t i = 0; i < files.size(); ++i) {
            if (files[i].first == path) {
                files.erase(files.begin() + static_cast<long>(i));
                return;
            }
        }
        ADD_FAILURE() << "no file " << path;
    }

    // Writes the CD into a new temporary folder and returns it.
    std::string Write() const
    {
        char pattern[] = "/tmp/tova-lint-XXXXXX";
        const char* root = mkdtemp(pattern);
        if (!root) return "";
        std::string dir = root;
        std::string text;
        for (const std::string& line : list)
            text += line + "\r\n";
        std::vector<std::pair<std::string, std::string>> all = files;
        std::string listPath = listFolder.empty() ? "tova.txt" : listFolder + "/tova.txt";
        all.push_back({listPath, text});
        if (!bmpIni.empty()) all.push_back({"bmp.ini", bmpIni});
        if (!chtIni.empty()) all.push_back({"cht.ini", chtIni});
        if (!tipIni.empty()) all.push_back({"tip.ini", tipIni});
        for (const auto& file : all) {
            std::string path = dir + "/" + file.first;
            for (size_t slash = path.find('/', dir.size() + 1); slash != std::string::npos;
                 slash = path.find('/', slash + 1)) {
                mkdir(path.substr(0, slash).c_str(), 0755);
            }
            std::ofstream out(path, std::ios::binary);
            out << file.second;
        }
        return dir;
    }
};

void RemoveTree(const std::string& dir)
{
    if (dir.compare(0, 15, "/tmp/tova-lint-") != 0) return;
    std::string command = "rm -rf '" + dir + "'";
    if (system(command.c_str()) != 0) ADD_FAILURE() << "cannot remove " << dir;
}

CLintRun LintCd(const CTestCd& cd, const std::string& extra = "")
{
    std::string dir = cd.Write();
    CLintRun run = RunLint("--drive E=" + dir + " " + extra);
    RemoveTree(dir);
    return run;
}

// The run reports exactly one finding, the expected one.
void ExpectOnly(const CLintRun& run, const char* kind, const char* file, int line,
                const char* words, const char* fault)
{
    SCOPED_TRACE(fault);
    ASSERT_EQ(1u, run.findings.size()) << Describe(run);
    EXPECT_TRUE(run.badLines.empty() && run.errors.empty()) << Describe(run);
    const CFinding& f = run.findings[0];
    EXPECT_EQ(kind, f.kind);
    EXPECT_EQ(file, f.file);
    EXPECT_EQ(line, f.line);
    EXPECT_NE(std::string::npos, f.message.find(words)) << f.message;
    EXPECT_EQ(std::string(kind) == "error" ? 1 : 0, run.status);
}

int IniLine(const std::string& ini, const std::string& text)
{
    std::istringstream lines(ini);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.find(text) == 0) return number;
    }
    return -1;
}

void Replace(std::string* text, const std::string& from, const std::string& to)
{
    size_t at = text->find(from);
    ASSERT_NE(std::string::npos, at) << from;
    text->replace(at, from.size(), to);
}

TEST(Lint, CleanCdHasNoFinding)
{
    CLintRun run = LintCd(CTestCd());
    EXPECT_EQ(0, run.status);
    EXPECT_TRUE(run.findings.empty() && run.badLines.empty() && run.errors.empty())
        << Describe(run);
}

TEST(Lint, DemoCdHasNoError)
{
    CLintRun run = RunLint(std::string("--drive E=") + TOVA_DEMO_CD_DIR);
    for (const CFinding& f : run.findings)
        EXPECT_NE("error", f.kind) << Describe(run);
    EXPECT_TRUE(run.badLines.empty() && run.errors.empty()) << Describe(run);
    EXPECT_EQ(0, run.status) << Describe(run);
}

TEST(Lint, BadOptionsEndWithUsage)
{
    CTestCd cd;
    std::string dir = cd.Write();
    EXPECT_EQ(2, RunLint("").status); // no CD
    EXPECT_EQ(2, RunLint("--drive E=" + dir + " --board x.board").status);
    EXPECT_EQ(2, RunLint("--drive E=" + dir + " --os win7").status);
    EXPECT_EQ(2, RunLint("--drive E=" + dir + " --os nosuch").status);
    EXPECT_EQ(2, RunLint("--drive E=" + dir + "/missing").status);
    EXPECT_EQ(0, RunLint("--drive E=" + dir + " --os winxp --os win98se").status);
    RemoveTree(dir);
}

TEST(Lint, ContentFileFaults)
{
    {
        CTestCd cd;
        cd.RemoveFile("id.log");
        ExpectOnly(LintCd(cd), "error", "id.log", 0, "CD", "no id.log");
    }
    {
        CTestCd cd;
        cd.bmpIni.clear();
        ExpectOnly(LintCd(cd), "error", "bmp.ini", 0, "missing", "no bmp.ini");
    }
    {
        CTestCd cd;
        cd.chtIni.clear();
        ExpectOnly(LintCd(cd), "error", "cht.ini", 0, "missing", "no cht.ini");
    }
    {
        CTestCd cd;
        Replace(&cd.bmpIni, "total=7", "total=6");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "total=6"), "not 7",
                   "Common total 6");
    }
    {
        CTestCd cd;
        Replace(&cd.chtIni, "total=3", "total=4");
        ExpectOnly(LintCd(cd), "error", "cht.ini", 4, "not 3", "Panel0 total 4");
    }
    {
        CTestCd cd;
        Replace(&cd.bmpIni, "[Panel1]\r\ntotal=2", "[Panel1]\r\ntotal=34");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "total=34"), "33",
                   "34 utility rows");
    }
}

TEST(Lint, PictureFaults)
{
    {
        CTestCd cd;
        Replace(&cd.bmpIni, "BK=bmp\\bk.bmp", "BK=bmp\\gone.bmp");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "BK=bmp\\gone"), "missing",
                   "missing background");
    }
    {
        CTestCd cd;
        cd.files.push_back({"bmp/text.bmp", "this is no bitmap at all, only some text"});
        Replace(&cd.bmpIni, "0_Nbmp=bmp\\btn.bmp", "0_Nbmp=bmp\\text.bmp");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "0_Nbmp=bmp\\text"),
                   "not a bitmap", "text as a picture");
    }
    {
        // A run-length compressed picture, which this loader refuses.
        CTestCd cd;
        std::string rle = Bitmap(8, 8);
        rle[28] = 8;
        rle[30] = 1;
        cd.files.push_back({"bmp/rle.bmp", rle});
        Replace(&cd.bmpIni, "[Panel4]\r\nBK=bmp\\bk.bmp", "[Panel4]\r\nBK=bmp\\rle.bmp");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "BK=bmp\\rle"),
                   "not a bitmap", "compressed picture");
    }
    {
        CTestCd cd;
        cd.files.push_back({"bmp/wide_m.bmp", Bitmap(12, 10)});
        Replace(&cd.bmpIni, "0_Nbmp_m=bmp\\btn_m.bmp", "0_Nbmp_m=bmp\\wide_m.bmp");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "0_Nbmp_m=bmp\\wide"),
                   "12x10", "mask wider than its picture");
    }
    {
        // Common item 6's mask: only the last item is spoiled, so the others stay quiet.
        CTestCd cd;
        cd.files.push_back({"bmp/tall_m.bmp", Bitmap(20, 11)});
        Replace(&cd.bmpIni, "6_Obmp_m=bmp\\tab_m.bmp", "6_Obmp_m=bmp\\tall_m.bmp");
        ExpectOnly(LintCd(cd), "error", "bmp.ini", IniLine(cd.bmpIni, "6_Obmp_m"), "20x11",
                   "mask taller than its picture");
    }
}

TEST(Lint, DriverListBlockFaults)
{
    {
        CTestCd cd;
        cd.list.pop_back(); // the end of the XP block
        ExpectOnly(LintCd(cd), "error", "tova.txt", cd.LineOf(";16;Chipset"), "Windows XP",
                   "XP block without its end");
    }
    {
        CTestCd cd;
        int first = cd.LineOf(";10;Chipset") - 1;
        cd.list.erase(cd.list.begin() + first, cd.list.begin() + first + 3);
        ExpectOnly(LintCd(cd), "error", "tova.txt", 0, "Windows 95", "no 95 block");
        CLintRun onlyLater = LintCd(cd, "--os win98 --os winxp");
        EXPECT_TRUE(onlyLater.findings.empty()) << Describe(onlyLater);
        EXPECT_EQ(0, onlyLater.status);
    }
    {
        CTestCd cd;
        cd.list.push_back("99;16;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0");
        ExpectOnly(LintCd(cd), "warning", "tova.txt", static_cast<int>(cd.list.size()), "outside",
                   "line after the last block");
    }
}

TEST(Lint, DriverListLineFaults)
{
    const struct {
        const char* line;
        const char* kind;
        const char* words;
    } cases[] = {
        {"5;11;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\", "error", "6 of the 8"},
        {"5;11;;12;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0", "error", "category"},
        {"5;11;Lan;12;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0", "error", "unknown"},
        {"5;11;LAN;;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0", "error", "device code"},
        {"5;11;LAN;012;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0", "error", "decimal"},
        {"5;11;LAN;12 ;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0", "error", "decimal"},
        {"5;11;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;;V2.0", "error", "setup program"},
        {"5;11;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0.0000.0000.00001", "warning",
         "keeps 19"},
        {"5;11;LAN;12;Test LAN Driver;%CDROM%LAN\\Gone\\;setup.exe;V2.0", "error", "LAN\\Gone\\"},
        {"5;11;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;install.exe;V2.0", "error", "install.exe"},
    };
    for (const auto& c : cases) {
        CTestCd cd;
        int line = cd.LineOf(";11;LAN;");
        cd.list[line - 1] = c.line;
        ExpectOnly(LintCd(cd), c.kind, "tova.txt", line, c.words, c.line);
    }
    {
        CTestCd cd;
        cd.RemoveFile("Chipset/SiS/SiS635_645_650_733_735/setup1.iss");
        ExpectOnly(LintCd(cd), "error", "tova.txt", cd.LineOf("SiS AGP"), "setup1.iss",
                   "response file missing");
    }
    {
        // The list beside a program that does not sit in the CD root.
        CTestCd cd;
        cd.listFolder = "prog";
        int line = cd.LineOf(";11;LAN;");
        cd.list[line - 1] = "5;11;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;;V2.0";
        ExpectOnly(LintCd(cd, "--program-dir E:\\prog"), "error", "prog\\tova.txt", line,
                   "setup program", "list in the program's folder");
        ExpectOnly(LintCd(cd), "error", "tova.txt", 0, "missing", "list looked for in the root");
    }
}

TEST(Lint, TooManyEntriesForOneBoard)
{
    // XP: one chipset code, the LAN code 12 and serial ATA lines; one board could get them all
    // only as far as detection records one code a category (serial ATA: one a controller).
    auto withLanLines = [](int extra) {
        CTestCd cd;
        int at = cd.LineOf(";16;LAN;");
        for (int i = 0; i < extra; ++i) {
            cd.list.insert(cd.list.begin() + at,
                           "7" + std::to_string(i) +
                               ";16;LAN;12;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0");
        }
        return cd;
    };
    {
        CTestCd cd = withLanLines(28); // 29 LAN lines and one chipset line: 30
        CLintRun run = LintCd(cd);
        EXPECT_TRUE(run.findings.empty() && run.errors.empty()) << Describe(run);
    }
    {
        CTestCd cd = withLanLines(29);
        ExpectOnly(LintCd(cd), "warning", "tova.txt", cd.LineOf(";16;Chipset"), "31",
                   "31 entries on XP");
    }
    {
        CTestCd cd = withLanLines(27); // 29 so far
        int at = cd.LineOf(";16;LAN;");
        const char* sata[] = {"SeriesATA;2", "SeriesATA;3"}; // one controller, one code
        for (const char* s : sata) {
            cd.list.insert(cd.list.begin() + at, std::string("80;16;") + s +
                                                     ";Test LAN Driver;%CDROM%LAN\\Test\\;"
                                                     "setup.exe;V2.0");
        }
        CLintRun run = LintCd(cd);
        EXPECT_TRUE(run.findings.empty() && run.errors.empty()) << Describe(run);
        // The ICH5's own serial ATA is a second controller: 31.
        cd.list.insert(cd.list.begin() + at,
                       "81;16;SeriesATA;4;Test LAN Driver;%CDROM%LAN\\Test\\;setup.exe;V2.0");
        ExpectOnly(LintCd(cd), "warning", "tova.txt", cd.LineOf(";16;Chipset"), "31",
                   "second serial ATA controller");
    }
}

TEST(Lint, TooltipFaults)
{
    {
        // Seven list lines carry the caption; it is reported once.
        CTestCd cd;
        Replace(&cd.tipIni, "Test LAN Driver=Installs the LAN driver.\r\n", "");
        ExpectOnly(LintCd(cd), "warning", "tip.ini", 0, "Test LAN Driver", "driver tooltip");
    }
    {
        CTestCd cd;
        Replace(&cd.tipIni, "Other Utility=Another utility.\r\n", "");
        ExpectOnly(LintCd(cd), "warning", "tip.ini", 0, "Other Utility", "utility tooltip");
    }
    {
        // A Big5 caption of 263 bytes: its row keeps 253 of them (the 254th would be a lead
        // byte without its trail byte), and looks its tooltip up by those.
        std::string big5;
        for (int i = 0; i < 129; ++i) big5 += "\xA4\xA4";
        std::string caption = "BIOS " + big5;
        std::string kept = caption.substr(0, 253);
        CTestCd cd;
        cd.chtIni += "[Panel1]\r\ntotal=1\r\n0_x=220\r\n0_y=100\r\n0_Desc=" + caption +
                     "\r\n0_exe=util\\a.exe\r\n";
        const std::string tips = cd.tipIni;
        cd.tipIni = tips + kept + "=A long caption.\r\n";
        CLintRun run = LintCd(cd);
        EXPECT_TRUE(run.findings.empty()) << Describe(run);
        cd.tipIni = tips + caption + "=A long caption.\r\n";
        ExpectOnly(LintCd(cd), "warning", "tip.ini", 0, "BIOS ", "the cut caption's tooltip");
    }
}

// Names a CD image changes or refuses: each planted name gives one warning on its own path, the
// limits themselves pass, and names Joliet carries (spaces, UTF-8 letters) give none.
TEST(Lint, ImageNameFaults)
{
    struct CCase {
        std::string file;  // planted below the CD root
        std::string shown; // the finding's file
        std::string words;
        const char* fault;
    };
    const std::string name61(61, 'n'), folder59(59, 'a'), name59(59, 'f'), name60(60, 'f');
    const std::string control = std::string("a\x01") + "b.txt";
    const CCase cases[] = {
        {"util/" + name61 + ".exe", "util\\" + name61 + ".exe", "65 characters", "65 characters"},
        {"bmp/a*b.bmp", "bmp\\a*b.bmp", "names it \"a_b.bmp\"", "an asterisk"},
        {"a:b.txt", "a:b.txt", "names it \"a_b.txt\"", "a colon"},
        {"a;b.txt", "a;b.txt", "names it \"a_b.txt\"", "a semicolon"},
        {"a?b.txt", "a?b.txt", "names it \"a_b.txt\"", "a question mark"},
        {"a\\b.txt", "a\\b.txt", "names it \"a_b.txt\"", "a backslash in a name"},
        {control, control, "names it \"a_b.txt\"", "a control character"},
        {"big5\xA4\xA4.txt", "big5\xA4\xA4.txt", "names it \"big5__.txt\"", "bytes not UTF-8"},
        {"e\xF0\x9F\x98\x80.txt", "e\xF0\x9F\x98\x80.txt", "names it \"e_.txt\"", "beyond U+FFFF"},
        {"Chipset/Test/SETUP.EXE", "Chipset\\Test\\setup.exe",
         "\"SETUP.EXE\" and \"setup.exe\" differ only in case", "two names differing in case"},
        {folder59 + "/" + name60, folder59 + "\\" + name60, "240 bytes", "a path of 240 bytes"},
        {folder59 + "/" + std::string(60, 'b') + "/x.txt", folder59 + "\\" + std::string(60, 'b'),
         "leaves it out", "a folder too deep, with a file in it"},
    };
    for (const CCase& c : cases) {
        CTestCd cd;
        cd.files.push_back({c.file, "x"});
        ExpectOnly(LintCd(cd), "warning", c.shown.c_str(), 0, c.words.c_str(), c.fault);
    }
    {
        CTestCd cd;
        cd.files.push_back({"util/" + std::string(60, 'n') + ".exe", "64 characters"});
        cd.files.push_back({folder59 + "/" + name59, "238 bytes of path"});
        cd.files.push_back({"Read Me #1 & notes.txt", "punctuation Joliet carries"});
        cd.files.push_back({"caf\xC3\xA9/\xE4\xB8\xAD\xE6\x96\x87.txt", "UTF-8 letters"});
        CLintRun run = LintCd(cd);
        EXPECT_TRUE(run.findings.empty() && run.errors.empty()) << Describe(run);
    }
    {
        // Two names the image makes one: each is renamed, and the second says so.
        CTestCd cd;
        cd.files.push_back({"a*b.txt", "x"});
        cd.files.push_back({"a?b.txt", "x"});
        CLintRun run = LintCd(cd);
        ASSERT_EQ(3u, run.findings.size()) << Describe(run);
        EXPECT_EQ("a?b.txt", run.findings[2].file);
        EXPECT_NE(std::string::npos, run.findings[2].message.find(
                                         "\"a*b.txt\" and \"a?b.txt\" both become \"a_b.txt\""))
            << Describe(run);
    }
}

TEST(Lint, DemoCdNamesSurviveTheImage)
{
    CLintRun run = RunLint(std::string("--drive E=") + TOVA_DEMO_CD_DIR);
    for (const CFinding& f : run.findings)
        EXPECT_EQ(std::string::npos, f.message.find("CD image")) << Describe(run);
}

} // namespace
