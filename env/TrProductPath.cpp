// TrProductPath.cpp - TrComGetPath: the product's folders and files by index.
//
// Nothing is cached: every call reads the installation values and the file
// system afresh, and indexes defined through others ask for them again.
#include "env/TrRegistry.h"

#include "base/TrText.h"

#include <shlobj.h>

#include <cstring>

namespace {

struct MachineTable : TR_REG_VALUE_STRUC {
    int GetValueKind() override { return TR_REG_KIND_MACHINE; }
};

const char kProductDataFolder[] = "Kalvor Corporation\\Trelvane";

// The file of each index from 6 on, and the index of the folder it is in.
struct FileEntry {
    int folder;
    const char* name;
};
const FileEntry kFiles[] = {
    /* 6 */ {TR_PATH_OS_DIR, "Trelvane.chm"},     /* 7 */ {TR_PATH_PROGRAM_DIR, "TrLocale.DLL"},
    /* 8 */ {TR_PATH_OS_DIR, "TrLaunch.ini"},     /* 9 */ {TR_PATH_OS_DIR, "TrDevice.ini"},
    /* 10 */ {TR_PATH_DATA_DIR, "JogData.dat"},   /* 11 */ {TR_PATH_DATA_DIR, "JPPKData.dat"},
    /* 12 */ {TR_PATH_DATA_DIR, "PPKData.dat"},   /* 13 */ {TR_PATH_DATA_DIR, "SKeyData.dat"},
    /* 14 */ {TR_PATH_DATA_DIR, "FPData.dat"},    /* 15 */ {TR_PATH_DATA_DIR, "XbusData.dat"},
    /* 16 */ {TR_PATH_DATA_DIR, "XbusCtg.dat"},   /* 17 */ {TR_PATH_DATA_DIR, "USBData.dat"},
    /* 18 */ {TR_PATH_DATA_DIR, "TimrData.dat"},
};

// Index 'folder' joined with 'name'; false when the inner call fails or the
// result would not fit MAX_PATH.
bool Join(int folder, const char* name, char (&out)[MAX_PATH]) {
    return TrComGetPath(folder, out) && TrComPathAppend(out, name);
}

bool BuildPath(int index, const TR_REG_VALUE_STRUC& table, char (&out)[MAX_PATH]) {
    const HKEY root = table.hRoot;
    switch (index) {
    case TR_PATH_PROGRAM_DIR: {
        if (tr::RegReadString(root, table.szKeyPath, table.szInstalledDirName, out)) return true;
        if (!TrComGetPath(TR_PATH_INSTALLED_FILE, out)) return false;
        const std::size_t slash = tr::FindLastChar(out, '\\');
        out[slash == tr::kNotFound ? 0 : slash] = '\0';
        return true;
    }
    case TR_PATH_OS_DIR: {
        DWORD os = TR_OS_UNKNOWN;
        TrComGetOS(&os);
        if (Join(TR_PATH_PROGRAM_DIR, os == TR_OS_WINNT ? "Win2K" : "Win98", out) && TrComPathFileExists(out))
            return true;
        return TrComGetPath(TR_PATH_PROGRAM_DIR, out) != 0;
    }
    case TR_PATH_USER_DIR:
    case TR_PATH_DATA_DIR:
        return ::SHGetSpecialFolderPathA(nullptr, out, CSIDL_APPDATA, TRUE) && TrComPathAppend(out, kProductDataFolder);
    case TR_PATH_INSTALLED_FILE:
        if (!tr::RegReadString(root, table.szKeyPath, table.szInstalledPathName, out))
            std::memcpy(out, table.szDefaultInstalledPath, MAX_PATH);
        return true;
    case TR_PATH_TRTW_DLL:
        return tr::RegReadString(root, table.szKeyPath, table.szTrTWPathName, out) ||
               Join(TR_PATH_PROGRAM_DIR, "TrTW.dll", out);
    case TR_PATH_HELP_FILE:
        if (Join(TR_PATH_OS_DIR, kFiles[0].name, out) && TrComPathFileExists(out)) return true;
        return Join(TR_PATH_PROGRAM_DIR, kFiles[0].name, out);
    default: {
        const FileEntry& file = kFiles[index - TR_PATH_HELP_FILE];
        return Join(file.folder, file.name, out);
    }
    }
}

}  // namespace

// Indexes outside 0 to 18 give 0 and leave the buffer as it was, as does any
// failure: the path is built aside and copied only when complete.
extern "C" int TRCOMAPI TrComGetPath(int nIndex, char* pszPath) {
    if (!pszPath || nIndex < 0 || nIndex >= TR_PATH_COUNT) return 0;
    MachineTable table;
    if (!tr::FillRegInfo(&table)) return 0;
    char path[MAX_PATH] = {};
    if (!BuildPath(nIndex, table, path)) return 0;
    std::memcpy(pszPath, path, std::strlen(path) + 1);
    return 1;
}
