// EventArgs.cpp - parsing an event from the command line and looking it up.
#include "EventArgs.h"

#include "DataFiles.h"

#include "Diagnosis.h"

#include "base/TrHandle.h"
#include "include/TrCommonClasses.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

namespace trctl {

namespace {

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

// Why the databases of a failed lookup did not open: the first file of the
// mask that cannot be used, reported with its exit code. A key file without
// sections is read well but fails every lookup: nothing is bound there.
int FilesFailure(const std::string& label, WORD mask) {
    for (const auto& f : trelvane::kDataFileSlots) {
        if (!(mask & f.bit)) continue;
        DataFileLoad load;
        if (f.numeral) {
            CTrNumeralKeyDB db;
            load = LoadDataFile(db, f.pathIndex);
            // A key file without sections loads, but the lookup takes it as failed.
            if (load.result == TR_DB_NO_SECTION)
                return Fail(kExitNoBinding, label + ": no application is bound to this event (" + load.name +
                                                " holds no binding at all)");
        } else {
            CTrStringKeyDB db;
            load = LoadDataFile(db, f.pathIndex);
        }
        if (!load.problem.empty()) return Fail(kExitDataFile, label + ": " + load.problem);
    }
    return Fail(kExitDataFile, label + ": a data file cannot be read");
}

// On Win2K an IEEE 1394 device is found only when the system knows it.
bool DeviceKnown(const std::string& id) {
    std::string below = id;
    if (_strnicmp(below.c_str(), "1394\\", 5) == 0) below.erase(0, 5);
    tr::RegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("SYSTEM\\CurrentControlSet\\Enum\\1394\\" + below).c_str(), 0, KEY_READ,
                        key.Put()) != ERROR_SUCCESS)
        return false;
    return ::RegQueryValueExA(key.Get(), "DeviceDesc", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool ParsePpk(const Options& options, Event& event, std::string& error) {
    event.kind = Event::Kalvor;
    event.code = 0x0101;
    event.mask = CTrAppDataFinder::kPPK;
    long long code = 0x0101;
    if (!NumberOption(options, "--code", 0x0100, 0x01FF, code, error)) return false;
    event.code = static_cast<DWORD>(code);
    char text[32];
    if (event.code != 0x0101) {
        std::snprintf(text, sizeof(text), " --code 0x%04lX", static_cast<unsigned long>(event.code));
        event.label += text;
    }
    // The lookup counts only the first modifier held, in this order.
    static const struct { const char* option; DWORD bit; } modifiers[] = {
        {"--alt", TR_EVENT_ALT}, {"--ctrl", TR_EVENT_CTRL}, {"--shift", TR_EVENT_SHIFT}};
    int count = 0;
    for (const auto& m : modifiers) {
        if (!options.Has(m.option)) continue;
        event.code |= m.bit;
        event.label += std::string(" ") + m.option;
        ++count;
    }
    if (count > 1) {
        error = "ppk: give at most one of --alt, --ctrl and --shift (the lookup counts only the first key held)";
        return false;
    }
    return true;
}

}  // namespace

bool Win2kDeviceRules() {
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    return ::GetVersionExA(&v) && v.dwMajorVersion == 5 && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool ParseEvent(const Options& options, std::size_t from, Event& event, std::size_t& used, std::string& error,
                bool allowCategory) {
    const Args& args = options.Positional();
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
    event.label = name;
    if (name != "ppk") {
        for (const char* o : {"--code", "--alt", "--ctrl", "--shift"}) {
            if (!options.Has(o)) continue;
            error = std::string(o) + " belongs to the ppk event only";
            return false;
        }
    }
    std::string value;
    if (name == "ppk") {
        return ParsePpk(options, event, error);
    } else if (name == "skey") {
        long long key = 0;
        if (!next(value) || !ParseNumber(value, 1, 255, key)) {
            error = used == 1 ? "skey: needs a key number from 1 to 255" : NumberError("skey", value, 1, 255);
            return false;
        }
        event.kind = Event::Kalvor;
        event.code = TR_EVENT_SKEY | static_cast<DWORD>(key);
        event.label += " " + std::to_string(key);
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
        event.label += std::string(" ") + static_cast<char>('A' + event.drive);
    } else if (name == "usb" || name == "ieee1394" || (allowCategory && name == "category")) {
        if (!next(event.device) || event.device.empty()) {
            error = name + (name == "category" ? ": needs a category name" : ": needs a device identifier");
            return false;
        }
        event.kind = name == "category" ? Event::Category : Event::PnP;
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
    case Event::Category: break;  // not an event of its own: found through its devices
    }
    if (found) return kExitOk;
    CTrAppDataFinder finder;
    const int failed = finder.OpenDataBases(event.mask);
    finder.CloseDataBases();
    if (failed == 0xFFFF) return Fail(kExitSystem, event.label + ": TrLocale.DLL cannot be loaded");
    if (failed) return FilesFailure(event.label, event.mask);
    if (event.kind == Event::PnP && event.code == TR_PNP_XBUS && Win2kDeviceRules() && !DeviceKnown(event.device))
        return Fail(kExitNoBinding, event.label +
                                        ": no application is found: this system does not know the device (its "
                                        "Enum\\1394 key has no DeviceDesc value)");
    return Fail(kExitNoBinding, event.label + ": no application is bound to this event");
}

void PrintBlock(const Event& event, const TR_APP_DATA_STRUC& block) {
    std::printf("event        %s\ntitle        %s\ndescription  %s\npath         %s\nworkdir      %s\noption       %s\n",
                event.label.c_str(), block.szTitle, block.szDescription, block.szPath, block.szWorkDir,
                block.szOption);
}

}  // namespace trctl
