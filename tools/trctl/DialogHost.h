// DialogHost.h - what the dialog commands of trctl share: a server window of
// their own when no server is registered, and an application block built
// from the command line.
#ifndef TRCTL_DIALOGHOST_H
#define TRCTL_DIALOGHOST_H

#include <windows.h>

#include <string>
#include <vector>

#include "include/TrCommon.h"

namespace trctl {

// Makes sure a server window is registered. When no shared block exists yet,
// registers a hidden window of this process for as long as the object lives
// (the dialogs then belong to trctl itself), and receives the watch window's
// messages. Ready() is false when the block is busy.
class DialogServer {
public:
    DialogServer();
    ~DialogServer();
    DialogServer(const DialogServer&) = delete;
    DialogServer& operator=(const DialogServer&) = delete;

    bool Ready() const { return m_ready; }
    bool Own() const { return m_hOwn != nullptr; }
    HWND Window() const { return m_hServer; }
    // "Trelvane Message" wParams this process's own server window received.
    const std::vector<WPARAM>& Received() const;

private:
    bool m_ready = false;
    HWND m_hServer = nullptr;
    HWND m_hOwn = nullptr;
};

// Fills the block's Title, Description and Path from --title, --description
// and --path options, removing them from args. False on a missing value.
bool TakeAppOptions(std::vector<std::string>& args, TR_APP_DATA_STRUC& data, std::string& error);

// Reads "YYYY-MM-DD HH:MM", "YYYY-MM-DDTHH:MM", "HH:MM" (today) or "-N"
// (N minutes ago) as a local time.
bool ParseLocalTime(const std::string& text, SYSTEMTIME& time);

}  // namespace trctl

#endif  // TRCTL_DIALOGHOST_H
