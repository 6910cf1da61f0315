// ServerRun.h - Trelvane.exe as the tests drive it: started in its own
// process with a log file, followed through that log, handed keys, device
// notifications and power broadcasts the way the system hands them over,
// and asked to end.
#ifndef TR_TESTS_TRELVANE_SERVERRUN_H
#define TR_TESTS_TRELVANE_SERVERRUN_H

#include "LookupTestData.h"

#include <dbt.h>

#include <cstring>
#include <string>
#include <vector>

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

// Settings under which every binding starts at once (no info dialog) and
// the device families are served; false when one cannot be written.
bool ServeAtOnce();

class RunningServer {
public:
    // Starts exe (by default Trelvane.exe beside the tests) with 'args' and
    // "--log <file>" in 'folder' (by default the test's) and waits until its
    // hot keys are registered.
    explicit RunningServer(const std::string& exe = std::string(), const std::string& folder = std::string(),
                           const std::string& args = std::string());
    ~RunningServer() { Stop(); }  // asks it to end; ended when it does not

    bool Started() const { return m_started; }
    DWORD Pid() const { return m_run.Pid(); }
    HANDLE Process() const { return m_run.Process(); }
    HWND Window() const;  // its window, from the log
    std::string Log() const { return ReadSharedFile(m_log); }
    // Times the text occurs in the log.
    int Count(const std::string& text) const;
    // Waits until the text occurs 'times' times in the log.
    bool WaitFor(const std::string& text, int times = 1, DWORD timeoutMs = 15000) const {
        return m_run.WaitUntil([&] { return Count(text) >= times; }, timeoutMs);
    }
    // Asks it to end as "Trelvane.exe --exit" does; its exit code (-1 on time-out).
    int Stop();

private:
    TempFolder m_folder;
    std::string m_log;
    trtest::RunningProgram m_run;
    bool m_started = false;
};

// Trelvane.exe run to its end with the arguments.
inline Captured RunTrelvane(const std::string& args) { return RunCaptured(SelfFolder() + "Trelvane.exe", args); }

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

// The structure of a WM_DEVICECHANGE arrival: a device interface (class
// GUID, path; the wide form is what a Unicode window gets) or volumes (drive
// mask). SendArrival sends it to a window as the system does and gives the
// answer; Wine carries the structure across processes for arrivals, as it
// does for its own device broadcasts.
template <class Broadcast, class Char>
std::vector<char> InterfaceArrival(const GUID& interfaceClass, const std::basic_string<Char>& path) {
    const std::size_t bytes = (path.size() + 1) * sizeof(Char);
    std::vector<char> buffer(offsetof(Broadcast, dbcc_name) + bytes);
    auto* d = reinterpret_cast<Broadcast*>(buffer.data());
    d->dbcc_size = static_cast<DWORD>(buffer.size());
    d->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    d->dbcc_classguid = interfaceClass;
    std::memcpy(d->dbcc_name, path.c_str(), bytes);
    return buffer;
}
inline std::vector<char> InterfaceArrival(const GUID& interfaceClass, const std::string& path) {
    return InterfaceArrival<DEV_BROADCAST_DEVICEINTERFACE_A>(interfaceClass, path);
}
inline std::vector<char> InterfaceArrival(const GUID& interfaceClass, const std::wstring& path) {
    return InterfaceArrival<DEV_BROADCAST_DEVICEINTERFACE_W>(interfaceClass, path);
}
std::vector<char> VolumeArrival(DWORD unitMask, WORD flags = 0);
LRESULT SendArrival(HWND window, const std::vector<char>& arrival);
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
