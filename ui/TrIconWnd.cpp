// TrIconWnd.cpp - the icon window of the info dialog.
#include "ui/TrIconWnd.h"

#include "base/TrGuard.h"
#include "ui/TrGdiOwners.h"
#include "ui/TrModule.h"

namespace tr {
namespace {

constexpr char kClassName[] = "TrCommonIconWnd";

HINSTANCE ClassInstance() {
    // Compiled into a test executable there is no DLL instance; the
    // executable's own then registers the class.
    HINSTANCE h = ThisModule();
    return h ? h : ::GetModuleHandleA(nullptr);
}

}  // namespace

bool IconWindow::Create(HICON hIcon) {
    Destroy();
    m_hIcon = hIcon;
    // The class is registered per window and dropped with it: a class left
    // registered would outlive an unloaded TrCommon.dll and point at freed code.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &IconWindow::Proc;
    wc.hInstance = ClassInstance();
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);  // fails harmlessly when another icon window still has it
    m_window.Reset(::CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, kSize, kSize,
                                     ::GetDesktopWindow(), nullptr, wc.hInstance, this));
    if (!m_window) ::UnregisterClassA(kClassName, wc.hInstance);
    return m_window.Valid();
}

void IconWindow::Destroy() {
    if (!m_window) return;
    m_window.Reset();
    ::UnregisterClassA(kClassName, ClassInstance());
}

LRESULT CALLBACK IconWindow::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<IconWindow*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    const auto defaultHandling = [&] { return ::DefWindowProcA(hWnd, msg, wParam, lParam); };
    const auto handle = [&]() -> LRESULT {
        switch (msg) {
        case WM_ERASEBKGND:
            return TRUE;  // WM_PAINT covers every pixel
        case WM_PAINT: {
            PaintScope paint(hWnd);
            RECT rc;
            ::GetClientRect(hWnd, &rc);
            ::FillRect(paint.Get(), &rc, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
            if (self && self->m_hIcon) ::DrawIcon(paint.Get(), 0, 0, self->m_hIcon);
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // a click on the icon must not take focus from the dialog
        default:
            return defaultHandling();
        }
    };
    return GuardedElse(handle, defaultHandling);
}

}  // namespace tr
