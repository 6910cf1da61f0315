// DataFiles.cpp - loading and writing data files, and telling why not.
#include "DataFiles.h"

#include "base/TrHandle.h"
#include "base/TrText.h"

#include <initializer_list>
#include <vector>

namespace trctl {
namespace {

enum class Layout { Numeral, String, Jog };

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Why a file that Load or Write could not open is out of reach.
std::string OpenProblem(const std::string& path, DWORD error) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return "is a folder";
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return "is in use by another process; try again when it has been closed";
    if (error == ERROR_ACCESS_DENIED) return "cannot be opened: access is denied";
    return "cannot be opened (error " + std::to_string(error) + ")";
}

// The lines of a file as the engine splits them: each ends at LF, a CR just
// before the LF is not part of it.
std::vector<std::string> FileLines(const std::string& path) {
    std::vector<std::string> lines;
    tr::Handle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file) return lines;
    std::string bytes, line;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        else if (end > start && bytes[end - 1] == '\r') --end;
        lines.push_back(bytes.substr(start, end - start));
        start = next;
    }
    return lines;
}

// Counts, for each label, the lines that the database takes for it: a line
// goes to the first label of the list that occurs anywhere in it. Lines
// that match none are left in 'rest'.
std::vector<int> CountLabels(const std::vector<std::string>& lines, std::initializer_list<const char*> labels,
                             std::vector<std::string>& rest) {
    std::vector<int> counts(labels.size(), 0);
    rest.clear();
    for (const auto& line : lines) {
        std::size_t i = 0;
        for (const char* label : labels) {
            if (tr::FindText(line, label) != tr::kNotFound) break;
            ++i;
        }
        if (i < labels.size()) ++counts[i];
        else rest.push_back(line);
    }
    return counts;
}

void DescribeCounts(const std::vector<int>& counts, std::initializer_list<const char*> labels, std::string& out) {
    std::size_t i = 0;
    for (const char* label : labels) {
        const int n = counts[i++];
        if (n == 1) continue;
        if (!out.empty()) out += ", ";
        out += n == 0 ? std::string("no ") + label + " line" : std::to_string(n) + " " + label + " lines";
    }
}

// What is wrong with the section that ended a load with 2 or 5; 'index' is
// the number of records the load stored before it.
std::string SectionProblem(const std::string& path, int result, std::size_t index, Layout layout) {
    const std::vector<std::string> lines = FileLines(path);
    // A section starts at a line beginning with "Title:"; it runs until the
    // next line that holds "Title:" anywhere.
    std::size_t start = 0;
    while (start < lines.size() && !tr::StartsWith(lines[start], "Title:")) ++start;
    for (std::size_t n = 0; n < index && start < lines.size(); ++n) {
        do ++start;
        while (start < lines.size() && tr::FindText(lines[start], "Title:") == tr::kNotFound);
    }
    if (start >= lines.size()) return "a section is damaged (the file changed while it was read)";
    const std::string where = "line " + std::to_string(start + 1) + ": ";
    if (result == TR_DB_CUT_TITLE) return where + "the file ends right after this Title: line";
    std::size_t end = start + 1;
    while (end < lines.size() && tr::FindText(lines[end], "Title:") == tr::kNotFound) ++end;
    const std::vector<std::string> section(lines.begin() + start, lines.begin() + end);

    std::string wrong;
    std::vector<std::string> rest;
    switch (layout) {
    case Layout::Numeral:
        DescribeCounts(CountLabels(section, {"Title:", "Description:", "Path:", "WorkDir:", "Option:", "Key:"}, rest),
                       {"Title:", "Description:", "Path:", "WorkDir:", "Option:", "Key:"}, wrong);
        break;
    case Layout::String:
        DescribeCounts(CountLabels(section, {"Title:", "Description:", "Path:", "WorkDir:", "Option:", "Name:",
                                             "Attribute:", "Key:"}, rest),
                       {"Title:", "Description:", "Path:", "WorkDir:", "Option:", "Name:", "Attribute:", "Key:"},
                       wrong);
        break;
    case Layout::Jog: {
        // An application is a section with a "Path:" line after its title;
        // its last three lines are counted among those the first three
        // labels leave.
        bool application = false;
        for (std::size_t i = 1; i < section.size(); ++i)
            application = application || tr::FindText(section[i], "Path:") != tr::kNotFound;
        DescribeCounts(CountLabels(section, {"Title:", "Description:", "Level:"}, rest),
                       {"Title:", "Description:", "Level:"}, wrong);
        if (application) {
            const std::vector<std::string> others = rest;
            DescribeCounts(CountLabels(others, {"Path:", "WorkDir:", "Option:"}, rest), {"Path:", "WorkDir:", "Option:"},
                           wrong);
        }
        break;
    }
    }
    return where + "the section \"" + section[0].substr(6) + "\" has " + (wrong.empty() ? "a bad line" : wrong);
}

template <class Db>
DataFileLoad Load(Db& db, int pathIndex, Layout layout, std::size_t (*stored)(Db&)) {
    DataFileLoad out;
    char path[MAX_PATH] = "", folder[MAX_PATH] = "";
    if (!TrComGetPath(pathIndex, path) || !TrComGetPath(TR_PATH_DATA_DIR, folder)) {
        out.problem = "the data folder is unknown (TrLocale.DLL cannot be loaded)";
        return out;
    }
    out.path = path;
    out.name = FileName(path);
    out.result = db.Load(out.path);
    const DWORD error = ::GetLastError();
    switch (out.result) {
    case TR_DB_OK:
    case TR_DB_NO_SECTION:
        break;
    case TR_DB_NO_FILE:
        if (!Exists(folder)) {
            out.problem = std::string("the data folder ") + folder + " does not exist; run 'trctl setup'";
        } else if (!Exists(out.path)) {
            out.missing = true;
            out.problem = out.name + " does not exist; 'trctl setup' copies the installed one";
        } else {
            out.problem = out.name + " " + OpenProblem(out.path, error);
        }
        break;
    default:
        out.problem = out.name + ", " + SectionProblem(out.path, out.result, stored(db), layout);
        break;
    }
    return out;
}

}  // namespace

DataFileLoad LoadDataFile(CTrNumeralKeyDB& db, int pathIndex) {
    return Load<CTrNumeralKeyDB>(db, pathIndex, Layout::Numeral,
                                 [](CTrNumeralKeyDB& d) { return static_cast<std::size_t>(d.GetDataNumber()); });
}

DataFileLoad LoadDataFile(CTrStringKeyDB& db, int pathIndex) {
    return Load<CTrStringKeyDB>(db, pathIndex, Layout::String,
                                [](CTrStringKeyDB& d) { return static_cast<std::size_t>(d.GetDataNumber()); });
}

DataFileLoad LoadDataFile(CTrJogDataDB& db, int pathIndex) {
    // The jog menu counts only its applications; every stored entry counts here.
    return Load<CTrJogDataDB>(db, pathIndex, Layout::Jog, [](CTrJogDataDB& d) { return d.ReadList()->size(); });
}

bool WriteDataFile(CTrAbstDB& db, const std::string& path, std::string& problem) {
    // Write gives 1 whichever way it ends; the thread's last error tells: it
    // is ERROR_SUCCESS after a completed rewrite, else the failing call's
    // error. A failed rewrite leaves the file as it was.
    ::SetLastError(0xDEADBEEF);
    db.Write(path);
    const DWORD error = ::GetLastError();
    if (error == ERROR_SUCCESS) return true;
    const bool refused = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                         error == ERROR_ACCESS_DENIED || error == ERROR_PATH_NOT_FOUND;
    problem = FileName(path) + " " +
              (refused ? OpenProblem(path, error) : "could not be written (error " + std::to_string(error) + ")") +
              "; it was not changed";
    return false;
}

std::string JogLevelProblem(const CTrJogDataDB::DataList& list) {
    int index = 0;
    const CTrJogData* previous = nullptr;
    for (const auto& e : list) {
        const int top = previous ? previous->GetLevel() + (previous->IsFolder() ? 1 : 0) : 0;
        if (e.GetLevel() < 0 || e.GetLevel() > top)
            return "entry " + std::to_string(index) + " (\"" + e.GetTitle() + "\") is at level " +
                   std::to_string(e.GetLevel()) + " where at most " + std::to_string(top) + " is allowed";
        previous = &e;
        ++index;
    }
    return std::string();
}

}  // namespace trctl
