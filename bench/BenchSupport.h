// BenchSupport.h - what the benchmarks need: a clock, whole-file reads and
// writes done the plain way (the baseline the library is measured against),
// a scratch folder, and data files of any size. The data benchmark also
// builds natively, so the file calls have a POSIX side.
#ifndef TR_BENCH_SUPPORT_H
#define TR_BENCH_SUPPORT_H

#include <windows.h>

#ifdef _WIN32
#include "base/TrHandle.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace bench {

// Seconds on a monotonic clock (QueryPerformanceCounter on Windows).
inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

#ifdef _WIN32
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

// A folder of this process's own under the temporary folder, with the
// separator to put before a file name.
inline std::string MakeScratchFolder(const char* name) {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name + "_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}
inline void RemoveFile(const std::string& path) { ::DeleteFileA(path.c_str()); }
inline void RemoveFolder(const std::string& folder) { ::RemoveDirectoryA(folder.c_str()); }
#else
inline bool ReadBytes(const std::string& path, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0;
    if (ok) bytes.resize(static_cast<std::size_t>(st.st_size));
    for (std::size_t got = 0; ok && got < bytes.size();) {
        const ssize_t n = ::read(fd, &bytes[got], bytes.size() - got);
        ok = n > 0;
        got += ok ? static_cast<std::size_t>(n) : 0;
    }
    ::close(fd);
    return ok;
}

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

inline std::string MakeScratchFolder(const char* name) {
    const char* temp = std::getenv("TMPDIR");
    const std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/" + name + "_" +
                               std::to_string(::getpid());
    ::mkdir(folder.c_str(), 0700);
    return folder + "/";
}
inline void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }
inline void RemoveFolder(const std::string& folder) { ::rmdir(folder.c_str()); }
#endif

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
