// DataBench.cpp - what loading a data file costs next to the work no loader
// can avoid: opening, reading and closing the file, and one scan of its
// bytes for line ends. Prints the times and their ratio.
//   tr_data_bench [--quick]     --quick: the small sizes only
#include <windows.h>

#include "TrCommonClasses.h"
#include "bench/BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// Best of a few runs, in seconds.
double Best(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = bench::Now();
        work();
        best = std::min(best, bench::Now() - start);
    }
    return best;
}

// The unavoidable part: open, read everything, close.
std::string ReadAll(const std::string& path) {
    std::string bytes;
    if (!bench::ReadBytes(path, bytes)) bytes.clear();
    return bytes;
}

// A plain scan for line ends.
std::size_t CountLines(const std::string& bytes) {
    std::size_t lines = 0;
    for (const char c : bytes) lines += c == '\n';
    return lines;
}

volatile std::size_t g_sink;

// Keys as the lookups below ask for them.
std::string NumeralFile(int records) {
    return bench::NumeralFile(records, [](int i) { return static_cast<DWORD>(i); });
}

std::string VidPid(int i) {
    char key[32];
    std::snprintf(key, sizeof(key), "VID_%04X&PID_%04X", static_cast<unsigned>(i & 0xFFFF),
                  static_cast<unsigned>(i >> 16));
    return key;
}

std::string StringFile(int records) { return bench::StringFile(records, VidPid); }

struct Row {
    const char* what;
    int size;
    double raw, scan, work;
};

// The three timings of a row, interleaved run by run so that a busy machine
// slows them alike; the best of each counts.
void Measure(Row& row, int runs, const std::string& path, const std::string& bytes,
             const std::function<double()>& work) {
    row.raw = row.scan = row.work = 1e30;
    for (int i = 0; i < runs; ++i) {
        row.raw = std::min(row.raw, Best(1, [&] { g_sink = ReadAll(path).size(); }));
        row.scan = std::min(row.scan, Best(1, [&] { g_sink = CountLines(bytes); }));
        row.work = std::min(row.work, work());
    }
}

void Print(const Row& r) {
    const double unavoidable = r.raw + r.scan;
    std::printf("%-28s %7d  read %9.3f ms  scan %8.3f ms  load %10.3f ms  ratio %6.2f\n", r.what, r.size, r.raw * 1e3,
                r.scan * 1e3, r.work * 1e3, r.work / unavoidable);
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "tr_data_bench_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\bench.dat";
    int failures = 0;
    std::vector<int> sizes = {10, 1000, 100000};
    if (quick) sizes.pop_back();

    std::printf("ratio = (Load + Find, or Load + walk) / (open + read + close + line-end scan)\n");
    for (int size : sizes) {
        const int runs = size >= 100000 ? 5 : quick ? 10 : 50;
        for (int kind = 0; kind < 2; ++kind) {
            if (!bench::WriteBytes(path, kind == 0 ? NumeralFile(size) : StringFile(size))) return 2;
            Row row = {kind == 0 ? "numeral-key Load+Find" : "string-key Load+Find", size, 0, 0, 0};
            const std::string bytes = ReadAll(path);
            // Load and Find; the database is torn down after the clock stops.
            Measure(row, runs, path, bytes, [&] {
                double took;
                if (kind == 0) {
                    CTrNumeralKeyDB db;
                    const double start = bench::Now();
                    failures += db.Load(path) != 0;
                    failures += db.Find(static_cast<DWORD>(size - 1)) == nullptr;
                    took = bench::Now() - start;
                } else {
                    CTrStringKeyDB db;
                    const std::string wanted = VidPid(size - 1);
                    const double start = bench::Now();
                    failures += db.Load(path) != 0;
                    failures += db.Find(wanted) == nullptr;
                    took = bench::Now() - start;
                }
                return took;
            });
            Print(row);
        }
    }
    // The jog menu, walked entry by entry through Get: a linked list, so the
    // walk is quadratic; 100,000 entries are left out.
    for (int size : {10, 1000, 10000}) {
        if (quick && size > 1000) break;
        if (!bench::WriteBytes(path, bench::JogFile(size))) return 2;
        const int runs = size >= 10000 ? 3 : 20;
        Row row = {"jog menu Load+walk by index", size, 0, 0, 0};
        const std::string bytes = ReadAll(path);
        Measure(row, runs, path, bytes, [&] {
            CTrJogDataDB db;
            const double start = bench::Now();
            failures += db.Load(path) != 0;
            std::size_t total = 0;
            for (int i = 0; i < db.GetAllNumber(); ++i) total += db.Get(i).GetTitle().size();
            g_sink = total;
            return bench::Now() - start;
        });
        Print(row);
    }
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
    if (failures) std::printf("%d loads or lookups failed\n", failures);
    return failures ? 1 : 0;
}
