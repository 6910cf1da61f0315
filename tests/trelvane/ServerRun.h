// ServerRun.h - Trelvane.exe as the tests drive it: started in its own
// process with a log file, followed through that log, handed keys, device
// notifications and power broadcasts the way the system hands them over,
// and asked to end.
#ifndef TR_TESTS_TRELVANE_SERVERRUN_H
#define TR_TESTS_TRELVANE_SERVERRUN_H

#include "LookupTestData.h"

#include <string>

namespace trtest {

// The recorder program bound in the tests, and what its last run wrote.
std::string RecorderPath();
class Recorder {
public:
    Recorder();  // points TR_RECORDER_OUT (inherited by the server) at a file of its own
    // Waits for a run and gives its first argument ("" on time-out); the
    // record is removed, so the next wait sees only a new run.
    std::string NextArg(DWORD timeoutMs = 30000);
    bool Ran() const;  // a record is there now

private:
    TempFolder m_folder;
    std::string m_file;
};

class RunningServer {
public:
    // Starts exe (by default Trelvane.exe beside the tests) with 'args' and
    // "--log <file>" in 'folder' (by default the test's) and waits until its
    // hot keys are registered.
    explicit RunningServer(const std::string& exe = std::string(), const std::string& folder = std::string(),
                           const std::string& args = std::string());
    ~RunningServer();  // asks it to end; ends it when it does not
    RunningServer(const RunningServer&) = delete;
    RunningServer& operator=(const RunningServer&) = delete;

    bool Started() const { return m_started; }
    DWORD Pid() const { return m_pid; }
    HANDLE Process() const { return m_process.Get(); }
    HWND Window() const;  // its window, from the log
    std::string Log() const;
    // Times the text occurs in the log.
    int Count(const std::string& text) const;
    // Waits until the text occurs 'times' times in the log.
    bool WaitFor(const std::string& text, int times = 1, DWORD timeoutMs = 15000) const;
    // Asks it to end as "Trelvane.exe --exit" does; its exit code (-1 on time-out).
    int Stop();

private:
    TempFolder m_folder;
    std::string m_log;
    tr::Handle m_process;
    DWORD m_pid = 0;
    bool m_started = false;
};

// A Trelvane.exe run to its end with the arguments: exit code and output.
struct Ended {
    int code = -1;
    std::string out;
};
Ended RunTrelvane(const std::string& args);

// Types a combination ("Win+F1", "Win+Alt+Insert") as a keyboard would; the
// modifiers stay down until the object goes (after the server served).
// Wine answers GetAsyncKeyState from a copy of the key state that a thread
// keeps for 50 ms, so a press whose modifiers the server's lookup reads
// waits 'settleMs' first, in case the server looked at them just before.
class Keys {
public:
    explicit Keys(const std::string& combination, DWORD settleMs = 0);
    ~Keys();  // releases the modifiers

private:
    std::vector<BYTE> m_modifiers;
};

// WM_DEVICECHANGE as the system sends it to the server's window: a device
// interface arrival (class GUID, path) or a volume arrival (drive mask).
// Wine carries the structure across processes for arrivals, as it does for
// its own device broadcasts.
LRESULT SendInterfaceArrival(HWND window, const GUID& interfaceClass, const std::string& path);
LRESULT SendVolumeArrival(HWND window, DWORD unitMask, WORD flags = 0);
extern const GUID kUsbInterfaceClass;
// The removable drive R: of the test session (scripts/wine-test.sh makes
// it): Wine's mount manager takes a few seconds after the session starts to
// report it as removable. False when it never does.
bool RemovableDriveReady();

// A dialog of the library owned by the server's window and holding the
// control (the past-time dialog's 533, the info dialog's 818), or nullptr
// when none is up within the time-out; the text of one of its controls.
constexpr int kPastDialogControl = 533, kInfoDialogControl = 818;
HWND WaitForDialog(HWND server, int control, DWORD timeoutMs = 15000);
std::string ItemText(HWND dialog, int id);

}  // namespace trtest

#endif  // TR_TESTS_TRELVANE_SERVERRUN_H
