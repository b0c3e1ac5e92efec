// The file service on the real Windows file system (ANSI calls).
#pragma once

#include "platform/files.h"

class CWin32Files : public Files {
public:
    bool CanOpenForReading(const char* path) override;
    bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) override;
    bool DeleteFile(const char* path) override;
    bool SetFileAttributes(const char* path, uint32_t attributes) override;
    bool SetCurrentDirectory(const char* path) override;
    uint32_t GetCurrentDirectory(char* buffer, uint32_t size) override;
    uint32_t GetModuleFileName(char* buffer, uint32_t size) override;
    uint32_t GetWindowsDirectory(char* buffer, uint32_t size) override;
    uint32_t GetPrivateProfileString(const char* section, const char* key,
                                     const char* defaultValue, char* buffer, uint32_t size,
                                     const char* fileName) override;
};
