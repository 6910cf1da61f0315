// TrJukebox.cpp - whether the jukebox companion runs, and whether its tray
// program is set to start.
//
// The companion announces itself by a named mutex that only it creates; the
// test opens it and closes it at once, never taking ownership, so the
// companion is not disturbed.
#include "include/TrCommon.h"
#include "env/TrRegistry.h"

#include "base/TrHandle.h"

namespace {

constexpr char kJukeboxMutex[] = "Kalvor Lyrane Jukebox";
constexpr char kTrayKey[] = "SOFTWARE\\Kalvor Corporation\\Lyrane Jukebox\\Tray";

}  // namespace

extern "C" {

// Any failure to open the mutex (none, access denied, a name taken by
// another kind of object) means "not running".
BOOL TRCOMAPI TrComExistLyraneJukebox(BOOL* pbExist) {
    if (!pbExist) return FALSE;
    *pbExist = FALSE;
    const tr::Handle mutex(::OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kJukeboxMutex));
    if (mutex) *pbExist = TRUE;
    return TRUE;
}

// The per-user value wins whenever it can be read, even when empty; the data
// are taken as bytes up to the first zero, whatever the value's type.
BOOL TRCOMAPI TrComExistLyraneJukeboxInTaskTray(BOOL* pbExist) {
    if (!pbExist) return FALSE;
    char run[MAX_PATH] = "";
    if (!tr::RegReadString(HKEY_CURRENT_USER, kTrayKey, "Run", run) &&
        !tr::RegReadString(HKEY_LOCAL_MACHINE, kTrayKey, "Run", run))
        return FALSE;
    *pbExist = run[0] != '\0' ? TRUE : FALSE;
    return TRUE;
}

}  // extern "C"
