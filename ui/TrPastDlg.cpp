// TrPastDlg.cpp - the past-time dialog.
#include "ui/TrPastDlg.h"

#include "include/TrCommon.h"
#include "ui/TrModalRun.h"
#include "ui/TrModule.h"
#include "ui/TrResourceIds.h"
#include "ui/TrTimeText.h"

namespace tr {

PastDialog::PastDialog(HINSTANCE hResources, std::string path, std::string title, std::string description,
                       const SYSTEMTIME& eventTime)
    : m_hResources(hResources), m_path(std::move(path)), m_title(std::move(title)),
      m_description(std::move(description)), m_eventTime(eventTime) {}

INT_PTR PastDialog::Run(HWND hOwner) { return RunModal(m_hResources, IDD_TR_PAST, hOwner, &PastDialog::Proc, this); }

INT_PTR CALLBACK PastDialog::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        reinterpret_cast<PastDialog*>(lParam)->m_hWnd = hWnd;
    }
    auto* self = reinterpret_cast<PastDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    return self ? HandleGuarded(hWnd, msg, true, [&] { return self->Handle(msg, wParam, lParam); }) : FALSE;
}

INT_PTR PastDialog::Handle(UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_TIMER:
        if (wParam == m_timerId) ShowCurrentTime();
        return FALSE;
    case WM_COMMAND:
        // Every button of the template ends the dialog with its own id.
        if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            ::EndDialog(m_hWnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        ::KillTimer(m_hWnd, m_timerId);
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL PastDialog::OnInitDialog() {
    m_smallIcon.Reset(static_cast<HICON>(
        ::LoadImageA(m_hResources, MAKEINTRESOURCEA(IDI_TR_DIALOG), IMAGE_ICON, 32, 32, 0)));
    if (m_smallIcon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));

    HICON hIcon = nullptr;
    if (TrComGetIconHandle(&hIcon, m_path.c_str(), TRUE)) m_appIcon.Reset(hIcon);
    // The fallback comes from the resource chain, shared (LoadIcon): it goes
    // with the module it came from.
    HICON hShown = m_appIcon.Get();
    const HINSTANCE owner = hShown ? nullptr : FindAlongChain(m_hResources, IDI_TR_FALLBACK, RT_GROUP_ICON);
    if (owner) hShown = ::LoadIconA(owner, MAKEINTRESOURCEA(IDI_TR_FALLBACK));
    ::SendDlgItemMessageA(m_hWnd, IDC_TR_PAST_ICON, STM_SETICON, reinterpret_cast<WPARAM>(hShown), 0);

    const std::string text = m_title + "\r\n" + m_description;
    ::SetDlgItemTextA(m_hWnd, IDC_TR_PAST_TEXT, text.c_str());
    ShowCurrentTime();
    ::SetDlgItemTextA(m_hWnd, IDC_TR_PAST_EVENT, FormatDateAndMinutes(m_eventTime).c_str());

    ::SetForegroundWindow(m_hWnd);
    m_timerId = ::SetTimer(m_hWnd, 1, 1000, nullptr);
    return TRUE;
}

void PastDialog::ShowCurrentTime() {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    ::SetDlgItemTextA(m_hWnd, IDC_TR_PAST_NOW, FormatDateAndMinutes(now).c_str());
}

}  // namespace tr
