// The registry service: the ANSI registry calls the program makes, under HKCU and HKLM.
#pragma once

#include <cstdint>

// An open key. The two roots are predefined handles, as HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE are on Windows; 0 is never a valid key.
typedef uintptr_t RegKey;
const RegKey REG_HKEY_CURRENT_USER = 1;
const RegKey REG_HKEY_LOCAL_MACHINE = 2;

// Value types, numbered as on Windows.
const uint32_t REG_TYPE_NONE = 0;
const uint32_t REG_TYPE_SZ = 1;
const uint32_t REG_TYPE_BINARY = 3;
const uint32_t REG_TYPE_DWORD = 4;

class Registry {
public:
    virtual ~Registry() {}

    // RegOpenKeyExA: false when the key does not exist.
    virtual bool OpenKey(RegKey parent, const char* subKey, RegKey* out) = 0;
    // RegCreateKeyExA: opens the key, creating it and its missing parents.
    virtual bool CreateKey(RegKey parent, const char* subKey, RegKey* out) = 0;
    // RegQueryValueExA. *size holds the buffer size on entry and the value's size on success;
    // a value larger than the buffer is a failed read (nothing is copied). data may be null to
    // ask only for type and size. A string's size counts its terminating zero.
    virtual bool QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                            uint32_t* size) = 0;
    // RegSetValueExA.
    virtual bool SetValue(RegKey key, const char* name, uint32_t type, const uint8_t* data,
                          uint32_t size) = 0;
    virtual bool DeleteValue(RegKey key, const char* name) = 0;
    // RegDeleteKeyA: deletes a key that has no subkeys.
    virtual bool DeleteKey(RegKey parent, const char* subKey) = 0;
    virtual bool FlushKey(RegKey key) = 0;
    virtual void CloseKey(RegKey key) = 0;
    // RegQueryInfoKeyA's subkey count.
    virtual bool SubKeyCount(RegKey key, uint32_t* count) = 0;
    // RegEnumKeyExA: the name of subkey index, false past the last one or when it does not fit.
    virtual bool EnumSubKey(RegKey key, uint32_t index, char* name, uint32_t size) = 0;
};
