// The system service on Windows: version record, memory, language, screen resolution, time.
#include "platform/win32/win32_api.h"

#include "platform/win32/win32_system.h"

#include <cstring>

#include "platform/win32/win32_handles.h"

bool CWin32System::GetVersionEx(COsVersionInfo* info)
{
    if (!info) return false;
    OSVERSIONINFOEXA record;
    memset(&record, 0, sizeof(record));
    // The caller's size field decides which record the system fills, as it would on the
    // caller's own structure; 148 is the plain OSVERSIONINFOA.
    record.dwOSVersionInfoSize = info->sizeField;
    if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&record))) return false;

    info->majorVersion = record.dwMajorVersion;
    info->minorVersion = record.dwMinorVersion;
    info->buildNumber = record.dwBuildNumber;
    info->platformId = record.dwPlatformId;
    static_assert(sizeof(info->csdVersion) == sizeof(record.szCSDVersion), "same CSD field");
    memcpy(info->csdVersion, record.szCSDVersion, sizeof(info->csdVersion));
    info->csdVersion[sizeof(info->csdVersion) - 1] = '\0';
    if (info->sizeField >= sizeof(OSVERSIONINFOEXA)) {
        info->servicePackMajor = record.wServicePackMajor;
        info->servicePackMinor = record.wServicePackMinor;
        info->suiteMask = record.wSuiteMask;
        info->productType = record.wProductType;
        info->reserved = record.wReserved;
    }
    return true;
}

void CWin32System::GlobalMemoryStatus(CMemoryStatus* status)
{
    if (!status) return;
    MEMORYSTATUS memory;
    memset(&memory, 0, sizeof(memory));
    memory.dwLength = sizeof(memory);
    ::GlobalMemoryStatus(&memory);
    // A 64-bit build reports sizes beyond 4 GB; the record holds 32 bits, so they saturate
    // as the 32-bit call does.
    auto cut = [](SIZE_T v) -> uint32_t { return v > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(v); };
    status->memoryLoad = memory.dwMemoryLoad;
    status->totalPhys = cut(memory.dwTotalPhys);
    status->availPhys = cut(memory.dwAvailPhys);
    status->totalPageFile = cut(memory.dwTotalPageFile);
    status->availPageFile = cut(memory.dwAvailPageFile);
    status->totalVirtual = cut(memory.dwTotalVirtual);
    status->availVirtual = cut(memory.dwAvailVirtual);
}

uint16_t CWin32System::GetSystemDefaultLangID()
{
    return ::GetSystemDefaultLangID();
}

uint32_t CWin32System::GetACP()
{
    return ::GetACP();
}

bool CWin32System::IsDBCSLeadByteEx(uint32_t codePage, uint8_t byte)
{
    // On Windows 95 this goes to the stand-in of compat/win9x_imports.cpp, which reads the
    // code page's lead-byte ranges where the system lacks the call.
    return ::IsDBCSLeadByteEx(codePage, byte) != FALSE;
}

void CWin32System::GetScreenPixelsPerInch(int* x, int* y)
{
    Win32ScreenPixelsPerInch(x, y);
}

void CWin32System::Sleep(uint32_t milliseconds)
{
    ::Sleep(milliseconds);
}

uint32_t CWin32System::GetTickCount()
{
    return ::GetTickCount();
}

void Win32ScreenPixelsPerInch(int* x, int* y)
{
    CScopedCreatedDC info(CreateICA("DISPLAY", NULL, NULL, NULL));
    if (x) *x = GetDeviceCaps(info.Get(), LOGPIXELSX);
    if (y) *y = GetDeviceCaps(info.Get(), LOGPIXELSY);
}
