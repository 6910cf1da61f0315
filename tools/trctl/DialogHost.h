// DialogHost.h - what the dialog commands (and serve) share: a server window
// of their own when no server is registered, and an application block built
// from the command line.
#ifndef TRCTL_DIALOGHOST_H
#define TRCTL_DIALOGHOST_H

#include <windows.h>

#include <string>
#include <vector>

#include "Options.h"
#include "include/TrCommon.h"

namespace trctl {

// Makes sure a live server window is registered. When no shared block exists
// yet, registers a hidden window of this process for as long as the object
// lives (the dialogs and launches then belong to trctl itself), and receives
// the watch window's messages. A registered window of 0, or one that no
// longer exists, counts as none; such a block cannot take a new server while
// other processes keep it, and Ready() is then false, as when the block is busy.
class DialogServer {
public:
    DialogServer();
    ~DialogServer();
    DialogServer(const DialogServer&) = delete;
    DialogServer& operator=(const DialogServer&) = delete;

    bool Ready() const { return m_ready; }
    // When not ready: why, and the exit code for it.
    const std::string& Problem() const { return m_problem; }
    int ExitCode() const { return m_exitCode; }
    bool Own() const { return m_hOwn != nullptr; }
    HWND Window() const { return m_hServer; }
    // "Trelvane Message" wParams this process's own server window received.
    const std::vector<WPARAM>& Received() const;

private:
    bool m_ready = false;
    HWND m_hServer = nullptr;
    HWND m_hOwn = nullptr;
    std::string m_problem;
    int m_exitCode = kExitOk;
};

// The application options of the dialog commands.
#define TRCTL_APP_OPTIONS {"--title", true}, {"--description", true}, {"--path", true}

// Fills the block's Title, Description and Path from --title, --description
// and --path. False when a text is longer than its field.
bool AppBlockFromOptions(const Options& options, TR_APP_DATA_STRUC& data, std::string& error);

// Reads "YYYY-MM-DD HH:MM", "YYYY-MM-DDTHH:MM", "HH:MM" (today) or "-N"
// (N minutes ago) as a local time.
bool ParseLocalTime(const std::string& text, SYSTEMTIME& time);

}  // namespace trctl

#endif  // TRCTL_DIALOGHOST_H
