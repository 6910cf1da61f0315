// HotKeyMap.cpp - combinations in words, the defaults and the user's values.
#include "HotKeyMap.h"

#include "ProductKey.h"

#include "base/TrHandle.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace trelvane {
namespace {

constexpr char kHotKeysSubKey[] = "HotKeys";

struct Modifier {
    const char* name;
    UINT bit;
};
// The order combinations are written in.
constexpr Modifier kModifiers[] = {{"Win", MOD_WIN}, {"Ctrl", MOD_CONTROL}, {"Alt", MOD_ALT}, {"Shift", MOD_SHIFT}};

struct NamedKey {
    const char* name;
    UINT key;
};
constexpr NamedKey kNamedKeys[] = {
    {"Insert", VK_INSERT}, {"Delete", VK_DELETE},     {"Home", VK_HOME},       {"End", VK_END},
    {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT},     {"Up", VK_UP},           {"Down", VK_DOWN},
    {"Left", VK_LEFT},     {"Right", VK_RIGHT},       {"Space", VK_SPACE},     {"Tab", VK_TAB},
    {"Enter", VK_RETURN},  {"Esc", VK_ESCAPE},        {"Backspace", VK_BACK},  {"Pause", VK_PAUSE},
    {"ScrollLock", VK_SCROLL}, {"PrintScreen", VK_SNAPSHOT},
};

std::string KeyText(UINT key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return "NumPad" + std::to_string(key - VK_NUMPAD0);
    for (const auto& k : kNamedKeys)
        if (k.key == key) return k.name;
    char hex[8];
    std::snprintf(hex, sizeof(hex), "0x%02X", key);
    return hex;
}

// A key name (one word of a combination), or 0.
UINT KeyFromWord(const std::string& word) {
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0])))
        return static_cast<UINT>(std::toupper(static_cast<unsigned char>(word[0])));
    const auto number = [&](std::size_t from, int low, int high) {
        if (word.size() <= from || word.size() > from + 2) return -1;
        for (std::size_t i = from; i < word.size(); ++i)
            if (!std::isdigit(static_cast<unsigned char>(word[i]))) return -1;
        const int n = std::atoi(word.c_str() + from);
        return n >= low && n <= high ? n : -1;
    };
    if ((word[0] == 'F' || word[0] == 'f') && number(1, 1, 24) > 0) return VK_F1 + number(1, 1, 24) - 1;
    if (_strnicmp(word.c_str(), "NumPad", 6) == 0 && number(6, 0, 9) >= 0) return VK_NUMPAD0 + number(6, 0, 9);
    for (const auto& k : kNamedKeys)
        if (_stricmp(k.name, word.c_str()) == 0) return k.key;
    if (word.size() > 2 && word.size() <= 4 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        char* end = nullptr;
        const unsigned long code = std::strtoul(word.c_str() + 2, &end, 16);
        if (*end == '\0' && code > 0 && code < 0xFF) return static_cast<UINT>(code);
    }
    return 0;
}

const char* ModifierName(UINT bit) {
    for (const auto& m : kModifiers)
        if (m.bit == bit) return m.name;
    return "?";
}

bool EventFromValueName(const std::string& name, DWORD& code) {
    if (_stricmp(name.c_str(), "PPK") == 0) {
        code = kPpkEvent;
        return true;
    }
    if (_strnicmp(name.c_str(), "SKey", 4) != 0 || name.size() < 5 || name.size() > 7) return false;
    for (std::size_t i = 4; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    const int n = std::atoi(name.c_str() + 4);
    if (n < 1 || n > 255 || name[4] == '0') return false;
    code = kSKeyEvent + static_cast<DWORD>(n);
    return true;
}

// What a combination may not be for the event, apart from clashes.
std::string ShapeProblem(DWORD code, const Combination& c) {
    if (code == kPpkEvent && (c.modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT)))
        return "the PPK combination may not hold Alt, Ctrl or Shift: the server adds each of them itself for "
               "the PPK key's other three bindings";
    if (!(c.modifiers & (MOD_WIN | MOD_CONTROL | MOD_ALT)))
        return "a hot key needs Win, Ctrl or Alt, or it would take the key from every program";
    return std::string();
}

}  // namespace

std::string CombinationText(const Combination& c) {
    if (c.Empty()) return std::string();
    std::string text;
    for (const auto& m : kModifiers)
        if (c.modifiers & m.bit) text += std::string(m.name) + "+";
    return text + KeyText(c.key);
}

bool ParseCombination(const std::string& text, Combination& combination, std::string& error) {
    Combination c;
    if (text.empty() || _stricmp(text.c_str(), "none") == 0) {
        combination = c;
        return true;
    }
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t plus = std::min(text.find('+', start), text.size());
        const std::string word = text.substr(start, plus - start);
        start = plus + 1;
        UINT bit = _stricmp(word.c_str(), "Control") == 0 ? MOD_CONTROL : 0;
        for (const auto& m : kModifiers)
            if (_stricmp(m.name, word.c_str()) == 0) bit = m.bit;
        if (word.empty()) {
            error = "'" + text + "' has an empty part";
        } else if (bit && (c.modifiers & bit)) {
            error = "'" + text + "' names " + ModifierName(bit) + " twice";
        } else if (bit) {
            c.modifiers |= bit;
            continue;
        } else if (c.key) {
            error = "'" + text + "' names more than one key";
        } else if (!(c.key = KeyFromWord(word))) {
            error = "'" + word + "' in '" + text + "' is no key name (A-Z, 0-9, F1-F24, Insert, Home, ...)";
        } else {
            continue;
        }
        return false;
    }
    if (!c.key) {
        error = "'" + text + "' names no key";
        return false;
    }
    combination = c;
    return true;
}

std::string EventValueName(DWORD code) {
    return code == kPpkEvent ? "PPK" : "SKey" + std::to_string(code - kSKeyEvent);
}

std::string EventLabel(DWORD code) {
    return code == kPpkEvent ? "ppk" : "skey " + std::to_string(code - kSKeyEvent);
}

bool EventFromWords(const std::vector<std::string>& words, DWORD& code, std::string& error) {
    if (words.size() == 1 && words[0] == "ppk") {
        code = kPpkEvent;
        return true;
    }
    if (words.size() == 2 && words[0] == "skey" && EventFromValueName("SKey" + words[1], code)) return true;
    error = words.size() == 2 && words[0] == "skey" ? "skey: '" + words[1] + "' is not a number from 1 to 255"
                                                    : "the event is 'ppk' or 'skey N' (N from 1 to 255)";
    return false;
}

std::vector<Registration> RegistrationsOf(const HotKey& hotKey) {
    std::vector<Registration> out;
    if (hotKey.combination.Empty()) return out;
    out.push_back({hotKey.code, hotKey.combination});
    if (hotKey.code == kPpkEvent)
        for (UINT bit : {MOD_ALT, MOD_CONTROL, MOD_SHIFT})
            out.push_back({hotKey.code, {hotKey.combination.modifiers | bit, hotKey.combination.key}});
    return out;
}

// Win+F1..F12 for SKey 1 to 12, Win+Insert for the PPK key.
Combination DefaultCombination(DWORD code) {
    if (code == kPpkEvent) return {MOD_WIN, VK_INSERT};
    if (code > kSKeyEvent && code <= kSKeyEvent + 12) return {MOD_WIN, VK_F1 + (code - kSKeyEvent) - 1};
    return {};
}

std::string HotKeysKeyPath() { return UserKeyPath(kHotKeysSubKey); }

std::string CombinationProblem(const HotKeyMap& map, DWORD code, const Combination& combination) {
    if (combination.Empty()) return std::string();
    const std::string shape = ShapeProblem(code, combination);
    if (!shape.empty()) return shape;
    HotKey wanted;
    wanted.code = code;
    wanted.combination = combination;
    for (const auto& mine : RegistrationsOf(wanted))
        for (const auto& other : map.hotKeys)
            if (other.code != code)
                for (const auto& theirs : RegistrationsOf(other))
                    if (theirs.combination == mine.combination)
                        return CombinationText(mine.combination) + " is taken by " + EventLabel(other.code);
    return std::string();
}

HotKeyMap ReadHotKeyMap() {
    HotKeyMap map;
    std::map<DWORD, HotKey> byCode;
    for (DWORD code = kPpkEvent; code <= kSKeyEvent + 12; code = code == kPpkEvent ? kSKeyEvent + 1 : code + 1)
        byCode[code] = HotKey{code, DefaultCombination(code), Origin::Default, std::string()};

    const std::string path = HotKeysKeyPath();
    tr::RegKey key;
    if (path.empty()) map.readable = false;
    else if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) key.Reset();
    for (DWORD index = 0; key; ++index) {
        char name[64], data[128];
        DWORD nameSize = sizeof(name), dataSize = sizeof(data) - 1, type = 0;
        const LONG rc = ::RegEnumValueA(key.Get(), index, name, &nameSize, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data), &dataSize);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        DWORD code = 0;
        if (rc == ERROR_MORE_DATA || rc != ERROR_SUCCESS || !EventFromValueName(name, code)) {
            map.problems.push_back("HotKeys value '" + std::string(rc == ERROR_SUCCESS ? name : "?") +
                                   "' is not PPK or SKey1 to SKey255 (or is too long); it is ignored");
            continue;
        }
        data[dataSize] = '\0';
        HotKey hotKey{code, {}, Origin::User, std::string()};
        std::string error;
        if (type != REG_SZ) error = "is no text (REG_SZ)";
        else if (!ParseCombination(data, hotKey.combination, error)) error = "cannot be read: " + error;
        else if (hotKey.combination.Empty()) hotKey.origin = Origin::Cleared;
        else error = ShapeProblem(code, hotKey.combination);
        if (!error.empty()) {
            hotKey.combination = {};
            hotKey.origin = Origin::Refused;
            hotKey.problem = "hot key of " + EventLabel(code) + " (HotKeys value " + name + ") " + error;
            map.problems.push_back(hotKey.problem);
        }
        byCode[code] = hotKey;
    }

    // Clashes: the event first in order keeps the combination.
    for (auto& entry : byCode) {
        HotKey& hotKey = entry.second;
        const std::string clash = CombinationProblem(map, hotKey.code, hotKey.combination);
        if (!clash.empty()) {
            hotKey.problem = "hot key of " + EventLabel(hotKey.code) + " refused: " + clash;
            map.problems.push_back(hotKey.problem);
            hotKey.combination = {};
            hotKey.origin = Origin::Refused;
        }
        if (hotKey.origin != Origin::Default || !hotKey.combination.Empty()) map.hotKeys.push_back(hotKey);
    }
    return map;
}

bool WriteHotKey(DWORD code, const std::string& text, bool restoreDefault) {
    const std::string path = HotKeysKeyPath();
    if (path.empty()) return false;
    const std::string name = EventValueName(code);
    if (restoreDefault) {
        const LONG rc = ::RegDeleteKeyValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str());
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    return ::RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), REG_SZ, text.c_str(),
                             static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace trelvane
