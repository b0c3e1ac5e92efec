// The simulated registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE in memory, with Windows'
// semantics for the calls the program makes, loaded from and saved to REGEDIT4 text.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/fixed_text.h"
#include "platform/registry.h"

class CSimRegistry : public Registry {
public:
    CSimRegistry();

    // Both roots emptied; handles still open become invalid.
    void Clear();

    // Applies REGEDIT4 text ("REGEDIT4" header, [ROOT\path] sections, [-ROOT\path] deletions,
    // "name"="text", @=..., dword:, hex:, hex(N):, "name"=- deletions, "\" continuations).
    // All or nothing: on a malformed line the registry is left as it was and *error says
    // "line N: ...".
    bool LoadRegText(const char* text, FixedText<256>* error);
    bool LoadRegFile(const char* hostPath, FixedText<256>* error);
    // Every key and value as REGEDIT4 text, keys and values sorted case-insensitively.
    std::string SaveRegText() const;
    bool SaveRegFile(const char* hostPath) const;

    // Called after every change the program makes (a value set or deleted, a key deleted):
    // the tests' way to stop the world at any write.
    void SetWriteHook(std::function<void()> hook) { writeHook = hook; }

    // Handles the program has open and not closed (the two roots do not count).
    size_t OpenHandleCount() const { return handles.size(); }
    int FlushCount() const { return flushes; }

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

    struct CValue {
        std::string name;  // as first written; "" is the default value
        uint32_t type;
        std::vector<uint8_t> data;
    };
    struct CNode {
        std::string name;  // as first created
        std::vector<CValue> values;
        // Kept sorted case-insensitively, the order RegEnumKeyEx gives.
        std::vector<std::shared_ptr<CNode>> children;
        // Set when the key is deleted: handles to it then fail, as on Windows.
        bool deleted = false;
    };

private:
    std::shared_ptr<CNode> Resolve(RegKey key) const;
    // Walks subKey below node; create adds missing keys. Null when the path is malformed or,
    // without create, a key is missing.
    std::shared_ptr<CNode> Walk(const std::shared_ptr<CNode>& node, const char* subKey,
                                bool create);
    RegKey NewHandle(const std::shared_ptr<CNode>& node);

    std::shared_ptr<CNode> currentUser;
    std::shared_ptr<CNode> localMachine;
    std::map<RegKey, std::shared_ptr<CNode>> handles;
    RegKey nextHandle;
    int flushes;
    std::function<void()> writeHook;
};
