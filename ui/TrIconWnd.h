// TrIconWnd.h - the small window that shows the application's icon above the
// info dialog's background, top-most, wherever the dialog goes.
#ifndef TR_UI_ICONWND_H
#define TR_UI_ICONWND_H

#include <windows.h>

#include "base/TrHandle.h"

namespace tr {

class IconWindow {
public:
    static constexpr int kSize = 32;

    IconWindow() = default;
    ~IconWindow() { Destroy(); }
    IconWindow(const IconWindow&) = delete;
    IconWindow& operator=(const IconWindow&) = delete;

    // Creates the 32 x 32 tool window at (0, 0) as a child of the desktop,
    // holding hIcon (not owned; NULL paints an empty black square).
    bool Create(HICON hIcon);
    void Destroy();
    HWND Handle() const { return m_window.Get(); }
    bool Exists() const { return m_window.Valid(); }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    tr::Window m_window;
    HICON m_hIcon = nullptr;
};

}  // namespace tr

#endif  // TR_UI_ICONWND_H
