// TrModalRun.h - what the library's dialogs share around their procedures:
// the end code of a modal run, and the guard around each message.
#ifndef TR_UI_MODALRUN_H
#define TR_UI_MODALRUN_H

#include <windows.h>

#include <utility>

#include "base/TrGuard.h"

namespace tr {

// The modal run of template 'id' with 'self' as the init parameter: its end
// code, or -1 whenever the dialog could not be made. DialogBoxParam gives 0
// when the owner is no longer a window (a server program that ended with its
// window still in the shared block); these dialogs never end with 0.
inline INT_PTR RunModal(HINSTANCE hResources, UINT id, HWND hOwner, DLGPROC proc, void* self) {
    const INT_PTR code =
        ::DialogBoxParamA(hResources, MAKEINTRESOURCEA(id), hOwner, proc, reinterpret_cast<LPARAM>(self));
    return code == 0 ? -1 : code;
}

// One message of a dialog procedure through the guard. What the C++ runtime
// throws leaves the message unhandled (FALSE); thrown while WM_INITDIALOG
// is handled, the dialog cannot be made and ends at once: a modal one with
// -1, a modeless one destroyed.
template <class Handle>
INT_PTR HandleGuarded(HWND hWnd, UINT msg, bool modal, Handle&& handle) {
    return GuardedElse(std::forward<Handle>(handle), [&]() -> INT_PTR {
        if (msg == WM_INITDIALOG) modal ? ::EndDialog(hWnd, -1) : ::DestroyWindow(hWnd);
        return FALSE;
    });
}

}  // namespace tr

#endif  // TR_UI_MODALRUN_H
