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

// What one trctl run printed.
struct Output {
    int code = -1;
    std::string out, err;
};

// trctl.exe, or a copy of it, in the test program's folder.
std::string TrctlPath(const std::string& exeName = "trctl.exe");

// Runs trctl with the arguments to its end.
Output RunTrctl(const std::string& args, const std::string& exeName = "trctl.exe");

// Runs the rows in order with the named executable, checking each.
void RunRows(const std::vector<Row>& rows, const std::string& exeName = "trctl.exe");

// The user's data folder, no trailing backslash.
std::string DataFolder();

// A trctl run left running with its output going to a file, for the
// commands that stay (host): the output so far can be read at any time.
class RunningTrctl {
public:
    explicit RunningTrctl(const std::string& args);
    ~RunningTrctl();
    std::string Output() const;
    // Waits up to a timeout for the text to appear in the output.
    bool WaitFor(const std::string& text, DWORD timeoutMs = 20000) const;
    int Wait(DWORD timeoutMs = 20000);  // exit code, -1 on time-out

private:
    TempFolder m_folder;
    tr::Handle m_process;
};

}  // namespace trtest

#endif  // TR_TESTS_TOOLS_TRCTLROWS_H
