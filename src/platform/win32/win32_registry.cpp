// The registry service on the real Windows registry (ANSI calls).
#include "platform/win32/win32_api.h"

#include "platform/win32/win32_registry.h"

namespace {

// The two roots are the predefined handles; every other RegKey is an HKEY we opened. Opened
// handles are never 1 or 2 (kernel handles are multiples of four), so the roots cannot clash.
HKEY ToHkey(RegKey key)
{
    if (key == REG_HKEY_CURRENT_USER) return HKEY_CURRENT_USER;
    if (key == REG_HKEY_LOCAL_MACHINE) return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(key);
}

bool IsRoot(RegKey key)
{
    return key == REG_HKEY_CURRENT_USER || key == REG_HKEY_LOCAL_MACHINE;
}

RegKey FromHkey(HKEY key)
{
    return reinterpret_cast<RegKey>(key);
}

}  // namespace

bool CWin32Registry::OpenKey(RegKey parent, const char* subKey, RegKey* out)
{
    if (!out) return false;
    HKEY key = NULL;
    // Read and write where the user may; keys that only admit reading (HKLM for a limited
    // user, parts of the hardware enumeration) still open for reading.
    LONG rc = RegOpenKeyExA(ToHkey(parent), subKey, 0, KEY_READ | KEY_WRITE, &key);
    if (rc == ERROR_ACCESS_DENIED) rc = RegOpenKeyExA(ToHkey(parent), subKey, 0, KEY_READ, &key);
    if (rc != ERROR_SUCCESS) return false;
    *out = FromHkey(key);
    return true;
}

bool CWin32Registry::CreateKey(RegKey parent, const char* subKey, RegKey* out)
{
    if (!out) return false;
    HKEY key = NULL;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(ToHkey(parent), subKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, NULL, &key, &disposition);
    if (rc != ERROR_SUCCESS) return false;
    *out = FromHkey(key);
    return true;
}

bool CWin32Registry::QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                                uint32_t* size)
{
    DWORD valueType = 0;
    DWORD needed = 0;
    // Ask for the size first: a value larger than the caller's buffer must leave the buffer
    // untouched, which RegQueryValueExA's ERROR_MORE_DATA does not promise.
    LONG rc = RegQueryValueExA(ToHkey(key), name, NULL, &valueType, NULL, &needed);
    if (rc != ERROR_SUCCESS) return false;
    if (type) *type = valueType;
    if (!data) {
        if (size) *size = needed;
        return true;
    }
    if (!size || needed > *size) {
        if (size) *size = needed;
        return false;
    }
    DWORD got = *size;
    rc = RegQueryValueExA(ToHkey(key), name, NULL, &valueType, data, &got);
    if (rc != ERROR_SUCCESS) return false;
    if (type) *type = valueType;
    *size = got;
    return true;
}

bool CWin32Registry::SetValue(RegKey key, const char* name, uint32_t type, const uint8_t* data,
                              uint32_t size)
{
    return RegSetValueExA(ToHkey(key), name, 0, type, data, size) == ERROR_SUCCESS;
}

bool CWin32Registry::DeleteValue(RegKey key, const char* name)
{
    return RegDeleteValueA(ToHkey(key), name) == ERROR_SUCCESS;
}

bool CWin32Registry::DeleteKey(RegKey parent, const char* subKey)
{
    return RegDeleteKeyA(ToHkey(parent), subKey) == ERROR_SUCCESS;
}

bool CWin32Registry::FlushKey(RegKey key)
{
    return RegFlushKey(ToHkey(key)) == ERROR_SUCCESS;
}

void CWin32Registry::CloseKey(RegKey key)
{
    if (key == 0 || IsRoot(key)) return;
    RegCloseKey(ToHkey(key));
}

bool CWin32Registry::SubKeyCount(RegKey key, uint32_t* count)
{
    DWORD subKeys = 0;
    LONG rc = RegQueryInfoKeyA(ToHkey(key), NULL, NULL, NULL, &subKeys, NULL, NULL, NULL, NULL,
                               NULL, NULL, NULL);
    if (rc != ERROR_SUCCESS) return false;
    if (count) *count = subKeys;
    return true;
}

bool CWin32Registry::EnumSubKey(RegKey key, uint32_t index, char* name, uint32_t size)
{
    if (!name || size == 0) return false;
    DWORD length = size;
    FILETIME written;
    LONG rc = RegEnumKeyExA(ToHkey(key), index, name, &length, NULL, NULL, NULL, &written);
    if (rc != ERROR_SUCCESS) {
        name[0] = '\0';
        return false;
    }
    return true;
}
