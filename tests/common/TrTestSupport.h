// TrTestSupport.h - what every test executable shares: child processes made
// from a copy of the test executable itself, file and registry sandboxes.
#ifndef TR_TESTS_SUPPORT_H
#define TR_TESTS_SUPPORT_H

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/TrHandle.h"
#include "TrTestCodePage.h"

namespace trtest {

// A role the test executable plays when started as "<exe> --tr-child <role>
// <ready-event> [args...]". The body runs instead of the tests; its return
// value is the process's exit code.
using ChildBody = int (*)(const std::vector<std::string>& args);
struct ChildRoleRegistrar {
    ChildRoleRegistrar(const char* name, ChildBody body);
};
#define TR_CHILD_ROLE(name)                                                        \
    static int TrChildRole_##name([[maybe_unused]] const std::vector<std::string>& args); \
    static ::trtest::ChildRoleRegistrar TrChildRoleReg_##name(#name, TrChildRole_##name); \
    static int TrChildRole_##name([[maybe_unused]] const std::vector<std::string>& args)

// Inside a child: tell the parent the child is ready, then (optionally) wait
// until the parent releases it. Both are no-ops outside a child.
void SignalReady();
bool WaitForRelease(DWORD timeoutMs = 30000);

// A child process running one role. The destructor releases the child, waits
// a little for it and kills it if it is still running.
class Child {
public:
    Child() = default;
    Child(Child&&) = default;
    Child& operator=(Child&&) = default;
    ~Child();

    // Starts the role with the given executable (by default this one); a
    // child of another executable runs in that executable's folder.
    bool Start(const std::string& role, const std::vector<std::string>& args = {},
               const std::string& exe = std::string());
    bool WaitReady(DWORD timeoutMs = 20000);   // false when the child ended or timed out first
    void Release();                            // lets a child in WaitForRelease go on
    // Exit code, or -1 on time-out.
    int Wait(DWORD timeoutMs = 30000);
    HANDLE Process() const { return m_process.Get(); }
    DWORD Pid() const { return m_pid; }

private:
    tr::Handle m_process;
    tr::Handle m_ready;
    tr::Handle m_release;
    DWORD m_pid = 0;
};

// The role every test program has: "hold_file <path>" keeps the file open
// (reading, sharing everything) from SignalReady until released, so the
// engine's unshared opens of it fail meanwhile.
constexpr char kHoldFileRole[] = "hold_file";

// Runs a role to its end and returns its exit code (-1 on time-out).
int RunChild(const std::string& role, const std::vector<std::string>& args = {},
             const std::string& exe = std::string(), DWORD timeoutMs = 30000);

// How RunProcess runs a program. wholeTree also waits for every process the
// program starts (a job holds them all), for programs that hand their work
// to another process and end at once; token runs it with another access
// token (CreateProcessAsUser).
struct RunOptions {
    bool wholeTree = false;
    DWORD timeoutMs = 60000;
    HANDLE token = nullptr;
};
// Runs "exe args" to its end with stdout and stderr on the given handles: the
// exit code, -1 when it could not start or did not end within the time-out.
int RunProcess(const std::string& exe, const std::string& args, HANDLE out, HANDLE err,
               const RunOptions& options = {});

// Full path of the running test executable, and its folder (with a trailing
// backslash).
std::string SelfPath();
std::string SelfFolder();

// Copies a file; false on failure.
bool CopyFileTo(const std::string& from, const std::string& to);

// A fresh, empty folder under the temporary folder, removed with everything
// in it when the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }  // no trailing backslash
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};
bool RemoveTree(const std::string& path);

// Writes bytes to a file (created or replaced); false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Reads a whole file; false when it cannot be opened.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Reads a whole file another process may still be writing; "" when it
// cannot be opened.
std::string ReadSharedFile(const std::string& path);

// A program run to its end by RunCaptured: its exit code (-1 as RunProcess
// gives it) and what it printed on standard output and standard error.
struct Captured {
    int code = -1;
    std::string out, err;
    std::string All() const { return out + err; }
};
Captured RunCaptured(const std::string& exe, const std::string& args, const RunOptions& options = {});

// A program left running ("exe" args, in 'folder' when one is given), its
// standard output and error going to a file the test reads meanwhile. The
// destructor ends it when it still runs.
class RunningProgram {
public:
    RunningProgram(const std::string& exe, const std::string& args, const std::string& folder = std::string());
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    bool Valid() const { return m_process.Valid(); }
    HANDLE Process() const { return m_process.Get(); }
    DWORD Pid() const { return m_pid; }
    std::string Output() const { return ReadSharedFile(m_folder / "out.txt"); }
    // Waits until 'done' holds, the program has ended or the time-out has
    // passed; then gives what 'done' gives.
    bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) const;
    bool WaitFor(const std::string& text, DWORD timeoutMs = 20000) const;  // in the output
    int Wait(DWORD timeoutMs = 20000);  // exit code, -1 on time-out

private:
    TempFolder m_folder;
    tr::Handle m_process;
    DWORD m_pid = 0;
};

// Runs a call that shows modal dialogs on this thread; a timer of the thread,
// which the dialogs' own message loop dispatches, ends each with Cancel.
BOOL CancellingDialogs(const std::function<BOOL()>& call);

// A registry key removed (with its sub-keys) before and after a test, so every
// test starts from nothing and leaves nothing.
class RegSandbox {
public:
    RegSandbox(HKEY root, std::string subKey);
    ~RegSandbox();
    RegSandbox(const RegSandbox&) = delete;
    RegSandbox& operator=(const RegSandbox&) = delete;

private:
    HKEY m_root;
    std::string m_subKey;
};
bool DeleteRegTree(HKEY root, const std::string& subKey);

// Sets the Windows version that Wine reports to one executable name
// ("win95", "win98", "winme", "win2k", "winxp", "win10"), or removes it.
bool SetWineVersionFor(const std::string& exeName, const char* version);

// A copy of this test executable under another name in the same folder, so a
// per-executable Wine setting applies to it; removed on destruction.
class SelfCopy {
public:
    explicit SelfCopy(const std::string& fileName);
    ~SelfCopy();
    SelfCopy(const SelfCopy&) = delete;
    SelfCopy& operator=(const SelfCopy&) = delete;
    const std::string& Path() const { return m_path; }
    bool Ok() const { return m_ok; }

private:
    std::string m_path;
    bool m_ok = false;
};

// Number of kernel handles this process has open. GetProcessHandleCount is a
// stub in Wine (always 0), so this asks the system handle table instead.
long HandleCount();
// The same for any process; -1 when the table cannot be read.
long HandleCountOf(DWORD pid);

// GDI objects of this process. Wine's GetGuiResources is a stub, so the
// PEB's GDI handle table is counted (Wine's icons and cursors hold bitmaps
// there too); GdiTableCountOf counts that table of any process (-1 when it
// cannot be read).
long GdiObjectCount();
long GdiTableCountOf(DWORD pid);
// USER objects of this process: GetGuiResources where it works, else (Wine)
// its windows; WindowCountOf counts the windows of any process: top-level,
// message-only and all their descendants.
long UserObjectCount();
long WindowCountOf(DWORD pid);
// Private bytes (commit charge) of this process.
std::size_t PrivateBytes();

// The count given as --tr-count=<n> on this process's command line (the
// stress tests scale their rounds by it), or 'fallback' without one.
int CountArg(int fallback);

}  // namespace trtest

#endif  // TR_TESTS_SUPPORT_H
