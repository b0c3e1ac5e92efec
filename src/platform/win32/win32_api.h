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
