// TrctlRows.cpp - running trctl and checking rows of its invocations.
#include "TrctlRows.h"

#include <algorithm>

namespace trtest {
namespace {

using Json = nlohmann::json;

// A file for a child's output that the test may read while it writes.
HANDLE InheritableOutput(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, 0,
                         nullptr);
}

std::string ReadShared(const std::string& path) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr));
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (f && ::ReadFile(f.Get(), buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
    return bytes;
}

void CheckJson(const std::string& out, const char* expectation, const std::string& where) {
    const std::string e = expectation;
    const std::size_t eq = e.find('=');
    const Json document = Json::parse(out, nullptr, false);
    ASSERT_FALSE(document.is_discarded()) << where << ": not JSON:\n" << out;
    const Json::json_pointer pointer(e.substr(0, eq));
    ASSERT_TRUE(document.contains(pointer)) << where << ": no " << e.substr(0, eq) << " in\n" << out;
    const Json expected = Json::parse(e.substr(eq + 1), nullptr, false);
    const Json& actual = document.at(pointer);
    if (!expected.is_discarded()) EXPECT_EQ(expected, actual) << where;
    else EXPECT_EQ(Json(e.substr(eq + 1)), actual) << where;
}

}  // namespace

std::string TrctlPath(const std::string& exeName) { return SelfFolder() + exeName; }

std::string DataFolder() {
    char folder[MAX_PATH] = "";
    TrComGetPath(TR_PATH_DATA_DIR, folder);
    return folder;
}

Output RunTrctl(const std::string& args, const std::string& exeName) {
    TempFolder temp;
    Output o;
    {
        tr::Handle out(InheritableOutput(temp / "out.txt")), err(InheritableOutput(temp / "err.txt"));
        o.code = RunProcess(TrctlPath(exeName), args, out.Get(), err.Get());
    }
    o.out = ReadShared(temp / "out.txt");
    o.err = ReadShared(temp / "err.txt");
    return o;
}

void RunRows(const std::vector<Row>& rows, const std::string& exeName) {
    const bool win2k = exeName.find("win2k") != std::string::npos;
    for (const Row& row : rows) {
        const std::string where = exeName + " " + row.args;
        if (row.before) row.before();
        std::string before, after;
        if (row.unchanged) ReadFileBytes(DataFolder() + "\\" + row.unchanged, before);
        const Output o = RunTrctl(row.args, exeName);
        const int code = win2k && row.code2k >= 0 ? row.code2k : row.code;
        EXPECT_EQ(code, o.code) << where << "\n" << o.out << o.err;
        const char* text = win2k && row.text2k ? row.text2k : row.text;
        EXPECT_NE(std::string::npos, (o.out + o.err).find(text)) << where << ": no '" << text << "' in\n" << o.out << o.err;
        EXPECT_EQ(code ? 1 : 0, std::count(o.err.begin(), o.err.end(), '\n')) << where << ": " << o.err;
        // A Windows 2000 run that ends otherwise has JSON to check only when json2k names it.
        const char* json = win2k && (row.json2k || code != row.code) ? row.json2k : row.json;
        if (json) CheckJson(o.out, json, where);
        if (row.unchanged) {
            EXPECT_TRUE(ReadFileBytes(DataFolder() + "\\" + row.unchanged, after));
            EXPECT_EQ(before, after) << where << ": " << row.unchanged << " changed";
        }
    }
}

RunningTrctl::RunningTrctl(const std::string& args) {
    tr::Handle out(InheritableOutput(m_folder / "out.txt"));
    std::string cmd = "\"" + TrctlPath() + "\" " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out.Get();
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
    m_process.Reset(pi.hProcess);
    ::CloseHandle(pi.hThread);
}

RunningTrctl::~RunningTrctl() {
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0) ::TerminateProcess(m_process.Get(), 1);
}

std::string RunningTrctl::Output() const { return ReadShared(m_folder / "out.txt"); }

bool RunningTrctl::WaitFor(const std::string& text, DWORD timeoutMs) const {
    for (DWORD waited = 0;; waited += 100) {
        if (Output().find(text) != std::string::npos) return true;
        if (waited >= timeoutMs || !m_process || ::WaitForSingleObject(m_process.Get(), 100) == WAIT_OBJECT_0)
            return Output().find(text) != std::string::npos;
    }
}

int RunningTrctl::Wait(DWORD timeoutMs) {
    DWORD code = DWORD(-1);
    if (m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.Get(), &code);
    return static_cast<int>(code);
}

}  // namespace trtest
