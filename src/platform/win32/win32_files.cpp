// The file service on the real Windows file system (ANSI calls).
#include "platform/win32/win32_api.h"

#include "platform/win32/win32_files.h"

#include <cstdio>
#include <cstring>

namespace {

// Without this, probing a drive with no medium (an empty CD or card reader between C and the
// CD) stops the program with the system's "no disk" box; the probe must simply fail.
class CQuietDriveErrors {
public:
    CQuietDriveErrors() : previous(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~CQuietDriveErrors() { SetErrorMode(previous); }

private:
    UINT previous;
};

// Copies text into buffer cut to size - 1; returns the length written.
uint32_t CopyCut(const char* text, char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return 0;
    size_t n = strlen(text);
    if (n > size - 1) n = size - 1;
    memcpy(buffer, text, n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

}  // namespace

bool CWin32Files::CanOpenForReading(const char* path)
{
    if (!path) return false;
    CQuietDriveErrors quiet;
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    fclose(file);
    return true;
}

bool CWin32Files::ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes)
{
    if (!path || !bytes) return false;
    CQuietDriveErrors quiet;
    FILE* file = fopen(path, "rb");
    if (!file) return false;
    bytes->clear();
    char chunk[4096];
    size_t got;
    while (bytes->size() < maxBytes) {
        size_t want = maxBytes - bytes->size();
        if (want > sizeof(chunk)) want = sizeof(chunk);
        got = fread(chunk, 1, want, file);
        if (got == 0) break;
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    bool ok = !ferror(file);
    fclose(file);
    return ok;
}

bool CWin32Files::DeleteFile(const char* path)
{
    return DeleteFileA(path) != 0;
}

bool CWin32Files::SetFileAttributes(const char* path, uint32_t attributes)
{
    return SetFileAttributesA(path, attributes) != 0;
}

bool CWin32Files::SetCurrentDirectory(const char* path)
{
    CQuietDriveErrors quiet;
    return SetCurrentDirectoryA(path) != 0;
}

uint32_t CWin32Files::GetCurrentDirectory(char* buffer, uint32_t size)
{
    // GetCurrentDirectoryA copies nothing when the buffer is short; the caller wants the text cut.
    char full[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryA(sizeof(full), full);
    if (n == 0 || n >= sizeof(full)) return 0;
    return CopyCut(full, buffer, size);
}

uint32_t CWin32Files::GetModuleFileName(char* buffer, uint32_t size)
{
    // Older systems leave a cut name without its terminating zero.
    char full[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(NULL, full, sizeof(full));
    if (n == 0 || n >= sizeof(full)) return 0;
    full[n] = '\0';
    return CopyCut(full, buffer, size);
}

uint32_t CWin32Files::GetWindowsDirectory(char* buffer, uint32_t size)
{
    char full[MAX_PATH * 4];
    UINT n = GetWindowsDirectoryA(full, sizeof(full));
    if (n == 0 || n >= sizeof(full)) return 0;
    return CopyCut(full, buffer, size);
}

uint32_t CWin32Files::GetPrivateProfileString(const char* section, const char* key,
                                              const char* defaultValue, char* buffer,
                                              uint32_t size, const char* fileName)
{
    if (!buffer || size == 0) return 0;
    CQuietDriveErrors quiet;
    return GetPrivateProfileStringA(section, key, defaultValue ? defaultValue : "", buffer, size,
                                    fileName);
}
