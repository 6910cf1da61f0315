// DataBench.cpp - what loading a data file costs next to the work no loader
// can avoid: opening, reading and closing the file, and one scan of its
// bytes for line ends; what walking the jog menu by index costs next to its
// Load; and how much memory a loaded database holds next to its file's size.
// Builds for Windows (run under Wine) and natively (tests/native).
//   tr_data_bench [--quick] [--tsv]
//     --quick: the small sizes only
//     --tsv:   also one machine-readable line per row ("@row", tab-separated)
#include <windows.h>

#include "TrCommonClasses.h"
#include "bench/BenchMemory.h"
#include "bench/BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

#ifdef _WIN32
const char kPlatform[] = "wine";
#else
const char kPlatform[] = "native";
#endif

bool g_tsv = false;
int g_failures = 0;
volatile std::size_t g_sink;

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

// The seconds a piece of work took.
double Timed(const std::function<void()>& work) {
    const double start = bench::Now();
    work();
    return bench::Now() - start;
}

// A row: the work against its baseline, each the best of 'runs' after one
// unmeasured run, the two interleaved run by run so that a busy machine
// slows them alike.
struct Row {
    std::string what, baseline;
    int size;
    double base, work;
};

void Print(const Row& r) {
    std::printf("%-30s %7d  %-22s %10.3f ms  work %10.3f ms  ratio %6.2f\n", r.what.c_str(), r.size,
                r.baseline.c_str(), r.base * 1e3, r.work * 1e3, r.work / r.base);
    if (g_tsv)
        std::printf("@row\t%s\t%s\t%d\t%s\t%.6f\t%.6f\n", kPlatform, r.what.c_str(), r.size, r.baseline.c_str(),
                    r.base * 1e3, r.work * 1e3);
}

Row Measure(std::string what, std::string baseline, int size, int runs, const std::function<double()>& base,
            const std::function<double()>& work) {
    Row row{std::move(what), std::move(baseline), size, 1e30, 1e30};
    // One run of each first, not counted: the first use of this much memory
    // pays for the heap's growth and settles the allocator's thresholds.
    base();
    work();
    for (int i = 0; i < runs; ++i) {
        bench::SettleHeap();
        row.base = std::min(row.base, base());
        bench::SettleHeap();
        row.work = std::min(row.work, work());
    }
    Print(row);
    return row;
}

// Load and Find, timed; the database is torn down after the clock stops.
template <class Db, class Key>
double LoadAndFind(const std::string& path, const Key& key) {
    Db db;
    const double start = bench::Now();
    g_failures += db.Load(path) != 0;
    g_failures += db.Find(key) == nullptr;
    return bench::Now() - start;
}

// What a load cannot go below: the allocations of its records. The records
// of the file are copied into an empty database one by one (a list node and
// a buffer for every text too long for the string itself, as Load makes
// them); no file is read and nothing parsed.
template <class Db>
double CopyIn(const std::string& path) {
    Db loaded;
    g_failures += loaded.Load(path) != 0;
    Db db;
    const double start = bench::Now();
    for (auto* r = loaded.Read(1); r; r = loaded.Read(0)) db.Add(*r);
    return bench::Now() - start;
}

// Held and peak heap of a loaded database, against the file's size.
template <class Db>
void MeasureMemory(const std::string& what, const std::string& path, int records, std::size_t fileBytes) {
    bench::HeapGrowth growth;
    {
        Db db;
        bench::MarkHeap();
        g_failures += db.Load(path) != 0;
        growth = bench::HeapSinceMark();
    }
    const double perRecord = growth.peak / records;
    std::printf("%-30s %7d  file %6.1f B/record  held %6.1f B/record  peak %6.1f B/record  peak/file %5.2f\n",
                what.c_str(), records, static_cast<double>(fileBytes) / records, growth.held / records, perRecord,
                growth.peak / static_cast<double>(fileBytes));
    if (g_tsv)
        std::printf("@mem\t%s\t%s\t%d\t%.1f\t%.1f\t%.1f\n", kPlatform, what.c_str(), records,
                    static_cast<double>(fileBytes) / records, growth.held / records, perRecord);
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        quick |= std::strcmp(argv[i], "--quick") == 0;
        g_tsv |= std::strcmp(argv[i], "--tsv") == 0;
    }
    const std::string folder = bench::MakeScratchFolder("tr_data_bench");
    const std::string path = folder + "bench.dat";
    std::vector<int> sizes = {10, 1000, 100000};
    if (quick) sizes.pop_back();

    std::printf("ratio = work / baseline, each the best of several runs, interleaved (%s)\n", kPlatform);
    for (int size : sizes) {
        const int runs = size >= 100000 ? 7 : quick ? 10 : 50;
        for (int kind = 0; kind < 2; ++kind) {
            const std::string text = kind == 0 ? NumeralFile(size) : StringFile(size);
            if (!bench::WriteBytes(path, text)) return 2;
            const std::string bytes = ReadAll(path);
            const auto plain = [&] {
                return Timed([&] { g_sink = ReadAll(path).size(); }) + Timed([&] { g_sink = CountLines(bytes); });
            };
            if (kind == 0)
                Measure("numeral-key Load+Find", "read+scan", size, runs, plain,
                        [&] { return LoadAndFind<CTrNumeralKeyDB>(path, static_cast<DWORD>(size - 1)); });
            else
                Measure("string-key Load+Find", "read+scan", size, runs, plain,
                        [&] { return LoadAndFind<CTrStringKeyDB>(path, VidPid(size - 1)); });
            if (size < 100000) continue;
            if (kind == 0) {
                MeasureMemory<CTrNumeralKeyDB>("numeral-key memory", path, size, text.size());
                Measure("numeral-key records copied in", "read+scan", size, runs, plain,
                        [&] { return CopyIn<CTrNumeralKeyDB>(path); });
            } else {
                MeasureMemory<CTrStringKeyDB>("string-key memory", path, size, text.size());
                Measure("string-key records copied in", "read+scan", size, runs, plain,
                        [&] { return CopyIn<CTrStringKeyDB>(path); });
            }
        }
    }
    // The jog menu walked entry by entry through Get, against its Load alone.
    for (int size : {10, 1000, 10000}) {
        if (quick && size > 1000) break;
        if (!bench::WriteBytes(path, bench::JogFile(size))) return 2;
        const int runs = size >= 10000 ? 7 : 20;
        const auto load = [&](bool walk) {
            CTrJogDataDB db;
            const double start = bench::Now();
            g_failures += db.Load(path) != 0;
            if (walk) {
                std::size_t total = 0;
                for (int i = 0; i < db.GetAllNumber(); ++i) total += db.Get(i).GetTitle().size();
                g_sink = total;
            }
            return bench::Now() - start;
        };
        Measure("jog menu Load+walk by index", "Load", size, runs, [&] { return load(false); },
                [&] { return load(true); });
    }
    bench::RemoveFile(path);
    bench::RemoveFolder(folder);
    if (g_failures) std::printf("%d loads or lookups failed\n", g_failures);
    return g_failures ? 1 : 0;
}
