// The registry service on the real Windows registry (ANSI calls).
#pragma once

#include "platform/registry.h"

class CWin32Registry : public Registry {
public:
    bool OpenKey(RegKey parent, const char* subKey, RegKey* out) override;
    bool CreateKey(RegKey parent, const char* subKey, RegKey* out) override;
    bool QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data,
                    uint32_t* size) override;
    bool SetValue(RegKey key, const char* name, uint32_t type, const uint8_t* data,
                  uint32_t size) override;
    bool DeleteValue(RegKey key, const char* name) override;
    bool DeleteKey(RegKey parent, const char* subKey) override;
    bool FlushKey(RegKey key) override;
    void CloseKey(RegKey key) override;
    bool SubKeyCount(RegKey key, uint32_t* count) override;
    bool EnumSubKey(RegKey key, uint32_t index, char* name, uint32_t size) override;
};
