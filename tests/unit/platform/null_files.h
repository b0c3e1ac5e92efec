// A file service with nothing in it, for test doubles that answer a few calls themselves.
#pragma once

#include "platform/files.h"

class CNullFiles : public Files {
public:
    bool CanOpenForReading(const char*) override { return false; }
    bool ReadWholeFile(const char*, size_t, std::vector<char>*) override { return false; }
    bool DeleteFile(const char*) override { return false; }
    bool SetFileAttributes(const char*, uint32_t) override { return false; }
    bool SetCurrentDirectory(const char*) override { return false; }
    uint32_t GetCurrentDirectory(char*, uint32_t) override { return 0; }
    uint32_t GetModuleFileName(char*, uint32_t) override { return 0; }
    uint32_t GetWindowsDirectory(char*, uint32_t) override { return 0; }
    uint32_t GetPrivateProfileString(const char*, const char*, const char*, char* buffer,
                                     uint32_t size, const char*) override
    {
        if (buffer && size > 0) buffer[0] = '\0';
        return 0;
    }
};
