// HotKeys.h - the server's registered hot keys (RegisterHotKey), made from
// the hot-key map and made again whenever the map is read anew.
#ifndef TRELVANE_HOTKEYS_H
#define TRELVANE_HOTKEYS_H

#include <windows.h>

#include <map>
#include <string>

namespace trelvane {

class Reporter;

class HotKeys {
public:
    HotKeys(HWND window, Reporter& reporter) : m_window(window), m_reporter(reporter) {}
    ~HotKeys() { UnregisterAll(); }
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;

    // Reads the map and registers every combination in it. A refused map
    // value and a combination another program holds are reported once per
    // server run and skipped; the other keys work.
    void Load();
    void UnregisterAll();
    // The event code of a WM_HOTKEY id; false for an id that is not ours.
    bool EventOf(WPARAM id, DWORD& code) const;
    std::size_t Count() const { return m_events.size(); }

private:
    HWND m_window;
    Reporter& m_reporter;
    std::map<int, DWORD> m_events;  // hot key id -> event code
};

}  // namespace trelvane

#endif  // TRELVANE_HOTKEYS_H
