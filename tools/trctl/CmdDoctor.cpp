// CmdDoctor.cpp - checks an installation and the current user's setup, one
// line per check: OK, WARN (works, but something is off) or FAIL.
#include "DataFiles.h"
#include "Json.h"
#include "Options.h"

#include "base/TrHandle.h"

#include <cstdio>
#include <vector>

namespace trctl {

const char* PathName(int index);  // CmdPaths.cpp

namespace {

struct Check {
    const char* status;
    std::string name;
    std::string detail;
};

class Checks {
public:
    void Add(const char* status, const std::string& name, const std::string& detail) {
        m_checks.push_back({status, name, detail});
    }
    void Ok(const std::string& name, const std::string& detail) { Add("OK", name, detail); }
    void Warn(const std::string& name, const std::string& detail) { Add("WARN", name, detail); }
    void Failed(const std::string& name, const std::string& detail) { Add("FAIL", name, detail); }
    const std::vector<Check>& All() const { return m_checks; }

private:
    std::vector<Check> m_checks;
};

bool IsFolder(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
bool IsFile(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MachineValue(const std::string& key, const char* name, std::string& value) {
    char text[MAX_PATH] = "";
    DWORD size = sizeof(text);
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return false;
    value = text;
    return true;
}

// The installation values of the machine-wide product key and what they name.
void CheckInstallation(Checks& checks, const TR_REG_VALUE_STRUC& table) {
    const std::string key = table.szKeyPath, where = "HKEY_LOCAL_MACHINE\\" + key + "\\";
    const struct { const char* name; bool folder; bool needed; } values[] = {
        {table.szInstalledDirName, true, true}, {table.szInstalledPathName, false, false},
        {table.szTrTWPathName, false, false}};
    for (const auto& v : values) {
        std::string value;
        auto problem = [&](const std::string& detail) {
            if (v.needed) checks.Failed(v.name, detail);
            else checks.Warn(v.name, detail);
        };
        if (!MachineValue(key, v.name, value)) problem(where + v.name + " is missing (is the product installed?)");
        else if (v.folder ? !IsFolder(value) : !IsFile(value)) problem(value + " does not exist");
        else checks.Ok(v.name, value);
    }
}

void CheckPaths(Checks& checks) {
    // The folders are needed; of the files only the resource library.
    for (int i = TR_PATH_PROGRAM_DIR; i < TR_PATH_JOG_DATA; ++i) {
        char path[MAX_PATH] = "";
        const std::string name = std::string("path ") + std::to_string(i) + " " + PathName(i);
        if (!TrComGetPath(i, path)) {
            checks.Failed(name, "not available");
            continue;
        }
        const bool folder = i <= TR_PATH_DATA_DIR;
        if (folder ? IsFolder(path) : IsFile(path)) checks.Ok(name, path);
        else if (i == TR_PATH_USER_DIR || i == TR_PATH_DATA_DIR)
            checks.Failed(name, std::string(path) + " does not exist; run 'trctl setup'");
        else if (folder || i == TR_PATH_LOCALE_DLL) checks.Failed(name, std::string(path) + " does not exist");
        else checks.Warn(name, std::string(path) + " does not exist");
    }
}

void CheckDataFiles(Checks& checks) {
    for (int i = TR_PATH_JOG_DATA; i <= TR_PATH_TIMER_DATA; ++i) {
        DataFileLoad load;
        std::size_t records = 0;
        std::string rules;
        const bool numeral = i <= TR_PATH_FP_DATA || i == TR_PATH_TIMER_DATA;
        if (i == TR_PATH_JOG_DATA) {
            CTrJogDataDB db;
            load = LoadDataFile(db, i);
            records = db.ReadList()->size();
            if (load.problem.empty()) rules = JogLevelProblem(*db.ReadList());
        } else if (numeral) {
            CTrNumeralKeyDB db;
            load = LoadDataFile(db, i);
            records = static_cast<std::size_t>(db.GetDataNumber());
        } else {
            CTrStringKeyDB db;
            load = LoadDataFile(db, i);
            records = static_cast<std::size_t>(db.GetDataNumber());
        }
        const std::string name = "data file " + (load.name.empty() ? std::to_string(i) : load.name);
        if (!load.problem.empty()) checks.Failed(name, load.problem);
        else if (!rules.empty()) checks.Warn(name, "breaks the menu's level rules: " + rules);
        else if (load.result == TR_DB_NO_SECTION && (numeral || i == TR_PATH_JOG_DATA))
            checks.Warn(name, "holds no section, so every lookup of it fails until something is bound");
        else checks.Ok(name, (i == TR_PATH_JOG_DATA ? "entries: " : "records: ") + std::to_string(records));
    }
}

void CheckUser(Checks& checks, const TR_REG_VALUE_STRUC& table) {
    tr::RegKey key;
    DWORD subKeys = 0;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, table.szKeyPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS ||
        ::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        subKeys == 0)
        checks.Failed("user settings", std::string("HKEY_CURRENT_USER\\") + table.szKeyPath +
                                           " holds no settings; run 'trctl setup'");
    else checks.Ok("user settings", std::string("HKEY_CURRENT_USER\\") + table.szKeyPath + ": " +
                                        std::to_string(subKeys) + " families");
}

void CheckServer(Checks& checks) {
    HWND server = nullptr;
    char text[128];
    if (!TrComGetServer(&server)) {
        checks.Warn("server window", TrComCreateSharedMemory() ? "none registered (no server program runs)"
                                                               : "the shared block is busy");
    } else if (!server) {
        checks.Warn("server window", "the shared block holds no server window");
    } else if (!::IsWindow(server)) {
        std::snprintf(text, sizeof(text), "the registered window 0x%08lx no longer exists",
                      static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(server)));
        checks.Failed("server window", text);
    } else {
        std::snprintf(text, sizeof(text), "0x%08lx is alive", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(server)));
        checks.Ok("server window", text);
    }
}

}  // namespace

int RunDoctor(const Args& args) {
    Options o;
    int rc = 0;
    if (!ParseOptions("doctor", args, {{"--json", false}}, o, rc)) return rc;
    if (!o.Positional().empty()) return Fail(kExitUsage, "doctor: unexpected argument '" + o.Positional()[0] + "'");

    Checks checks;
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    char where[MAX_PATH] = "";
    if (locale && ::GetModuleFileNameA(locale.Get(), where, MAX_PATH)) checks.Ok("TrLocale.DLL", where);
    else checks.Failed("TrLocale.DLL", "cannot be loaded (error " + std::to_string(::GetLastError()) + ")");
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_MACHINE> table{};
    if (TrComGetRegValue(&table)) {
        CheckInstallation(checks, table);
        CheckPaths(checks);
        CheckDataFiles(checks);
        CheckUser(checks, table);
    } else {
        checks.Failed("key table", "the product key table cannot be filled without TrLocale.DLL");
    }
    CheckServer(checks);

    int failed = 0, warned = 0;
    Json list = Json::array();
    for (const auto& c : checks.All()) {
        failed += c.status[0] == 'F';
        warned += c.status[0] == 'W';
        if (o.Has("--json")) list.push_back({{"status", c.status}, {"check", Utf8(c.name)}, {"detail", Utf8(c.detail)}});
        else std::printf("%-5s %-26s %s\n", c.status, c.name.c_str(), c.detail.c_str());
    }
    if (o.Has("--json")) PrintJson({{"checks", list}, {"failed", failed}, {"warnings", warned}});
    else std::printf("%d checks: %d failed, %d warnings\n", static_cast<int>(checks.All().size()), failed, warned);
    return failed ? Fail(kExitCheckFailed, "doctor: " + std::to_string(failed) + " check(s) failed") : kExitOk;
}

}  // namespace trctl
