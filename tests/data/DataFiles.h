// DataFiles.h - what the portable data-file tests need from their platform:
// a place for files (a temporary folder on Windows, the in-memory file table
// natively); and the texts of data-file sections.
#ifndef TR_TESTS_DATA_FILES_H
#define TR_TESTS_DATA_FILES_H

#include "TrCommonClasses.h"

#include <initializer_list>
#include <memory>
#include <string>

#ifdef _WIN32
#include "TrTestSupport.h"
#else
#include "data/native/TrMemoryFiles.h"
#include "TrTestCodePage.h"
#endif

namespace datatest {

#ifdef _WIN32
struct Files {
    trtest::TempFolder folder;
    std::string Path(const std::string& name) const { return folder / name; }
    bool Put(const std::string& name, const std::string& b) const { return trtest::WriteFileBytes(Path(name), b); }
    std::string Get(const std::string& name, std::string bytes = {}) const {
        return trtest::ReadFileBytes(Path(name), bytes) ? bytes : "";
    }
};
#else
struct Files {
    Files() { tr::memfiles::Reset(); }
    ~Files() { tr::memfiles::Reset(); }
    std::string Path(const std::string& name) const { return "C:\\test\\" + name; }
    bool Put(const std::string& name, const std::string& b) const { return tr::memfiles::Put(Path(name), b), true; }
    std::string Get(const std::string& name, std::string bytes = {}) const {
        return tr::memfiles::Get(Path(name), bytes) ? bytes : "";
    }
};
#endif

// Lines joined with CR LF, each line ended.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out.append(l).append("\r\n");
    return out;
}
// Sections as Write gives them: numeral-key, string-key, and jog folder.
inline std::string Num(const std::string& t, const std::string& key) {
    return CrLf({"Title:" + t, "Description:d", "Path:p", "WorkDir:w", "Option:o", "Key:" + key});
}
inline std::string Str(const std::string& t, const std::string& key) {
    return CrLf({"Title:" + t, "Description:d", "Path:p", "WorkDir:w", "Option:o", "Name:n", "Attribute:a",
                 "Key:" + key});
}
inline std::string Fold(const std::string& t, const std::string& level) {
    return CrLf({"Title:" + t, "Description:d", "Level:" + level});
}

// A database of kind 'n' (numeral-key), 's' (string-key) or 'j' (jog menu).
inline std::unique_ptr<CTrAbstDB> Make(char kind) {
    if (kind == 'n') return std::make_unique<CTrNumeralKeyDB>();
    if (kind == 's') return std::make_unique<CTrStringKeyDB>();
    return std::make_unique<CTrJogDataDB>();
}

}  // namespace datatest

#endif  // TR_TESTS_DATA_FILES_H
