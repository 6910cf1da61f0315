// LookupBench.cpp - what an event lookup costs next to the file work it
// cannot avoid (opening, reading and closing the same data files), on the
// shipped data files and on files of 1,000 records; and what TrComLaunch
// costs next to CreateProcess of the same small program. Prints the ratios,
// and a second ratio against the file work plus what every lookup must do
// besides (load the resource library, ask the shell for the data folder).
// Each lookup is measured twice: as a program that loads nothing itself
// (every lookup loads and frees TrLocale.DLL), and as a resident host that
// keeps TrLocale.DLL loaded, which turns those loads into reference counts.
//   tr_lookup_bench [--quick] [--tsv]
//     --tsv: also one machine-readable line per row ("@row", tab-separated)
// Uses the current user's data folder; the files found there are put back.
#include <windows.h>
#include <shlobj.h>

#include "base/TrHandle.h"
#include "bench/BenchSupport.h"
#include "include/TrCommon.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kDataFiles[] = {"JogData.dat", "JPPKData.dat", "PPKData.dat", "SKeyData.dat", "FPData.dat",
                                  "XbusData.dat", "XbusCtg.dat", "USBData.dat", "TimrData.dat"};

// Mean time of one call in microseconds, for each of several pieces of
// work: after one call of each, the best of five rounds, the pieces taking turns within each round
// so that a busy machine slows them alike.
std::vector<double> PerCallEach(int calls, const std::vector<std::function<void()>>& works) {
    for (const auto& work : works) work();  // once first, not counted
    std::vector<double> best(works.size(), 1e30);
    for (int round = 0; round < 5; ++round) {
        for (std::size_t w = 0; w < works.size(); ++w) {
            const double start = bench::Now();
            for (int i = 0; i < calls; ++i) works[w]();
            best[w] = std::min(best[w], (bench::Now() - start) / calls);
        }
    }
    for (double& b : best) b *= 1e6;
    return best;
}

double PerCall(int calls, const std::function<void()>& work) { return PerCallEach(calls, {work})[0]; }

volatile std::size_t g_sink;

// The unavoidable part of a lookup: open, read and close each file it needs.
void ReadFiles(const std::vector<std::string>& paths) {
    std::string bytes;
    for (const auto& p : paths) {
        bench::ReadBytes(p, bytes);
        g_sink = g_sink + bytes.size();
    }
}

// The work no lookup may skip, on top of the file work: its finder loads and
// frees TrLocale.DLL (a reference count in a resident host), and it asks the
// shell for the application-data folder afresh (nothing is cached).
void RequiredWork(const std::vector<std::string>& paths) {
    tr::Module locale(::LoadLibraryA("TrLocale.DLL"));
    char folder[MAX_PATH];
    ::SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, TRUE);
    ReadFiles(paths);
}

bool g_tsv = false;

// One machine-readable row: the lookup against its file work, in ms.
void TsvRow(const char* set, const std::string& what, double files, double lookup) {
    if (g_tsv) std::printf("@row\twine\tlookup %s (%s)\t-\tfile work\t%.6f\t%.6f\n", what.c_str(), set, files / 1e3,
                           lookup / 1e3);
}

// 'records' records, the one looked up last, so every lookup walks the list.
std::string NumeralFile(int records, DWORD key) {
    return bench::NumeralFile(records, [=](int i) { return i == records - 1 ? key : 0x7F000000u + i; });
}

std::string StringFile(int records, const std::string& key) {
    return bench::StringFile(records, [&](int i) { return i == records - 1 ? key : "KEY_" + std::to_string(i); });
}

// A device description as the library wants it: from operator new. The
// library releases it once the lookup reaches the open database.
DWORD_PTR NewDevice(const char* path) {
    auto* info = static_cast<TR_REG_INFO_STRUC*>(::operator new(sizeof(TR_REG_INFO_STRUC)));
    info->dwData1 = info->dwData2 = info->dwData3 = 0;
    const std::size_t n = std::strlen(path) + 1;
    info->pszRegPath = static_cast<char*>(::operator new(n));
    std::memcpy(info->pszRegPath, path, n);
    return reinterpret_cast<DWORD_PTR>(info);
}

struct Lookup {
    const char* name;
    std::vector<const char*> files;
    std::function<int()> call;
};

std::vector<Lookup> Lookups() {
    static TR_APP_DATA_STRUC block;
    static TR_JOG_DATA_STRUC entry;
    static int count;
    return {
        {"PPK key", {"PPKData.dat"}, [] { return TrComGetAppDataOfKalvorEvent(&block, 0x0101); }},
        {"SKey key", {"SKeyData.dat"}, [] { return TrComGetAppDataOfKalvorEvent(&block, 0x0201); }},
        {"Flashpod slot", {"FPData.dat"}, [] { return TrComGetAppDataOfFPSlot(&block); }},
        {"Flashpod media", {"FPData.dat"}, [] { return TrComGetAppDataOfPnPEvent(&block, 0x10301, 0x04000000); }},
        {"timer", {"TimrData.dat"}, [] { return TrComGetAppDataOfTimer(&block); }},
        {"jog dial PPK", {"JPPKData.dat"}, [] { return TrComGetAppDataOfJogPPK(&block); }},
        {"USB device", {"USBData.dat"},
         [] { return TrComGetAppDataOfPnPEvent(&block, 0x0101, NewDevice("USB\\VID_1234&PID_5678\\1")); }},
        {"IEEE 1394 device", {"XbusData.dat", "XbusCtg.dat"},
         [] { return TrComGetAppDataOfPnPEvent(&block, 0x0001, NewDevice("1394\\KALVOR&CAM\\0800460102030405")); }},
        {"jog menu count", {"JogData.dat"}, [] { return TrComJogDataGetCount(&count); }},
        {"jog menu all items", {"JogData.dat"}, [] { return TrComJogDataGetAllItems(&count); }},
        {"jog menu entry 0", {"JogData.dat"}, [] { return TrComJogDataGetAt(&entry, 0); }},
    };
}

void RunLookups(const char* title, const char* set, const std::string& folder, int calls) {
    std::printf("\n%s (%d calls each, best of 5 interleaved rounds)\n", title, calls);
    std::printf("  %-30s %10s %10s %8s %12s %8s  %s\n", "lookup", "lookup us", "files us", "ratio", "required us",
                "ratio", "result");
    for (const auto& l : Lookups()) {
        std::vector<std::string> paths;
        for (const char* f : l.files) paths.push_back(folder + "\\" + f);
        for (const bool resident : {false, true}) {
            // A resident host holds TrLocale.DLL for its lifetime.
            tr::Module held(resident ? ::LoadLibraryA("TrLocale.DLL") : nullptr);
            const std::string name = std::string(l.name) + (resident ? ", resident host" : "");
            int result = 0;
            const std::vector<double> t = PerCallEach(
                calls, {[&] { result = l.call(); }, [&] { ReadFiles(paths); }, [&] { RequiredWork(paths); }});
            const double lookup = t[0], files = t[1], required = t[2];
            std::printf("  %-30s %10.1f %10.1f %7.2fx %12.1f %7.2fx  %s\n", name.c_str(), lookup, files,
                        lookup / files, required, lookup / required, result ? "found" : "NOT FOUND");
            TsvRow(set, name, files, lookup);
        }
    }
}

// The data folder's files, kept in memory and put back at the end.
class SavedFolder {
public:
    explicit SavedFolder(std::string folder) : m_folder(std::move(folder)) {
        for (const char* name : kDataFiles) {
            std::string bytes;
            if (bench::ReadBytes(m_folder + "\\" + name, bytes)) m_saved[name] = bytes;
        }
    }
    ~SavedFolder() {
        for (const char* name : kDataFiles) {
            auto it = m_saved.find(name);
            if (it != m_saved.end()) bench::WriteBytes(m_folder + "\\" + name, it->second);
            else ::DeleteFileA((m_folder + "\\" + name).c_str());
        }
    }
    SavedFolder(const SavedFolder&) = delete;
    SavedFolder& operator=(const SavedFolder&) = delete;

private:
    std::string m_folder;
    std::map<std::string, std::string> m_saved;
};

LRESULT CALLBACK PlainProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }

void RunLaunches(int launches) {
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string recorder = self;
    recorder = recorder.substr(0, recorder.find_last_of('\\') + 1) + "tr_recorder.exe";
    if (::GetFileAttributesA(recorder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("\nlaunch: %s not built, skipped\n", recorder.c_str());
        return;
    }
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string out = std::string(temp) + "tr_lookup_bench_record.txt";
    ::SetEnvironmentVariableA("TR_RECORDER_OUT", out.c_str());

    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrLookupBenchServer";
    ::RegisterClassA(&wc);
    tr::Window server(::CreateWindowA(wc.lpszClassName, "bench server", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                      nullptr, wc.hInstance, nullptr));
    HWND existing = nullptr;
    if (!TrComGetServer(&existing) && !TrComSetServer(server.Get())) {
        std::printf("\nlaunch: no server window could be registered, skipped\n");
        return;
    }

    TR_APP_DATA_STRUC block = {};
    std::snprintf(block.szPath, sizeof(block.szPath), "%s", recorder.c_str());
    std::snprintf(block.szOption, sizeof(block.szOption), "bench");
    bool ok = true;
    const std::vector<double> t = PerCallEach(launches, {[&] {
        HANDLE h = nullptr;
        ok = TrComLaunch(&h, &block) && ok;
        tr::Handle process(h);
        if (process) ::WaitForSingleObject(process.Get(), 30000);
    }, [&] {
        std::string line = "\"" + recorder + "\" bench";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        if (::CreateProcessA(recorder.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            tr::Handle process(pi.hProcess), thread(pi.hThread);
            ::WaitForSingleObject(process.Get(), 30000);
        } else {
            ok = false;
        }
    }});
    const double launch = t[0], create = t[1];
    ::DeleteFileA(out.c_str());
    TrComDeleteSharedMemory();
    std::printf("\nstarting the recorder and waiting for its end (%d starts each, best of 5 interleaved rounds)\n", launches);
    std::printf("  TrComLaunch    %10.0f us\n  CreateProcess  %10.0f us\n  ratio          %10.2fx%s\n", launch, create,
                launch / create, ok ? "" : "  (some starts FAILED)");
    if (g_tsv) std::printf("@row\twine\tTrComLaunch, recorder started and ended\t-\tCreateProcess\t%.6f\t%.6f\n",
                           create / 1e3, launch / 1e3);
}

// The fixed part every lookup pays before it reads a file: the resource
// library and the data folder.
void RunParts(int calls) {
    std::printf("\nfixed costs inside every lookup (%d calls each, best of 5)\n", calls);
    char path[MAX_PATH];
    const double getPath = PerCall(calls, [&] { TrComGetPath(TR_PATH_DATA_DIR, path); });
    const double loadLocale = PerCall(calls, [] { tr::Module m(::LoadLibraryA("TrLocale.DLL")); });
    tr::Module held(::LoadLibraryA("TrLocale.DLL"));
    const double getPathHeld = PerCall(calls, [&] { TrComGetPath(TR_PATH_DATA_DIR, path); });
    const double shell = PerCall(calls, [&] { ::SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE); });
    std::printf("  %-44s %10.1f us\n", "SHGetSpecialFolderPathA(application data)", shell);
    std::printf("  %-44s %10.1f us\n", "TrComGetPath(data folder)", getPath);
    std::printf("  %-44s %10.1f us\n", "LoadLibrary + FreeLibrary of TrLocale.DLL", loadLocale);
    std::printf("  %-44s %10.1f us\n", "TrComGetPath(data folder), TrLocale.DLL held", getPathHeld);
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        quick |= std::strcmp(argv[i], "--quick") == 0;
        g_tsv |= std::strcmp(argv[i], "--tsv") == 0;
    }
    char folder[MAX_PATH] = "";
    if (!TrComGetPath(TR_PATH_DATA_DIR, folder)) {
        std::fprintf(stderr, "tr_lookup_bench: no data folder (TrLocale.DLL missing?)\n");
        return 1;
    }
    const std::string data = folder;
    ::CreateDirectoryA(data.substr(0, data.find_last_of('\\')).c_str(), nullptr);
    ::CreateDirectoryA(data.c_str(), nullptr);
    SavedFolder saved(data);

    // The shipped defaults, from the source tree (Z: is the root under Wine).
    std::string shipped = TR_SHIPPED_DATA_DIR;
    std::replace(shipped.begin(), shipped.end(), '/', '\\');
    if (shipped[0] == '\\') shipped = "Z:" + shipped;
    for (const char* name : kDataFiles) {
        std::string bytes;
        if (!bench::ReadBytes(shipped + "\\" + name, bytes) || !bench::WriteBytes(data + "\\" + name, bytes)) {
            std::fprintf(stderr, "tr_lookup_bench: cannot copy the shipped %s\n", name);
            return 1;
        }
    }
    // Bindings for the two device lookups, which ship empty.
    bench::WriteBytes(data + "\\USBData.dat", StringFile(1, "VID_1234&PID_5678"));
    bench::WriteBytes(data + "\\XbusData.dat", StringFile(1, "0800460102030405"));
    bench::WriteBytes(data + "\\XbusCtg.dat", StringFile(1, "KALVOR&CAM"));
    RunParts(quick ? 50 : 300);
    RunLookups("shipped data files", "shipped files", data, quick ? 30 : 100);

    const int n = 1000;
    bench::WriteBytes(data + "\\PPKData.dat", NumeralFile(n, 0x0101));
    bench::WriteBytes(data + "\\SKeyData.dat", NumeralFile(n, 0x0201));
    bench::WriteBytes(data + "\\FPData.dat", NumeralFile(n, 0x0301));
    bench::WriteBytes(data + "\\TimrData.dat", NumeralFile(n, 0x02000000));
    bench::WriteBytes(data + "\\JPPKData.dat", NumeralFile(n, 0x03000000));
    bench::WriteBytes(data + "\\USBData.dat", StringFile(n, "VID_1234&PID_5678"));
    bench::WriteBytes(data + "\\XbusData.dat", StringFile(n, "0800460102030405"));
    bench::WriteBytes(data + "\\XbusCtg.dat", StringFile(n, "KALVOR&CAM"));
    bench::WriteBytes(data + "\\JogData.dat", bench::JogFile(n));
    RunLookups("data files of 1,000 records (the record looked up last)", "1,000 records", data, quick ? 5 : 20);

    RunLaunches(quick ? 3 : 10);
    return 0;
}
