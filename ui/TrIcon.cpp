// TrIcon.cpp - a file's icon from the shell, else the product's own icon.
#include "include/TrCommon.h"
#include "ui/TrLocaleModule.h"
#include "ui/TrResourceIds.h"

#include <shellapi.h>

extern "C" BOOL TRCOMAPI TrComGetIconHandle(HICON* phIcon, const char* pszPath, BOOL bLarge) {
    if (!phIcon) return FALSE;
    *phIcon = nullptr;

    // Without SHGFI_USEFILEATTRIBUTES the file must exist; the attribute
    // argument is then ignored by the shell.
    if (pszPath) {
        SHFILEINFOA info = {};
        const UINT flags = SHGFI_ICON | (bLarge ? SHGFI_LARGEICON : SHGFI_SMALLICON);
        if (::SHGetFileInfoA(pszPath, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), flags) && info.hIcon) {
            *phIcon = info.hIcon;
            return TRUE;
        }
    }

    tr::LocaleModule locale;
    if (!locale.Loaded()) return FALSE;
    // Not loaded as shared, so the icon outlives the resource library and
    // belongs to the caller (DestroyIcon).
    const int size = bLarge ? 32 : 16;
    *phIcon = static_cast<HICON>(
        ::LoadImageA(locale.Handle(), MAKEINTRESOURCEA(IDI_TR_FALLBACK), IMAGE_ICON, size, size, 0));
    return *phIcon ? TRUE : FALSE;
}
