// Reporter.h - how the resident server tells what went wrong without ever
// stopping or showing a message box nobody asked for: a tray balloon with
// the reason, a line in the Windows event log (source "Trelvane"), and a
// line in the server's log file when one was given (--log).
//
// The log file is also where the server notes every event it serves, so
// that a script or a test can follow it without a user interface: one line
// per note, "<yyyy-mm-dd hh:mm:ss> <text>", and problems as
// "problem: <text> [balloon yes|no, event log yes|no]".
#ifndef TRELVANE_REPORTER_H
#define TRELVANE_REPORTER_H

#include <windows.h>

#include "base/TrHandle.h"

#include <functional>
#include <set>
#include <string>

namespace trelvane {

// Event id of every report: message 1 of Trelvane.exe's message table, "%1".
constexpr DWORD kReportEventId = 1;

class Reporter {
public:
    explicit Reporter(std::string logPath);

    // Shows a balloon; set once the tray icon exists (returns whether the
    // shell took it).
    void SetBalloon(std::function<bool(const std::string&)> balloon) { m_balloon = std::move(balloon); }

    // A problem: balloon, event log and log file.
    void Problem(const std::string& text);
    // The same, but only the first time this text comes up while the server
    // runs (start-up conditions, a refused hot key): later ones go to the
    // log file only.
    void ProblemOnce(const std::string& text);
    // A note for the log file only.
    void Note(const std::string& text) const;

private:
    std::string m_logPath;
    tr::EventSource m_source;
    std::function<bool(const std::string&)> m_balloon;
    std::set<std::string> m_reported;
};

}  // namespace trelvane

#endif  // TRELVANE_REPORTER_H
