// Derives the PCI enumeration keys of the simulated PC from its board, and applies the board's
// memory size to the simulated system.
#include "platform/sim/sim_board_registry.h"

#include <string>

namespace {

const char* const BOARD_ENUM_PARTS_NT[] = {"SYSTEM", "CurrentControlSet", "Enum", "PCI"};
const char* const BOARD_ENUM_PARTS_9X[] = {"Enum", "PCI"};
const int BOARD_ENUM_DEPTH_NT = 4;
const int BOARD_ENUM_DEPTH_9X = 2;

const uint32_t BOARD_PLATFORM_9X = 1;
const uint32_t BOARD_PLATFORM_NT = 2;

// The first count parts of the family's enumeration path, joined with backslashes.
std::string EnumerationPath(bool ntFamily, int count)
{
    const char* const* parts = ntFamily ? BOARD_ENUM_PARTS_NT : BOARD_ENUM_PARTS_9X;
    std::string path;
    for (int i = 0; i < count; ++i) {
        if (i > 0) path += '\\';
        path += parts[i];
    }
    return path;
}

int EnumerationDepth(bool ntFamily)
{
    return ntFamily ? BOARD_ENUM_DEPTH_NT : BOARD_ENUM_DEPTH_9X;
}

bool KeyExists(CSimRegistry* registry, const std::string& path)
{
    RegKey key;
    if (!registry->OpenKey(REG_HKEY_LOCAL_MACHINE, path.c_str(), &key)) return false;
    registry->CloseKey(key);
    return true;
}

// Deletes the key at path with everything below it.
void DeleteTree(CSimRegistry* registry, const std::string& path)
{
    RegKey key;
    if (!registry->OpenKey(REG_HKEY_LOCAL_MACHINE, path.c_str(), &key)) return;
    char name[256];
    while (registry->EnumSubKey(key, 0, name, sizeof name)) {
        std::string child = path + "\\" + name;
        DeleteTree(registry, child);
        if (KeyExists(registry, child)) break; // could not be removed: stop, do not spin
    }
    registry->CloseKey(key);
    registry->DeleteKey(REG_HKEY_LOCAL_MACHINE, path.c_str());
}

// FNV-1a over the text: a stable stand-in for the parent's identifier hash Windows puts into
// an instance name.
uint32_t NameHash(const char* text)
{
    uint32_t hash = 2166136261u;
    for (; *text; ++text) {
        hash ^= static_cast<uint8_t>(*text);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

void BoardDeviceKeyName(const CBoardPciInfo& info, FixedText<64>* out)
{
    out->Format("VEN_%04X&DEV_%04X&SUBSYS_%08X&REV_%02X", info.id & 0xFFFF, info.id >> 16,
                info.subsystem, info.classDword & 0xFF);
}

// The instance names follow the look of each family's own:
// - 9x: "BUS_bb&DEV_dd&FUNC_ff", the function's address in two hex digits each.
// - NT: "<depth>&<parent>&0&<df>": depth 3 for a function on bus 0 (below the root bus) and 4
//   behind a bridge; <parent> the hash of "PCI\BUS_bb" in hex without leading zeros, standing
//   for the parent bus's identifier; <df> device << 3 | function in two hex digits
//   (00:1f.0 gives "F8").
void BoardInstanceKeyName(const CBoardPciInfo& info, bool ntFamily, FixedText<64>* out)
{
    if (!ntFamily) {
        out->Format("BUS_%02X&DEV_%02X&FUNC_%02X", info.bus, info.device, info.function);
        return;
    }
    FixedText<16> bus;
    bus.Format("PCI\\BUS_%02X", info.bus);
    out->Format("%d&%X&0&%02X", info.bus == 0 ? 3 : 4, NameHash(bus.c_str()),
                (info.device << 3) | info.function);
}

bool AddBoardRegistry(const CBoard& board, bool ntFamily, CSimRegistry* registry,
                      CBoardRegistryRecord* record)
{
    if (record) *record = CBoardRegistryRecord();
    int depth = EnumerationDepth(ntFamily);
    std::string enumeration = EnumerationPath(ntFamily, depth);
    if (board.PciFunctionCount() == 0 || KeyExists(registry, enumeration)) return false;

    int firstCreated = 0;
    while (firstCreated < depth && KeyExists(registry, EnumerationPath(ntFamily, firstCreated + 1)))
        ++firstCreated;

    CBoardPciInfo info;
    for (int i = 0; board.PciFunctionAt(i, &info); ++i) {
        FixedText<64> device, instance;
        BoardDeviceKeyName(info, &device);
        BoardInstanceKeyName(info, ntFamily, &instance);
        // Two functions with the same identifiers share a device key, one instance each.
        std::string path = enumeration + "\\" + device.c_str() + "\\" + instance.c_str();
        RegKey key;
        if (registry->CreateKey(REG_HKEY_LOCAL_MACHINE, path.c_str(), &key)) {
            registry->CloseKey(key);
        }
    }
    if (record) {
        record->derived = true;
        record->ntFamily = ntFamily;
        record->firstCreatedPart = firstCreated;
    }
    return true;
}

void RemoveBoardRegistry(const CBoardRegistryRecord& record, CSimRegistry* registry)
{
    if (!record.derived) return;
    int depth = EnumerationDepth(record.ntFamily);
    DeleteTree(registry, EnumerationPath(record.ntFamily, depth));
    // Parents that were made for the enumeration key go too, unless something else now lives
    // below them (a key with subkeys cannot be deleted). The program writes no values there.
    for (int part = depth - 1; part > record.firstCreatedPart; --part) {
        registry->DeleteKey(REG_HKEY_LOCAL_MACHINE, EnumerationPath(record.ntFamily, part).c_str());
    }
}

void ApplyBoardToMachine(CSimMachine& machine, CBoardRegistryRecord* record)
{
    if (record) *record = CBoardRegistryRecord();
    uint32_t memoryKb = machine.board.MemoryKb();
    if (memoryKb > 0) {
        CMemoryStatus status;
        machine.system.GlobalMemoryStatus(&status);
        machine.system.SetPhysicalMemoryKb(memoryKb, status.availPhys >> 10);
    }
    uint32_t platform = machine.system.Os().platformId;
    if (platform == BOARD_PLATFORM_9X || platform == BOARD_PLATFORM_NT) {
        AddBoardRegistry(machine.board, platform == BOARD_PLATFORM_NT, &machine.registry, record);
    }
}
