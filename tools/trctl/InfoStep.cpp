// InfoStep.cpp - the info dialog before serve's launch.
#include "InfoStep.h"

#include "Settings.h"

#include <cstdio>
#include <string>

#include "include/TrCommonClasses.h"

namespace trctl {
namespace {

// The family's seconds as its settings read delivers them: the read's own
// default (5) stands for a value or key that is missing.
DWORD InfoSeconds(WORD mask) {
    const char* family = nullptr;
    switch (mask) {
    case CTrAppDataFinder::kPPK: family = "ppk"; break;
    case CTrAppDataFinder::kSKey: family = "skey"; break;
    case CTrAppDataFinder::kTimer: family = "timer"; break;
    case CTrAppDataFinder::kJogPPK: family = "jog"; break;
    case CTrAppDataFinder::kFlashpod: family = "fp"; break;
    case CTrAppDataFinder::kUsb: family = "usb"; break;
    case CTrAppDataFinder::kXbus: family = "xbus"; break;
    default: return 0;
    }
    SettingValue seconds;
    return ReadSetting(*FindSettingFamily(family), "InfoDialog", seconds) ? seconds.number : 0;
}

}  // namespace

bool InfoStepAllowsLaunch(const Event& event, const TR_APP_DATA_STRUC& block) {
    const DWORD seconds = InfoSeconds(event.mask);
    if (seconds == 0) return true;
    std::printf("info dialog       %lu s\n", static_cast<unsigned long>(seconds));
    std::fflush(stdout);
    int code = 0;
    if (!TrComDoModalInfoDlg(&code, &block, seconds)) {
        std::printf("info dialog       not shown (seconds outside 1 to 99, or no TrLocale.DLL)\n");
        return true;
    }
    std::printf("info dialog       ended with %s\n", code == IDOK ? "IDOK" : code == IDCANCEL ? "IDCANCEL" : "-1");
    return code == IDOK;
}

}  // namespace trctl
