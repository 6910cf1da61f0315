// DialogTestSupport.h - what the dialog tests share: the process's server
// window, a message pump with a bounded wait, a driver thread that works a
// modal dialog while the test's thread sits in its loop, and screen captures.
#ifndef TR_TESTS_UI_DIALOGSUPPORT_H
#define TR_TESTS_UI_DIALOGSUPPORT_H

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TrTestSupport.h"
#include "include/TrCommon.h"

namespace dlgtest {

constexpr int kMarker = 0x5eed;
constexpr SYSTEMTIME kNewYear = {2024, 1, 1, 1, 12, 0, 0, 0};

// The wParam of every "Trelvane Message" the server window has received.
inline std::vector<WPARAM> received;

// A window registered as the server in the shared block, once per process
// (the block stays until the process ends).
inline LRESULT CALLBACK ServerProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    static const UINT trelvane = ::RegisterWindowMessageA(TR_MSG_TRELVANE_NAME);
    if (msg != trelvane || l) return ::DefWindowProcA(h, msg, w, l);
    received.push_back(w);
    return 0;
}
inline HWND ServerWindow() {
    static const HWND hWnd = [] {
        WNDCLASSA wc = {0, &ServerProc, 0, 0, ::GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr,
                        "TrDlgTest"};
        ::RegisterClassA(&wc);
        HWND h = ::CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        return h && TrComSetServer(h) ? h : nullptr;
    }();
    return hWnd;
}

inline TR_APP_DATA_STRUC Block(const char* title, const char* description) {
    TR_APP_DATA_STRUC d = {};
    std::strncpy(d.szTitle, title, sizeof(d.szTitle) - 1);
    std::strncpy(d.szDescription, description, sizeof(d.szDescription) - 1);
    std::strcpy(d.szPath, "C:\\no\\such\\folder\\app.exe");  // the fallback icon, then
    return d;
}

// Pumps this thread's messages (through IsDialogMessage, as a modeless
// window's owner must) until done() holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    for (const DWORD start = ::GetTickCount();;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd && ::IsDialogMessageA(::GetAncestor(msg.hwnd, GA_ROOT), &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Top-level windows of this process, of one class or all (visible or not).
inline std::vector<HWND> Windows(const char* cls = nullptr) {
    std::vector<HWND> found;
    for (HWND h = nullptr; (h = ::FindWindowExA(nullptr, h, cls, nullptr)) != nullptr;) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(h, &pid);
        if (pid == ::GetCurrentProcessId()) found.push_back(h);
    }
    return found;
}

inline std::string ItemText(HWND hWnd, int id = 0) {
    char buf[1024] = {};
    ::GetWindowTextA(id ? ::GetDlgItem(hWnd, id) : hWnd, buf, sizeof(buf));
    return buf;
}

// A window's rectangle (a dialog's control when id is set) in the client
// coordinates of 'relativeTo', the screen's when NULL.
inline RECT Rect(HWND hWnd, int id = 0, HWND relativeTo = nullptr) {
    RECT rc = {};
    ::GetWindowRect(id ? ::GetDlgItem(hWnd, id) : hWnd, &rc);
    ::MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// The ways a person ends a dialog, posted from any thread.
inline void PressOk(HWND h) { ::PostMessageA(::GetDlgItem(h, IDOK), BM_CLICK, 0, 0); }
inline void PressCancel(HWND h) { ::PostMessageA(::GetDlgItem(h, IDCANCEL), BM_CLICK, 0, 0); }
inline void PressCloseBox(HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }

// Runs a modal dialog export (call) on this thread while drive(hDlg) works
// the dialog from a driver thread once it is visible.
struct Modal { BOOL ok = -1; int code = kMarker; DWORD ms = 0; bool shown = false; };
inline Modal RunModal(const std::function<BOOL(int*)>& call, const std::function<void(HWND)>& drive) {
    Modal r;
    std::atomic<bool> returned{false};  // a refusal shows no dialog to wait for
    std::thread driver([&] {
        HWND hDlg = nullptr;
        PumpUntil([&] {
            for (HWND h : Windows("#32770"))
                if (::IsWindowVisible(h)) hDlg = h;
            return hDlg || returned;
        });
        r.shown = hDlg != nullptr;
        if (hDlg && drive) drive(hDlg);
    });
    const DWORD start = ::GetTickCount();
    r.ok = call(&r.code);
    r.ms = ::GetTickCount() - start;
    returned = true;
    driver.join();
    return r;
}

// Pixels of a bitmap, of a screen rectangle or of a bitmap resource, top-down.
struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
inline Capture Pixels(HGDIOBJ hBitmap, int w, int h) {
    BITMAPINFO bi = {{static_cast<DWORD>(sizeof(BITMAPINFOHEADER)), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    Capture c{w, h, std::vector<COLORREF>(static_cast<size_t>(w) * h)};
    HDC hScreen = ::GetDC(nullptr);
    const int lines = ::GetDIBits(hScreen, static_cast<HBITMAP>(hBitmap), 0, h, c.pixels.data(), &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    for (COLORREF& p : c.pixels) p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));  // the DIB's order is BGR
    return lines == h ? c : Capture();
}
inline Capture CaptureScreen(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC hScreen = ::GetDC(nullptr), hMem = ::CreateCompatibleDC(hScreen);
    tr::GdiObject bmp(::CreateCompatibleBitmap(hScreen, w, h));
    HGDIOBJ old = ::SelectObject(hMem, bmp.Get());
    ::BitBlt(hMem, 0, 0, w, h, hScreen, r.left, r.top, SRCCOPY);
    ::SelectObject(hMem, old);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return Pixels(bmp.Get(), w, h);
}
inline Capture BitmapPixels(HMODULE hModule, int id) {
    tr::GdiObject bmp(::LoadImageA(hModule, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    BITMAP bm = {};
    return ::GetObjectA(bmp.Get(), sizeof(bm), &bm) ? Pixels(bmp.Get(), bm.bmWidth, bm.bmHeight) : Capture();
}
inline int ColourDistance(COLORREF a, COLORREF b) {  // the largest channel difference
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

// Every dialog test starts with the server registered and nothing received,
// and leaves no dialog open.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { received.clear(); ASSERT_TRUE(ServerWindow()); }
    void TearDown() override { for (HWND h : Windows("#32770")) ::DestroyWindow(h); }
};

}  // namespace dlgtest

#endif  // TR_TESTS_UI_DIALOGSUPPORT_H
