// TrUserRight.h - group membership tests behind TrComCheckUserRight.
#ifndef TR_ENV_USERRIGHT_H
#define TR_ENV_USERRIGHT_H

#include "include/TrCommon.h"

namespace tr {

// TRUE when the test could be made; *pbMember tells whether the built-in
// group S-1-5-32-<rid> is in the token's groups and enabled.
BOOL IsGroupMemberOfToken(HANDLE hToken, BOOL* pbMember, DWORD dwRelativeId);
// The same for the current process's token.
BOOL IsGroupMember(BOOL* pbMember, DWORD dwRelativeId);

}  // namespace tr

#endif  // TR_ENV_USERRIGHT_H
