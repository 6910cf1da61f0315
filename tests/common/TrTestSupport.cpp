// TrTestSupport.cpp - child processes and sandboxes for the tests.
#include "TrTestSupport.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace trtest {
namespace {

std::map<std::string, ChildBody>& Roles() {
    static std::map<std::string, ChildBody> roles;
    return roles;
}

std::string g_readyName;  // set in a child by RunChildRoleIfAsked

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// A file for a child's standard output that the test may read while it writes.
HANDLE OutputFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS, 0,
                         nullptr);
}

}  // namespace

ChildRoleRegistrar::ChildRoleRegistrar(const char* name, ChildBody body) { Roles()[name] = body; }

TR_CHILD_ROLE(hold_file) {
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    tr::Handle file(::CreateFileA(args.at(0).c_str(), GENERIC_READ, all, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return 3;
    SignalReady();
    WaitForRelease();
    return 0;
}

// Called by main(): when started as a child, runs the role and reports true.
bool RunChildRoleIfAsked(int argc, char** argv, int& exitCode) {
    if (argc < 4 || std::string(argv[1]) != "--tr-child") return false;
    auto it = Roles().find(argv[2]);
    g_readyName = argv[3];
    if (it == Roles().end()) {
        exitCode = 99;
        return true;
    }
    exitCode = it->second(std::vector<std::string>(argv + 4, argv + argc));
    return true;
}

void SignalReady() {
    if (g_readyName.empty()) return;
    tr::Handle ev(::OpenEventA(EVENT_MODIFY_STATE, FALSE, g_readyName.c_str()));
    if (ev) ::SetEvent(ev.Get());
}

bool WaitForRelease(DWORD timeoutMs) {
    if (g_readyName.empty()) return false;
    tr::Handle ev(::OpenEventA(SYNCHRONIZE, FALSE, (g_readyName + " release").c_str()));
    return ev && ::WaitForSingleObject(ev.Get(), timeoutMs) == WAIT_OBJECT_0;
}

Child::~Child() {
    if (!m_process) return;
    Release();
    if (::WaitForSingleObject(m_process.Get(), 5000) != WAIT_OBJECT_0) ::TerminateProcess(m_process.Get(), 1);
}

bool Child::Start(const std::string& role, const std::vector<std::string>& args, const std::string& exe) {
    static LONG counter = 0;
    const std::string ready = "TrTest ready " + std::to_string(::GetCurrentProcessId()) + "." +
                              std::to_string(::InterlockedIncrement(&counter));
    m_ready.Reset(::CreateEventA(nullptr, TRUE, FALSE, ready.c_str()));
    m_release.Reset(::CreateEventA(nullptr, TRUE, FALSE, (ready + " release").c_str()));
    const std::string image = exe.empty() ? SelfPath() : exe;
    std::string cmd = Quote(image) + " --tr-child " + role + " " + Quote(ready);
    for (const auto& a : args) cmd += " " + Quote(a);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    // A child started from another copy runs in that copy's folder, so the
    // current folder cannot lend it libraries (such as TrLocale.DLL) that its
    // own folder lacks.
    const std::string folder = exe.empty() ? std::string() : image.substr(0, image.find_last_of('\\') + 1);
    if (!::CreateProcessA(image.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    m_process.Reset(pi.hProcess);
    m_pid = pi.dwProcessId;
    return true;
}

bool Child::WaitReady(DWORD timeoutMs) {
    if (!m_process) return false;
    HANDLE both[2] = {m_ready.Get(), m_process.Get()};
    return ::WaitForMultipleObjects(2, both, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

void Child::Release() {
    if (m_release) ::SetEvent(m_release.Get());
}

int Child::Wait(DWORD timeoutMs) {
    if (!m_process) return -1;
    Release();
    if (::WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.Get(), &code);
    m_process.Reset();
    return static_cast<int>(code);
}

int RunChild(const std::string& role, const std::vector<std::string>& args, const std::string& exe,
             DWORD timeoutMs) {
    Child child;
    if (!child.Start(role, args, exe)) return -1;
    return child.Wait(timeoutMs);
}

int RunProcess(const std::string& exe, const std::string& args, HANDLE out, HANDLE err, const RunOptions& options) {
    std::string cmd = "\"" + exe + "\" " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out, si.hStdError = err;
    PROCESS_INFORMATION pi = {};
    std::fflush(stdout);
    tr::Handle job(options.wholeTree ? ::CreateJobObjectA(nullptr, nullptr) : nullptr);
    if (options.wholeTree && !job) return -1;
    const DWORD flags = options.wholeTree ? CREATE_SUSPENDED : 0;
    if (options.token ? !::CreateProcessAsUserA(options.token, exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, flags,
                                                nullptr, nullptr, &si, &pi)
                      : !::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr, &si,
                                          &pi))
        return -1;
    tr::Handle process(pi.hProcess), thread(pi.hThread);
    // In the job before it runs, so whatever it starts is in the job too.
    if (options.wholeTree &&
        (!::AssignProcessToJobObject(job.Get(), process.Get()) || ::ResumeThread(thread.Get()) == DWORD(-1))) {
        ::TerminateProcess(process.Get(), 1);
        return -1;
    }
    const DWORD start = ::GetTickCount();
    DWORD code = DWORD(-1);
    if (::WaitForSingleObject(process.Get(), options.timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        return -1;
    }
    ::GetExitCodeProcess(process.Get(), &code);
    for (JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {}; options.wholeTree;) {
        if (!::QueryInformationJobObject(job.Get(), JobObjectBasicAccountingInformation, &info, sizeof(info), nullptr))
            return -1;
        if (info.ActiveProcesses == 0) break;
        if (::GetTickCount() - start > options.timeoutMs) {
            ::TerminateJobObject(job.Get(), 1);
            return -1;
        }
        ::Sleep(50);
    }
    return static_cast<int>(code);
}

std::string SelfPath() {
    char buf[MAX_PATH * 2] = {};
    ::GetModuleFileNameA(nullptr, buf, sizeof(buf));
    return buf;
}

std::string SelfFolder() {
    std::string p = SelfPath();
    return p.substr(0, p.find_last_of('\\') + 1);
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

TempFolder::TempFolder() {
    static LONG counter = 0;
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    for (;;) {
        m_path = std::string(base) + "trtest" + std::to_string(::GetCurrentProcessId()) + "_" +
                 std::to_string(::InterlockedIncrement(&counter));
        if (::CreateDirectoryA(m_path.c_str(), nullptr)) break;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

bool RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    tr::FindHandle find(::FindFirstFileA((path + "\\*").c_str(), &fd));
    if (find) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(find.Get(), &fd));
    }
    return ::RemoveDirectoryA(path.c_str()) != 0;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return false;
    DWORD written = 0;
    return ::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!f) return false;
    bytes.assign(::GetFileSize(f.Get(), nullptr), '\0');
    DWORD got = 0;
    return bytes.empty() || (::ReadFile(f.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                             got == bytes.size());
}

std::string ReadSharedFile(const std::string& path) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (f && ::ReadFile(f.Get(), buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
    return bytes;
}

Captured RunCaptured(const std::string& exe, const std::string& args, const RunOptions& options) {
    TempFolder temp;
    Captured c;
    {
        tr::Handle out(OutputFile(temp / "out.txt")), err(OutputFile(temp / "err.txt"));
        c.code = RunProcess(exe, args, out.Get(), err.Get(), options);
    }
    c.out = ReadSharedFile(temp / "out.txt");
    c.err = ReadSharedFile(temp / "err.txt");
    return c;
}

RunningProgram::RunningProgram(const std::string& exe, const std::string& args, const std::string& folder) {
    const tr::Handle out(OutputFile(m_folder / "out.txt"));
    std::string cmd = Quote(exe) + " " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = out.Get();
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, TRUE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &si, &pi))
        return;
    ::CloseHandle(pi.hThread);
    m_process.Reset(pi.hProcess);
    m_pid = pi.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) != WAIT_OBJECT_0) ::TerminateProcess(m_process.Get(), 1);
}

bool RunningProgram::WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) const {
    for (DWORD waited = 0;; waited += 10)
        if (done() || waited >= timeoutMs || !m_process || ::WaitForSingleObject(m_process.Get(), 10) == WAIT_OBJECT_0)
            return done();
}

bool RunningProgram::WaitFor(const std::string& text, DWORD timeoutMs) const {
    return WaitUntil([&] { return Output().find(text) != std::string::npos; }, timeoutMs);
}

int RunningProgram::Wait(DWORD timeoutMs) {
    DWORD code = DWORD(-1);
    if (m_process && ::WaitForSingleObject(m_process.Get(), timeoutMs) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process.Get(), &code);
    return static_cast<int>(code);
}

namespace {
void CALLBACK CancelThreadDialogs(HWND, UINT, UINT_PTR, DWORD) {
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND h, LPARAM) -> BOOL {
        char cls[16] = "";
        if (::IsWindowVisible(h) && ::GetClassNameA(h, cls, sizeof(cls)) && !std::strcmp(cls, "#32770"))
            ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }, 0);
}
}  // namespace

BOOL CancellingDialogs(const std::function<BOOL()>& call) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &CancelThreadDialogs);
    const BOOL ok = call();
    ::KillTimer(nullptr, timer);
    return ok;
}

bool DeleteRegTree(HKEY root, const std::string& subKey) {
    const LONG rc = ::RegDeleteTreeA(root, subKey.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        ::RegDeleteKeyA(root, subKey.c_str());
        return true;
    }
    return false;
}

RegSandbox::RegSandbox(HKEY root, std::string subKey) : m_root(root), m_subKey(std::move(subKey)) {
    DeleteRegTree(m_root, m_subKey);
}

RegSandbox::~RegSandbox() { DeleteRegTree(m_root, m_subKey); }

bool SetWineVersionFor(const std::string& exeName, const char* version) {
    const std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
    if (!version) return DeleteRegTree(HKEY_CURRENT_USER, key);
    tr::RegKey k;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.Put(), nullptr))
        return false;
    return ::RegSetValueExA(k.Get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                            static_cast<DWORD>(std::strlen(version) + 1)) == ERROR_SUCCESS;
}

SelfCopy::SelfCopy(const std::string& fileName) : m_path(SelfFolder() + fileName) {
    m_ok = CopyFileTo(SelfPath(), m_path);
}

SelfCopy::~SelfCopy() { ::DeleteFileA(m_path.c_str()); }

long HandleCount() {
    // The first use of a named object makes the system keep one handle to
    // the object directory for the rest of the process; take it up front so
    // it never shows up as a difference.
    static const bool warmedUp = [] {
        ::CloseHandle(::CreateEventA(nullptr, FALSE, FALSE, "TrTest handle count"));
        return true;
    }();
    (void)warmedUp;
    return HandleCountOf(::GetCurrentProcessId());
}

long HandleCountOf(DWORD pid) {
    // SYSTEM_HANDLE_INFORMATION (class 16): a count, then one entry a handle.
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT handle;
        PVOID object;
        ACCESS_MASK access;
    };
    std::vector<unsigned char> buf(1 << 20);
    for (int attempt = 0; attempt < 6; ++attempt, buf.resize(buf.size() * 2)) {
        ULONG needed = 0;
        const NTSTATUS st = ::NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buf.data(),
                                                       static_cast<ULONG>(buf.size()), &needed);
        if (st == static_cast<NTSTATUS>(0xC0000004L)) continue;  // STATUS_INFO_LENGTH_MISMATCH
        if (st != 0) return -1;
        ULONG count = 0;
        std::memcpy(&count, buf.data(), sizeof(count));
        const auto* entries = reinterpret_cast<const Entry*>(buf.data() + sizeof(ULONG_PTR));
        long mine = 0;
        for (ULONG i = 0; i < count; ++i) mine += entries[i].ownerPid == pid;
        return mine;
    }
    return -1;
}

long GdiObjectCount() {
    if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    return GdiTableCountOf(::GetCurrentProcessId());
}

long GdiTableCountOf(DWORD pid) {
    // 65536 entries of 24 bytes, the object's type in byte 14, 0 when free;
    // read a part at a time, so counting allocates nothing.
    const tr::Handle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    PROCESS_BASIC_INFORMATION info = {};
    const char* table = nullptr;
    const std::size_t tableAt = sizeof(void*) == 8 ? 0xF8 : 0x94;  // PEB.GdiSharedHandleTable
    if (!process || ::NtQueryInformationProcess(process.Get(), ProcessBasicInformation, &info, sizeof(info), nullptr) ||
        !::ReadProcessMemory(process.Get(), reinterpret_cast<char*>(info.PebBaseAddress) + tableAt, &table,
                             sizeof(table), nullptr) ||
        !table)
        return -1;
    unsigned char part[1024 * 24];
    long gdi = 0;
    for (std::size_t at = 0; at < 65536 * 24; at += sizeof(part)) {
        if (!::ReadProcessMemory(process.Get(), table + at, part, sizeof(part), nullptr)) return -1;
        for (std::size_t i = 14; i < sizeof(part); i += 24) gdi += part[i] != 0;
    }
    return gdi;
}

long UserObjectCount() {
    if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<long>(n);
    return WindowCountOf(::GetCurrentProcessId());
}

long WindowCountOf(DWORD pid) {
    struct Tally {
        DWORD pid;
        long windows = 0;
        static BOOL CALLBACK Child(HWND, LPARAM p) { return ++reinterpret_cast<Tally*>(p)->windows, TRUE; }
        void Add(HWND h) {
            DWORD owner = 0;
            if (!::GetWindowThreadProcessId(h, &owner) || owner != pid) return;
            ++windows;
            ::EnumChildWindows(h, &Child, reinterpret_cast<LPARAM>(this));
        }
    } tally{pid};
    for (HWND parent : {HWND(nullptr), HWND_MESSAGE})
        for (HWND h = nullptr; (h = ::FindWindowExA(parent, h, nullptr, nullptr)) != nullptr;) tally.Add(h);
    return tally.windows;
}

std::size_t PrivateBytes() {
    // PrivateUsage is 0 under Wine; PagefileUsage is the same commit charge.
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters)) ? counters.PagefileUsage : 0;
}

int CountArg(int fallback) {
    const char* at = std::strstr(::GetCommandLineA(), "--tr-count=");
    const int n = at ? std::atoi(at + std::strlen("--tr-count=")) : 0;
    return n > 0 ? n : fallback;
}

}  // namespace trtest
