// Tray.cpp - Shell_NotifyIcon for the icon and its balloons.
#include "Tray.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace trelvane {
namespace {

// TrLocale.DLL's icon of the product's dialogs, which stands for the product.
constexpr WORD kProductIconId = 2039;
constexpr UINT kIconId = 1;

void CopyCut(char* field, std::size_t size, const std::string& text) {
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

}  // namespace

Tray::Tray(HWND window, HMODULE locale) : m_window(window) {
    if (locale)
        m_ownIcon.Reset(static_cast<HICON>(::LoadImageA(locale, MAKEINTRESOURCEA(kProductIconId), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), 0)));
    // The system's shared icon is never destroyed.
    m_icon = m_ownIcon ? m_ownIcon.Get() : ::LoadIconA(nullptr, IDI_APPLICATION);
}

Tray::~Tray() {
    if (!m_added) return;
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_window;
    data.uID = kIconId;
    ::Shell_NotifyIconA(NIM_DELETE, &data);
}

bool Tray::Add() {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_window;
    data.uID = kIconId;
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = m_icon;
    CopyCut(data.szTip, sizeof(data.szTip), "Trelvane");
    // After Explorer restarted the old icon is gone; an icon that is still
    // there (a second TaskbarCreated) is only brought up to date.
    m_added = ::Shell_NotifyIconA(NIM_ADD, &data) || ::Shell_NotifyIconA(NIM_MODIFY, &data);
    return m_added;
}

bool Tray::Balloon(const std::string& title, const std::string& text, bool warning) {
    if (!m_added) return false;
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = m_window;
    data.uID = kIconId;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    CopyCut(data.szInfoTitle, sizeof(data.szInfoTitle), title);
    CopyCut(data.szInfo, sizeof(data.szInfo), text);
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

}  // namespace trelvane
