// adapter_check.exe: checks the Win32 service adapters against the real calls in a Wine
// prefix: registry, files, processes and the system record.
//   adapter_check                checks, one line each; exit 1 on any failure
//   adapter_check version        prints both version records as the adapter fills them
//   adapter_check --exit N       (a child of the process checks) ends with code N
//   adapter_check --sleep MS     (a child of the process checks) sleeps, then ends with 0
#include "platform/win32/win32_api.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/win32_files.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what)
{
    printf("%s\t%s\n", ok ? "ok" : "FAIL", what);
    if (!ok) ++failures;
}

const char CHECK_KEY[] = "Software\\TovaAdapterCheck";

void CheckRegistry()
{
    CWin32Registry registry;
    registry.DeleteKey(REG_HKEY_CURRENT_USER, "Software\\TovaAdapterCheck\\Inner");
    registry.DeleteKey(REG_HKEY_CURRENT_USER, CHECK_KEY);

    RegKey key = 0;
    Check(!registry.OpenKey(REG_HKEY_CURRENT_USER, CHECK_KEY, &key),
          "registry: a missing key does not open");
    Check(registry.CreateKey(REG_HKEY_CURRENT_USER, "Software\\TovaAdapterCheck\\Inner", &key),
          "registry: a key is created with its missing parent");
    registry.CloseKey(key);
    Check(registry.OpenKey(REG_HKEY_CURRENT_USER, CHECK_KEY, &key), "registry: the parent opens");

    const char text[] = "2.10";
    Check(registry.SetValue(key, "Driver", REG_TYPE_SZ, reinterpret_cast<const uint8_t*>(text),
                            sizeof(text)),
          "registry: a string value is written");
    uint8_t buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    uint32_t type = 0;
    uint32_t size = sizeof(buffer);
    Check(registry.QueryValue(key, "driver", &type, buffer, &size) && type == REG_TYPE_SZ &&
              size == sizeof(text) && strcmp(reinterpret_cast<char*>(buffer), text) == 0,
          "registry: it reads back by a name in other case, its size counting the zero");
    memset(buffer, 'x', sizeof(buffer));
    size = 3;
    Check(!registry.QueryValue(key, "Driver", &type, buffer, &size) && buffer[0] == 'x' &&
              buffer[1] == 'x' && buffer[2] == 'x',
          "registry: a value larger than the buffer fails and copies nothing");
    size = 0;
    Check(registry.QueryValue(key, "Driver", &type, NULL, &size) && size == sizeof(text),
          "registry: without a buffer only the size is asked");

    uint32_t count = 99;
    char name[32];
    Check(registry.SubKeyCount(key, &count) && count == 1, "registry: one subkey is counted");
    Check(registry.EnumSubKey(key, 0, name, sizeof(name)) && strcmp(name, "Inner") == 0,
          "registry: the subkey is enumerated by name");
    Check(!registry.EnumSubKey(key, 1, name, sizeof(name)), "registry: enumeration ends");
    Check(!registry.EnumSubKey(key, 0, name, 3), "registry: a name that does not fit fails");
    Check(!registry.DeleteKey(REG_HKEY_CURRENT_USER, CHECK_KEY) ||
              registry.OpenKey(REG_HKEY_CURRENT_USER, "Software\\TovaAdapterCheck\\Inner", &key),
          "registry: a key with subkeys is not deleted with them");
    Check(registry.DeleteValue(key, "Driver") && !registry.DeleteValue(key, "Driver"),
          "registry: a value is deleted once");
    Check(registry.FlushKey(REG_HKEY_CURRENT_USER), "registry: the root is flushed");
    registry.CloseKey(key);
    registry.CloseKey(REG_HKEY_CURRENT_USER);  // a root is never closed
    Check(registry.OpenKey(REG_HKEY_CURRENT_USER, "Software", &key),
          "registry: the root still works after CloseKey on it");
    registry.CloseKey(key);
    Check(registry.DeleteKey(REG_HKEY_CURRENT_USER, "Software\\TovaAdapterCheck\\Inner") &&
              registry.DeleteKey(REG_HKEY_CURRENT_USER, CHECK_KEY),
          "registry: the keys are deleted leaf first");
    Check(registry.OpenKey(REG_HKEY_LOCAL_MACHINE, "Software", &key),
          "registry: HKEY_LOCAL_MACHINE is reached");
    registry.CloseKey(key);
}

void CheckFiles(const char* self)
{
    CWin32Files files;
    char full[MAX_PATH * 2];
    uint32_t n = files.GetModuleFileName(full, sizeof(full));
    Check(n > 0 && n == strlen(full) && _stricmp(full + n - strlen("adapter_check.exe"),
                                                 "adapter_check.exe") == 0,
          "files: the module name is the program's");
    char cut[8];
    memset(cut, 'x', sizeof(cut));
    n = files.GetModuleFileName(cut, sizeof(cut));
    Check(n == 7 && cut[7] == '\0' && strncmp(cut, full, 7) == 0,
          "files: a short buffer gets the name cut, zero-terminated");

    Check(files.SetCurrentDirectory("C:\\windows"), "files: the current directory is set");
    n = files.GetCurrentDirectory(full, sizeof(full));
    Check(n > 0 && _stricmp(full, "C:\\windows") == 0, "files: and read back");
    memset(cut, 'x', sizeof(cut));
    n = files.GetCurrentDirectory(cut, 4);
    Check(n == 3 && strcmp(cut, "C:\\") == 0, "files: a short buffer gets the directory cut");
    n = files.GetWindowsDirectory(full, sizeof(full));
    Check(n > 0 && _stricmp(full, "C:\\windows") == 0, "files: the Windows directory");

    Check(files.CanOpenForReading(self), "files: the program file opens for reading");
    Check(!files.CanOpenForReading("C:\\no such file.txt"), "files: a missing file does not");
    Check(!files.CanOpenForReading("Q:\\id.log"), "files: a drive that does not exist does not");

    const char path[] = "C:\\adapter_check.ini";
    FILE* f = fopen(path, "wb");
    const char ini[] = "[Common]\r\ntitle=  A long title text  \r\n";
    if (f) {
        fwrite(ini, 1, sizeof(ini) - 1, f);
        fclose(f);
    }
    std::vector<char> bytes;
    Check(files.ReadWholeFile(path, SIZE_MAX, &bytes) && bytes.size() == sizeof(ini) - 1 &&
              memcmp(bytes.data(), ini, bytes.size()) == 0,
          "files: a file is read whole");
    char value[8];
    n = files.GetPrivateProfileString("common", "TITLE", "", value, sizeof(value), path);
    Check(n == 7 && strcmp(value, "A long ") == 0,
          "files: a profile value is trimmed and cut to the buffer");
    n = files.GetPrivateProfileString("Common", "missing", "dflt", value, sizeof(value), path);
    Check(n == 4 && strcmp(value, "dflt") == 0, "files: a missing key gives the default");
    Check(files.SetFileAttributes(path, FILE_ATTRIBUTE_READONLY) && !files.DeleteFile(path),
          "files: a read-only file is not deleted");
    Check(files.SetFileAttributes(path, FILE_ATTRIBUTE_ARCHIVE) && files.DeleteFile(path) &&
              !files.CanOpenForReading(path),
          "files: with the archive attribute only it is deleted");
}

void CheckProcesses(const char* self)
{
    CWin32Processes processes;
    std::string line = std::string("\"") + self + "\" --exit 7";
    ProcessHandle child = 0;
    Check(processes.CreateProcess(line.c_str(), "C:\\", &child), "processes: a child is started");
    uint32_t code = 0;
    Check(processes.WaitForProcess(child, 20000) == WAIT_RESULT_DONE &&
              processes.GetExitCodeProcess(child, &code) && code == 7,
          "processes: its end is waited for and its exit code read");
    processes.CloseProcess(child);

    line = std::string("\"") + self + "\" --sleep 3000";
    Check(processes.CreateProcess(line.c_str(), NULL, &child), "processes: a sleeping child");
    Check(processes.WaitForProcess(child, 100) == WAIT_RESULT_TIMEOUT,
          "processes: a running child times the wait out");
    Check(processes.GetExitCodeProcess(child, &code) && code == STILL_ACTIVE,
          "processes: and is still active");
    Check(processes.WaitForProcess(child, 20000) == WAIT_RESULT_DONE,
          "processes: until it ends");
    processes.CloseProcess(child);

    Check(!processes.CreateProcess("C:\\no such program.exe", NULL, &child),
          "processes: a missing program does not start");
    Check(processes.WaitForProcess(0, 1000) == WAIT_RESULT_DONE,
          "processes: a wait on no process does not wait for ever");
    line = std::string("\"") + self + "\" --exit 0";
    Check(processes.WinExec(line.c_str(), SW_HIDE) > 31, "processes: WinExec starts a program");
}

void CheckSystem()
{
    CWin32System system;
    COsVersionInfo extended;
    memset(&extended, 0xAB, sizeof(extended));
    extended.sizeField = OS_VERSION_RECORD_EXTENDED;
    COsVersionInfo plain;
    memset(&plain, 0xAB, sizeof(plain));
    plain.sizeField = OS_VERSION_RECORD_PLAIN;
    Check(system.GetVersionEx(&extended) && system.GetVersionEx(&plain),
          "system: both version records are filled");
    Check(plain.majorVersion == extended.majorVersion &&
              plain.buildNumber == extended.buildNumber &&
              plain.platformId == extended.platformId &&
              strcmp(plain.csdVersion, extended.csdVersion) == 0,
          "system: both records agree on the common fields");
    Check(plain.servicePackMajor == 0xABAB && plain.productType == 0xAB,
          "system: the plain record leaves the extended fields alone");
    COsVersionInfo bad;
    memset(&bad, 0, sizeof(bad));
    bad.sizeField = 12;
    Check(!system.GetVersionEx(&bad), "system: a record of another size is refused");

    CMemoryStatus memory;
    memset(&memory, 0, sizeof(memory));
    system.GlobalMemoryStatus(&memory);
    Check(memory.totalPhys > 0 && memory.availPhys <= memory.totalPhys,
          "system: the memory status is read");
    int x = 0, y = 0;
    system.GetScreenPixelsPerInch(&x, &y);
    Check(x > 0 && y > 0, "system: the screen resolution is read");
    uint32_t before = system.GetTickCount();
    system.Sleep(200);
    Check(system.GetTickCount() - before >= 150, "system: Sleep pauses");
}

int PrintVersion()
{
    CWin32System system;
    const uint32_t sizes[2] = {OS_VERSION_RECORD_EXTENDED, OS_VERSION_RECORD_PLAIN};
    for (uint32_t size : sizes) {
        COsVersionInfo info;
        memset(&info, 0, sizeof(info));
        info.sizeField = size;
        if (!system.GetVersionEx(&info)) {
            printf("%u failed\n", static_cast<unsigned>(size));
            continue;
        }
        printf("%u platform=%u version=%u.%u build=%u csd=%s", static_cast<unsigned>(size),
               info.platformId, info.majorVersion, info.minorVersion, info.buildNumber,
               info.csdVersion);
        if (size == OS_VERSION_RECORD_EXTENDED) printf(" sp=%u", info.servicePackMajor);
        printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "--exit") == 0) return atoi(argv[2]);
    if (argc >= 3 && strcmp(argv[1], "--sleep") == 0) {
        Sleep(static_cast<DWORD>(atoi(argv[2])));
        return 0;
    }
    if (argc >= 2 && strcmp(argv[1], "version") == 0) return PrintVersion();

    char self[MAX_PATH * 2];
    GetModuleFileNameA(NULL, self, sizeof(self));
    CheckRegistry();
    CheckFiles(self);
    CheckProcesses(self);
    CheckSystem();
    printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
