// CmdHotKeys.cpp - the resident server's hot keys: which key combination
// stands for which PPK or SKey key ("HotKeys" under the user's product key;
// see tools/trelvane/HotKeyMap.h for the values), and pressing one.
#include "Json.h"
#include "Options.h"

#include "HotKeyMap.h"
#include "ProductKey.h"

#include "include/TrCommon.h"

#include <cstdio>

namespace trctl {
namespace {

using trelvane::Combination;
using trelvane::HotKey;
using trelvane::Origin;

const char* OriginWord(Origin origin) {
    switch (origin) {
    case Origin::Default: return "default";
    case Origin::User: return "set";
    case Origin::Cleared: return "cleared";
    case Origin::Refused: return "refused";
    }
    return "";
}

std::vector<std::string> RegistrationTexts(const HotKey& hotKey) {
    std::vector<std::string> texts;
    for (const auto& r : trelvane::RegistrationsOf(hotKey)) texts.push_back(trelvane::CombinationText(r.combination));
    return texts;
}

int List(bool json) {
    const trelvane::HotKeyMap map = trelvane::ReadHotKeyMap();
    const std::string key = trelvane::HotKeysKeyPath();
    if (!map.readable) return Fail(kExitSystem, "hotkeys: the product key table cannot be read (no TrLocale.DLL?)");
    HWND server = nullptr;
    const bool running = TrComGetServer(&server) && server && ::IsWindow(server);
    if (json) {
        Json hotKeys = Json::array();
        for (const auto& h : map.hotKeys) {
            const std::string text = trelvane::CombinationText(h.combination);
            hotKeys.push_back({{"event", trelvane::EventLabel(h.code)},
                               {"combination", text.empty() ? Json(nullptr) : Json(text)},
                               {"origin", OriginWord(h.origin)},
                               {"registrations", RegistrationTexts(h)}});
        }
        Json problems = Json::array();
        for (const auto& p : map.problems) problems.push_back(Utf8(p));
        PrintJson({{"key", Utf8("HKEY_CURRENT_USER\\" + key)}, {"hotKeys", hotKeys}, {"problems", problems},
                   {"serverRunning", running}});
        return kExitOk;
    }
    std::printf("hot keys (HKEY_CURRENT_USER\\%s)\n", key.c_str());
    for (const auto& h : map.hotKeys) {
        const std::vector<std::string> all = RegistrationTexts(h);
        std::string shown = all.empty() ? "none" : all[0];
        for (std::size_t i = 1; i < all.size(); ++i) shown += (i == 1 ? "  (and " : ", ") + all[i];
        if (all.size() > 1) shown += ")";
        std::printf("  %-9s %-8s %s\n", trelvane::EventLabel(h.code).c_str(), OriginWord(h.origin), shown.c_str());
    }
    for (const auto& p : map.problems) std::printf("  problem: %s\n", p.c_str());
    std::printf("the server %s\n", running ? "runs and uses these" : "does not run; Trelvane.exe reads these at its start");
    return kExitOk;
}

// The event named by the words, and the combination after them for set.
bool EventWords(const Args& words, std::size_t from, std::size_t tail, DWORD& code, std::string& error) {
    if (words.size() < from + 1 + tail) {
        error = "name the event (ppk or skey N)";
        return false;
    }
    const Args event(words.begin() + static_cast<std::ptrdiff_t>(from), words.end() - static_cast<std::ptrdiff_t>(tail));
    return trelvane::EventFromWords(event, code, error);
}

void Told(const std::string& what) {
    std::printf("%s%s\n", what.c_str(),
                trelvane::TellServerToReload() ? " (the running server reads it now)"
                                               : " (no server runs; Trelvane.exe reads it at its start)");
}

int Change(const std::string& verb, const Args& words) {
    DWORD code = 0;
    std::string error;
    if (!EventWords(words, 1, verb == "set" ? 1 : 0, code, error)) return Fail(kExitUsage, "hotkeys " + verb + ": " + error);
    const trelvane::HotKeyMap map = trelvane::ReadHotKeyMap();
    Combination combination;
    if (verb == "set" && !trelvane::ParseCombination(words.back(), combination, error))
        return Fail(kExitUsage, "hotkeys set: " + error);
    if (verb == "default") combination = trelvane::DefaultCombination(code);
    const std::string problem = trelvane::CombinationProblem(map, code, combination);
    if (!problem.empty()) return Fail(kExitUsage, "hotkeys " + verb + ": " + problem);
    const std::string text = trelvane::CombinationText(combination);
    if (!trelvane::WriteHotKey(code, text, verb == "default"))
        return Fail(kExitSystem, "hotkeys: HKEY_CURRENT_USER\\" + trelvane::HotKeysKeyPath() + " cannot be written");
    Told(trelvane::EventLabel(code) + ": " + (text.empty() ? "no hot key" : text) +
         (verb == "default" ? " (the default)" : ""));
    return kExitOk;
}

// Key down and up events for a combination, the modifiers held meanwhile.
void Press(const Combination& c, unsigned holdMs) {
    static const struct { UINT bit; BYTE key; } modifiers[] = {
        {MOD_WIN, VK_LWIN}, {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}, {MOD_SHIFT, VK_SHIFT}};
    const bool extended = (c.key >= VK_PRIOR && c.key <= VK_DOWN) || c.key == VK_INSERT || c.key == VK_DELETE;
    const DWORD flags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    for (const auto& m : modifiers)
        if (c.modifiers & m.bit) ::keybd_event(m.key, 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(c.key), 0, flags, 0);
    ::keybd_event(static_cast<BYTE>(c.key), 0, flags | KEYEVENTF_KEYUP, 0);
    // The PPK lookup reads the modifiers when the server serves the key.
    ::Sleep(holdMs);
    for (const auto& m : modifiers)
        if (c.modifiers & m.bit) ::keybd_event(m.key, 0, KEYEVENTF_KEYUP, 0);
}

int RunPress(const Options& o) {
    const Args& words = o.Positional();
    DWORD code = 0;
    std::string error;
    long long hold = 1000;
    if (!EventWords(words, 1, 0, code, error)) return Fail(kExitUsage, "hotkeys press: " + error);
    if (!NumberOption(o, "--hold", 0, 60000, hold, error)) return Fail(kExitUsage, "hotkeys press: " + error);
    int extra = 0;
    UINT bit = 0;
    for (const auto& m : {std::make_pair("--alt", MOD_ALT), std::make_pair("--ctrl", MOD_CONTROL),
                          std::make_pair("--shift", MOD_SHIFT)})
        if (o.Has(m.first)) bit = m.second, ++extra;
    if (extra > 1 || (extra && code != trelvane::kPpkEvent))
        return Fail(kExitUsage, "hotkeys press: at most one of --alt, --ctrl, --shift, and only for ppk");
    const trelvane::HotKeyMap map = trelvane::ReadHotKeyMap();
    Combination combination;
    for (const auto& h : map.hotKeys)
        if (h.code == code) combination = h.combination;
    if (combination.Empty())
        return Fail(kExitUsage, "hotkeys press: " + trelvane::EventLabel(code) + " has no hot key");
    combination.modifiers |= bit;
    Press(combination, static_cast<unsigned>(hold));
    std::printf("pressed %s (%s)\n", trelvane::CombinationText(combination).c_str(), trelvane::EventLabel(code).c_str());
    return kExitOk;
}

}  // namespace

int RunHotKeys(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("hotkeys", args,
                      {{"--json", false}, {"--hold", true}, {"--alt", false}, {"--ctrl", false}, {"--shift", false}}, o,
                      rc))
        return rc;
    const Args& words = o.Positional();
    const std::string verb = words.empty() ? "" : words[0];
    if (verb != "press") {
        if (const char* other = o.OtherThan({"--json"}))
            return Fail(kExitUsage, "hotkeys: " + std::string(other) + " belongs to 'hotkeys press'");
    }
    if (verb.empty()) return List(o.Has("--json"));
    if (o.Has("--json")) return Fail(kExitUsage, "hotkeys: --json lists; it takes no " + verb);
    if (verb == "set" || verb == "clear" || verb == "default") return Change(verb, words);
    if (verb == "press") return RunPress(o);
    return Fail(kExitUsage, "hotkeys: unknown word '" + verb + "' (set, clear, default, press)");
}

}  // namespace trctl
