// TrDataCopy.h - copying the installed data files into the user's data
// folder, newest-wins by creation time.
//
// The creation-time access goes through a table of two operations so the
// decision can be exercised where the file system does not keep a creation
// time that was set (Wine running as root, for one).
#ifndef TR_ENV_DATACOPY_H
#define TR_ENV_DATACOPY_H

#include <windows.h>

namespace tr {

struct CreationTimeOps {
    // Opens the file for reading and fetches its creation time.
    BOOL (*read)(const char* pszPath, FILETIME* pTime);
    // Opens the file for writing its attributes (not its data, so a
    // read-only file opens too) and sets its creation time; FALSE when it
    // cannot be opened.
    BOOL (*stamp)(const char* pszPath, const FILETIME* pTime);
};
const CreationTimeOps& SystemCreationTime();

// -1 when a was created before b, 1 when after, 0 when at the same time or
// when either cannot be opened for reading.
int CompareFileCreationTime(const char* pszA, const char* pszB, const CreationTimeOps& ops = SystemCreationTime());

// Copies every "*.dat" of srcFolder into dstFolder (both must exist). Without
// bOverwrite a file is copied only over a missing copy or one created before
// it. Each copy gets the time of copying as its creation time and loses the
// read-only attribute. Single files that fail are passed over silently.
void CopyDataFiles(const char* pszSrcFolder, const char* pszDstFolder, BOOL bOverwrite,
                   const CreationTimeOps& ops = SystemCreationTime());

}  // namespace tr

#endif  // TR_ENV_DATACOPY_H
