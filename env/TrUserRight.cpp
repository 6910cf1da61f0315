// TrUserRight.cpp - which built-in groups the current user belongs to.
//
// Only groups enabled in the process token count: a group kept for deny-only
// use, or switched off, does not make the user a member.
#include "env/TrUserRight.h"

#include "base/TrHandle.h"

#include <vector>

namespace tr {
namespace {

using Sid = UniqueHandle<NullTraits<PSID, &::FreeSid>>;

}  // namespace

BOOL IsGroupMemberOfToken(HANDLE hToken, BOOL* pbMember, DWORD dwRelativeId) {
    if (!pbMember) return FALSE;
    *pbMember = FALSE;
    DWORD size = 0;
    if (!::GetTokenInformation(hToken, TokenGroups, nullptr, 0, &size) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return FALSE;
    if (size < sizeof(TOKEN_GROUPS)) return FALSE;
    // DWORD_PTR elements keep the block aligned for the SID pointers in it.
    std::vector<DWORD_PTR> block((size + sizeof(DWORD_PTR) - 1) / sizeof(DWORD_PTR), 0);
    if (!::GetTokenInformation(hToken, TokenGroups, block.data(), size, &size)) return FALSE;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    Sid group;
    if (!::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, dwRelativeId, 0, 0, 0, 0, 0, 0, group.Put()))
        return FALSE;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(block.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        if (::EqualSid(groups->Groups[i].Sid, group.Get()) && (groups->Groups[i].Attributes & SE_GROUP_ENABLED))
            *pbMember = TRUE;
    }
    return TRUE;
}

BOOL IsGroupMember(BOOL* pbMember, DWORD dwRelativeId) {
    if (!pbMember) return FALSE;
    *pbMember = FALSE;
    Handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put())) return FALSE;
    return IsGroupMemberOfToken(token.Get(), pbMember, dwRelativeId);
}

}  // namespace tr
