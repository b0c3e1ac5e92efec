// Leaving the program: the close handler, the start-up clean-up of an older state key, the
// Exit button and the maker's web site.
#pragma once

struct CPlatform;
struct CProgramState;
struct CDialogState;
class CProgramEnd;

// The Windows Installer files that an older version of this CD left in the system folder.
extern const char EXIT_MSIEXEC_FILE[];
extern const char EXIT_MSI_DLL_FILE[];
extern const char EXIT_LEGACY_KEY[];
// The address the web button opens when the CD names none.
extern const char EXIT_DEFAULT_WEB_SITE[];

class CExitActions {
public:
    CExitActions(CPlatform& platform, CProgramState& state, CProgramEnd& end);

    // WM_CLOSE: the resume state goes unless the sequencer keeps it; on 98 SE the Installer
    // files go too. The framework ends the dialog afterwards.
    void OnClose();
    // At start-up: only when the older key "Software\zov" exists are it and the two Installer
    // files removed.
    void CleanLegacyState();
    // The Exit button: no resume, the program ends at once (no close handler).
    void ExitAndForget();
    // The web button: the maker's site in the browser; the scroll bar is hidden.
    void OpenMakerWebSite();
    // The address: the CD's own (the web button's command), else the built-in one.
    const char* MakerWebSite() const;

private:
    void DeleteInstallerFiles(const char* folder, bool clearAttributes);

    CPlatform& platform;
    CProgramState& state;
    CDialogState& dialog;
    CProgramEnd& end;
};
