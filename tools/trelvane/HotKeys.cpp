// HotKeys.cpp - RegisterHotKey for the map in effect.
#include "HotKeys.h"

#include "HotKeyMap.h"
#include "Reporter.h"

namespace trelvane {

void HotKeys::Load() {
    UnregisterAll();
    const HotKeyMap map = ReadHotKeyMap();
    if (!map.readable) m_reporter.ProblemOnce("the hot keys cannot be read: the product key is unknown (TrLocale.DLL missing)");
    for (const auto& problem : map.problems) m_reporter.ProblemOnce(problem);
    int id = 1;
    std::string registered;
    for (const auto& hotKey : map.hotKeys) {
        for (const auto& r : RegistrationsOf(hotKey)) {
            // MOD_NOREPEAT: a key held down serves its event once.
            if (::RegisterHotKey(m_window, id, r.combination.modifiers | MOD_NOREPEAT, r.combination.key)) {
                m_events[id++] = r.code;
                registered += " " + CombinationText(r.combination);
            } else {
                m_reporter.ProblemOnce("the hot key " + CombinationText(r.combination) + " of " + EventLabel(r.code) +
                                       " is held by another program; it is skipped");
            }
        }
    }
    m_reporter.Note("hot keys registered (" + std::to_string(m_events.size()) + "):" + registered);
}

void HotKeys::UnregisterAll() {
    for (const auto& e : m_events) ::UnregisterHotKey(m_window, e.first);
    m_events.clear();
}

bool HotKeys::EventOf(WPARAM id, DWORD& code) const {
    const auto it = m_events.find(static_cast<int>(id));
    if (it == m_events.end()) return false;
    code = it->second;
    return true;
}

}  // namespace trelvane
