// Diagnosis.cpp - the reasons behind a refused launch or a failed lookup.
#include "Diagnosis.h"

#include <TrCommonClasses.h>

#include <shellapi.h>

namespace trelvane {

const DataFileSlot kDataFileSlots[8] = {
    {CTrAppDataFinder::kXbus, TR_PATH_XBUS_DATA, false}, {CTrAppDataFinder::kXbus, TR_PATH_XBUS_CATEGORY, false},
    {CTrAppDataFinder::kUsb, TR_PATH_USB_DATA, false},   {CTrAppDataFinder::kFlashpod, TR_PATH_FP_DATA, true},
    {CTrAppDataFinder::kSKey, TR_PATH_SKEY_DATA, true},  {CTrAppDataFinder::kPPK, TR_PATH_PPK_DATA, true},
    {CTrAppDataFinder::kTimer, TR_PATH_TIMER_DATA, true}, {CTrAppDataFinder::kJogPPK, TR_PATH_JPPK_DATA, true},
};

std::string LaunchProblem(const TR_APP_DATA_STRUC& app, DWORD error) {
    const std::string path = app.szPath;
    if (path.empty()) {
        BOOL jukebox = FALSE;
        if (TrComExistLyraneJukebox(&jukebox) && jukebox)
            return "the jukebox companion runs and owns the card, so the lookup cleared the binding's Path";
        return "the binding's Path is empty";
    }
    char associated[MAX_PATH] = "";
    if (reinterpret_cast<INT_PTR>(::FindExecutableA(app.szPath, app.szWorkDir, associated)) <= 32) {
        const bool shortcut = path.size() >= 4 && _stricmp(path.c_str() + path.size() - 4, ".lnk") == 0;
        if (::SearchPathA(nullptr, app.szPath, nullptr, 0, nullptr, nullptr) == 0 &&
            ::GetFileAttributesA(app.szPath) == INVALID_FILE_ATTRIBUTES)
            return path + " does not exist";
        return shortcut ? "the shortcut " + path + " cannot be resolved"
                        : path + " has no associated program and is no shortcut";
    }
    HWND server = nullptr;
    if (!TrComGetServer(&server)) return "the server window could not be looked up (the shared block is busy or gone)";
    return "the shell did not start " + path + " (error " + std::to_string(error) + ")";
}

std::string DataFileProblem(WORD mask) {
    CTrAppDataFinder finder;
    const int failed = finder.OpenDataBases(mask);
    finder.CloseDataBases();
    if (!failed) return std::string();
    if (failed == 0xFFFF) return "TrLocale.DLL cannot be loaded, so the data files cannot be found";
    for (const auto& f : kDataFileSlots) {
        if (!(failed & f.bit)) continue;
        char path[MAX_PATH] = "";
        if (!TrComGetPath(f.pathIndex, path)) return "the user's data folder is unknown (run trctl setup)";
        const std::string full = path, name = full.substr(full.find_last_of('\\') + 1);
        if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
            return name + " does not exist (trctl setup copies the installed one)";
        CTrNumeralKeyDB numeral;
        CTrStringKeyDB text;
        switch (f.numeral ? numeral.Load(full) : text.Load(full)) {
        case TR_DB_OK: continue;         // readable again by now
        case TR_DB_NO_SECTION: continue;  // a numeral-key file with no binding at all
        case TR_DB_NO_FILE: return name + " cannot be opened (a folder, or in use by another program)";
        case TR_DB_CUT_TITLE: return name + " is damaged: it ends right after a Title: line (trctl doctor shows more)";
        default: return name + " is damaged: a section lacks or repeats a line (trctl doctor shows where)";
        }
    }
    return std::string();
}

}  // namespace trelvane
