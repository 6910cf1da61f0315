// TrJogMenu.cpp - the jog menu for programs that do not use the database
// class: each call loads "JogData.dat" afresh, answers and forgets it.
#include "include/TrCommon.h"
#include "include/TrCommonClasses.h"

#include "base/TrHandle.h"
#include "base/TrFieldText.h"
#include "base/TrGuard.h"

#include <cstring>

namespace {

constexpr int kPathJogData = 10;

// Loads the menu; only a complete load counts (an empty file, 6, and a
// partly read one, 2 or 5, fail).
bool LoadMenu(CTrJogDataDB& db) {
    // The path lookup loads the resource library once per nested index;
    // holding it for the call turns those loads into reference counts.
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    char path[MAX_PATH] = "";
    if (!TrComGetPath(kPathJogData, path)) return false;
    path[MAX_PATH - 1] = '\0';
    return db.Load(path) == 0;
}

// Loads the menu and stores one of its counts; the count stays 0 on failure.
int CountEntries(int& count, int (CTrJogDataDB::*counter)() const) {
    return tr::Guarded(FALSE, [&] {
        CTrJogDataDB db;
        if (!LoadMenu(db)) return FALSE;
        count = (db.*counter)();
        return TRUE;
    });
}

}  // namespace

extern "C" {

// Out of memory gives FALSE with the block untouched.
int TRCOMAPI TrComJogDataGetAt(TR_JOG_DATA_STRUC* pData, int nIndex) {
    if (!pData) return FALSE;
    return tr::Guarded(FALSE, [&] {
        CTrJogDataDB db;
        if (!LoadMenu(db)) return FALSE;
        if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= db.ReadList()->size()) return FALSE;
        const CTrJogData& entry = db.Get(nIndex);
        TR_JOG_DATA_STRUC local;
        tr::CopyToField(local.szTitle, TR_TEXT_FIELD, entry.GetTitle());
        tr::CopyToField(local.szDescription, TR_TEXT_FIELD, entry.GetDescription());
        tr::CopyToField(local.szPath, TR_TEXT_FIELD, entry.GetPath());
        tr::CopyToField(local.szWorkDir, TR_TEXT_FIELD, entry.GetWorkDir());
        tr::CopyToField(local.szOption, TR_TEXT_FIELD, entry.GetOption());
        local.nLevel = entry.GetLevel();
        local.bIsFolder = entry.IsFolder();
        std::memcpy(pData, &local, sizeof(local));
        return TRUE;
    });
}

int TRCOMAPI TrComJogDataGetCount(int* pnCount) {
    if (!pnCount) return FALSE;
    *pnCount = 0;
    return CountEntries(*pnCount, &CTrJogDataDB::GetDataNumber);
}

int TRCOMAPI TrComJogDataGetAllItems(int* pnCount) {
    if (!pnCount) return FALSE;
    *pnCount = 0;
    return CountEntries(*pnCount, &CTrJogDataDB::GetAllNumber);
}

}  // extern "C"
