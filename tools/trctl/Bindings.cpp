// Bindings.cpp - events to data files and keys, as the lookup maps them.
#include "Bindings.h"

#include "include/TrCommonClasses.h"

#include <cstdio>

namespace trctl {
namespace {

constexpr DWORD kTimerKey = 0x02000000;  // GenerateKey(2, 0): the timer's high part
constexpr DWORD kJogPpkKey = 0x03000000; // GenerateKey(3, 0): the jog dial's PPK key

// The high part of a Flashpod medium's key, as the lookup works it out:
// "Flashpod=5" in the launch profile makes it 1, else a drive other than A
// (bits 24 to 31 of the device key) gives 0.
DWORD FlashpodHighPart(DWORD drive) {
    char ini[MAX_PATH] = "";
    if (TrComGetPath(TR_PATH_LAUNCH_INI, ini) && ::GetPrivateProfileIntA("TrConfig", "Flashpod", 0, ini) == 5)
        return 1;
    return drive != 0 ? 0 : 1;
}

// The unique key of an IEEE 1394 device, by the running family's rules.
bool XbusKey(const std::string& id, std::string& key, std::string& error) {
    if (Win2kDeviceRules()) {
        std::string below = id;
        if (_strnicmp(below.c_str(), "1394\\", 5) == 0) below.erase(0, 5);
        const std::size_t slash = below.find('\\');
        key = slash == std::string::npos ? below : below.substr(slash + 1);
        if (key.size() < 16) key.insert(0, 16 - key.size(), '0');
        return true;
    }
    const std::string path = _strnicmp(id.c_str(), "1394\\", 5) == 0 ? id : "1394\\" + id;
    std::string type;
    if (CTrAppDataFinder::ExtractLastKey(path, key) && CTrAppDataFinder::ExtractSecondKey(path, type)) return true;
    error = "ieee1394: the identifier needs the form 1394\\<device>\\<unique id>";
    return false;
}

}  // namespace

const std::vector<BindingKind>& BindingKinds() {
    static const std::vector<BindingKind> kinds = {
        {"ppk", TR_PATH_PPK_DATA, true},          {"skey", TR_PATH_SKEY_DATA, true},
        {"timer", TR_PATH_TIMER_DATA, true},      {"jppk", TR_PATH_JPPK_DATA, true},
        {"fp", TR_PATH_FP_DATA, true},            {"usb", TR_PATH_USB_DATA, false},
        {"ieee1394", TR_PATH_XBUS_DATA, false},   {"category", TR_PATH_XBUS_CATEGORY, false},
    };
    return kinds;
}

const BindingKind* FindBindingKind(const std::string& name) {
    for (const auto& k : BindingKinds())
        if (name == k.name) return &k;
    return nullptr;
}

bool PlaceOf(const Event& event, BindingPlace& place, std::string& error) {
    switch (event.kind) {
    case Event::Kalvor:
        place.kind = FindBindingKind(((event.code >> 8) & 0xFF) == 2 ? "skey" : "ppk");
        place.key = event.code;
        return true;
    case Event::Timer: place.kind = FindBindingKind("timer"); place.key = kTimerKey; return true;
    case Event::JogPPK: place.kind = FindBindingKind("jppk"); place.key = kJogPpkKey; return true;
    case Event::FPSlot: place.kind = FindBindingKind("fp"); place.key = TR_EVENT_FPSLOT; return true;
    case Event::Category:
        place.kind = FindBindingKind("category");
        place.textKey = event.device;
        if (event.device.find('\\') == std::string::npos) return true;
        error = "category: a category name holds no backslash (the part of 1394\\<category>\\<id>)";
        return false;
    case Event::PnP:
        break;
    }
    if (event.code == TR_PNP_FPMEDIA_DRIVE) {
        place.kind = FindBindingKind("fp");
        place.key = CTrNumeralKeyDB::GenerateKey(FlashpodHighPart(event.drive), TR_PNP_FPMEDIA);
        return true;
    }
    if (event.code == TR_PNP_USB) {
        place.kind = FindBindingKind("usb");
        if (CTrAppDataFinder::ExtractSecondKey(event.device, place.textKey)) return true;
        error = "usb: the identifier needs the form <enumerator>\\<device>\\<instance>";
        return false;
    }
    place.kind = FindBindingKind("ieee1394");
    return XbusKey(event.device, place.textKey, error);
}

std::string EventOfKey(const BindingKind& kind, DWORD key, const std::string& textKey) {
    const std::string name = kind.name;
    char text[64] = "";
    if (name == "ppk" && (key & 0xFF00) == TR_EVENT_PPK) {
        const DWORD modifier = key >> 16;
        if (modifier != 0 && modifier != 1 && modifier != 2 && modifier != 4) return std::string();
        std::string event = "ppk";
        if ((key & 0xFFFF) != 0x0101) {
            std::snprintf(text, sizeof(text), " --code 0x%04lX", static_cast<unsigned long>(key & 0xFFFF));
            event += text;
        }
        return event + (modifier == 1 ? " --alt" : modifier == 2 ? " --ctrl" : modifier == 4 ? " --shift" : "");
    }
    if (name == "skey" && key > TR_EVENT_SKEY && key <= (TR_EVENT_SKEY | 0xFF))
        return "skey " + std::to_string(key & 0xFF);
    if (name == "timer" && key == kTimerKey) return "timer";
    if (name == "jppk" && key == kJogPpkKey) return "jppk";
    if (name == "fp" && key == TR_EVENT_FPSLOT) return "fpslot";
    if (name == "fp" && key == CTrNumeralKeyDB::GenerateKey(1, TR_PNP_FPMEDIA)) return "fpmedia A";
    if (kind.numeral || textKey.empty() || textKey.find('\\') != std::string::npos) return std::string();
    if (name == "usb") return "usb USB\\" + textKey + "\\*";
    if (name == "ieee1394") return textKey.size() < 16 ? std::string() : "ieee1394 1394\\*\\" + textKey;
    return "category " + textKey;
}

}  // namespace trctl
