// TrctlRows.h - trctl run as a script runs it: a table of invocations, each
// with the exit code and the output it must give, run in order against the
// sandboxed data folder and product keys.
#ifndef TR_TESTS_TOOLS_TRCTLROWS_H
#define TR_TESTS_TOOLS_TRCTLROWS_H

#include "LookupTestData.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

namespace trtest {

// One invocation. Texts are looked for anywhere in standard output and
// standard error; a failure must print exactly one line on standard error,
// a success none.
struct Row {
    std::string args;
    int code = 0;
    const char* text = "";
    // "/json/pointer=value" on standard output parsed as JSON; the value is
    // compared as JSON when it parses as JSON (5, true, null), else as text.
    const char* json = nullptr;
    // Where the Windows 2000 copy must end or print otherwise than the others.
    int code2k = -1;
    const char* text2k = nullptr;
    const char* json2k = nullptr;
    std::function<void()> before = nullptr;  // runs first: puts a file in place and the like
    const char* unchanged = nullptr;  // a data file whose bytes the run must leave as they were
};

// trctl.exe, or a copy of it, in the test program's folder.
std::string TrctlPath(const std::string& exeName = "trctl.exe");

// Runs trctl with the arguments to its end.
inline Captured RunTrctl(const std::string& args, const std::string& exeName = "trctl.exe") {
    return RunCaptured(TrctlPath(exeName), args);
}

// Runs the rows in order with the named executable, checking each.
void RunRows(const std::vector<Row>& rows, const std::string& exeName = "trctl.exe");

// The user's data folder, no trailing backslash.
std::string DataFolder();

}  // namespace trtest

#endif  // TR_TESTS_TOOLS_TRCTLROWS_H
