// InfoStep.cpp - the info dialog before serve's launch.
#include "InfoStep.h"

#include <cstdio>
#include <string>

#include "include/TrCommonClasses.h"

namespace trctl {
namespace {

constexpr char kProductKey[] = "Software\\Kalvor Corporation\\Trelvane\\";

// The family's seconds, or 0 when its setting cannot be read.
DWORD InfoSeconds(WORD mask) {
    DWORD seconds = 0, a = 0, b = 0, c = 0, d = 0;
    auto key = [](const char* sub) { return std::string(kProductKey) + sub; };
    int ok = 0;
    switch (mask) {
    case CTrAppDataFinder::kPPK: ok = TrPPKCfgRead(HKEY_CURRENT_USER, key("PPKConfig").c_str(), &a, &b, &seconds); break;
    case CTrAppDataFinder::kSKey: ok = TrSKeyCfgRead(HKEY_CURRENT_USER, key("SKeyConfig").c_str(), &seconds); break;
    case CTrAppDataFinder::kTimer: ok = TrTimerCfgRead(HKEY_CURRENT_USER, key("TimerConfig").c_str(), &seconds); break;
    case CTrAppDataFinder::kJogPPK:
        ok = TrJogCfgReadPPPKInfoDlgTime(HKEY_CURRENT_USER, key("JogConfig").c_str(), &seconds);
        break;
    case CTrAppDataFinder::kFlashpod:
        ok = TrFPCfgRead(HKEY_CURRENT_USER, key("FlashpodConfig").c_str(), &a, &b, &seconds);
        break;
    case CTrAppDataFinder::kUsb: ok = TrUSBCfgRead(HKEY_CURRENT_USER, key("USBConfig").c_str(), &a, &b, &seconds); break;
    case CTrAppDataFinder::kXbus:
        ok = TrXbusCfgRead(HKEY_CURRENT_USER, key("XbusConfig").c_str(), &a, &b, &c, &d, &seconds);
        break;
    default: break;
    }
    return ok ? seconds : 0;
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
