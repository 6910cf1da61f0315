// EventArgs.cpp - parsing an event from the command line and looking it up.
#include "EventArgs.h"

#include "include/TrCommonClasses.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace trctl {

namespace {

bool ParseNumber(const std::string& text, DWORD& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(text.c_str(), &end, 0);
    if (*end != '\0') return false;
    value = static_cast<DWORD>(v);
    return true;
}

// The finder's choice of device rules: Win2K texts on NT 5, Win98
// descriptions everywhere else.
bool Win2kDeviceRules() {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    return ::GetVersionExA(&v) && v.dwMajorVersion == 5 && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

char* NewText(const std::string& text) {
    auto* p = static_cast<char*>(::operator new(text.size() + 1));
    std::memcpy(p, text.c_str(), text.size() + 1);
    return p;
}

// The device key as the library wants it. The library releases it (with
// operator delete) when the lookup reaches the open databases, and otherwise
// leaves it to us; we cannot tell which from the result, so whatever is left
// is reclaimed when this short-lived process ends.
DWORD_PTR DeviceKey(const Event& event) {
    std::string id = event.device;
    const bool xbus = event.code == TR_PNP_XBUS;
    if (Win2kDeviceRules()) {
        if (xbus && _strnicmp(id.c_str(), "1394\\", 5) == 0) id.erase(0, 5);  // Win2K texts start below "1394\"
        return reinterpret_cast<DWORD_PTR>(NewText(id));
    }
    if (xbus && _strnicmp(id.c_str(), "1394\\", 5) != 0) id.insert(0, "1394\\");
    auto* info = static_cast<TR_REG_INFO_STRUC*>(::operator new(sizeof(TR_REG_INFO_STRUC)));
    info->dwData1 = info->dwData2 = info->dwData3 = 0;
    info->pszRegPath = NewText(id);
    return reinterpret_cast<DWORD_PTR>(info);
}

const char* FilesOf(WORD mask) {
    switch (mask) {
    case CTrAppDataFinder::kXbus: return "XbusData.dat / XbusCtg.dat";
    case CTrAppDataFinder::kUsb: return "USBData.dat";
    case CTrAppDataFinder::kFlashpod: return "FPData.dat";
    case CTrAppDataFinder::kSKey: return "SKeyData.dat";
    case CTrAppDataFinder::kPPK: return "PPKData.dat";
    case CTrAppDataFinder::kTimer: return "TimrData.dat";
    case CTrAppDataFinder::kJogPPK: return "JPPKData.dat";
    default: return "the data file";
    }
}

}  // namespace

bool ParseEvent(const Args& args, std::size_t from, Event& event, std::size_t& used, std::string& error) {
    if (from >= args.size()) {
        error = "an event is missing (see --help)";
        return false;
    }
    const std::string& name = args[from];
    used = 1;
    auto next = [&](std::string& out) {
        if (from + used >= args.size()) return false;
        out = args[from + used++];
        return true;
    };
    std::string value;
    event.label = name;
    if (name == "ppk") {
        event.kind = Event::Kalvor;
        event.code = 0x0101;
        event.mask = CTrAppDataFinder::kPPK;
        if (from + 1 < args.size() && args[from + 1] == "--code") {
            ++used;
            if (!next(value) || !ParseNumber(value, event.code) || ((event.code >> 8) & 0xFF) != 1) {
                error = "ppk: --code needs a PPK event code (0x01NN)";
                return false;
            }
            event.label += " " + value;
        }
    } else if (name == "skey") {
        DWORD key = 0;
        if (!next(value) || !ParseNumber(value, key) || key == 0 || key > 255) {
            error = "skey: needs a key number from 1 to 255";
            return false;
        }
        event.kind = Event::Kalvor;
        event.code = 0x0200 | key;
        event.label += " " + value;
        event.mask = CTrAppDataFinder::kSKey;
    } else if (name == "timer") {
        event.kind = Event::Timer;
        event.mask = CTrAppDataFinder::kTimer;
    } else if (name == "jppk") {
        event.kind = Event::JogPPK;
        event.mask = CTrAppDataFinder::kJogPPK;
    } else if (name == "fpslot") {
        event.kind = Event::FPSlot;
        event.mask = CTrAppDataFinder::kFlashpod;
    } else if (name == "fpmedia") {
        if (!next(value) || value.empty() || value.size() > 2 || !std::isalpha(static_cast<unsigned char>(value[0])) ||
            (value.size() == 2 && value[1] != ':')) {
            error = "fpmedia: needs a drive letter A to Z";
            return false;
        }
        event.kind = Event::PnP;
        event.code = TR_PNP_FPMEDIA_DRIVE;
        event.drive = static_cast<DWORD>(std::toupper(static_cast<unsigned char>(value[0])) - 'A');
        event.mask = CTrAppDataFinder::kFlashpod;
        event.label += " " + value;
    } else if (name == "usb" || name == "ieee1394") {
        if (!next(event.device) || event.device.empty()) {
            error = name + ": needs a device identifier";
            return false;
        }
        event.kind = Event::PnP;
        event.code = name == "usb" ? TR_PNP_USB : TR_PNP_XBUS;
        event.mask = name == "usb" ? CTrAppDataFinder::kUsb : CTrAppDataFinder::kXbus;
        event.label += " " + event.device;
    } else {
        error = "unknown event '" + name + "' (see --help)";
        return false;
    }
    return true;
}

int LookUp(const Event& event, TR_APP_DATA_STRUC& block) {
    int found = FALSE;
    switch (event.kind) {
    case Event::Kalvor: found = TrComGetAppDataOfKalvorEvent(&block, event.code); break;
    case Event::Timer: found = TrComGetAppDataOfTimer(&block); break;
    case Event::JogPPK: found = TrComGetAppDataOfJogPPK(&block); break;
    case Event::FPSlot: found = TrComGetAppDataOfFPSlot(&block); break;
    case Event::PnP:
        found = TrComGetAppDataOfPnPEvent(&block, event.code,
                                          event.code == TR_PNP_FPMEDIA_DRIVE ? event.drive << 24 : DeviceKey(event));
        break;
    }
    if (found) return kExitOk;
    CTrAppDataFinder finder;
    const int failed = finder.OpenDataBases(event.mask);
    finder.CloseDataBases();
    if (failed == 0xFFFF) return Fail(kExitSystem, event.label + ": TrLocale.DLL cannot be loaded");
    if (failed) return Fail(kExitDataFile, event.label + ": " + FilesOf(event.mask) + " cannot be read");
    return Fail(kExitNoBinding, event.label + ": no application is bound to this event");
}

void PrintBlock(const Event& event, const TR_APP_DATA_STRUC& block) {
    std::printf("event        %s\ntitle        %s\ndescription  %s\npath         %s\nworkdir      %s\noption       %s\n",
                event.label.c_str(), block.szTitle, block.szDescription, block.szPath, block.szWorkDir,
                block.szOption);
}

}  // namespace trctl
