// TrProductPath.cpp - TrComGetPath: the product's folders and files by index.
//
// Nothing is cached between calls: every call reads the installation values
// and the file system afresh. Within one call the product key table is filled
// once and the program folder read once, however many indexes build on them.
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

// One call of TrComGetPath: the product key table, filled once at its start,
// and the program folder, read at most once. Indexes defined through other
// indexes are built within the same call from the same table and registry
// reads; nothing outlives the call.
class PathCall {
public:
    explicit PathCall(const TR_REG_VALUE_STRUC& table) : m_table(table) {}

    bool Build(int index, char (&out)[MAX_PATH]);

private:
    // Index 'folder' joined with 'name'; false when the folder fails or the
    // result would not fit MAX_PATH.
    bool Join(int folder, const char* name, char (&out)[MAX_PATH]) {
        return Build(folder, out) && TrComPathAppend(out, name);
    }
    bool ProgramDir(char (&out)[MAX_PATH]);

    const TR_REG_VALUE_STRUC& m_table;
    enum { kNotRead, kRead, kFailed } m_programDirState = kNotRead;
    char m_programDir[MAX_PATH] = {};
};

bool PathCall::ProgramDir(char (&out)[MAX_PATH]) {
    if (m_programDirState == kNotRead) {
        bool ok = true;
        if (!tr::RegReadString(m_table.hRoot, m_table.szKeyPath, m_table.szInstalledDirName, m_programDir)) {
            ok = Build(TR_PATH_INSTALLED_FILE, m_programDir);
            const std::size_t slash = tr::FindLastChar(m_programDir, '\\');
            if (ok) m_programDir[slash == tr::kNotFound ? 0 : slash] = '\0';
        }
        m_programDirState = ok ? kRead : kFailed;
    }
    if (m_programDirState == kFailed) return false;
    std::memcpy(out, m_programDir, MAX_PATH);
    return true;
}

bool PathCall::Build(int index, char (&out)[MAX_PATH]) {
    const HKEY root = m_table.hRoot;
    switch (index) {
    case TR_PATH_PROGRAM_DIR:
        return ProgramDir(out);
    case TR_PATH_OS_DIR: {
        DWORD os = TR_OS_UNKNOWN;
        TrComGetOS(&os);
        if (Join(TR_PATH_PROGRAM_DIR, os == TR_OS_WINNT ? "Win2K" : "Win98", out) && TrComPathFileExists(out))
            return true;
        return ProgramDir(out);
    }
    case TR_PATH_USER_DIR:
    case TR_PATH_DATA_DIR:
        return ::SHGetSpecialFolderPathA(nullptr, out, CSIDL_APPDATA, TRUE) && TrComPathAppend(out, kProductDataFolder);
    case TR_PATH_INSTALLED_FILE:
        if (!tr::RegReadString(root, m_table.szKeyPath, m_table.szInstalledPathName, out))
            std::memcpy(out, m_table.szDefaultInstalledPath, MAX_PATH);
        return true;
    case TR_PATH_TRTW_DLL:
        return tr::RegReadString(root, m_table.szKeyPath, m_table.szTrTWPathName, out) ||
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
    if (!PathCall(table).Build(nIndex, path)) return 0;
    std::memcpy(pszPath, path, std::strlen(path) + 1);
    return 1;
}
