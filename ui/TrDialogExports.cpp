// TrDialogExports.cpp - the three dialog exports: the info dialog, the
// past-time dialog and the watch window, each bracketed by the resource
// library and owned by the server window.
#include "include/TrCommon.h"

#include <commctrl.h>

#include <string>

#include "base/TrFieldText.h"
#include "base/TrGuard.h"
#include "launch/TrForeground.h"
#include "ui/TrInfoDlg.h"
#include "ui/TrLocaleModule.h"
#include "ui/TrPastDlg.h"
#include "ui/TrResourceIds.h"
#include "ui/TrWatchDlg.h"

namespace {

// A caller's text field as the launcher takes it: at most 259 bytes, cut on
// a character boundary, also when the field lacks its terminator.
std::string Field(const char (&field)[TR_TEXT_FIELD]) {
    char text[TR_TEXT_FIELD];
    tr::CopyFieldText(text, field);
    return text;
}

std::string LoadText(HINSTANCE hInstance, UINT id) {
    char buf[512] = {};
    const int n = ::LoadStringA(hInstance, id, buf, sizeof(buf));
    return std::string(buf, n > 0 ? n : 0);
}

}  // namespace

// Each export: FALSE with the caller's output untouched when memory runs out
// before the dialog is made (the dialogs' own messages are guarded apart).
extern "C" BOOL TRCOMAPI TrComDoModalInfoDlg(int* pnResult, const TR_APP_DATA_STRUC* pData, UINT nSeconds) {
    if (!pnResult || !pData) return FALSE;
    HWND hServer = nullptr;
    if (!TrComGetServer(&hServer)) return FALSE;
    tr::LocaleModule locale;
    if (!locale.Loaded()) return FALSE;

    tr::HandOverForeground(hServer);

    // The template holds an animation control; its class must exist before
    // the dialog is built.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_ANIMATE_CLASS};
    ::InitCommonControlsEx(&icc);

    return tr::Guarded(FALSE, [&] {
        HICON hIcon = nullptr;
        TrComGetIconHandle(&hIcon, Field(pData->szPath).c_str(), TRUE);
        tr::Icon appIcon(hIcon);  // outlives the dialog, which only borrows it
        std::string heading = LoadText(locale.Handle(), IDS_TR_INFO_CAPTION1);
        std::string prompt = LoadText(locale.Handle(), IDS_TR_INFO_CAPTION2);

        tr::InfoDialog dialog(locale.Handle());
        if (!dialog.SetValues(appIcon.Get(), nSeconds, Field(pData->szTitle), Field(pData->szDescription),
                              std::move(heading), std::move(prompt)))
            return FALSE;
        *pnResult = static_cast<int>(dialog.Run(hServer));
        return TRUE;
    });
}

extern "C" BOOL TRCOMAPI TrComDoModalPastDlg(int* pnResult, const TR_APP_DATA_STRUC* pData,
                                             const SYSTEMTIME* pEventTime) {
    if (!pnResult || !pData || !pEventTime) return FALSE;
    HWND hServer = nullptr;
    if (!TrComGetServer(&hServer)) return FALSE;
    tr::LocaleModule locale;
    if (!locale.Loaded()) return FALSE;

    tr::HandOverForeground(hServer);

    return tr::Guarded(FALSE, [&] {
        tr::PastDialog dialog(locale.Handle(), Field(pData->szPath), Field(pData->szTitle),
                              Field(pData->szDescription), *pEventTime);
        *pnResult = static_cast<int>(dialog.Run(hServer));
        return TRUE;
    });
}

extern "C" BOOL TRCOMAPI TrComCreateWatchDlg(HWND* phWnd, int nMinutes, UINT nEventCode, const char* pszCaption,
                                             HICON hIcon, int nRow) {
    if (!phWnd) return FALSE;
    HWND hServer = nullptr;
    if (!TrComGetServer(&hServer)) return FALSE;
    tr::LocaleModule locale;
    if (!locale.Loaded()) return FALSE;

    // The server window owns the watch window and receives its messages; the
    // resource library is needed only while the window is built.
    return tr::Guarded(FALSE, [&] {
        *phWnd = tr::CreateWatchWindow(locale.Handle(), hServer, nMinutes, nEventCode, pszCaption, hIcon, nRow);
        return *phWnd ? TRUE : FALSE;
    });
}
