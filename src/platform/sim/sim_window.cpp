// The simulated main window.
#include "platform/sim/sim_window.h"

#include <cstdio>
#include <cstring>

#include "common/bitmap_header.h"
#include "platform/sim/sim_text.h"

namespace {

// MessageBoxA results beyond those the program names.
const int SIM_IDCANCEL = 2;
const int SIM_IDABORT = 3;
const int SIM_IDRETRY = 4;
const int SIM_IDIGNORE = 5;

// The button a box returns when the user just presses Enter: MB_DEFBUTTON1..3 pick among
// the buttons of the type's low four bits.
int DefaultAnswer(uint32_t type)
{
    static const int BUTTONS[6][3] = {
        {MSGBOX_RESULT_OK, 0, 0},                             // MB_OK
        {MSGBOX_RESULT_OK, SIM_IDCANCEL, 0},                  // MB_OKCANCEL
        {SIM_IDABORT, SIM_IDRETRY, SIM_IDIGNORE},             // MB_ABORTRETRYIGNORE
        {MSGBOX_RESULT_YES, MSGBOX_RESULT_NO, SIM_IDCANCEL},  // MB_YESNOCANCEL
        {MSGBOX_RESULT_YES, MSGBOX_RESULT_NO, 0},             // MB_YESNO
        {SIM_IDRETRY, SIM_IDCANCEL, 0},                       // MB_RETRYCANCEL
    };
    uint32_t buttons = type & 0xF;
    if (buttons > 5) buttons = 0;
    uint32_t pick = (type >> 8) & 0xF;
    if (pick > 2 || BUTTONS[buttons][pick] == 0) pick = 0;
    return BUTTONS[buttons][pick];
}

// Line breaks and tabs written out, so that one box stays one tab-separated log line.
std::string OneLine(const char* text)
{
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (*p == '\n') {
            out += "\\n";
        } else if (*p == '\r') {
            out += "\\r";
        } else if (*p == '\t') {
            out += "\\t";
        } else {
            out.push_back(*p);
        }
    }
    return out;
}

// The program's resource bitmaps and their sizes, as the Windows build draws them.
struct CResourceBitmap {
    uint32_t id;
    int width;
    int height;
};
const CResourceBitmap RESOURCE_BITMAPS[] = {
    {156, 5, 4}, {157, 640, 4}, {158, 440, 50}, {161, 159, 73}, {163, 52, 35}, {164, 52, 35},
};

// A colour as the simulator prints it: RRGGBB.
std::string ColorText(ColorRef color)
{
    char text[8];
    snprintf(text, sizeof text, "%02X%02X%02X", color & 0xFF, (color >> 8) & 0xFF,
             (color >> 16) & 0xFF);
    return text;
}

// The template's own controls, in pixels of the 96-dpi dialog font: two hidden buttons and the
// two edit boxes.
CSimControl TemplateControl(CSimControl::Kind kind, CRect rect, bool visible, const char* text)
{
    CSimControl control = {kind, rect, visible, true, 0, text, 0, 0, 0, 0};
    return control;
}

}  // namespace

CSimSurface::CSimSurface(CSimWindow& owner, bool paintCycle)
    : window(owner), inPaint(paintCycle), textColor(0x000000), bkColor(0xFFFFFF),
      bkMode(SURFACE_OPAQUE), uiFontSelections(0)
{
}

void CSimSurface::DrawMaskedBitmap(BitmapHandle image, BitmapHandle mask, int x, int y)
{
    if (!image) return;
    window.RecordDraw("draw\tbitmap\t" + window.BitmapName(image) + "\t" +
                          window.BitmapName(mask) + "\t" + std::to_string(x) + "\t" +
                          std::to_string(y),
                      inPaint);
}

void CSimSurface::TextOut(int x, int y, const char* text)
{
    window.RecordDraw("draw\ttext\t" + std::to_string(x) + "\t" + std::to_string(y) + "\t" +
                          ColorText(textColor) + "\t" + ColorText(bkColor) + "\t" +
                          (bkMode == SURFACE_TRANSPARENT ? "transparent" : "opaque") + "\t" +
                          SimPrintable(text),
                      inPaint);
}

void CSimSurface::DrawIcon(int x, int y)
{
    window.RecordDraw("draw\ticon\t" + std::to_string(x) + "\t" + std::to_string(y), inPaint);
}

CSimWindow::CSimWindow(CSimEventLog& events, CSimClock& clock, Files& fileService)
    : events(events), clock(clock), title(SIM_INITIAL_TITLE), iconSets(0),
      commonControlsInits(0), failToolTipAt(0), toolTipCreations(0), uiFontFails(false),
      uiFontCreated(false), uiFontHeight(0), invalidations(0), closeRequests(0),
      files(fileService), isMinimized(false)
{
    controls[1] = TemplateControl(CSimControl::BUTTON, {237, 323, 334, 356}, false, "GO");
    controls[2] = TemplateControl(CSimControl::BUTTON, {415, 331, 512, 364}, false, "Cancel");
    controls[1002] = TemplateControl(CSimControl::EDIT, {334, 125, 511, 310}, true, "");
    controls[1003] = TemplateControl(CSimControl::EDIT, {289, 118, 498, 289}, true, "");
    // A client context of the default system font at 96 pixels per inch.
    textMetrics.height = 13;
    textMetrics.externalLeading = 0;
    textMetrics.aveCharWidth = 5;
}

int CSimWindow::MessageBox(bool ownedByDialog, const char* text, const char* caption,
                           uint32_t type)
{
    // MessageBoxA shows "Error" for a missing caption.
    const char* shownCaption = caption ? caption : "Error";
    events.Add("messagebox\t" + OneLine(shownCaption) + "\t" + OneLine(text));
    int answer = DefaultAnswer(type);
    if (!answers.empty()) {
        answer = answers.front();
        answers.erase(answers.begin());
    }
    boxes.push_back({ownedByDialog, text ? text : "", shownCaption, type, answer});
    return answer;
}

void CSimWindow::SetTitle(const char* newTitle)
{
    title = newTitle ? newTitle : "";
}

uint32_t CSimWindow::GetTitle(char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return 0;
    size_t n = title.size() < size - 1 ? title.size() : size - 1;
    memcpy(buffer, title.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

ToolTipHandle CSimWindow::CreateToolTip()
{
    ++toolTipCreations;
    if (toolTipCreations == failToolTipAt) return 0;
    ToolTipHandle handle = 0x3000 + static_cast<ToolTipHandle>(toolTipCreations) * 4;
    toolTips.push_back(handle);
    toolTipActive[handle] = true;
    return handle;
}

ToolTipHandle CSimWindow::ToolTipAt(int nth) const
{
    if (nth < 1 || static_cast<size_t>(nth) > toolTips.size()) return 0;
    return toolTips[static_cast<size_t>(nth) - 1];
}

bool CSimWindow::CreateUiFont(const CFontRequest& request)
{
    if (uiFontFails) return false;
    uiFontCreated = true;
    uiFontFace = request.face ? request.face : "";
    uiFontHeight = request.height;
    return true;
}

void CSimWindow::GetClientTextMetrics(CTextMetrics* metrics)
{
    if (metrics) *metrics = textMetrics;
}

void CSimWindow::SetTimer(uint32_t id, uint32_t milliseconds)
{
    events.Add("timer\tset\t" + std::to_string(id) + "\t" + std::to_string(milliseconds));
    clock.SetTimer(id, milliseconds);
}

void CSimWindow::KillTimer(uint32_t id)
{
    events.Add("timer\tkill\t" + std::to_string(id));
    clock.KillTimer(id);
}

void CSimWindow::GetClientRect(CRect* rect)
{
    if (rect) *rect = {0, 0, SIM_CLIENT_WIDTH, SIM_CLIENT_HEIGHT};
}

void CSimWindow::GetIconSize(int* width, int* height)
{
    if (width) *width = SIM_ICON_SIZE;
    if (height) *height = SIM_ICON_SIZE;
}

DrawingSurface* CSimWindow::BeginPaint()
{
    paintSurface.reset(new CSimSurface(*this, true));
    return paintSurface.get();
}

void CSimWindow::EndPaint(DrawingSurface* surface)
{
    if (surface == paintSurface.get()) paintSurface.reset();
}

DrawingSurface* CSimWindow::GetClientSurface()
{
    clientSurfaces.emplace_back(new CSimSurface(*this, false));
    return clientSurfaces.back().get();
}

void CSimWindow::ReleaseClientSurface(DrawingSurface* surface)
{
    for (size_t i = 0; i < clientSurfaces.size(); ++i) {
        if (clientSurfaces[i].get() == surface) {
            clientSurfaces.erase(clientSurfaces.begin() + static_cast<long>(i));
            return;
        }
    }
}

BitmapHandle CSimWindow::AddBitmap(const std::string& name, int width, int height)
{
    bitmaps.push_back({name, width, height, true});
    return static_cast<BitmapHandle>(bitmaps.size());
}

BitmapHandle CSimWindow::LoadBitmapFile(const char* path)
{
    ++imageLoads;
    if (!path) return 0;
    std::vector<char> bytes;
    if (!files.ReadWholeFile(path, SIM_BITMAP_FILE_MAX_BYTES, &bytes)) return 0;
    CBitmapHeader header = {};
    if (!ReadBitmapHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                          &header)) {
        return 0;
    }
    return AddBitmap(path, header.width, header.height);
}

BitmapHandle CSimWindow::LoadBitmapResource(uint32_t id)
{
    for (const CResourceBitmap& resource : RESOURCE_BITMAPS) {
        if (resource.id == id) {
            return AddBitmap("#" + std::to_string(id), resource.width, resource.height);
        }
    }
    return 0;
}

void CSimWindow::DeleteBitmap(BitmapHandle bitmap)
{
    if (bitmap >= 1 && bitmap <= bitmaps.size()) bitmaps[bitmap - 1].live = false;
}

bool CSimWindow::GetBitmapSize(BitmapHandle bitmap, int* width, int* height)
{
    if (bitmap < 1 || bitmap > bitmaps.size() || !bitmaps[bitmap - 1].live) return false;
    *width = bitmaps[bitmap - 1].width;
    *height = bitmaps[bitmap - 1].height;
    return true;
}

std::string CSimWindow::BitmapName(BitmapHandle bitmap) const
{
    if (bitmap < 1 || bitmap > bitmaps.size()) return "";
    return bitmaps[bitmap - 1].name;
}

size_t CSimWindow::LiveBitmaps() const
{
    size_t live = 0;
    for (const CSimBitmap& bitmap : bitmaps) live += bitmap.live ? 1 : 0;
    return live;
}

CSimControl* CSimWindow::FindControl(uint32_t id)
{
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

const CSimControl* CSimWindow::Control(uint32_t id) const
{
    auto found = controls.find(id);
    return found == controls.end() ? nullptr : &found->second;
}

bool CSimWindow::CreateCheckBox(uint32_t id, const CRect& rect, const char* caption)
{
    controls[id] = {CSimControl::CHECK_BOX, rect, true, true, 0, caption ? caption : "",
                    0, 0, 0, 0};
    createdControls.push_back(id);
    return true;
}

bool CSimWindow::CreateScrollBar(uint32_t id, const CRect& rect)
{
    // Aligned to the right edge of the rectangle, in the system's width.
    CRect bar = {rect.right - SIM_SCROLL_BAR_WIDTH, rect.top, rect.right, rect.bottom};
    controls[id] = {CSimControl::SCROLL_BAR, bar, true, true, 0, "", 0, 0, 0, 0};
    createdControls.push_back(id);
    return true;
}

void CSimWindow::ShowControl(uint32_t id, bool show)
{
    if (CSimControl* control = FindControl(id)) control->visible = show;
}

bool CSimWindow::IsControlVisible(uint32_t id)
{
    const CSimControl* control = FindControl(id);
    return control && control->visible;
}

void CSimWindow::MoveControl(uint32_t id, const CRect& rect)
{
    if (CSimControl* control = FindControl(id)) control->rect = rect;
}

void CSimWindow::EnableControl(uint32_t id, bool enable)
{
    if (CSimControl* control = FindControl(id)) control->enabled = enable;
}

bool CSimWindow::IsControlEnabled(uint32_t id)
{
    const CSimControl* control = FindControl(id);
    return control && control->enabled;
}

void CSimWindow::SetCheck(uint32_t id, int check)
{
    if (CSimControl* control = FindControl(id)) control->check = check;
}

int CSimWindow::GetCheck(uint32_t id)
{
    const CSimControl* control = FindControl(id);
    return control ? control->check : 0;
}

void CSimWindow::SetControlText(uint32_t id, const char* text)
{
    if (CSimControl* control = FindControl(id)) control->text = text ? text : "";
}

namespace {

// The scroll bar keeps its position between the minimum and the scroll limit (the maximum less
// the page plus one), as SetScrollInfo does.
void ClampScrollPos(CSimControl* control)
{
    int page = control->scrollPage > 1 ? control->scrollPage : 1;
    int limit = control->scrollMax - page + 1;
    if (limit < control->scrollMin) limit = control->scrollMin;
    if (control->scrollPos > limit) control->scrollPos = limit;
    if (control->scrollPos < control->scrollMin) control->scrollPos = control->scrollMin;
}

}  // namespace

void CSimWindow::SetScrollRange(uint32_t id, int minimum, int maximum)
{
    CSimControl* control = FindControl(id);
    if (!control) return;
    control->scrollMin = minimum;
    control->scrollMax = maximum;
    ClampScrollPos(control);
}

void CSimWindow::SetScrollPage(uint32_t id, int page)
{
    CSimControl* control = FindControl(id);
    if (!control) return;
    control->scrollPage = page;
    ClampScrollPos(control);
}

void CSimWindow::SetScrollPos(uint32_t id, int position)
{
    CSimControl* control = FindControl(id);
    if (!control) return;
    control->scrollPos = position;
    ClampScrollPos(control);
}

int CSimWindow::GetScrollPos(uint32_t id)
{
    const CSimControl* control = FindControl(id);
    return control ? control->scrollPos : 0;
}

void CSimWindow::AddToolTipTool(ToolTipHandle toolTip, uint32_t toolId, const CRect& rect,
                                const char* text)
{
    for (CSimToolTipTool& tool : toolTipTools) {
        if (tool.toolTip == toolTip && tool.toolId == toolId) {
            tool.rect = rect;
            tool.text = text ? text : "";
            return;
        }
    }
    toolTipTools.push_back({toolTip, toolId, rect, text ? text : ""});
}

void CSimWindow::SetHandCursor()
{
    events.Add("cursor\thand");
}

void CSimWindow::SetCapture()
{
    captured = true;
    events.Add("capture\tset");
}

void CSimWindow::ReleaseCapture()
{
    captured = false;
    events.Add("capture\trelease");
}

void CSimWindow::ActivateToolTip(ToolTipHandle toolTip, bool active)
{
    toolTipActive[toolTip] = active;
}

bool CSimWindow::ToolTipActive(ToolTipHandle toolTip) const
{
    auto found = toolTipActive.find(toolTip);
    return found != toolTipActive.end() && found->second;
}
