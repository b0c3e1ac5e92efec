// Stand-ins for the few system calls the MinGW runtime makes that Windows 95 lacks or only stubs.
//
// The runtime linked statically into tova.exe and roduru.dll (libgcc's thread and unwind code,
// the CRT's locale and mbrtowc helpers) calls CreateSemaphoreW, GetModuleHandleW, LoadLibraryW
// and IsDBCSLeadByteEx through their import pointers (__imp_NAME). This file defines those
// pointers itself, so the linker takes no import of them from the system libraries, and points
// them at the functions below. Each one asks the system for the real function with
// GetProcAddress and calls it where it works (the NT family: unchanged behaviour); where the
// function is missing, or is the Windows 95/98/Me stub that fails with
// ERROR_CALL_NOT_IMPLEMENTED, it does the same work with the ANSI call or the code page's
// lead-byte ranges. The file must be linked as an object of the image (not from a static
// library), before the runtime's archives are searched. See docs/windows-95-imports.md.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// The assembler name of a function's import pointer: stdcall decoration on i686.
#if defined(__i386__)
#define TOVA_IMPORT_POINTER(name, argBytes) "__imp__" #name "@" #argBytes
#else
#define TOVA_IMPORT_POINTER(name, argBytes) "__imp_" #name
#endif

namespace {

// A name that does not fit the ANSI buffer is not passed on cut; the call fails instead.
const int COMPAT_NAME_SIZE = MAX_PATH;

FARPROC KernelProc(const char* name)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    return kernel ? GetProcAddress(kernel, name) : NULL;
}

// The wide name in the ANSI code page; false (with the error set) if it does not convert.
bool NarrowName(LPCWSTR wide, char* narrow, int size)
{
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, size, NULL, NULL) != 0) return true;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
}

// The 9x stubs of the wide calls fail this way; the real functions never do.
bool IsStubFailure() { return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED; }

typedef HANDLE(WINAPI* CreateSemaphoreWProc)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
typedef HMODULE(WINAPI* GetModuleHandleWProc)(LPCWSTR);
typedef HMODULE(WINAPI* LoadLibraryWProc)(LPCWSTR);
typedef BOOL(WINAPI* IsDBCSLeadByteExProc)(UINT, BYTE);

HANDLE WINAPI CompatCreateSemaphoreW(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, LPCWSTR name)
{
    CreateSemaphoreWProc real = (CreateSemaphoreWProc)(void*)KernelProc("CreateSemaphoreW");
    if (real) {
        HANDLE semaphore = real(attributes, initialCount, maximumCount, name);
        if (semaphore || !IsStubFailure()) return semaphore;
    }
    char narrow[COMPAT_NAME_SIZE];
    if (name && !NarrowName(name, narrow, COMPAT_NAME_SIZE)) return NULL;
    return CreateSemaphoreA(attributes, initialCount, maximumCount, name ? narrow : NULL);
}

HMODULE WINAPI CompatGetModuleHandleW(LPCWSTR name)
{
    GetModuleHandleWProc real = (GetModuleHandleWProc)(void*)KernelProc("GetModuleHandleW");
    if (real) {
        HMODULE module = real(name);
        if (module || !IsStubFailure()) return module;
    }
    char narrow[COMPAT_NAME_SIZE];
    if (name && !NarrowName(name, narrow, COMPAT_NAME_SIZE)) return NULL;
    return GetModuleHandleA(name ? narrow : NULL);
}

HMODULE WINAPI CompatLoadLibraryW(LPCWSTR name)
{
    LoadLibraryWProc real = (LoadLibraryWProc)(void*)KernelProc("LoadLibraryW");
    if (real) {
        HMODULE module = real(name);
        if (module || !IsStubFailure()) return module;
    }
    char narrow[COMPAT_NAME_SIZE];
    if (!name || !NarrowName(name, narrow, COMPAT_NAME_SIZE)) return NULL;
    return LoadLibraryA(narrow);
}

// Without the system's function: is the byte inside one of the code page's lead-byte ranges.
BOOL WINAPI CompatIsDBCSLeadByteEx(UINT codePage, BYTE testChar)
{
    IsDBCSLeadByteExProc real = (IsDBCSLeadByteExProc)(void*)KernelProc("IsDBCSLeadByteEx");
    if (real) return real(codePage, testChar);
    CPINFO info;
    if (!GetCPInfo(codePage, &info)) return FALSE;
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        if (testChar >= info.LeadByte[i] && testChar <= info.LeadByte[i + 1]) return TRUE;
    }
    return FALSE;
}

} // namespace

// The import pointers the runtime's objects read; defined here, they are never imported.
extern "C" {
CreateSemaphoreWProc tovaImpCreateSemaphoreW __asm__(TOVA_IMPORT_POINTER(CreateSemaphoreW, 16)) =
    CompatCreateSemaphoreW;
GetModuleHandleWProc tovaImpGetModuleHandleW __asm__(TOVA_IMPORT_POINTER(GetModuleHandleW, 4)) =
    CompatGetModuleHandleW;
LoadLibraryWProc tovaImpLoadLibraryW __asm__(TOVA_IMPORT_POINTER(LoadLibraryW, 4)) =
    CompatLoadLibraryW;
IsDBCSLeadByteExProc tovaImpIsDBCSLeadByteEx __asm__(TOVA_IMPORT_POINTER(IsDBCSLeadByteEx, 8)) =
    CompatIsDBCSLeadByteEx;
}
