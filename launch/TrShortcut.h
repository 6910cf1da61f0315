// TrShortcut.h - reading a shell shortcut (.lnk) without resolving it.
#ifndef TR_LAUNCH_SHORTCUT_H
#define TR_LAUNCH_SHORTCUT_H

#include <windows.h>

namespace tr {

// Reads the shortcut file pszLink. The three buffers hold MAX_PATH bytes and
// come in with the block's Path, WorkDir and Option:
//  - pszPath receives the target in short (8.3) form, unless the target is
//    the same text as the icon location, in which case it keeps its value;
//  - pszWorkDir and pszArgs are filled from the shortcut only when empty.
// FALSE when COM, the link object, loading or reading the target failed; the
// buffers are then unchanged. COM is uninitialised at the end only when this
// call was the one that initialised it.
BOOL ResolveShortcut(const char* pszLink, char* pszPath, char* pszWorkDir, char* pszArgs);

}  // namespace tr

#endif  // TR_LAUNCH_SHORTCUT_H
