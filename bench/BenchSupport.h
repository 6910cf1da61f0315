// BenchSupport.h - what both benchmarks need: a clock, whole-file reads and
// writes done the plain way (the baseline the library is measured against),
// and data files of any size.
#ifndef TR_BENCH_SUPPORT_H
#define TR_BENCH_SUPPORT_H

#include <windows.h>

#include "base/TrHandle.h"

#include <cstdio>
#include <functional>
#include <string>

namespace bench {

inline double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// Open, read everything, close: the part of a load no loader can avoid.
inline bool ReadBytes(const std::string& path, std::string& bytes) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                               nullptr));
    LARGE_INTEGER size;
    if (!f || !::GetFileSizeEx(f.Get(), &size)) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD done = 0;
    return bytes.empty() || (::ReadFile(f.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                             done == bytes.size());
}

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    tr::Handle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    return f && ::WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
           done == bytes.size();
}

// Numeral-key records, record i filed under key(i).
inline std::string NumeralFile(int records, const std::function<DWORD(int)>& key) {
    std::string s = ";bench\r\n";
    char line[512];
    for (int i = 0; i < records; ++i) {
        std::snprintf(line, sizeof(line),
                      "Title:Application %d\r\nDescription:Starts application number %d\r\n"
                      "Path:C:\\Program Files\\App%d\\app.exe\r\nWorkDir:C:\\Program Files\\App%d\r\n"
                      "Option:/x %d\r\nKey:%08lX\r\n",
                      i, i, i, i, i, static_cast<unsigned long>(key(i)));
        s += line;
    }
    return s;
}

// String-key records, record i filed under key(i).
inline std::string StringFile(int records, const std::function<std::string(int)>& key) {
    std::string s = ";bench\r\n";
    char line[512];
    for (int i = 0; i < records; ++i) {
        std::snprintf(line, sizeof(line),
                      "Title:Device %d\r\nDescription:Starts the program of device %d\r\n"
                      "Path:C:\\Program Files\\Dev%d\\dev.exe\r\nWorkDir:C:\\Program Files\\Dev%d\r\n"
                      "Option:\r\nName:Device number %d\r\nAttribute:\r\nKey:",
                      i, i, i, i, i);
        s.append(line).append(key(i)).append("\r\n");
    }
    return s;
}

// A jog menu with a folder every tenth entry.
inline std::string JogFile(int entries) {
    std::string s = ";bench\r\n";
    char line[512];
    for (int i = 0; i < entries; ++i) {
        if (i % 10 == 0)
            std::snprintf(line, sizeof(line), "Title:Folder %d\r\nDescription:Folder number %d\r\nLevel:%d\r\n", i, i,
                          i % 3);
        else
            std::snprintf(line, sizeof(line),
                          "Title:Entry %d\r\nDescription:Menu entry %d\r\nLevel:%d\r\nPath:C:\\Apps\\e%d.exe\r\n"
                          "WorkDir:C:\\Apps\r\nOption:\r\n",
                          i, i, i % 3 + 1, i);
        s += line;
    }
    return s;
}

}  // namespace bench

#endif  // TR_BENCH_SUPPORT_H
