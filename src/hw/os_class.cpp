// Operating-system classification from the version record: decides osCode, and with it the
// port path every hardware primitive takes.
#include "hw/os_class.h"

#include <cstring>

#include "hw/hw_state.h"

namespace {

const uint32_t PLATFORM_WIN32S = 0;
const uint32_t PLATFORM_WIN32_WINDOWS = 1;
const uint32_t PLATFORM_WIN32_NT = 2;

// The build that separates 98 from 98 SE from Me on the 9x family, and 2000 from XP on NT 5.
const uint32_t OS_BUILD_DIVIDE = 2222;

uint8_t ClassifyWindows9x(const COsVersionInfo& info)
{
    bool upTo40 = info.majorVersion < 4 || (info.majorVersion == 4 && info.minorVersion == 0);
    if (upTo40) return OS_WIN95;
    // The 9x family keeps the version in the high word of the build number.
    uint32_t build = info.buildNumber & 0xFFFF;
    if (build < OS_BUILD_DIVIDE) return OS_WIN98;
    if (build == OS_BUILD_DIVIDE) return OS_WIN98SE;
    return OS_WINME;
}

uint8_t ClassifyWindowsNt(const COsVersionInfo& info)
{
    if (info.majorVersion <= 4) return OS_NT4;
    if (info.majorVersion == 5) {
        return info.buildNumber <= OS_BUILD_DIVIDE ? OS_WIN2000 : OS_WINXP;
    }
    return OS_OTHER;
}

}  // namespace

int ClassifyOs(System& system, Window& window, uint8_t* osCode, uint8_t* xpServicePack)
{
    COsVersionInfo info;
    memset(&info, 0, sizeof(info));
    info.sizeField = OS_VERSION_RECORD_EXTENDED;
    if (!system.GetVersionEx(&info)) {
        // Systems before NT 4 SP6 know only the plain record.
        info.sizeField = OS_VERSION_RECORD_PLAIN;
        if (!system.GetVersionEx(&info)) {
            window.MessageBox(false, "Check OS type Error !", "Message", MSGBOX_OK);
            return 0;
        }
    }

    *osCode = OS_OTHER;
    switch (info.platformId) {
    case PLATFORM_WIN32S:
        *osCode = OS_WIN32S;
        break;
    case PLATFORM_WIN32_WINDOWS:
        *osCode = ClassifyWindows9x(info);
        break;
    case PLATFORM_WIN32_NT:
        *osCode = ClassifyWindowsNt(info);
        break;
    default:
        window.MessageBox(false, "Unknown OS type !", "Message", MSGBOX_OK);
        return 0;
    }

    *xpServicePack = (*osCode == OS_WINXP && info.csdVersion[0] != '\0') ? 1 : 0;
    return 1;
}
