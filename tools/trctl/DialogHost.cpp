// DialogHost.cpp - server window and application block for the dialog commands.
#include "DialogHost.h"

#include "base/TrFieldText.h"

#include <cstdio>
#include <cstring>

namespace trctl {
namespace {

constexpr char kClassName[] = "TrctlDialogServer";
std::vector<WPARAM> g_received;

LRESULT CALLBACK ServerProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT trelvane = ::RegisterWindowMessageA(TR_MSG_TRELVANE_NAME);
    if (msg == trelvane) {
        g_received.push_back(wParam);
        return 0;
    }
    return ::DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

DialogServer::DialogServer() {
    HWND registered = nullptr;
    const bool block = TrComGetServer(&registered) != 0;
    if (block && registered && ::IsWindow(registered)) {
        m_hServer = registered;
        m_ready = true;
        return;
    }
    // Only a free lock with no block lets us register.
    if (block) {
        m_exitCode = kExitNoBlock;
        m_problem = "the shared block holds no live server window, and no new one can be registered while "
                    "other processes keep the block";
        return;
    }
    if (!TrComCreateSharedMemory()) {
        m_exitCode = kExitBusy;
        m_problem = "the shared block is busy";
        return;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ServerProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    ::RegisterClassA(&wc);
    m_hOwn = ::CreateWindowA(kClassName, "Trelvane server (trctl)", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             320, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (m_hOwn && TrComSetServer(m_hOwn)) {
        m_hServer = m_hOwn;
        m_ready = true;
        return;
    }
    m_exitCode = kExitBusy;
    m_problem = "no server window is registered and none could be registered (another process came first?)";
}

DialogServer::~DialogServer() {
    if (!m_hOwn) return;
    if (m_ready) TrComDeleteSharedMemory();
    ::DestroyWindow(m_hOwn);
}

const std::vector<WPARAM>& DialogServer::Received() const { return g_received; }

bool AppBlockFromOptions(const Options& options, TR_APP_DATA_STRUC& data, std::string& error) {
    const struct { const char* option; char* field; } fields[] = {
        {"--title", data.szTitle}, {"--description", data.szDescription}, {"--path", data.szPath}};
    for (const auto& f : fields) {
        const std::string* value = options.Value(f.option);
        if (!value) continue;
        if (value->size() > kFieldLimit) {
            error = std::string(f.option) + " is " + std::to_string(value->size()) + " bytes long; the field holds " +
                    std::to_string(kFieldLimit);
            return false;
        }
        tr::CopyToField(f.field, TR_TEXT_FIELD, *value);
    }
    return true;
}

bool ParseLocalTime(const std::string& text, SYSTEMTIME& time) {
    ::GetLocalTime(&time);
    time.wSecond = 0;
    time.wMilliseconds = 0;
    unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0;
    char sep = 0, tail = 0;
    if (!text.empty() && text[0] == '-') {
        long long minutes = 0;  // up to ten years back
        if (!ParseNumber(text.substr(1), 0, 10LL * 366 * 24 * 60, minutes)) return false;
        FILETIME ft;
        if (!::SystemTimeToFileTime(&time, &ft)) return false;
        ULARGE_INTEGER v = {{ft.dwLowDateTime, ft.dwHighDateTime}};
        v.QuadPart -= static_cast<ULONGLONG>(minutes) * 600000000ULL;
        ft = {v.LowPart, v.HighPart};
        return ::FileTimeToSystemTime(&ft, &time) != 0;
    }
    if (std::sscanf(text.c_str(), "%4u-%2u-%2u%c%2u:%2u%c", &y, &mo, &d, &sep, &h, &mi, &tail) == 6 &&
        (sep == ' ' || sep == 'T')) {
        time.wYear = static_cast<WORD>(y);
        time.wMonth = static_cast<WORD>(mo);
        time.wDay = static_cast<WORD>(d);
    } else if (std::sscanf(text.c_str(), "%2u:%2u%c", &h, &mi, &tail) != 2) {
        return false;
    }
    time.wHour = static_cast<WORD>(h);
    time.wMinute = static_cast<WORD>(mi);
    FILETIME check;
    return ::SystemTimeToFileTime(&time, &check) != 0;  // refuses 25:00, a 13th month and the like
}

}  // namespace trctl
