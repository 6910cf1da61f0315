// TrInfoDlg.h - the counting-down info dialog (template 102): the
// application's icon, Title and Description and two captions over a
// background picture, an animation, and a two-digit seconds counter that ends
// the dialog with IDOK when it runs out.
#ifndef TR_UI_INFODLG_H
#define TR_UI_INFODLG_H

#include <windows.h>

#include <string>

#include "base/TrHandle.h"
#include "ui/TrGdiOwners.h"
#include "ui/TrIconWnd.h"

namespace tr {

class InfoDialog {
public:
    static constexpr unsigned kMaxSeconds = 99;

    // hResources is the resource library; it must stay loaded until Run ends.
    explicit InfoDialog(HINSTANCE hResources);
    InfoDialog(const InfoDialog&) = delete;
    InfoDialog& operator=(const InfoDialog&) = delete;

    // The values in the order the export passes them. hAppIcon is not owned
    // and may be NULL. False, with nothing changed, for 0 or more than 99
    // seconds.
    bool SetValues(HICON hAppIcon, unsigned seconds, std::string title, std::string description,
                   std::string heading, std::string prompt);

    // The modal run: IDOK, IDCANCEL, or -1 when the dialog cannot be made.
    INT_PTR Run(HWND hOwner);

private:
    static INT_PTR CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    BOOL OnInitDialog();
    void OnPaint();
    void OnEraseBackground(HDC hDC);
    void OnTimer(UINT_PTR id);
    void OnMove(int x, int y);
    void OnSetCursor();
    void OnShowWindow();
    void OnDestroy();

    void DrawBackground(HDC hDC, const RECT& area) const;
    void DrawCounter(HDC hDC) const;
    void DrawTexts(HDC hDC) const;
    void PlaceIconWindow(int x, int y);
    void RaiseIconWindow();
    bool IconWindowAbove() const;

    HINSTANCE m_hResources;
    HWND m_hWnd = nullptr;
    HICON m_hDialogIcon = nullptr;  // shared icon 2039, owned by the resource library
    HICON m_hAppIcon = nullptr;     // the caller's, not owned
    unsigned m_seconds = 5;
    std::string m_title, m_description, m_heading, m_prompt;
    UINT_PTR m_timerId = 1;
    IconWindow m_iconWindow;
    ImageList m_digits;
    GdiObject m_digitBitmap;
    GdiObject m_background;
};

}  // namespace tr

#endif  // TR_UI_INFODLG_H
