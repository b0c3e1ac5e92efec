// The file service: the few file and directory calls the program makes, and profile reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Files {
public:
    virtual ~Files() {}

    // fopen(path, "rb") succeeds.
    virtual bool CanOpenForReading(const char* path) = 0;
    // The file as bytes, at most maxBytes of its start (a CD file may be of any size); false
    // when it cannot be opened.
    virtual bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) = 0;
    virtual bool DeleteFile(const char* path) = 0;
    // SetFileAttributesA with FILE_ATTRIBUTE_* bits.
    virtual bool SetFileAttributes(const char* path, uint32_t attributes) = 0;
    virtual bool SetCurrentDirectory(const char* path) = 0;
    // GetCurrentDirectoryA, GetModuleFileNameA (of the program), GetWindowsDirectoryA:
    // the length written, 0 on failure; the text is cut to size - 1.
    virtual uint32_t GetCurrentDirectory(char* buffer, uint32_t size) = 0;
    virtual uint32_t GetModuleFileName(char* buffer, uint32_t size) = 0;
    virtual uint32_t GetWindowsDirectory(char* buffer, uint32_t size) = 0;
    // GetPrivateProfileStringA for one key: the value (or the default) cut to size - 1,
    // returning the number of characters copied.
    virtual uint32_t GetPrivateProfileString(const char* section, const char* key,
                                             const char* defaultValue, char* buffer, uint32_t size,
                                             const char* fileName) = 0;
};

// A Files that passes every call to another: a service that changes a few calls derives from it
// and overrides just those.
class CFilesForwarder : public Files {
public:
    explicit CFilesForwarder(Files& inner) : inner(inner) {}

    bool CanOpenForReading(const char* path) override { return inner.CanOpenForReading(path); }
    bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes) override
    {
        return inner.ReadWholeFile(path, maxBytes, bytes);
    }
    bool DeleteFile(const char* path) override { return inner.DeleteFile(path); }
    bool SetFileAttributes(const char* path, uint32_t attributes) override
    {
        return inner.SetFileAttributes(path, attributes);
    }
    bool SetCurrentDirectory(const char* path) override { return inner.SetCurrentDirectory(path); }
    uint32_t GetCurrentDirectory(char* buffer, uint32_t size) override
    {
        return inner.GetCurrentDirectory(buffer, size);
    }
    uint32_t GetModuleFileName(char* buffer, uint32_t size) override
    {
        return inner.GetModuleFileName(buffer, size);
    }
    uint32_t GetWindowsDirectory(char* buffer, uint32_t size) override
    {
        return inner.GetWindowsDirectory(buffer, size);
    }
    uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                     char* buffer, uint32_t size, const char* fileName) override
    {
        return inner.GetPrivateProfileString(section, key, defaultValue, buffer, size, fileName);
    }

protected:
    Files& inner;
};
