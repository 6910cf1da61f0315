// >>> ENGINEERS WORKING IN PARALLEL: before anything else read /work/main/.parallel-rules.md (rules, build folder, git, deadline). Temporary line, the lead removes it. <<<
// TrCommonClasses.h - exported classes of TrCommon.dll.
//
// The classes are exported with their C++ names, so a host must be built with
// the same toolchain (mingw-w64 g++) to use them. Texts are std::string bytes
// of the ANSI code page; ordered record lists are std::list, a position being
// an iterator with the list's end standing for "no position".
#ifndef TRCOMMONCLASSES_H
#define TRCOMMONCLASSES_H

#include "TrCommon.h"

#include <list>
#include <string>

#ifdef TRCOMMON_BUILD
#define TRCLASS_API __declspec(dllexport)
#else
#define TRCLASS_API __declspec(dllimport)
#endif

// @@ classes below, one section per family

#endif  // TRCOMMONCLASSES_H
