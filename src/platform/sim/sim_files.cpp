// The simulated file service on host folders.
#include "platform/sim/sim_files.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "common/profile_reader.h"

namespace {

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsNoCase(const std::string& a, const char* b)
{
    size_t n = strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i) {
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    }
    return true;
}

int DriveIndex(char letter)
{
    char c = UpperAscii(letter);
    return (c >= 'C' && c <= 'Z') ? c - 'A' : -1;
}

bool IsDriveLetter(char c)
{
    c = UpperAscii(c);
    return c >= 'A' && c <= 'Z';
}

// Appends the names of a backslash-separated path to parts, resolving "." and "..".
void AddComponents(const std::string& path, std::vector<std::string>* parts)
{
    size_t i = 0;
    while (i <= path.size()) {
        size_t end = path.find('\\', i);
        if (end == std::string::npos) end = path.size();
        std::string name = path.substr(i, end - i);
        if (name == "..") {
            if (!parts->empty()) parts->pop_back();  // ".." at a root stays at the root
        } else if (!name.empty() && name != ".") {
            parts->push_back(name);
        }
        i = end + 1;
    }
}

uint32_t CopyOut(const std::string& text, char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return 0;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

bool IsRegularFile(const std::string& hostPath)
{
    struct stat st;
    return stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

CSimFiles::CSimFiles() : windowsDir("C:\\WINDOWS")
{
    SetProgramFile("E:\\TOVA.EXE");
}

bool CSimFiles::MapDrive(char letter, const char* hostDir)
{
    int d = DriveIndex(letter);
    if (d < 0) return false;
    if (!hostDir || !*hostDir) {
        drives[d].clear();
        return true;
    }
    struct stat st;
    if (stat(hostDir, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    std::string dir(hostDir);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    drives[d] = dir;
    return true;
}

void CSimFiles::SetProgramFile(const char* windowsPath)
{
    std::string full;
    if (!FullPath(windowsPath, &full)) return;
    programFile = full;
    size_t slash = full.rfind('\\');
    // "E:\TOVA.EXE" -> "E:\", "E:\TOOLS\TOVA.EXE" -> "E:\TOOLS".
    currentDir = slash <= 2 ? full.substr(0, 3) : full.substr(0, slash);
}

void CSimFiles::SetWindowsDirectory(const char* windowsPath)
{
    std::string full;
    if (FullPath(windowsPath, &full)) windowsDir = full;
}

bool CSimFiles::FullPath(const char* path, std::string* full) const
{
    if (!path || !*path || !full) return false;
    std::string p(path);
    for (char& c : p) {
        if (c == '/') c = '\\';
    }
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') return false;  // network paths

    std::string drive;
    std::vector<std::string> parts;
    std::string rest;
    bool hasCurrent = currentDir.size() >= 2;
    if (p.size() >= 2 && IsDriveLetter(p[0]) && p[1] == ':') {
        drive = p.substr(0, 2);
        rest = p.substr(2);
        bool sameDrive = hasCurrent && UpperAscii(currentDir[0]) == UpperAscii(p[0]);
        // "E:name" is relative to the current directory when it is on E, else to E's root.
        if ((rest.empty() || rest[0] != '\\') && sameDrive) {
            AddComponents(currentDir.substr(2), &parts);
        }
    } else {
        if (!hasCurrent) return false;
        drive = currentDir.substr(0, 2);
        rest = p;
        if (p[0] != '\\') AddComponents(currentDir.substr(2), &parts);
    }
    AddComponents(rest, &parts);

    *full = drive + "\\";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) *full += "\\";
        *full += parts[i];
    }
    return true;
}

bool CSimFiles::HostPath(const char* windowsPath, std::string* hostPath) const
{
    std::string full;
    if (!FullPath(windowsPath, &full)) return false;
    int d = DriveIndex(full[0]);
    if (d < 0 || drives[d].empty()) return false;
    std::vector<std::string> parts;
    AddComponents(full.substr(2), &parts);

    std::string host = drives[d];
    for (const std::string& name : parts) {
        std::string base = host == "/" ? "" : host;
        std::string exact = base + "/" + name;
        struct stat st;
        if (stat(exact.c_str(), &st) == 0) {
            host = exact;
            continue;
        }
        // CD content written on another system may differ in case: take the first match in
        // name order so the choice does not depend on the folder's listing order.
        DIR* dir = opendir(host.c_str());
        if (!dir) return false;
        std::string match;
        while (struct dirent* entry = readdir(dir)) {
            if (EqualsNoCase(name, entry->d_name) &&
                (match.empty() || strcmp(entry->d_name, match.c_str()) < 0)) {
                match = entry->d_name;
            }
        }
        closedir(dir);
        if (match.empty()) return false;
        host = base + "/" + match;
    }
    if (hostPath) *hostPath = host;
    return true;
}

uint32_t CSimFiles::GetFileAttributes(const char* path) const
{
    std::string host;
    struct stat st;
    if (!HostPath(path, &host) || stat(host.c_str(), &st) != 0) {
        return SIM_INVALID_FILE_ATTRIBUTES;
    }
    uint32_t bits = 0;
    auto it = attributeBits.find(host);
    if (it != attributeBits.end()) bits = it->second;
    if (S_ISDIR(st.st_mode)) bits |= SIM_FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & S_IWUSR)) bits |= SIM_FILE_ATTRIBUTE_READONLY;
    return bits == 0 ? SIM_FILE_ATTRIBUTE_NORMAL : bits;
}

uint64_t SimCdromMilliseconds(const CSimFileCost& cost)
{
    uint64_t bytes = 0;
    for (const auto& file : cost.filesOpened) bytes += file.second;
    // Whole milliseconds, rounded up: a byte read is never free.
    uint64_t transfer = (bytes * 1000 + SIM_CDROM_BYTES_PER_SECOND - 1) / SIM_CDROM_BYTES_PER_SECOND;
    return SIM_CDROM_SEEK_MS * cost.filesOpened.size() + transfer;
}

void CSimFiles::CountRead(const std::string& host, size_t bytes)
{
    cost.bytesRead += bytes;
    uint64_t& most = cost.filesOpened[host];
    if (bytes > most) most = bytes;
}

bool CSimFiles::ReadHostFile(const char* path, size_t maxBytes, std::vector<char>* bytes)
{
    std::string host;
    if (!HostPath(path, &host) || !IsRegularFile(host)) return false;
    FILE* f = fopen(host.c_str(), "rb");
    if (!f) return false;
    if (bytes) {
        bytes->clear();
        char buf[4096];
        size_t n;
        while (bytes->size() < maxBytes) {
            size_t want = maxBytes - bytes->size();
            if (want > sizeof(buf)) want = sizeof(buf);
            n = fread(buf, 1, want, f);
            if (n == 0) break;
            bytes->insert(bytes->end(), buf, buf + n);
        }
    }
    fclose(f);
    CountRead(host, bytes ? bytes->size() : 0);
    return true;
}

bool CSimFiles::CanOpenForReading(const char* path)
{
    return ReadHostFile(path, 0, nullptr);
}

bool CSimFiles::ReadWholeFile(const char* path, size_t maxBytes, std::vector<char>* bytes)
{
    return ReadHostFile(path, maxBytes, bytes);
}

bool CSimFiles::DeleteFile(const char* path)
{
    std::string host;
    struct stat st;
    if (!HostPath(path, &host) || stat(host.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    // Windows refuses to delete a read-only file; the host would not care.
    if (!(st.st_mode & S_IWUSR)) return false;
    if (unlink(host.c_str()) != 0) return false;
    attributeBits.erase(host);
    return true;
}

bool CSimFiles::SetFileAttributes(const char* path, uint32_t attributes)
{
    std::string host;
    struct stat st;
    if (!HostPath(path, &host) || stat(host.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & SIM_FILE_ATTRIBUTE_READONLY) {
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    } else {
        mode |= S_IWUSR;
    }
    if (chmod(host.c_str(), mode) != 0) return false;
    uint32_t kept = attributes & (SIM_FILE_ATTRIBUTE_HIDDEN | SIM_FILE_ATTRIBUTE_SYSTEM |
                                  SIM_FILE_ATTRIBUTE_ARCHIVE);
    if (kept) {
        attributeBits[host] = kept;
    } else {
        attributeBits.erase(host);
    }
    return true;
}

bool CSimFiles::SetCurrentDirectory(const char* path)
{
    std::string full, host;
    struct stat st;
    if (!FullPath(path, &full) || !HostPath(full.c_str(), &host)) return false;
    if (stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    currentDir = full;
    return true;
}

uint32_t CSimFiles::GetCurrentDirectory(char* buffer, uint32_t size)
{
    return CopyOut(currentDir, buffer, size);
}

uint32_t CSimFiles::GetModuleFileName(char* buffer, uint32_t size)
{
    return CopyOut(programFile, buffer, size);
}

uint32_t CSimFiles::GetWindowsDirectory(char* buffer, uint32_t size)
{
    return CopyOut(windowsDir, buffer, size);
}

uint32_t CSimFiles::GetPrivateProfileString(const char* section, const char* key,
                                            const char* defaultValue, char* buffer,
                                            uint32_t size, const char* fileName)
{
    if (!buffer || size == 0) return 0;
    ++cost.profileReads;
    std::string name = fileName ? fileName : "win.ini";
    // A bare file name is looked for in the Windows directory, not the current one.
    if (name.find_first_of("\\/:") == std::string::npos) name = windowsDir + "\\" + name;
    std::vector<char> bytes;
    if (!ReadHostFile(name.c_str(), SIZE_MAX, &bytes)) bytes.clear();
    // A missing file reads like an empty one: the default, treated exactly as for a missing key.
    return ReadProfileString(bytes.empty() ? "" : bytes.data(), bytes.size(), section, key,
                             defaultValue, buffer, size);
}

bool CSimFiles::WriteFile(const char* windowsPath, const std::string& content)
{
    std::string full;
    if (!FullPath(windowsPath, &full)) return false;
    size_t slash = full.rfind('\\');
    if (slash == std::string::npos) return false;
    std::string folder = full.substr(0, slash == 2 ? 3 : slash);
    std::string hostFolder;
    if (!HostPath(folder.c_str(), &hostFolder)) return false;
    std::string host;
    if (!HostPath(full.c_str(), &host)) host = hostFolder + "/" + full.substr(slash + 1);
    FILE* f = fopen(host.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(content.data(), 1, content.size(), f) == content.size();
    return fclose(f) == 0 && ok;
}
