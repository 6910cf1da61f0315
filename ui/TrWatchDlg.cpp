// TrWatchDlg.cpp - the watch window.
#include "ui/TrWatchDlg.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>

#include "env/TrMessages.h"
#include "ui/TrModalRun.h"
#include "ui/TrResourceIds.h"
#include "ui/TrWatchClock.h"

namespace tr {
namespace {

int g_liveWatchWindows = 0;

std::string LoadText(HINSTANCE hInstance, UINT id) {
    char buf[512] = {};
    const int n = ::LoadStringA(hInstance, id, buf, sizeof(buf));
    return std::string(buf, n > 0 ? n : 0);
}

// Event codes and the string of their kind text. 0x200010 and 0x200020 take
// 3911 and 3910, in that order.
struct KindText {
    UINT code;
    UINT stringId;
};
constexpr KindText kKinds[] = {
    {0x200002, IDS_TR_WATCH_KIND_2}, {0x200004, IDS_TR_WATCH_KIND_4},   {0x200008, IDS_TR_WATCH_KIND_8},
    {0x200010, IDS_TR_WATCH_KIND_10}, {0x200020, IDS_TR_WATCH_KIND_20},
};

class WatchDialog {
public:
    WatchDialog(int minutes, UINT eventCode, std::string caption, HICON hIcon, int row, HINSTANCE hResources,
                bool* pAdopted)
        : m_minutes(minutes), m_eventCode(eventCode), m_caption(std::move(caption)), m_hIcon(hIcon), m_row(row),
          m_hResources(hResources), m_pAdopted(pAdopted) {
        ++g_liveWatchWindows;
    }
    ~WatchDialog() { --g_liveWatchWindows; }
    WatchDialog(const WatchDialog&) = delete;
    WatchDialog& operator=(const WatchDialog&) = delete;

    static INT_PTR CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void OnTimer(UINT_PTR id);
    void OnCancel();
    void ShowTimeLeft(long long hours, long long minutes);
    void PlaceForRow();
    void Finish(UINT wParamToPost);

    int m_minutes;
    UINT m_eventCode;
    std::string m_caption;
    HICON m_hIcon;  // the caller's, not owned
    int m_row;
    HINSTANCE m_hResources;
    bool* m_pAdopted;
    HWND m_hWnd = nullptr;
    UINT_PTR m_timerId = 1;
    long long m_end = 0;  // local time, FILETIME units
    std::string m_formats[3];  // strings 3913, 3906, 3912
    std::string m_kinds[5];    // strings 3907 to 3911
};

INT_PTR CALLBACK WatchDialog::Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<WatchDialog*>(lParam);
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
        // From here on the window owns the state and deletes it when it goes.
        *self->m_pAdopted = true;
        self->m_pAdopted = nullptr;
    }
    auto* self = reinterpret_cast<WatchDialog*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        std::unique_ptr<WatchDialog> gone(self);
        return FALSE;
    }
    return HandleGuarded(hWnd, msg, false, [&] { return self->Handle(msg, wParam, lParam); });
}

INT_PTR WatchDialog::Handle(UINT msg, WPARAM wParam, LPARAM /*lParam*/) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_TIMER:
        OnTimer(wParam);
        return FALSE;
    case WM_COMMAND:
        // Cancel, Esc and the close box all arrive as IDCANCEL. Enter (IDOK)
        // does nothing: a modeless window has no modal run to end.
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return LOWORD(wParam) == IDOK;
    default:
        return FALSE;
    }
}

BOOL WatchDialog::OnInitDialog() {
    m_end = static_cast<long long>(watchclock::Now()) +
            static_cast<long long>(m_minutes) * static_cast<long long>(watchclock::kUnitsPerMinute);

    const UINT formatIds[3] = {IDS_TR_WATCH_HOURS, IDS_TR_WATCH_MINUTES, IDS_TR_WATCH_SOON};
    for (int i = 0; i < 3; ++i) m_formats[i] = LoadText(m_hResources, formatIds[i]);
    const UINT kindIds[5] = {IDS_TR_WATCH_KIND_2, IDS_TR_WATCH_KIND_4, IDS_TR_WATCH_KIND_8, IDS_TR_WATCH_KIND_20,
                             IDS_TR_WATCH_KIND_10};
    for (int i = 0; i < 5; ++i) m_kinds[i] = LoadText(m_hResources, kindIds[i]);

    ShowTimeLeft(m_minutes / 60, m_minutes % 60);
    ::SetWindowTextA(m_hWnd, m_caption.c_str());
    if (m_hIcon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    PlaceForRow();
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    m_timerId = ::SetTimer(m_hWnd, 1, watchclock::TickMs(), nullptr);
    return TRUE;
}

void WatchDialog::ShowTimeLeft(long long hours, long long minutes) {
    std::string text;
    if (hours >= 1) text = FormatNumbers(m_formats[0], static_cast<int>(hours), static_cast<int>(minutes));
    else if (minutes >= 2) text = FormatNumbers(m_formats[1], static_cast<int>(minutes));
    else text = FormatNumbers(m_formats[2]);
    ::SetDlgItemTextA(m_hWnd, IDC_TR_WATCH_TIME, text.c_str());

    for (const KindText& k : kKinds) {
        if (k.code != m_eventCode) continue;
        ::SetDlgItemTextA(m_hWnd, IDC_TR_WATCH_KIND, m_kinds[k.stringId - IDS_TR_WATCH_KIND_2].c_str());
        break;
    }
}

void WatchDialog::PlaceForRow() {
    RECT self, desk;
    ::GetWindowRect(m_hWnd, &self);
    ::GetWindowRect(::GetDesktopWindow(), &desk);
    const int w = self.right - self.left, h = self.bottom - self.top;
    // Rows far outside the screen are held at the edge of the coordinate
    // range windows accept, rather than overflowing.
    long long top = static_cast<long long>(m_row) * h;
    if (top > SHRT_MAX) top = SHRT_MAX;
    if (top < SHRT_MIN) top = SHRT_MIN;
    ::MoveWindow(m_hWnd, (desk.right - desk.left) - w, static_cast<int>(top), w, h, TRUE);
}

void WatchDialog::OnTimer(UINT_PTR id) {
    if (id != m_timerId) return;
    const long long now = static_cast<long long>(watchclock::Now());
    if (m_end <= now) {
        Finish(m_eventCode);
        return;
    }
    const long long units = static_cast<long long>(watchclock::kUnitsPerSecond);
    const long long seconds = (m_end - now + units / 2) / units;
    long long minutes = seconds / 60;
    if (seconds % 60 > 30) ++minutes;
    ShowTimeLeft(minutes / 60, minutes % 60);
    // Kept from the first tick on and never cleared: the machine must not
    // sleep while an event is due.
    ::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
}

void WatchDialog::OnCancel() { Finish(kWatchCancelled); }

void WatchDialog::Finish(UINT wParamToPost) {
    ::KillTimer(m_hWnd, m_timerId);
    if (HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER)) ::PostMessageA(hOwner, MsgTrelvane(), wParamToPost, 0);
    ::DestroyWindow(m_hWnd);  // deletes this object on the way
}

}  // namespace

std::string FormatNumbers(const std::string& format, int first, int second) {
    const int values[2] = {first, second};
    int next = 0;
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // A conversion: flags, width, precision and a length modifier, then
        // d, i or u. The length modifier is dropped: the numbers are ints.
        const auto skip = [&](std::size_t j, const char* set) {
            while (j < format.size() && format[j] && std::strchr(set, format[j])) ++j;
            return j;
        };
        std::size_t j = skip(skip(i + 1, "-+ 0#"), "0123456789");
        if (j < format.size() && format[j] == '.') j = skip(j + 1, "0123456789");
        const std::size_t length = j;
        for (const char* modifier : {"hh", "ll", "h", "l", "j", "z", "t"})
            if (format.compare(j, std::strlen(modifier), modifier) == 0) {
                j += std::strlen(modifier);
                break;
            }
        if (j < format.size() && (format[j] == 'd' || format[j] == 'i' || format[j] == 'u') && next < 2) {
            const std::string conversion = format.substr(i, length - i) + 'd';
            char buf[64];
            std::snprintf(buf, sizeof(buf), conversion.c_str(), values[next++]);
            out += buf;
            i = j;
            continue;
        }
        out += '%';
    }
    return out;
}

HWND CreateWatchWindow(HINSTANCE hResources, HWND hOwner, int minutes, UINT eventCode, const char* caption,
                       HICON hIcon, int row) {
    bool adopted = false;
    auto dialog = std::make_unique<WatchDialog>(minutes, eventCode, caption ? caption : "", hIcon, row, hResources,
                                                &adopted);
    HWND hWnd = ::CreateDialogParamA(hResources, MAKEINTRESOURCEA(IDD_TR_WATCH), hOwner, &WatchDialog::Proc,
                                     reinterpret_cast<LPARAM>(dialog.get()));
    // Once the window has taken the state it also deletes it, even when the
    // window went again before CreateDialogParam returned.
    if (adopted) dialog.release();
    return ::IsWindow(hWnd) ? hWnd : nullptr;
}

int LiveWatchWindows() { return g_liveWatchWindows; }

}  // namespace tr
