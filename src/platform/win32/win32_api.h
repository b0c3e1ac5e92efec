// <windows.h> for the adapters, without the ANSI/wide name macros that collide with the
// service operations of the same name (Files::DeleteFile, Window::MessageBox, ...).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#undef CreateProcess
#undef DeleteFile
#undef ExitWindows
#undef GetCurrentDirectory
#undef GetModuleFileName
#undef GetPrivateProfileString
#undef GetVersionEx
#undef GetWindowsDirectory
#undef MessageBox
#undef SetCurrentDirectory
#undef SetFileAttributes
#undef TextOut

// The signed point of a mouse message, as <windowsx.h> has it; that header is not included,
// its macros collide with the service operations (DeleteBitmap, ...).
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif
