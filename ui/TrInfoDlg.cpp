// TrInfoDlg.cpp - the counting-down info dialog.
#include "ui/TrInfoDlg.h"

#include <commctrl.h>

#include "ui/TrModalRun.h"
#include "ui/TrModule.h"
#include "ui/TrResourceIds.h"

namespace tr {
namespace {

// Where the dialog draws, in client coordinates: the background picture is
// made for exactly these places.
constexpr POINT kTensAt = {115, 41};
constexpr POINT kOnesAt = {132, 41};
constexpr SIZE kDigitSize = {14, 20};
constexpr RECT kCounterArea = {110, 0, 150, 70};
constexpr RECT kHeadingArea = {112, 16, 412, 31};
constexpr RECT kPromptArea = {152, 50, 452, 65};
constexpr RECT kTitleArea = {60, 77, 360, 92};
constexpr RECT kDescriptionArea = {60, 91, 360, 106};
constexpr COLORREF kHeadingColour = RGB(255, 200, 0);
constexpr COLORREF kPromptColour = RGB(0, 255, 0);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr POINT kOkAt = {257, 16};
constexpr POINT kCancelAt = {327, 16};
constexpr SIZE kButtonSize = {65, 23};
constexpr POINT kIconOffset = {60, 24};
constexpr int kCursorInset = 10;
constexpr COLORREF kDigitMask = RGB(255, 0, 255);

void CentreOnOwnerOrScreen(HWND hWnd) {
    RECT self;
    ::GetWindowRect(hWnd, &self);
    RECT work;
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    // Over a visible owner, else over the work area; kept on the screen.
    RECT around = work;
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) ::GetWindowRect(hOwner, &around);
    const int w = self.right - self.left, h = self.bottom - self.top;
    int x = (around.left + around.right - w) / 2;
    int y = (around.top + around.bottom - h) / 2;
    if (x + w > work.right) x = work.right - w;
    if (x < work.left) x = work.left;
    if (y + h > work.bottom) y = work.bottom - h;
    if (y < work.top) y = work.top;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A picture of the resource chain; NULL when no module has it.
HANDLE LoadPicture(HINSTANCE hResources, UINT id) {
    const HINSTANCE owner = FindAlongChain(hResources, id, RT_BITMAP);
    return owner ? ::LoadImageA(owner, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0) : nullptr;
}

}  // namespace

InfoDialog::InfoDialog(HINSTANCE hResources) : m_hResources(hResources) {
    // Shared (LoadIcon), so it belongs to the module it came from and goes with it.
    if (const HINSTANCE owner = FindAlongChain(hResources, IDI_TR_DIALOG, RT_GROUP_ICON))
        m_hDialogIcon = ::LoadIconA(owner, MAKEINTRESOURCEA(IDI_TR_DIALOG));
    m_hAppIcon = m_hDialogIcon;
}

bool InfoDialog::SetValues(HICON hAppIcon, unsigned seconds, std::string title, std::string description,
                           std::string heading, std::string prompt) {
    if (seconds == 0 || seconds > kMaxSeconds) return false;
    m_hAppIcon = hAppIcon;
    m_seconds = seconds;
    m_title = std::move(title);
    m_description = std::move(description);
    m_heading = std::move(heading);
    m_prompt = std::move(prompt);
    return true;
}

INT_PTR InfoDialog::Run(HWND hOwner) {
    return RunModal(m_hResources, IDD_TR_INFO, hOwner, &InfoDialog::Proc, this);
}

INT_PTR CALLBACK InfoDialog::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        reinterpret_cast<InfoDialog*>(lParam)->m_hWnd = hWnd;
    }
    auto* self = reinterpret_cast<InfoDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    return self ? HandleGuarded(hWnd, msg, true, [&] { return self->Handle(msg, wParam, lParam); }) : FALSE;
}

INT_PTR InfoDialog::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_ERASEBKGND:
        if (!m_background) return FALSE;  // no picture: the dialog's own background
        OnEraseBackground(reinterpret_cast<HDC>(wParam));
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_TIMER:
        OnTimer(wParam);
        return FALSE;
    case WM_MOVE:
        OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return FALSE;
    case WM_SETCURSOR:
        OnSetCursor();
        return FALSE;
    case WM_SHOWWINDOW:
        OnShowWindow();
        return FALSE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) RaiseIconWindow();
        return FALSE;
    case WM_WINDOWPOSCHANGED: {
        // Showing or raising the dialog lifts it above the icon window, and
        // a mouse move (WM_SETCURSOR) may be long in coming; lift the icon
        // back at once. The default handling still sends WM_MOVE.
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(lParam)->flags;
        if (!(flags & SWP_NOZORDER) || (flags & SWP_SHOWWINDOW)) RaiseIconWindow();
        return FALSE;
    }
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hDialogIcon);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(m_hWnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL InfoDialog::OnInitDialog() {
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hDialogIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hDialogIcon));

    if (HWND hIconCtrl = ::GetDlgItem(m_hWnd, IDC_TR_INFO_ICON)) {
        ::SendMessageA(hIconCtrl, STM_SETICON, reinterpret_cast<WPARAM>(m_hAppIcon), 0);
        ::ShowWindow(hIconCtrl, SW_HIDE);
    }

    // A dialog procedure never sees the WM_MOVE of its own creation, which is
    // when the icon window is due; make it now, at the client corner, and let
    // the centring below move it to its place.
    POINT corner = {0, 0};
    ::ClientToScreen(m_hWnd, &corner);
    OnMove(corner.x, corner.y);

    // The background picture sets the size; it stays loaded for the erases.
    m_background.Reset(LoadPicture(m_hResources, IDB_TR_INFO_BACKGROUND));
    BITMAP bm = {};
    if (m_background && ::GetObjectA(m_background.Get(), sizeof(bm), &bm)) {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, bm.bmWidth, bm.bmHeight + ::GetSystemMetrics(SM_CYCAPTION),
                       SWP_NOMOVE);
        ::SetActiveWindow(m_hWnd);
        CentreOnOwnerOrScreen(m_hWnd);
    } else {
        m_background.Reset();
    }

    if (HWND hOk = ::GetDlgItem(m_hWnd, IDOK))
        ::MoveWindow(hOk, kOkAt.x, kOkAt.y, kButtonSize.cx, kButtonSize.cy, TRUE);
    if (HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL))
        ::MoveWindow(hCancel, kCancelAt.x, kCancelAt.y, kButtonSize.cx, kButtonSize.cy, TRUE);

    // ACM_OPEN by id looks in the module it is given; the resource library is
    // not the process's executable, so it is named explicitly.
    if (HWND hClip = ::GetDlgItem(m_hWnd, IDC_TR_INFO_ANIMATE)) {
        if (Animate_OpenEx(hClip, m_hResources, MAKEINTRESOURCEA(IDR_TR_INFO_CLIP))) Animate_Play(hClip, 0, 0xFFFF, 1);
    }

    m_digits.Reset(::ImageList_Create(kDigitSize.cx, kDigitSize.cy, ILC_COLOR8, 10, 1));
    m_digitBitmap.Reset(LoadPicture(m_hResources, IDB_TR_DIGITS));
    if (m_digits && m_digitBitmap)
        ::ImageList_AddMasked(m_digits.Get(), static_cast<HBITMAP>(m_digitBitmap.Get()), kDigitMask);

    m_timerId = ::SetTimer(m_hWnd, 1, 1000, nullptr);
    return TRUE;
}

void InfoDialog::DrawBackground(HDC hDC, const RECT& area) const {
    MemoryDC source(::CreateCompatibleDC(hDC));
    if (!source) return;
    SelectScope select(source.Get(), m_background.Get());
    ::BitBlt(hDC, area.left, area.top, area.right - area.left, area.bottom - area.top, source.Get(), area.left,
             area.top, SRCCOPY);
}

void InfoDialog::DrawCounter(HDC hDC) const {
    if (!m_digits || m_seconds > kMaxSeconds) return;
    auto draw = [&](unsigned digit, POINT at) {
        IMAGELISTDRAWPARAMS p = {};
        p.cbSize = sizeof(p);
        p.himl = m_digits.Get();
        p.i = static_cast<int>(digit);
        p.hdcDst = hDC;
        p.x = at.x;
        p.y = at.y;
        p.rgbBk = CLR_DEFAULT;
        p.rgbFg = CLR_DEFAULT;
        p.fStyle = ILD_NORMAL;
        p.dwRop = SRCCOPY;
        ::ImageList_DrawIndirect(&p);
    };
    draw(m_seconds % 10, kOnesAt);
    draw(m_seconds / 10, kTensAt);  // always drawn: 5 shows as 05
}

void InfoDialog::DrawTexts(HDC hDC) const {
    SavedDC saved(hDC);
    ::SetBkMode(hDC, TRANSPARENT);
    ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
    auto draw = [&](const std::string& text, COLORREF colour, RECT area) {
        ::SetTextColor(hDC, colour);
        ::DrawTextA(hDC, text.c_str(), static_cast<int>(text.size()), &area, 0);
    };
    draw(m_heading, kHeadingColour, kHeadingArea);
    draw(m_prompt, kPromptColour, kPromptArea);
    draw(m_title, kTextColour, kTitleArea);
    draw(m_description, kTextColour, kDescriptionArea);
}

void InfoDialog::OnPaint() {
    if (::IsIconic(m_hWnd)) {
        PaintScope paint(m_hWnd);
        ::SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        const int x = (rc.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (rc.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(paint.Get(), x, y, m_hDialogIcon);
        return;
    }
    PaintScope paint(m_hWnd);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    // Drawn off the screen and copied in one go. The counter's area is
    // repainted every second without an erase; transparent text drawn again
    // over itself would grow bolder with each tick, so the picture under it
    // is laid down afresh each time.
    MemoryDC buffer(::CreateCompatibleDC(paint.Get()));
    GdiObject canvas(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    if (!buffer || !canvas) {
        DrawCounter(paint.Get());
        DrawTexts(paint.Get());
        return;
    }
    SelectScope select(buffer.Get(), canvas.Get());
    if (m_background) {
        DrawBackground(buffer.Get(), client);
    } else {
        ::BitBlt(buffer.Get(), 0, 0, client.right, client.bottom, paint.Get(), 0, 0, SRCCOPY);
    }
    DrawCounter(buffer.Get());
    DrawTexts(buffer.Get());
    const RECT& a = paint.Area();
    ::BitBlt(paint.Get(), a.left, a.top, a.right - a.left, a.bottom - a.top, buffer.Get(), a.left, a.top, SRCCOPY);
}

void InfoDialog::OnEraseBackground(HDC hDC) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    DrawBackground(hDC, client);
}

void InfoDialog::OnTimer(UINT_PTR id) {
    if (id != m_timerId) return;
    if (m_seconds > 0) --m_seconds;
    if (m_seconds == 0) {
        if (m_iconWindow.Exists()) ::ShowWindow(m_iconWindow.Handle(), SW_HIDE);
        if (HWND hClip = ::GetDlgItem(m_hWnd, IDC_TR_INFO_ANIMATE)) Animate_Stop(hClip);
        ::EndDialog(m_hWnd, IDOK);
        return;
    }
    ::InvalidateRect(m_hWnd, &kCounterArea, FALSE);
    // Whatever stacked itself over the icon since (another top-most window,
    // a late activation) is undone within a second.
    if (!IconWindowAbove()) RaiseIconWindow();
}

bool InfoDialog::IconWindowAbove() const {
    if (!m_iconWindow.Exists()) return true;
    for (HWND h = ::GetWindow(m_hWnd, GW_HWNDPREV); h; h = ::GetWindow(h, GW_HWNDPREV)) {
        if (h == m_iconWindow.Handle()) return true;
    }
    return false;
}

void InfoDialog::OnMove(int x, int y) {
    if (!m_iconWindow.Exists() && !m_iconWindow.Create(m_hAppIcon)) return;
    PlaceIconWindow(x, y);
}

void InfoDialog::PlaceIconWindow(int x, int y) {
    ::SetWindowPos(m_iconWindow.Handle(), HWND_TOPMOST, x + kIconOffset.x, y + kIconOffset.y, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
}

void InfoDialog::OnSetCursor() {
    if (!m_iconWindow.Exists()) return;
    ::RedrawWindow(m_iconWindow.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ::SetWindowPos(m_iconWindow.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void InfoDialog::RaiseIconWindow() {
    if (!m_iconWindow.Exists()) return;
    // Through the non-top-most band and back: a window that already heads
    // the top-most band is otherwise left where it is, and a display server
    // that stacked the freshly shown dialog over it would keep it covered.
    ::SetWindowPos(m_iconWindow.Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    OnSetCursor();
}

void InfoDialog::OnShowWindow() {
    HWND hOk = ::GetDlgItem(m_hWnd, IDOK);
    if (!hOk) return;
    RECT rc;
    ::GetWindowRect(hOk, &rc);
    ::SetCursorPos(rc.left + kCursorInset, rc.top + kCursorInset);
}

void InfoDialog::OnDestroy() {
    ::KillTimer(m_hWnd, m_timerId);
    if (HWND hClip = ::GetDlgItem(m_hWnd, IDC_TR_INFO_ANIMATE)) Animate_Close(hClip);
    m_iconWindow.Destroy();
}

}  // namespace tr
