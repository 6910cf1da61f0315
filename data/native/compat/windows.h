// windows.h - the few Win32 types the public headers use, for the native
// (non-Windows) build of the data layer. The only calls are the thread's
// last-error pair, which the in-memory files (TrFileAccessMemory.cpp) keep as
// the system would; the native build compiles only code that never reaches
// the system otherwise. A Win32 type that the public headers start to use
// must be added here.
#ifndef TR_NATIVE_COMPAT_WINDOWS_H
#define TR_NATIVE_COMPAT_WINDOWS_H

#ifdef _WIN32
#error "the native compatibility header must not be used on Windows"
#endif

#include <cstdint>

#define __cdecl
#define __stdcall
#define WINAPI
#define CALLBACK
#define __declspec(x)

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef struct HWND__* HWND;
typedef struct HICON__* HICON;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HKEY__* HKEY;
typedef struct HMENU__* HMENU;
typedef struct HBITMAP__* HBITMAP;
typedef struct HDC__* HDC;

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;

typedef struct _SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
} SYSTEMTIME;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define MAX_PATH 260

#define ERROR_SUCCESS 0L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_WRITE_FAULT 29L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_DISK_FULL 112L
#define ERROR_BAD_PATHNAME 161L

DWORD GetLastError();
void SetLastError(DWORD code);

#endif  // TR_NATIVE_COMPAT_WINDOWS_H
