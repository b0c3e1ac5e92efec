// The system service on Windows: version record, memory, language, screen resolution, time.
#pragma once

#include "platform/system.h"

class CWin32System : public System {
public:
    bool GetVersionEx(COsVersionInfo* info) override;
    void GlobalMemoryStatus(CMemoryStatus* status) override;
    uint16_t GetSystemDefaultLangID() override;
    uint32_t GetACP() override;
    bool IsDBCSLeadByteEx(uint32_t codePage, uint8_t byte) override;
    void GetScreenPixelsPerInch(int* x, int* y) override;
    void Sleep(uint32_t milliseconds) override;
    uint32_t GetTickCount() override;
};

// LOGPIXELSX and LOGPIXELSY of an information context on "DISPLAY"; 0 when it cannot be
// opened (GetDeviceCaps of no context). Shared with the dialog layer.
void Win32ScreenPixelsPerInch(int* x, int* y);
