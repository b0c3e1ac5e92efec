// The simulated file service: Windows paths on drives C to Z mapped onto host folders, looked up
// without regard to case as Windows does, and profile reads over the mapped files.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

// SetFileAttributesA / GetFileAttributesA bits the program and the tests use.
const uint32_t SIM_FILE_ATTRIBUTE_READONLY = 0x01;
const uint32_t SIM_FILE_ATTRIBUTE_HIDDEN = 0x02;
const uint32_t SIM_FILE_ATTRIBUTE_SYSTEM = 0x04;
const uint32_t SIM_FILE_ATTRIBUTE_DIRECTORY = 0x10;
const uint32_t SIM_FILE_ATTRIBUTE_ARCHIVE = 0x20;
const uint32_t SIM_FILE_ATTRIBUTE_NORMAL = 0x80;
const uint32_t SIM_INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// What the program's reads of files cost, counted since the last reset: the profile reads, the
// bytes, and per distinct file the most bytes one read took from it (the part of the file a
// drive has to deliver once; a read of it again comes from the system's cache).
struct CSimFileCost {
    uint64_t profileReads = 0;
    uint64_t bytesRead = 0;
    std::map<std::string, uint64_t> filesOpened;  // host path -> most bytes one read took
};

// The same reads on a 24x CD-ROM drive of 2002: a seek of SIM_CDROM_SEEK_MS for each distinct
// file, then its bytes at 24 x 150 KB/s; what the system's cache holds costs nothing.
const uint64_t SIM_CDROM_SEEK_MS = 100;
const uint64_t SIM_CDROM_BYTES_PER_SECOND = 24 * 150 * 1024;
uint64_t SimCdromMilliseconds(const CSimFileCost& cost);

class CSimFiles : public Files {
public:
    CSimFiles();

    // Drive letter (C to Z, either case) onto an existing host folder; a null or empty folder
    // removes the drive. An unmapped drive has no files.
    bool MapDrive(char letter, const char* hostDir);
    // The program's own file, as GetModuleFileName reports it ("E:\TOVA.EXE" until set). The
    // current directory moves to its folder, where a started program begins.
    void SetProgramFile(const char* windowsPath);
    void SetWindowsDirectory(const char* windowsPath);

    // A Windows path made absolute against the current directory: "E:\DIR\NAME", '/' taken as
    // '\', "." and ".." resolved, no trailing backslash except at a root. False for an empty
    // or network path.
    bool FullPath(const char* path, std::string* full) const;
    // The host path of an existing file or folder; false on an unmapped drive or when any part
    // of the path does not exist.
    bool HostPath(const char* windowsPath, std::string* hostPath) const;
    // Writes a file as a program of the simulated PC would: its folder must exist; an existing
    // file is replaced. False when it cannot be written.
    bool WriteFile(const char* windowsPath, const std::string& content);
    // GetFileAttributesA; SIM_INVALID_FILE_ATTRIBUTES when the file does not exist.
    uint32_t GetFileAttributes(const char* path) const;

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

    const CSimFileCost& Cost() const { return cost; }
    void ResetCost() { cost = CSimFileCost(); }

private:
    // Counts a read that opened the file at host path and took bytes from it.
    void CountRead(const std::string& host, size_t bytes);
    bool ReadHostFile(const char* path, size_t maxBytes, std::vector<char>* bytes);

    std::string drives[26];  // host folder per letter, "" when unmapped
    std::string programFile;
    std::string currentDir;
    std::string windowsDir;
    // Attribute bits beyond read-only (which is the host file's write permission), by host path.
    std::map<std::string, uint32_t> attributeBits;
    CSimFileCost cost;
};
