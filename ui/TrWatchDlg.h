// TrWatchDlg.h - the watch window (template 104): a modeless window counting
// down in minutes to a coming event, keeping the machine awake, and telling
// its owner how it ended with "Trelvane Message".
#ifndef TR_UI_WATCHDLG_H
#define TR_UI_WATCHDLG_H

#include <windows.h>

#include <string>

namespace tr {

// wParam posted to the owner when the user cancels a watch window.
constexpr UINT kWatchCancelled = 0x200001;

// Creates the window from template 104 of hResources, owned by hOwner (which
// may be NULL: nothing is then posted), shown, in the foreground and
// counting. The window deletes its own state when destroyed. NULL when it
// cannot be made. The resources are needed only during this call.
HWND CreateWatchWindow(HINSTANCE hResources, HWND hOwner, int minutes, UINT eventCode, const char* caption,
                       HICON hIcon, int row);

// Watch windows of this module that still hold their state (for leak checks).
int LiveWatchWindows();

// The text of a format of the resource library with up to two whole numbers:
// "%d"-style conversions (d, i or u, with flags, width, precision and a
// length modifier hh, h, l, ll, j, z or t) take the numbers in order, "%%"
// gives "%", anything else stays as written ("%*d", "%Ld", "%s"), so a
// malformed string can never read arguments that are not there. The
// resource check accepts exactly these forms.
std::string FormatNumbers(const std::string& format, int first = 0, int second = 0);

}  // namespace tr

#endif  // TR_UI_WATCHDLG_H
