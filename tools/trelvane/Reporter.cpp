// Reporter.cpp - balloons, the event log and the log file.
#include "Reporter.h"

#include <cstdio>

namespace trelvane {

Reporter::Reporter(std::string logPath)
    : m_logPath(std::move(logPath)), m_source(::RegisterEventSourceA(nullptr, "Trelvane")) {}

void Reporter::Note(const std::string& text) const {
    if (m_logPath.empty()) return;
    SYSTEMTIME t = {};
    ::GetLocalTime(&t);
    char stamp[32];
    std::snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u ", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    const std::string line = stamp + text + "\r\n";
    // Opened for each line: the file is never held, and every line is on
    // disk before the next event (a reader may follow it while we run).
    tr::Handle file(::CreateFileA(m_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void Reporter::Problem(const std::string& text) {
    m_reported.insert(text);
    const bool balloon = m_balloon && m_balloon(text);
    const char* strings[] = {text.c_str()};
    const bool logged = m_source && ::ReportEventA(m_source.Get(), EVENTLOG_WARNING_TYPE, 0, kReportEventId,
                                                   nullptr, 1, 0, strings, nullptr);
    Note("problem: " + text + " [balloon " + (balloon ? "yes" : "no") + ", event log " + (logged ? "yes" : "no") +
         "]");
}

void Reporter::ProblemOnce(const std::string& text) {
    if (m_reported.count(text)) Note("problem (reported before): " + text);
    else Problem(text);
}

}  // namespace trelvane
