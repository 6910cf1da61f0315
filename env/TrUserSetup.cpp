// TrUserSetup.cpp - preparing a new user: the machine-wide settings copied to
// the user's key, the installed data files to the user's data folder, and
// the user's built-in groups.
#include "include/TrCommon.h"
#include "base/TrGuard.h"
#include "env/TrDataCopy.h"
#include "env/TrRegistry.h"
#include "env/TrUserRight.h"

namespace {

template <int Kind>
struct Table : TR_REG_VALUE_STRUC {
    int GetValueKind() override { return Kind; }
};

}  // namespace

extern "C" {

// Values the user already has stay unless bOverwrite; values only the user
// has are never removed.
int TRCOMAPI TrComCopyRegKeyToCurrentUser(BOOL bOverwrite) {
    Table<TR_REG_KIND_MACHINE> machine;
    Table<TR_REG_KIND_USER> user;
    if (!tr::FillRegInfo(&machine) || !tr::FillUserRegInfo(&user)) return 0;
    return tr::RegCopyKey(machine.hRoot, machine.szKeyPath, user.hRoot, user.szKeyPath, bOverwrite) ? 1 : 0;
}

// 0 only for folder problems: no source folder, or a missing data folder
// that cannot be made. Both are tested by a file search (TrComPathFileExists),
// so anything standing at a path counts, a file too, and a path that ends in
// a backslash names nothing. A file at the data folder's path is left alone;
// the single copies into it then fail silently.
int TRCOMAPI TrComCopyDataToUserFolder(BOOL bOverwrite) {
    char source[MAX_PATH], target[MAX_PATH];
    if (!TrComGetPath(TR_PATH_OS_DIR, source) || !TrComPathFileExists(source)) return 0;
    if (!TrComGetPath(TR_PATH_DATA_DIR, target)) return 0;
    if (!TrComPathFileExists(target) && !TrComCreateDirectory(target)) return 0;
    tr::CopyDataFiles(source, target, bOverwrite);
    return 1;
}

// Outside the NT family every user counts as an administrator.
int TRCOMAPI TrComCheckUserRight(DWORD* pdwRights) {
    if (!pdwRights) return 0;
    *pdwRights = 0;
    DWORD os = TR_OS_UNKNOWN;
    TrComGetOS(&os);
    if (os != TR_OS_WINNT) {
        *pdwRights = TR_RIGHT_ADMINISTRATORS;
        return 1;
    }
    static const struct {
        DWORD rid, bit;
    } kGroups[] = {{DOMAIN_ALIAS_RID_ADMINS, TR_RIGHT_ADMINISTRATORS},
                   {DOMAIN_ALIAS_RID_POWER_USERS, TR_RIGHT_POWER_USERS},
                   {DOMAIN_ALIAS_RID_USERS, TR_RIGHT_USERS},
                   {DOMAIN_ALIAS_RID_GUESTS, TR_RIGHT_GUESTS}};
    // Out of memory fails the test it happens in: 0, the bits found so far kept.
    return tr::Guarded(0, [&] {
        for (const auto& g : kGroups) {
            BOOL member = FALSE;
            if (!tr::IsGroupMember(&member, g.rid)) return 0;
            if (member) *pdwRights |= g.bit;
        }
        return 1;
    });
}

}  // extern "C"
