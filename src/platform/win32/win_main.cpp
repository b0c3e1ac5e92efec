// WinMain of the Windows program: the real adapters, the application object, and the end.
#include "platform/win32/win32_api.h"

#include "app/setup_app.h"
#include "platform/platform.h"
#include "platform/win32/win32_app_host.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_hardware.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CWin32Registry registry;
    CWin32Files files;
    CWin32Processes processes;
    CWin32System system;
    CWin32Hardware hardware;
    CWin32Window window(instance);
    CPlatform platform{registry, files, processes, system, hardware, window};
    CWin32AppHost host(instance, window);

    // The start-up hook's result only says how the program ends; either way it ends here,
    // with code 0 and nothing else shown.
    CSetupApp app(platform, host);
    app.InitInstance();
    processes.ExitProcess(0);
    return 0;
}
