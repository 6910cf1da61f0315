// TrForeground.cpp - the foreground hand-over shared by the launcher and the
// dialogs.
//
// Windows lets a process bring a window to the front only while it counts as
// the one that received the last input. Activating our own server window and
// then generating input ourselves gives the program started next (or the
// dialog shown next) the right to come forward. The middle-button release
// has no matching press, so no application sees a click.
#include "launch/TrForeground.h"

namespace tr {

void HandOverForeground(HWND hServer) {
    ::SetActiveWindow(hServer);

    POINT saved = {};
    const BOOL haveCursor = ::GetCursorPos(&saved);

    // Absolute coordinates are normalised to 0..65535: (0, 0xFFFF) is the
    // bottom-left corner of the primary screen.
    ::mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0xFFFF, 0, 0);
    ::mouse_event(MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);

    // Without a saved position (no interactive desktop) there is nothing to
    // restore; the cursor then stays in the corner.
    if (haveCursor) ::SetCursorPos(saved.x, saved.y);
}

}  // namespace tr
