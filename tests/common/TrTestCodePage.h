// TrTestCodePage.h - whether a test runs under code page 932: the ANSI code
// page Wine takes from the locale, or the one TR_CODEPAGE chose for the
// native build. Tests of double-byte text skip themselves otherwise.
#ifndef TR_TESTS_CODEPAGE_H
#define TR_TESTS_CODEPAGE_H

#ifdef _WIN32
#include <windows.h>
#else
#include "data/native/TrNativeCodePage.h"
#endif

namespace trtest {

#ifdef _WIN32
inline bool IsCodePage932() { return ::GetACP() == 932; }
#else
inline bool IsCodePage932() { return tr::native::SelectedCodePage() == 932; }
#endif

}  // namespace trtest

#endif  // TR_TESTS_CODEPAGE_H
