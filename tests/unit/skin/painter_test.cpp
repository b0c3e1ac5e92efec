// The paint handler and the shared drawing operations, read from the simulated window's record
// of drawing operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/painter.h"
#include "skin/panels.h"
#include "unit/skin/skin_rig.h"

namespace {

class PainterTest : public ::testing::Test {
protected:
    void Load(const std::string& panel1 = "")
    {
        rig.Picture("bk.bmp", 640, 480);
        rig.Picture("bk4.bmp", 640, 480);
        rig.Picture("on.bmp", 80, 20);
        rig.Picture("rtn.bmp", 100, 8);
        rig.File("bmp.ini", "[Common]\ntotal=7\n0_Nbmp=on.bmp\n0_Dbmp=on.bmp\n"
                            "[Panel0]\nBK=bk.bmp\nrtnblk=rtn.bmp\nline1=P0 one\nline2=P0 two\n"
                            "line3=P0 three\nez_line1=Ez one\nez_line2=Ez two\nez_line3=Ez three\n"
                            "total=3\n0_x=200\n0_y=360\n0_Nbmp=on.bmp\n"
                            "[Panel1]\nline1=P1 one\n" + panel1 +
                                "[Panel4]\nBK=bk4.bmp\n");
        CPanelLoader(*rig.platform, *rig.state).LoadAllPanels();
    }
    void Show(int panel)
    {
        for (int p = 0; p < PANEL_COUNT; ++p) rig.PanelAt(p).active = p == panel ? 1 : 0;
    }
    std::vector<std::string> Paint()
    {
        rig.machine.window.ClearDrawOps();
        rig.dialog->OnPaint();
        std::vector<std::string> lines;
        for (const CSimDrawOp& op : rig.machine.window.DrawOps()) {
            EXPECT_TRUE(op.inPaint);
            lines.push_back(op.line);
        }
        return lines;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line)
    {
        for (const std::string& l : lines) {
            if (l == line) return true;
        }
        return false;
    }
    static int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix)
    {
        int n = 0;
        for (const std::string& l : lines) n += l.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }

    CSkinRig rig;
};

TEST_F(PainterTest, BackgroundHeaderAndLinesOfTheShownPanel)
{
    Load();
    std::vector<std::string> ops = Paint();
    ASSERT_GE(ops.size(), 5u);
    EXPECT_EQ("draw\tbitmap\tE:\\bk.bmp\tE:\\bk.bmp\t0\t0", ops[0]) << "background first, opaque";
    EXPECT_EQ("draw\tbitmap\t#158\t#158\t200\t15", ops[1]);
    EXPECT_EQ("draw\ttext\t200\t15\tFFFFFF\t000000\topaque\tP0 one", ops[2]);
    EXPECT_EQ("draw\ttext\t200\t28\tFFFFFF\t000000\topaque\tP0 two", ops[3]);
    EXPECT_EQ("draw\ttext\t200\t41\tFFFFFF\t000000\topaque\tP0 three", ops[4]);
    EXPECT_TRUE(Has(ops, "draw\tbitmap\tE:\\on.bmp\t\t0\t0")) << "the selected tab";

    // Panels 1 to 3 show Panel0's background, Panel4 its own.
    for (int p = 1; p < PANEL_COUNT; ++p) {
        Show(p);
        EXPECT_EQ(p == 4 ? "draw\tbitmap\tE:\\bk4.bmp\tE:\\bk4.bmp\t0\t0"
                         : "draw\tbitmap\tE:\\bk.bmp\tE:\\bk.bmp\t0\t0",
                  Paint()[0])
            << "panel " << p;
    }
    EXPECT_EQ(rig.machine.window.LiveBitmaps(), rig.machine.window.LiveBitmaps());
}

TEST_F(PainterTest, TheHeaderStripIsFreedAfterEveryPaint)
{
    Load();
    size_t before = rig.machine.window.LiveBitmaps();
    Paint();
    Paint();
    EXPECT_EQ(before, rig.machine.window.LiveBitmaps());
}

TEST_F(PainterTest, RapidSetupLinesOnlyOnPanel0)
{
    Load();
    rig.PanelAt(0).items[7].hidden = 1;  // Rapid Setup mode on
    std::vector<std::string> ops = Paint();
    EXPECT_TRUE(Has(ops, "draw\ttext\t200\t15\tFFFFFF\t000000\topaque\tEz one"));
    EXPECT_TRUE(Has(ops, "draw\ttext\t200\t41\tFFFFFF\t000000\topaque\tEz three"));
    Show(1);
    ops = Paint();
    EXPECT_TRUE(Has(ops, "draw\ttext\t200\t15\tFFFFFF\t000000\topaque\tP1 one"));
    EXPECT_FALSE(Has(ops, "draw\ttext\t200\t15\tFFFFFF\t000000\topaque\tEz one"));
}

TEST_F(PainterTest, DriverRowsShowLeaderCaptionAndState)
{
    rig.Entry("Audio", "Audio\\", "setup.exe", "2.0");
    rig.Entry("Network", "LAN\\", "setup.exe", "2.0");
    Load();
    rig.StoredVersion("Network", "2.0");
    std::vector<std::string> ops = Paint();
    int top0 = rig.PanelAt(0).items[10].top;
    int top1 = rig.PanelAt(0).items[11].top;
    std::string at0 = "\t245\t" + std::to_string(top0) + "\tFFFFFF\t000000\topaque\t";
    EXPECT_TRUE(Has(ops, "draw\ttext" + at0 + "---->"));
    EXPECT_TRUE(Has(ops, "draw\ttext" + at0 + "Audio"));
    EXPECT_TRUE(Has(ops, "draw\ttext\t540\t" + std::to_string(top0) +
                             "\tFFFFFF\t000000\topaque\tnot installed"));
    // The installed row turned yellow in this paint: its registry value appeared after loading.
    std::string at1 = "\t245\t" + std::to_string(top1) + "\tFFFF00\t000000\topaque\t";
    EXPECT_TRUE(Has(ops, "draw\ttext" + at1 + "     ")) << "erased before the leader";
    EXPECT_TRUE(Has(ops, "draw\ttext" + at1 + "Network"));
    EXPECT_TRUE(Has(ops, "draw\ttext\t540\t" + std::to_string(top1) +
                             "\tFFFF00\t000000\topaque\tinstalled"));
    EXPECT_EQ(1, rig.PanelAt(0).items[11].state);
}

TEST_F(PainterTest, WindowsNt4ShowsItsNoticeAndNoLeaders)
{
    rig.state->hw.osCode = OS_NT4;
    rig.Entry("Audio", "Audio\\", "setup.exe", "2.0");
    Load();
    std::vector<std::string> ops = Paint();
    for (int item = 7; item <= 9; ++item) EXPECT_EQ(1, rig.PanelAt(0).items[item].hidden);
    EXPECT_TRUE(Has(ops, "draw\tbitmap\t#161\t#161\t200\t360"));
    EXPECT_EQ(0, CountPrefix(ops, "draw\tbitmap\tE:\\on.bmp\t\t200\t360")) << "the switch is gone";
    int top = rig.PanelAt(0).items[10].top;
    EXPECT_TRUE(Has(ops, "draw\ttext\t245\t" + std::to_string(top) +
                             "\tFFFFFF\t000000\topaque\tAudio"));
    EXPECT_FALSE(Has(ops, "draw\ttext\t245\t" + std::to_string(top) +
                              "\tFFFFFF\t000000\topaque\t---->"));
    EXPECT_EQ(0, CountPrefix(ops, "draw\ttext\t540\t" + std::to_string(top) +
                                      "\tFFFFFF\t000000\topaque\tnot"));
    EXPECT_EQ(1, CountPrefix(ops, "draw\tbitmap\t#161")) << "drawn once a paint";
}

TEST_F(PainterTest, UnsupportedUsb2RowsShowTheirCaptionOnly)
{
    rig.dialog->data.xpServicePack = 0;
    rig.Entry("NEC USB 2.0", "Chipset\\NUSB\\", "setup.exe", "1.0");
    Load();
    std::vector<std::string> ops = Paint();
    int top = rig.PanelAt(0).items[10].top;
    EXPECT_TRUE(Has(ops, "draw\ttext\t245\t" + std::to_string(top) +
                             "\tFFFFFF\t000000\topaque\tNEC USB 2.0"));
    EXPECT_EQ(0, CountPrefix(ops, "draw\ttext\t540\t"));
}

TEST_F(PainterTest, AudioNoteWhenDirectXIsOlderThanTheJackSensingNeeds)
{
    struct {
        const char* version;
        bool note;
    } cases[] = {{nullptr, false}, {"4.08.01.0810", false}, {"4.09.00.0904", false},
                 {"4.08.00.0400", true}, {"4.07.00.0700", true}};
    for (const auto& c : cases) {
        CSkinRig fresh;
        fresh.Entry("Realtek ALC655", "Audio\\realtek\\", "setup.exe", "1.0");
        if (c.version) {
            FixedText<256> error;
            std::string reg = std::string("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\"
                                          "DirectX]\n\"Version\"=\"") + c.version + "\"\n";
            ASSERT_TRUE(fresh.machine.registry.LoadRegText(reg.c_str(), &error));
        }
        fresh.File("bmp.ini", "[Common]\ntotal=7\n[Panel0]\ntotal=3\n");
        CPanelLoader(*fresh.platform, *fresh.state).LoadAllPanels();
        fresh.dialog->OnPaint();
        int top = fresh.PanelAt(0).items[10].top;
        std::string note = "draw\ttext\t245\t" + std::to_string(top + 12) +
                           "\tFF0000\t000000\ttransparent\t" + AUDIO_NOTE_TEXT;
        bool found = false;
        for (const CSimDrawOp& op : fresh.machine.window.DrawOps()) found |= op.line == note;
        EXPECT_EQ(c.note, found) << (c.version ? c.version : "no key");
        EXPECT_EQ(c.note ? 1 : 0, fresh.dialog->data.needsDirectX81);
    }
}

TEST_F(PainterTest, UtilityRowsInsideTheirWindowOnly)
{
    Load("total=4\n0_x=210\n0_y=84\n0_Desc=Above\n1_x=210\n1_y=85\n1_Desc=First\n"
         "2_x=210\n2_y=393\n2_Desc=Last\n3_x=210\n3_y=394\n3_Desc=Below\n");
    rig.PanelAt(1).items[9].hidden = 1;  // a heading
    rig.PanelAt(1).items[8].state = 1;
    Show(1);
    std::vector<std::string> ops = Paint();
    EXPECT_EQ(0, CountPrefix(ops, "draw\ttext\t210\t84\t"));
    EXPECT_EQ(0, CountPrefix(ops, "draw\ttext\t210\t394\t"));
    // The navy pass first for both, then the item pass for the one that is not hidden.
    EXPECT_TRUE(Has(ops, "draw\ttext\t210\t85\t000080\t000000\topaque\tFirst"));
    EXPECT_TRUE(Has(ops, "draw\ttext\t210\t85\tFFFF00\t000000\topaque\tFirst"));
    EXPECT_TRUE(Has(ops, "draw\ttext\t210\t393\t000080\t000000\topaque\tLast"));
    EXPECT_FALSE(Has(ops, "draw\ttext\t210\t393\tFFFFFF\t000000\topaque\tLast"));
    EXPECT_TRUE(Has(ops, "draw\ttext\t210\t85\t000080\t000000\topaque\t     ")) << "erased first";
}

TEST_F(PainterTest, AMinimisedWindowShowsItsIconOnly)
{
    Load();
    rig.machine.window.SetMinimized(true);
    std::vector<std::string> ops = Paint();
    ASSERT_EQ(1u, ops.size());
    EXPECT_EQ("draw\ticon\t" + std::to_string((640 - 32 + 1) / 2) + "\t" +
                  std::to_string((489 - 32 + 1) / 2),
              ops[0]);
}

TEST_F(PainterTest, SharedOperationsDrawOutsideThePaint)
{
    Load();
    rig.machine.window.ClearDrawOps();
    CPainter painter(rig.machine.window, rig.machine.registry, *rig.state);
    painter.DrawAnimationFrame(240, 370);
    painter.DrawReturnImage(415);
    const std::vector<CSimDrawOp>& ops = rig.machine.window.DrawOps();
    ASSERT_EQ(2u, ops.size());
    EXPECT_EQ("draw\tbitmap\t#163\t#164\t240\t370", ops[0].line);
    EXPECT_FALSE(ops[0].inPaint);
    EXPECT_EQ("draw\tbitmap\tE:\\rtn.bmp\tE:\\rtn.bmp\t200\t415", ops[1].line);

    painter.SetBlankText("abc");
    EXPECT_STREQ("   ", rig.state->blankText.c_str());
    painter.SetBlankText(std::string(300, 'x').c_str());
    EXPECT_EQ(255u, rig.state->blankText.Length());
}

}  // namespace
