// TrFileAccessWin.h - the Windows file access of the data layer, with the
// calls a rewrite makes replaceable, so tests can make them fail on purpose
// or end the process between two steps.
#ifndef TR_DATA_FILEACCESSWIN_H
#define TR_DATA_FILEACCESSWIN_H

#include <windows.h>

#include <memory>
#include <string>

#include "data/TrFileAccess.h"

namespace tr {
namespace data {

// Opens the original of a rewrite, which stays held until it is replaced:
// with write access, so a read-only file is refused as by any writer, and
// sharing only deletion, so every open that reads or writes it is refused as
// while it was written in place, while the replacement can still take over
// the hold. Like CreateFile: INVALID_HANDLE_VALUE with the last error set on
// failure, and ERROR_FILE_NOT_FOUND when there is no file yet.
using OpenForWritingFn = HANDLE (*)(const std::string& path);
HANDLE OpenForWriting(const std::string& path);

// The steps of a rewrite, in order; a test hook may run after each. Written
// comes after every Write call; for a file that did not exist, Held means
// "found missing" and Stamped changes nothing.
enum class RewriteStep { Held, TempCreated, Written, Flushed, Stamped, TempClosed, Replaced };

// What a test may replace in a rewrite.
struct RewriteSeams {
    OpenForWritingFn open = &OpenForWriting;
    BOOL(WINAPI* write)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = &::WriteFile;
    void (*after)(RewriteStep) = nullptr;
};

// The file a rewrite of 'path' gathers its new content in: beside the
// original, under a name made from the original's, so the next rewrite
// replaces one that a process ending half way left behind. Empty when no
// such name fits in a path.
std::string RewriteTempPath(const std::string& path);

// ReadWholeFile that maps files of at least 'mapFrom' bytes rather than
// reading them (ReadWholeFile maps from 256 KB on).
bool ReadWholeFileWith(const std::string& path, FileContent& content, std::size_t mapFrom);

// OpenForRewrite with the given calls.
std::unique_ptr<RewriteFile> OpenForRewriteWith(const std::string& path, const RewriteSeams& seams);

}  // namespace data
}  // namespace tr

#endif  // TR_DATA_FILEACCESSWIN_H
