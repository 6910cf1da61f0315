// TrMemoryFiles.h - the files of the native build: a table of named byte
// strings in memory, with switches that make opens and writes fail, and a
// count of rewrite announcements. Tests and fuzzers need no disk.
#ifndef TR_DATA_NATIVE_MEMORYFILES_H
#define TR_DATA_NATIVE_MEMORYFILES_H

#include <string>

namespace tr {
namespace memfiles {

void Put(const std::string& path, const std::string& bytes);
bool Get(const std::string& path, std::string& bytes);
bool Exists(const std::string& path);
void Remove(const std::string& path);
void Reset();  // no files, no locks, no failures, announcements 0

// A locked file refuses every open, as a file held open by another process.
void SetLocked(const std::string& path, bool locked);
// The next rewrite of any file gets only this many bytes written and then
// fails; the file keeps what it held (-1: writes succeed).
void FailWritesAfter(long bytes);
// Whether a client window is there to be told about rewrites.
void SetClientWindow(bool present);
int Announcements();

}  // namespace memfiles
}  // namespace tr

#endif  // TR_DATA_NATIVE_MEMORYFILES_H
