// Tray.h - the server's icon in the taskbar's notification area, and the
// balloons that tell the user about problems.
#ifndef TRELVANE_TRAY_H
#define TRELVANE_TRAY_H

#include <windows.h>

#include "base/TrHandle.h"

#include <string>

namespace trelvane {

// Window message the icon sends to its window (lParam: the mouse message).
constexpr UINT kTrayMessage = WM_APP + 1;

class Tray {
public:
    // The product icon comes from TrLocale.DLL (its dialog icon, 2039); without
    // the library the system's application icon stands in.
    Tray(HWND window, HMODULE locale);
    ~Tray();
    Tray(const Tray&) = delete;
    Tray& operator=(const Tray&) = delete;

    // Adds the icon; again after Explorer restarted ("TaskbarCreated"), when
    // the old one went with the old taskbar. False when the shell refused.
    bool Add();
    bool Shown() const { return m_added; }
    // A balloon over the icon, a warning or a plain notice; false when there
    // is no icon or the shell refused. Texts longer than a balloon holds are cut.
    bool Balloon(const std::string& title, const std::string& text, bool warning = true);

private:
    HWND m_window;
    tr::Icon m_ownIcon;  // loaded from TrLocale.DLL; NULL when the system's icon is used
    HICON m_icon;
    bool m_added = false;
};

}  // namespace trelvane

#endif  // TRELVANE_TRAY_H
