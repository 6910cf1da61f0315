// DialogHost.cpp - server window and application block for the dialog commands.
#include "DialogHost.h"

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

void CopyField(char (&field)[TR_TEXT_FIELD], const std::string& text) {
    std::strncpy(field, text.c_str(), TR_TEXT_FIELD - 1);
    field[TR_TEXT_FIELD - 1] = '\0';
}

}  // namespace

DialogServer::DialogServer() {
    if (TrComGetServer(&m_hServer)) {
        m_ready = true;
        return;
    }
    // No block (or a busy one): only a free lock with no block lets us register.
    if (!TrComCreateSharedMemory()) return;
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
    }
}

DialogServer::~DialogServer() {
    if (!m_hOwn) return;
    if (m_ready) TrComDeleteSharedMemory();
    ::DestroyWindow(m_hOwn);
}

const std::vector<WPARAM>& DialogServer::Received() const { return g_received; }

bool TakeAppOptions(std::vector<std::string>& args, TR_APP_DATA_STRUC& data, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--title" || a == "--description" || a == "--path") {
            if (i + 1 >= args.size()) {
                error = a + " needs a value";
                return false;
            }
            const std::string& v = args[++i];
            CopyField(a == "--title" ? data.szTitle : a == "--description" ? data.szDescription : data.szPath, v);
            continue;
        }
        rest.push_back(a);
    }
    args.swap(rest);
    return true;
}

bool ParseLocalTime(const std::string& text, SYSTEMTIME& time) {
    ::GetLocalTime(&time);
    time.wSecond = 0;
    time.wMilliseconds = 0;
    unsigned y = 0, mo = 0, d = 0, h = 0, mi = 0;
    char sep = 0, tail = 0;
    if (!text.empty() && text[0] == '-') {
        long minutes = 0;
        if (std::sscanf(text.c_str() + 1, "%ld%c", &minutes, &tail) != 1 || minutes < 0) return false;
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
