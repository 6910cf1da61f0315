// TrRegInfoMemory.cpp - device descriptions made and released with the
// library's own allocator.
//
// A PnP lookup releases the caller's TR_REG_INFO_STRUC with the library's
// operator delete. A host whose C++ runtime is not the library's (another
// compiler, another heap) therefore makes the structure here, and releases
// it here when the lookup left it with the host.
#include "include/TrCommon.h"

#include <cstring>
#include <new>

extern "C" int TRCOMAPI TrComNewRegInfo(TR_REG_INFO_STRUC** ppInfo, const char* pszRegPath) {
    if (!ppInfo || ::IsBadWritePtr(ppInfo, sizeof(*ppInfo))) return FALSE;
    *ppInfo = nullptr;
    if (!pszRegPath || ::IsBadStringPtrA(pszRegPath, static_cast<UINT_PTR>(-1))) return FALSE;
    // Both pieces come from operator new, as the lookup's release expects.
    const std::size_t size = std::strlen(pszRegPath) + 1;
    void* text = ::operator new(size, std::nothrow);
    if (!text) return FALSE;
    void* block = ::operator new(sizeof(TR_REG_INFO_STRUC), std::nothrow);
    if (!block) {
        ::operator delete(text);
        return FALSE;
    }
    std::memcpy(text, pszRegPath, size);
    *ppInfo = new (block) TR_REG_INFO_STRUC{0, 0, 0, static_cast<char*>(text)};
    return TRUE;
}

extern "C" int TRCOMAPI TrComFreeRegInfo(TR_REG_INFO_STRUC* pInfo) {
    if (!pInfo) return FALSE;
    ::operator delete(pInfo->pszRegPath);
    ::operator delete(pInfo);
    return TRUE;
}
