// CmdSettings.cpp - printing and changing a family's settings through the
// settings exports. Every assignment is checked before anything is written.
#include "Json.h"
#include "Options.h"
#include "Settings.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace trctl {
namespace {

std::string Names(const SettingFamily& family) {
    std::string names;
    for (const auto& g : family.groups)
        for (const auto& s : g.settings) names += (names.empty() ? "" : ", ") + std::string(s.name);
    return names;
}

std::string FamilyNames() {
    std::string names;
    for (const auto& f : SettingFamilies()) names += (names.empty() ? "" : ", ") + std::string(f.name);
    return names;
}

int Print(const SettingFamily& family, const std::string& key, bool json) {
    Json settings = Json::array();
    if (!json) std::printf("%s settings (HKEY_CURRENT_USER\\%s)\n", family.name, key.c_str());
    for (const auto& group : family.groups) {
        SettingValues values;
        const int read = group.read(HKEY_CURRENT_USER, key.c_str(), values);
        for (std::size_t i = 0; i < group.settings.size(); ++i) {
            const SettingInfo& s = group.settings[i];
            const SettingValue& v = values[i];
            if (json) {
                settings.push_back({{"name", s.name},
                                    {"value", s.text ? Json(Utf8(v.text)) : Json(v.number)},
                                    {"allowed", s.allowed},
                                    {"read", read != 0}});
                continue;
            }
            const std::string shown = s.text ? "\"" + v.text + "\"" : std::to_string(v.number);
            std::printf("  %-15s %-12s %s%s\n", s.name, shown.c_str(), s.allowed, read ? "" : "  (default)");
        }
    }
    if (json) PrintJson({{"family", family.name}, {"key", Utf8("HKEY_CURRENT_USER\\" + key)}, {"settings", settings}});
    return kExitOk;
}

}  // namespace

int RunSettings(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("settings", args, {{"--json", false}}, o, rc)) return rc;
    const Args& words = o.Positional();
    if (words.empty()) return Fail(kExitUsage, "settings: name a family (" + FamilyNames() + ")");
    const SettingFamily* family = FindSettingFamily(words[0]);
    if (!family) return Fail(kExitUsage, "settings: unknown family '" + words[0] + "' (" + FamilyNames() + ")");
    const std::string key = FamilyKey(*family);
    if (key.empty()) return Fail(kExitSystem, "settings: the product key table cannot be read (no TrLocale.DLL?)");
    if (words.size() == 1) return Print(*family, key, o.Has("--json"));
    if (o.Has("--json")) return Fail(kExitUsage, "settings: --json prints; it takes no NAME=VALUE");

    // Every assignment is checked first; only then are the groups written.
    std::map<const SettingGroup*, std::map<std::size_t, SettingValue>> changes;
    for (std::size_t w = 1; w < words.size(); ++w) {
        const std::string& word = words[w];
        const std::size_t eq = word.find('=');
        if (eq == std::string::npos)
            return Fail(kExitUsage, "settings " + std::string(family->name) + ": '" + word + "' is not NAME=VALUE");
        const std::string name = word.substr(0, eq), text = word.substr(eq + 1);
        const SettingGroup* group = nullptr;
        std::size_t index = 0;
        for (const auto& g : family->groups)
            for (std::size_t i = 0; i < g.settings.size(); ++i)
                if (_stricmp(g.settings[i].name, name.c_str()) == 0) group = &g, index = i;
        const std::string prefix = "settings " + std::string(family->name) + ": ";
        if (!group) return Fail(kExitUsage, prefix + "unknown setting '" + name + "' (" + Names(*family) + ")");
        const SettingInfo& s = group->settings[index];
        SettingValue value;
        long long number = 0;
        if (s.text) {
            if (text.size() > kFieldLimit || (!text.empty() && !TrJogCfgIsWaveFile(text.c_str())))
                return Fail(kExitUsage, prefix + s.name + " '" + text + "' is not allowed: " + s.allowed);
            value.text = text;
        } else if (ParseNumber(text, s.low, s.high, number)) {
            value.number = static_cast<DWORD>(number);
        } else {
            return Fail(kExitUsage, prefix + s.name + "=" + text + " is not allowed: " + s.allowed);
        }
        changes[group][index] = value;
    }
    for (const auto& change : changes) {
        SettingValues values;
        change.first->read(HKEY_CURRENT_USER, key.c_str(), values);
        for (const auto& v : change.second) values[v.first] = v.second;
        if (!change.first->write(HKEY_CURRENT_USER, key.c_str(), values))
            return Fail(kExitSystem, "settings: HKEY_CURRENT_USER\\" + key + " cannot be written");
        for (const auto& v : change.second) {
            const SettingInfo& s = change.first->settings[v.first];
            std::printf("%s %s = %s\n", family->name, s.name,
                        s.text ? ("\"" + v.second.text + "\"").c_str() : std::to_string(v.second.number).c_str());
        }
    }
    return kExitOk;
}

}  // namespace trctl
