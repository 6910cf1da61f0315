// TrFileAccessWin.h - the Windows file access of the data layer, with the
// open call replaceable so tests can make an open fail on purpose.
#ifndef TR_DATA_FILEACCESSWIN_H
#define TR_DATA_FILEACCESSWIN_H

#include <windows.h>

#include <memory>
#include <string>

#include "data/TrFileAccess.h"

namespace tr {
namespace data {

// Opens 'path' for writing without sharing, creating it when missing; the
// file is not yet truncated. INVALID_HANDLE_VALUE with the last error set on
// failure, like CreateFile.
using OpenForWritingFn = HANDLE (*)(const std::string& path);

HANDLE OpenForWriting(const std::string& path);

// ReadWholeFile that maps files of at least 'mapFrom' bytes rather than
// reading them (ReadWholeFile maps from 256 KB on).
bool ReadWholeFileWith(const std::string& path, FileContent& content, std::size_t mapFrom);

// OpenForRewrite with the given open call.
std::unique_ptr<RewriteFile> OpenForRewriteWith(const std::string& path, OpenForWritingFn open);

}  // namespace data
}  // namespace tr

#endif  // TR_DATA_FILEACCESSWIN_H
