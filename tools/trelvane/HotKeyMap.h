// HotKeyMap.h - which key combination stands for which PPK or SKey key: the
// defaults, the user's own choices in the "HotKeys" sub-key of the product
// key, and the text form both Trelvane.exe and trctl use.
//
// The sub-key holds one REG_SZ value per event whose combination the user
// changed: the name "PPK" or "SKey<n>" (n = 1 to 255), the data a combination
// such as "Win+F5" or "Win+Ctrl+Alt+K", or "" for no hot key at all. An
// event without a value keeps its default: Win+F1 to Win+F12 for SKey 1 to
// 12, Win+Insert for the PPK key, none for the other SKey keys.
//
// The PPK lookup adds a modifier bit from the keys held at the moment of the
// lookup (Alt first, then Ctrl, then Shift), so that one PPK key has four
// bindings. The PPK combination therefore holds none of Alt, Ctrl and Shift
// itself (or every press would carry that bit): the server registers it
// alone and once with each of the three added, and all four reach their
// bindings.
#ifndef TRELVANE_HOTKEYMAP_H
#define TRELVANE_HOTKEYMAP_H

#include <windows.h>

#include <string>
#include <vector>

namespace trelvane {

// A combination as RegisterHotKey takes it: MOD_* bits and a virtual key.
struct Combination {
    UINT modifiers = 0;
    UINT key = 0;
    bool Empty() const { return key == 0; }
    bool operator==(const Combination& o) const { return modifiers == o.modifiers && key == o.key; }
};

// "Win+Ctrl+Alt+Shift+<key>" with the modifiers in that order; "" for none.
std::string CombinationText(const Combination& combination);
// Reads a combination: modifier names and one key, joined by '+', in any
// order and letter case ("ctrl+win+f5"). Keys are A to Z, 0 to 9, F1 to F24,
// the named keys (Insert, Delete, Home, End, PageUp, PageDown, Up, Down,
// Left, Right, Space, Tab, Enter, Esc, Backspace, Pause, ScrollLock,
// PrintScreen, NumPad0 to NumPad9) or a virtual key code in hexadecimal
// ("0x7B"). "" and "none" give the empty combination. False with the reason.
bool ParseCombination(const std::string& text, Combination& combination, std::string& error);

// The events that take hot keys, by their lookup event code.
constexpr DWORD kPpkEvent = 0x0101;     // the PPK key (TR_EVENT_PPK | 1)
constexpr DWORD kSKeyEvent = 0x0200;    // SKey n is kSKeyEvent + n
std::string EventValueName(DWORD code);  // "PPK", "SKey7"
std::string EventLabel(DWORD code);      // "ppk", "skey 7": the event as trctl names it
// An event from its label's words ("ppk" or "skey" and a number 1 to 255).
bool EventFromWords(const std::vector<std::string>& words, DWORD& code, std::string& error);

// Where an event's combination comes from.
enum class Origin { Default, User, Cleared, Refused };

struct HotKey {
    DWORD code = 0;
    Combination combination;  // empty for Cleared and Refused
    Origin origin = Origin::Default;
    std::string problem;  // why a user value was refused
};

// One registration the server makes: PPK gives four (alone, +Alt, +Ctrl,
// +Shift), an SKey key one.
struct Registration {
    DWORD code;
    Combination combination;
};
std::vector<Registration> RegistrationsOf(const HotKey& hotKey);

// The event's combination when the user set none (empty for SKey 13 to 255).
Combination DefaultCombination(DWORD code);

// The map in effect: every event with a default or a user value, in event
// order (PPK first). A user value that does not parse, a PPK combination
// with Alt, Ctrl or Shift, a combination without Win, Ctrl or Alt, and a
// combination another event of the map takes already (the earlier event
// keeps it) are Refused with the problem named; unknown value names are
// reported in 'problems'.
struct HotKeyMap {
    std::vector<HotKey> hotKeys;
    std::vector<std::string> problems;  // the refusals and unknown names, in words
    bool readable = true;               // false when the product key cannot be found
};
HotKeyMap ReadHotKeyMap();

// Why the combination cannot serve the event in the current map (the
// checks of ReadHotKeyMap), or "" when it can.
std::string CombinationProblem(const HotKeyMap& map, DWORD code, const Combination& combination);

// The sub-key's path under HKEY_CURRENT_USER ("" without TrLocale.DLL).
std::string HotKeysKeyPath();
// Stores the event's combination ("" for none), or with restoreDefault removes its
// value so the default applies again. False when the key cannot be written.
bool WriteHotKey(DWORD code, const std::string& text, bool restoreDefault);

}  // namespace trelvane

#endif  // TRELVANE_HOTKEYMAP_H
