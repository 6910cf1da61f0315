// TrPastDlg.h - the past-time dialog (template 103): the application of a
// timed event whose set time has passed, with that time and the current time.
#ifndef TR_UI_PASTDLG_H
#define TR_UI_PASTDLG_H

#include <windows.h>

#include <string>

#include "base/TrHandle.h"

namespace tr {

class PastDialog {
public:
    // hResources is the resource library; it must stay loaded until Run ends.
    PastDialog(HINSTANCE hResources, std::string path, std::string title, std::string description,
               const SYSTEMTIME& eventTime);
    PastDialog(const PastDialog&) = delete;
    PastDialog& operator=(const PastDialog&) = delete;

    // The modal run: the end code of the template's buttons, or -1 when the
    // dialog cannot be made.
    INT_PTR Run(HWND hOwner);

private:
    static INT_PTR CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void ShowCurrentTime();

    HINSTANCE m_hResources;
    HWND m_hWnd = nullptr;
    UINT_PTR m_timerId = 1;
    std::string m_path, m_title, m_description;
    SYSTEMTIME m_eventTime;
    Icon m_smallIcon;  // icon 2039, loaded unshared: ours to destroy
    Icon m_appIcon;    // the file's icon from the shell, ours as well
};

}  // namespace tr

#endif  // TR_UI_PASTDLG_H
