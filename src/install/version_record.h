// The installed-version record: one value per driver caption under "Software\Fetchyard",
// shared with the maker's download utility, telling which driver versions are installed.
#pragma once

#include <cstdint>

#include "platform/registry.h"

class Window;
struct PanelTable;
struct CDialogState;

// Key and buffer of the record.
extern const char VERSION_RECORD_KEY[];
const uint32_t VERSION_RECORD_VALUE_SIZE = 255;

// Versions compare as plain byte strings, each byte unsigned; a leading part is smaller. So
// "1.9" counts as newer than "1.10" and "9.0" as newer than "10.0": the stored texts are the
// download utility's as much as ours, and it compares them this way.
int CompareVersionText(const char* stored, const char* version);

class CVersionRecord {
public:
    CVersionRecord(Registry& registry, Window& window, PanelTable& panelTable,
                   const CDialogState& dialog);

    // Panel0 item k: installed (state 1, unticked) when the stored version is not older than
    // the row's; the row's state texts are set in every case.
    void RefreshInstalledState(int k);
    // After item k was installed: stores its version unless a newer one is recorded.
    void RecordInstalledVersion(int k);

private:
    // The stored version of caption in the open key; false when it cannot be read (missing,
    // not text, or longer than the buffer).
    bool ReadStoredVersion(RegKey key, const char* caption, char* stored);
    void WriteVersion(RegKey key, const char* caption, const char* version);

    Registry& registry;
    Window& window;
    PanelTable& panelTable;
    const CDialogState& dialog;
};
