// TrLastErrorNative.cpp - the thread's last error for the native builds, kept
// as Windows keeps it: the data layer reports a write's cause through it.
#include <windows.h>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

}  // namespace

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD code) { t_lastError = code; }
