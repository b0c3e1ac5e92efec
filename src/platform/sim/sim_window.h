// The simulated main window: message boxes answered from a queue and logged, and a record of
// what the dialog did to itself (title, icon, font, tooltips, timers, repaints, close).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_event_log.h"
#include "platform/window.h"

// The main dialog template's caption, the title until the program sets one.
const char* const SIM_INITIAL_TITLE = "TOVA 2.2 B02.111101";

// The dialog's client area in pixels: 427 x 301 dialog units of MS Sans Serif 8 at 96 dpi.
const int SIM_CLIENT_WIDTH = 640;
const int SIM_CLIENT_HEIGHT = 489;
// SM_CXVSCROLL and SM_CXICON at 96 dpi.
const int SIM_SCROLL_BAR_WIDTH = 16;
const int SIM_ICON_SIZE = 32;
// The largest picture file the simulated loader reads.
const size_t SIM_BITMAP_FILE_MAX_BYTES = 256u * 1024u * 1024u;

// One drawing operation in the simulator's line form, and whether the paint cycle drew it.
struct CSimDrawOp {
    std::string line;
    bool inPaint;
};

// A child control of the dialog: the template's buttons and edit boxes, and those the program
// creates.
struct CSimControl {
    enum Kind { BUTTON, EDIT, CHECK_BOX, SCROLL_BAR };
    Kind kind;
    CRect rect;
    bool visible;
    bool enabled;
    int check;
    std::string text;
    int scrollMin;
    int scrollMax;
    int scrollPage;
    int scrollPos;
};

// A tool of a tooltip control, in the order the program added it.
struct CSimToolTipTool {
    ToolTipHandle toolTip;
    uint32_t toolId;
    CRect rect;
    std::string text;
};

class CSimWindow;

// The simulated device context: its text state, and every operation recorded by its window.
class CSimSurface : public DrawingSurface {
public:
    CSimSurface(CSimWindow& window, bool inPaint);

    void DrawMaskedBitmap(BitmapHandle image, BitmapHandle mask, int x, int y) override;
    void SetTextColor(ColorRef color) override { textColor = color; }
    void SetBkColor(ColorRef color) override { bkColor = color; }
    void SetBkMode(int mode) override { bkMode = mode; }
    void SelectUiFont() override { ++uiFontSelections; }
    void SelectPreviousFont() override
    {
        if (uiFontSelections > 0) --uiFontSelections;
    }
    void TextOut(int x, int y, const char* text) override;
    void DrawIcon(int x, int y) override;

    bool UiFontSelected() const { return uiFontSelections > 0; }

private:
    CSimWindow& window;
    bool inPaint;
    ColorRef textColor;
    ColorRef bkColor;
    int bkMode;
    int uiFontSelections;
};

// One message box as the program showed it, and the answer it got.
struct CSimMessageBox {
    bool ownedByDialog;
    std::string text;
    std::string caption;
    uint32_t type;
    int answer;
};

class CSimWindow : public Window {
public:
    CSimWindow(CSimEventLog& events, CSimClock& clock, Files& files);

    // The answer of the next message box; once the queue is empty each box gets its default
    // button (OK, or YES for a yes/no box).
    void QueueMessageBoxAnswer(int answer) { answers.push_back(answer); }
    const std::vector<CSimMessageBox>& MessageBoxes() const { return boxes; }

    const std::string& Title() const { return title; }
    int IconSets() const { return iconSets; }
    int CommonControlsInits() const { return commonControlsInits; }

    // The nth tooltip creation (1 = the first) fails; 0: none fails.
    void FailToolTipCreation(int nth) { failToolTipAt = nth; }
    int ToolTipCreations() const { return toolTipCreations; }

    void FailUiFont(bool fails) { uiFontFails = fails; }
    bool UiFontCreated() const { return uiFontCreated; }
    const std::string& UiFontFace() const { return uiFontFace; }
    int UiFontHeight() const { return uiFontHeight; }

    void SetTextMetrics(const CTextMetrics& metrics) { textMetrics = metrics; }

    int Invalidations() const { return invalidations; }
    int CloseRequests() const { return closeRequests; }

    // Every drawing operation so far, in order; cleared by the caller when it has read them.
    const std::vector<CSimDrawOp>& DrawOps() const { return drawOps; }
    void ClearDrawOps() { drawOps.clear(); }
    void RecordDraw(const std::string& line, bool inPaint)
    {
        drawOps.push_back({line, inPaint});
        events.AddDraw(line, inPaint);
    }
    // The name a bitmap was loaded by: the file name the program passed, or "#NNN" for a
    // resource; "" for no image.
    std::string BitmapName(BitmapHandle bitmap) const;
    // Bitmaps loaded and not deleted.
    size_t LiveBitmaps() const;
    // LoadBitmapFile calls since the last reset, failed ones included.
    uint64_t ImageLoads() const { return imageLoads; }
    void ResetImageLoads() { imageLoads = 0; }

    void SetMinimized(bool minimized) { isMinimized = minimized; }
    // The control with this identifier, or null.
    const CSimControl* Control(uint32_t id) const;
    // Identifiers of the controls the program created, in creation order.
    const std::vector<uint32_t>& CreatedControls() const { return createdControls; }
    const std::vector<CSimToolTipTool>& ToolTipTools() const { return toolTipTools; }
    bool ToolTipActive(ToolTipHandle toolTip) const;
    // The nth tooltip control made (1 = the first), 0 when there is none.
    ToolTipHandle ToolTipAt(int nth) const;

    int MessageBox(bool ownedByDialog, const char* text, const char* caption,
                   uint32_t type) override;
    void SetTitle(const char* newTitle) override;
    uint32_t GetTitle(char* buffer, uint32_t size) override;
    void SetIcon() override { ++iconSets; }
    void InitCommonControls() override { ++commonControlsInits; }
    ToolTipHandle CreateToolTip() override;
    bool CreateUiFont(const CFontRequest& request) override;
    void GetClientTextMetrics(CTextMetrics* metrics) override;
    void SetTimer(uint32_t id, uint32_t milliseconds) override;
    void KillTimer(uint32_t id) override;
    void Invalidate() override { ++invalidations; }
    void PostClose() override { ++closeRequests; }

    void GetClientRect(CRect* rect) override;
    bool IsMinimized() override { return isMinimized; }
    void GetIconSize(int* width, int* height) override;
    DrawingSurface* BeginPaint() override;
    void EndPaint(DrawingSurface* surface) override;
    DrawingSurface* GetClientSurface() override;
    void ReleaseClientSurface(DrawingSurface* surface) override;
    BitmapHandle LoadBitmapFile(const char* path) override;
    BitmapHandle LoadBitmapResource(uint32_t id) override;
    void DeleteBitmap(BitmapHandle bitmap) override;
    bool GetBitmapSize(BitmapHandle bitmap, int* width, int* height) override;
    bool CreateCheckBox(uint32_t id, const CRect& rect, const char* caption) override;
    bool CreateScrollBar(uint32_t id, const CRect& rect) override;
    void ShowControl(uint32_t id, bool show) override;
    bool IsControlVisible(uint32_t id) override;
    void MoveControl(uint32_t id, const CRect& rect) override;
    void EnableControl(uint32_t id, bool enable) override;
    bool IsControlEnabled(uint32_t id) override;
    void SetCheck(uint32_t id, int check) override;
    int GetCheck(uint32_t id) override;
    void SetControlText(uint32_t id, const char* text) override;
    void SetScrollRange(uint32_t id, int minimum, int maximum) override;
    void SetScrollPage(uint32_t id, int page) override;
    void SetScrollPos(uint32_t id, int position) override;
    int GetScrollPos(uint32_t id) override;
    void AddToolTipTool(ToolTipHandle toolTip, uint32_t toolId, const CRect& rect,
                        const char* text) override;
    void ActivateToolTip(ToolTipHandle toolTip, bool active) override;
    void SetHandCursor() override;
    void SetCapture() override;
    void ReleaseCapture() override;

    bool Captured() const { return captured; }

private:
    struct CSimBitmap {
        std::string name;
        int width;
        int height;
        bool live;
    };

    CSimControl* FindControl(uint32_t id);
    BitmapHandle AddBitmap(const std::string& name, int width, int height);

    CSimEventLog& events;
    CSimClock& clock;
    std::vector<int> answers;
    std::vector<CSimMessageBox> boxes;
    std::string title;
    int iconSets;
    int commonControlsInits;
    int failToolTipAt;
    int toolTipCreations;
    bool uiFontFails;
    bool uiFontCreated;
    std::string uiFontFace;
    int uiFontHeight;
    CTextMetrics textMetrics;
    int invalidations;
    int closeRequests;
    Files& files;
    bool isMinimized;
    std::vector<CSimDrawOp> drawOps;
    std::vector<CSimBitmap> bitmaps;  // handle h is bitmaps[h - 1]
    uint64_t imageLoads = 0;
    std::map<uint32_t, CSimControl> controls;
    std::vector<uint32_t> createdControls;
    std::vector<CSimToolTipTool> toolTipTools;
    std::vector<ToolTipHandle> toolTips;
    std::map<ToolTipHandle, bool> toolTipActive;
    bool captured = false;
    std::unique_ptr<CSimSurface> paintSurface;
    std::vector<std::unique_ptr<CSimSurface>> clientSurfaces;
};
