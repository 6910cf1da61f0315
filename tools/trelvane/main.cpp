// Trelvane.exe - the product's resident server: started at log-on (the
// user's Run key), it serves key presses, plugged-in devices, inserted media
// and the timer through TrCommon.dll until the user chooses Exit in its tray
// menu or the session ends.
//
//   Trelvane [--log FILE]   run the server (a note per event in FILE)
//   Trelvane --exit         ask the running server to end, and wait for it
//   Trelvane --help | --version
//
// It is a windows-subsystem program: messages for the command line go to
// the standard error it was given, or else to its parent's console.
#include "Server.h"

#include <TrCommon.h>

#include <cstdio>
#include <cstring>
#include <string>

#ifdef TR_HAVE_VERSION
#include "TrVersion.h"
#else
#define TR_VERSION_TEXT "(SDK build)"
#endif

namespace {

using namespace trelvane;

void Say(DWORD which, const std::string& text) {
    HANDLE out = ::GetStdHandle(which);
    tr::Handle console;
    if (!out || out == INVALID_HANDLE_VALUE) {
        if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;
        console.Reset(::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        out = console.Get();
    }
    const std::string line = text + "\r\n";
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE) ::WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string ClassOf(HWND window) {
    char name[128] = "";
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string Hex(HWND h) {
    char text[24];
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(h)));
    return text;
}

// --exit: only a window of Trelvane itself is asked to close.
int AskToExit() {
    HWND server = nullptr;
    if (!LiveServer(server) || ClassOf(server) != kServerClass) {
        Say(STD_ERROR_HANDLE, "Trelvane: no Trelvane server is running");
        return kServerNoneRunning;
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(server, &pid);
    const tr::Handle process(::OpenProcess(SYNCHRONIZE, FALSE, pid));
    ::PostMessageA(server, WM_CLOSE, 0, 0);
    if (process && ::WaitForSingleObject(process.Get(), 10000) != WAIT_OBJECT_0) {
        Say(STD_ERROR_HANDLE, "Trelvane: the server (process " + std::to_string(pid) + ") did not end within 10 s");
        return kServerDidNotEnd;
    }
    Say(STD_OUTPUT_HANDLE, "Trelvane: the server (process " + std::to_string(pid) + ") ended");
    return kServerOk;
}

}  // namespace

int main(int argc, char** argv) {
    ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--log" && i + 1 < argc) {
            options.logPath = argv[++i];
        } else if (arg == "--exit" && argc == 2) {
            return AskToExit();
        } else if (arg == "--version" && argc == 2) {
            Say(STD_OUTPUT_HANDLE, std::string("Trelvane ") + TR_VERSION_TEXT);
            return kServerOk;
        } else {
            Say(arg == "--help" ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE,
                "usage: Trelvane [--log FILE] | --exit | --version\n"
                "  Runs the resident server (one per session): hot keys, devices, media and the\n"
                "  timer start their bound applications. --exit asks a running server to end.\n"
                "  Exit codes: 0 done, 2 bad arguments, 3 another server runs, 5 no window,\n"
                "  6 --exit found no server, 7 the server did not end in time.");
            return arg == "--help" ? kServerOk : kServerUsage;
        }
    }
    const int rc = RunServer(options);
    if (rc == kServerAnother) {
        HWND other = nullptr;
        LiveServer(other);
        Say(STD_ERROR_HANDLE, ClassOf(other) == kServerClass
                                  ? "Trelvane: Trelvane is already running (window " + Hex(other) + "); not started again"
                                  : "Trelvane: another server window is registered (window " + Hex(other) + ", class " +
                                        ClassOf(other) + "); not started");
    } else if (rc == kServerNoWindow) {
        Say(STD_ERROR_HANDLE, "Trelvane: the server window cannot be created (error " +
                                  std::to_string(::GetLastError()) + ")");
    }
    return rc;
}
