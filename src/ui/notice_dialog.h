// The resume notice: a small modal dialog saying that Rapid Setup goes on, counting down five
// seconds and closing by itself; Enter accepts at once, Escape and the close box decline.
#pragma once

#include <cstdint>

#include "common/fixed_text.h"
#include "platform/app_host.h"

const uint32_t DIALOG_TEMPLATE_NOTICE = 162;
const char NOTICE_FONT_FACE[] = "System";
const int NOTICE_FONT_POINTS = 10;
const uint32_t NOTICE_TIMER = 1;
const uint32_t NOTICE_TIMER_MS = 1000;
const int NOTICE_COUNTDOWN_X = 330;
const int NOTICE_COUNTDOWN_Y = 45;
// The dialog faces of the two looks: XP's and the classic grey.
const ColorRef NOTICE_FACE_XP = 0x00D8E9EC;
const ColorRef NOTICE_FACE_CLASSIC = 0x00C0C0C0;
const ColorRef NOTICE_NUMBER_COLOR = 0x000000FF;

class CNoticeDlg : public CDialogHandler {
public:
    bool OnInitDialog() override;
    // One second of the countdown: 4, 3, 2, 1, 0, then the dialog accepts by itself.
    void OnTimer(uint32_t id) override;
    bool OnCommand(uint32_t id) override;
    // The close box declines, as Escape does.
    void OnClose() override;

    void OnOK();
    void OnCancel();

    // 1 when the dialog ran out or was accepted, 0 when declined; read after the modal run.
    uint8_t proceed = 0;
    int32_t ticks = 1;
    FixedText<8> countdownText;
    // The caller's osCode: it picks the face colour behind the number.
    uint8_t faceOsCode = 0;
};
