// TrForeground.h - the foreground hand-over that precedes every launch and
// every dialog: activate the server window, then generate input so that the
// window shown next may come to the front, leaving the cursor where it was.
#ifndef TR_LAUNCH_FOREGROUND_H
#define TR_LAUNCH_FOREGROUND_H

#include <windows.h>

namespace tr {

// The five steps, in order: SetActiveWindow(hServer), save the cursor, an
// absolute move to (0, 0xFFFF), a middle-button release, restore the cursor.
// Works only on the thread that owns hServer (SetActiveWindow's rule);
// hServer may be NULL, and the input is generated all the same.
void HandOverForeground(HWND hServer);

}  // namespace tr

#endif  // TR_LAUNCH_FOREGROUND_H
