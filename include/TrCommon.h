/// @file TrCommon.h
/// Exported functions and exchanged structures of TrCommon.dll.
///
/// Every function is a plain C export (undecorated name, __cdecl). Structures
/// keep the field order callers rely on; 32-bit values stay 32-bit on x64 and
/// handles and pointers are pointer-sized. Sizes are asserted below so the
/// 32-bit and 64-bit builds cannot drift apart silently.
///
/// The header compiles as C99 and as C++. Every export returns a truth value
/// (non-zero: the operation could be carried out) and answers through its
/// out-parameters; texts are zero-terminated strings of the system's ANSI
/// code page, and every path buffer holds MAX_PATH (260) bytes. No export
/// shows a message box or lets an exception escape.
#ifndef TRCOMMON_H
#define TRCOMMON_H

#include <windows.h>

/// Calling convention of every export. Exports are listed by name in the
/// library's .def file, so no decoration or dllexport attribute is needed on
/// the functions themselves.
#define TRCOMAPI __cdecl

/// Marks the few C++ functions, which are exported with their C++ names (as
/// the classes are), so that only hosts of the library's toolchain link them.
#ifdef TRCOMMON_BUILD
#define TRCOMCPP_API __declspec(dllexport)
#else
#define TRCOMCPP_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------
// Application data block: what a lookup fills and a launch or dialog reads.
// ---------------------------------------------------------------------------
/// Size in bytes of every text field of the exchanged structures (a
/// zero-terminated ANSI text of at most 259 characters).
#define TR_TEXT_FIELD 260

/// The application bound to an event: what a lookup fills and what the
/// launcher and the dialogs read. The caller owns the block.
typedef struct TR_APP_DATA_STRUC {
    char szTitle[TR_TEXT_FIELD];        ///< title shown in the dialogs
    char szDescription[TR_TEXT_FIELD];  ///< one line about the application
    char szPath[TR_TEXT_FIELD];         ///< program, document or shortcut to start
    char szWorkDir[TR_TEXT_FIELD];      ///< working folder, empty for the default
    char szOption[TR_TEXT_FIELD];       ///< command-line arguments
} TR_APP_DATA_STRUC;

// ---------------------------------------------------------------------------
// Shared block: the server and client windows, visible to every process.
// ---------------------------------------------------------------------------
/// The named shared block ("TrCommon1999 FileMap") that lets every process
/// find the resident programs' windows.
typedef struct TR_SHARED_BLOCK {
    DWORD dwServer;  ///< server window as a 32-bit value, 0 when none
    DWORD dwClient;  ///< client window as a 32-bit value, 0 when none
} TR_SHARED_BLOCK;

/// Tells whether a server may register: probes the shared block without
/// creating it. @return 1 when the lock was free and no block exists, 0 when
/// a block exists or the lock is busy. Leaves no block behind.
int TRCOMAPI TrComCreateSharedMemory(void);
/// Clears both windows of the block when this process registered the
/// server; otherwise, or while the lock is busy, does nothing.
/// @return always 1.
int TRCOMAPI TrComDeleteSharedMemory(void);
/// Registers the server window, creating the shared block.
/// @param hServer the resident server program's window.
/// @return 1 when registered; 0 when a block already exists, the lock is busy
/// or the block cannot be made (the block's fields are then unchanged).
int TRCOMAPI TrComSetServer(HWND hServer);
/// Registers the client window, which receives "TrMsgRewriteWindow".
/// @param hClient the client program's window.
/// @return 1 when registered; 0 when no server made the block or the lock is
/// busy (the block is then unchanged).
int TRCOMAPI TrComSetClient(HWND hClient);
/// Reads the server window from the shared block.
/// @param phServer receives the window (NULL after the server deleted it).
/// @return 1 when read; 0 when no block exists or the lock is busy, with
/// *phServer untouched.
int TRCOMAPI TrComGetServer(HWND* phServer);
/// Reads the client window from the shared block.
/// @param phClient receives the window, NULL when no client registered.
/// @return 1 when read; 0 when no block exists or the lock is busy, with
/// *phClient untouched.
int TRCOMAPI TrComGetClient(HWND* phClient);

/// Name of the registered message posted to the client window after a
/// numeral-key or string-key data file was rewritten (RegisterWindowMessage).
#define TR_MSG_REWRITE_WINDOW_NAME "TrMsgRewriteWindow"
/// Name of the registered message a watch window posts to its owner, with
/// the event code (or #TR_WATCH_CANCELLED) as wParam.
#define TR_MSG_TRELVANE_NAME "Trelvane Message"

// ---------------------------------------------------------------------------
// Path utilities and platform test. Path buffers hold MAX_PATH bytes.
// ---------------------------------------------------------------------------
#define TR_OS_UNKNOWN 0 ///< Platform code: the version query failed or gave an unknown platform.
#define TR_OS_WIN32S 1  ///< Platform code: Win32s.
#define TR_OS_WIN95 2   ///< Platform code: Windows 95.
#define TR_OS_WIN98 3   ///< Platform code: Windows 98 (and, from TrComGetOS, Me).
#define TR_OS_WINNT 4   ///< Platform code: the NT family (TrComGetOSEx: before version 5).
#define TR_OS_WIN2K 5   ///< TrComGetOSEx only: NT family, major version 5 or more.
#define TR_OS_WINME 6   ///< TrComGetOSEx only: 95 family, minor version 90 or more.

/// Joins a name to a path in place: trailing blanks of the path go, one
/// backslash separates the two, blanks and one backslash at the front of the
/// name go.
/// @param pszPath MAX_PATH-byte buffer holding the path; receives the result.
/// @param pszName the name to append.
/// @return always 1.
int TRCOMAPI TrComPathAppend(char* pszPath, const char* pszName);
/// Tells whether a file or folder matches a path (wildcards allowed).
/// @param pszPath the path to search for.
/// @return non-zero when at least one file or folder matches, else 0.
int TRCOMAPI TrComPathFileExists(const char* pszPath);
/// Creates a folder with every missing level above it (the drive is never
/// created).
/// @param pszPath the folder, "C:\\a\\b" style.
/// @return 1 when every level exists afterwards; 0 when the path has no
/// level below a root or a level cannot be made (levels made before stay).
int TRCOMAPI TrComCreateDirectory(const char* pszPath);
/// The platform code of the running system.
/// @param pdwCode receives a TR_OS_WIN32S to TR_OS_WINNT code; set to 0 first.
/// @return 1 with the code written; 0 when the version query fails (code 0).
int TRCOMAPI TrComGetOS(DWORD* pdwCode);
/// The platform code with the finer codes #TR_OS_WIN2K and #TR_OS_WINME.
/// @param pdwCode receives the code; set to 0 first.
/// @return as TrComGetOS().
int TRCOMAPI TrComGetOSEx(DWORD* pdwCode);

// ---------------------------------------------------------------------------
// Icons.
// ---------------------------------------------------------------------------
/// The shell's icon of a file, or the product's fallback icon when the shell
/// has none.
/// @param phIcon receives the icon (the caller destroys it); set to NULL first.
/// @param pszPath the program, document or shortcut (it must exist).
/// @param bLarge TRUE for a large icon, FALSE for a small one.
/// @return TRUE with an icon; FALSE when neither the shell nor TrLocale.DLL
/// gives one (*phIcon then NULL).
BOOL TRCOMAPI TrComGetIconHandle(HICON* phIcon, const char* pszPath, BOOL bLarge);

// ---------------------------------------------------------------------------
// Registry: the product key table and the values of one event family.
//
// The machine-wide product key (HKEY_LOCAL_MACHINE) holds the installation
// values and the initial settings, the same path under HKEY_CURRENT_USER the
// user's settings, with one sub-key per family.
// ---------------------------------------------------------------------------
#define TR_REG_KIND_MACHINE 0      ///< Value kind: the key table only, machine root.
#define TR_REG_KIND_USER 1         ///< Value kind: the key table only, user root.
#define TR_REG_KIND_JOG 2          ///< Value kind: the user's "JogConfig" values.
#define TR_REG_KIND_PPK 3          ///< Value kind: the user's "PPKConfig" values.
#define TR_REG_KIND_SKEY 4         ///< Value kind: the user's "SKeyConfig" values.
#define TR_REG_KIND_FLASHPOD 5     ///< Value kind: the user's "FlashpodConfig" values.
#define TR_REG_KIND_XBUS 6         ///< Value kind: the user's "XbusConfig" values.
#define TR_REG_KIND_USB 7          ///< Value kind: the user's "USBConfig" values.
#define TR_REG_KIND_TIMER_CONFIG 8 ///< Value kind: the user's "TimerConfig" values.
#define TR_REG_KIND_TIMER_APP 9    ///< Value kind: the user's "TimerApp" values.
#define TR_REG_KIND_TIMER 10       ///< Value kind: the user's "Timer" values.

// Values of each family, in the order they are read. D values come from
// REG_DWORD, the text fields from REG_SZ.
/// "JogConfig" values (kind #TR_REG_KIND_JOG), in the order they are read.
typedef struct TR_REG_JOG_VALUES {
    DWORD dwInfoDialog;              ///< "InfoDialog": seconds of the info dialog
    DWORD dwAppDirection;            ///< "AppDirection"
    DWORD dwJogDirection;            ///< "JogDirection"
    DWORD dwAutoCloseTimer;          ///< "AutoCloseTimer"
    DWORD dwBackButton;              ///< "BackButton"
    char szPushSound[TR_TEXT_FIELD]; ///< "PushSound": wave file
    char szRollSound[TR_TEXT_FIELD]; ///< "RollSound": wave file
} TR_REG_JOG_VALUES;

/// "PPKConfig" values (kind #TR_REG_KIND_PPK).
typedef struct TR_REG_PPK_VALUES {
    DWORD dwInfoDialog;  ///< "InfoDialog"
    DWORD dwEnable;      ///< "Enable"
    DWORD dwLidEnable;   ///< "LID Enable"
} TR_REG_PPK_VALUES;

/// "SKeyConfig" and "TimerConfig" values (kinds #TR_REG_KIND_SKEY and
/// #TR_REG_KIND_TIMER_CONFIG).
typedef struct TR_REG_INFO_VALUES {  // "SKeyConfig" and "TimerConfig"
    DWORD dwInfoDialog;  ///< "InfoDialog"
} TR_REG_INFO_VALUES;

/// "FlashpodConfig" values (kind #TR_REG_KIND_FLASHPOD).
typedef struct TR_REG_FLASHPOD_VALUES {
    DWORD dwInfoDialog;   ///< "InfoDialog"
    DWORD dwEnable;       ///< "Enable"
    DWORD dwSlotEnable;   ///< "SlotEnable"
    DWORD dwDriveLetter;  ///< "DriveLetter": append the drive to a medium's options
} TR_REG_FLASHPOD_VALUES;

/// "XbusConfig" values (kind #TR_REG_KIND_XBUS).
typedef struct TR_REG_XBUS_VALUES {
    DWORD dwInfoDialog;    ///< "InfoDialog"
    DWORD dwEnable;        ///< "Enable"
    DWORD dwNewDevice;     ///< "NewDevice"
    DWORD dwCategory;      ///< "Category": fall back to the device type's record
    DWORD dwSmartConnect;  ///< "SmartConnect"
    DWORD dwCaution;       ///< "Caution"
} TR_REG_XBUS_VALUES;

/// "USBConfig" values (kind #TR_REG_KIND_USB).
typedef struct TR_REG_USB_VALUES {
    DWORD dwInfoDialog;  ///< "InfoDialog"
    DWORD dwEnable;      ///< "Enable"
    DWORD dwNewDevice;   ///< "NewDevice"
} TR_REG_USB_VALUES;

/// "TimerApp" values (kind #TR_REG_KIND_TIMER_APP): the timer's application.
typedef struct TR_REG_TIMER_APP_VALUES {
    DWORD dwLimitTime;                  ///< "LimitTime"
    char szTitle[TR_TEXT_FIELD];        ///< "Title"
    char szDescription[TR_TEXT_FIELD];  ///< "Description"
    char szPath[TR_TEXT_FIELD];         ///< "Path"
    char szWorkDir[TR_TEXT_FIELD];      ///< "WorkDir"
    char szOption[TR_TEXT_FIELD];       ///< "Option"
} TR_REG_TIMER_APP_VALUES;

/// "Timer" values (kind #TR_REG_KIND_TIMER): the timer's schedule.
typedef struct TR_REG_TIMER_VALUES {
    DWORD dwTimerMode;  ///< "TimerMode"
    DWORD dwWeekFlag;   ///< "WeekFlag"
    DWORD dwTimeLimit;  ///< "TimeLimit"
    DWORD dwPostState;  ///< "PostState"
    DWORD dwYear;       ///< "Year"
    DWORD dwMonth;      ///< "Month"
    DWORD dwDay;        ///< "Day"
    DWORD dwHour;       ///< "Hour"
    DWORD dwMinute;     ///< "Minute"
} TR_REG_TIMER_VALUES;

/// The value area of TR_REG_VALUE_STRUC: one member per kind; kind 9 sets
/// its size.
typedef union TR_REG_VALUES {
    TR_REG_JOG_VALUES jog;                ///< kind #TR_REG_KIND_JOG
    TR_REG_PPK_VALUES ppk;                ///< kind #TR_REG_KIND_PPK
    TR_REG_INFO_VALUES skey;              ///< kind #TR_REG_KIND_SKEY
    TR_REG_FLASHPOD_VALUES flashpod;      ///< kind #TR_REG_KIND_FLASHPOD
    TR_REG_XBUS_VALUES xbus;              ///< kind #TR_REG_KIND_XBUS
    TR_REG_USB_VALUES usb;                ///< kind #TR_REG_KIND_USB
    TR_REG_INFO_VALUES timerConfig;       ///< kind #TR_REG_KIND_TIMER_CONFIG
    TR_REG_TIMER_APP_VALUES timerApp;     ///< kind #TR_REG_KIND_TIMER_APP
    TR_REG_TIMER_VALUES timer;            ///< kind #TR_REG_KIND_TIMER
} TR_REG_VALUES;

#ifdef __cplusplus
}  // extern "C"

/// The registry-value block of TrComGetRegValue() (C++ hosts only). The
/// caller derives from it and overrides GetValueKind (0 to 10, TR_REG_KIND_*);
/// TrComGetRegValue fills the caller's object and never constructs one. A
/// value that cannot be read keeps what the caller put in its slot, so
/// defaults may be preset.
struct TR_REG_VALUE_STRUC {
    /// The kind of values wanted, one of the TR_REG_KIND_* codes.
    virtual int GetValueKind() = 0;

    HKEY hRoot;                              ///< HKEY_LOCAL_MACHINE after kind 0, else HKEY_CURRENT_USER
    char szKeyPath[TR_TEXT_FIELD];           ///< product key path (+ "\<sub-key>" for kinds 2 to 10)
    char szDefaultInstalledPath[TR_TEXT_FIELD]; ///< installed program when "InstalledPath" is missing
    char szInstalledPathName[TR_TEXT_FIELD]; ///< "InstalledPath"
    char szInstalledDirName[TR_TEXT_FIELD];  ///< "InstalledDir"
    char szTrTWPathName[TR_TEXT_FIELD];      ///< "TrTWPath"
    char szJogConfig[TR_TEXT_FIELD];         ///< "JogConfig"
    char szPPKConfig[TR_TEXT_FIELD];         ///< "PPKConfig"
    char szSKeyConfig[TR_TEXT_FIELD];        ///< "SKeyConfig"
    char szFlashpodConfig[TR_TEXT_FIELD];    ///< "FlashpodConfig"
    char szXbusConfig[TR_TEXT_FIELD];        ///< "XbusConfig"
    char szUSBConfig[TR_TEXT_FIELD];         ///< "USBConfig"
    char szTimerConfig[TR_TEXT_FIELD];       ///< "TimerConfig"
    char szTimerApp[TR_TEXT_FIELD];          ///< "TimerApp"
    char szTimer[TR_TEXT_FIELD];             ///< "Timer"
    TR_REG_VALUES values;                    ///< the values of kinds 2 to 10
};

/// A ready-made block of one kind: TR_REG_VALUE_OF_KIND<TR_REG_KIND_FLASHPOD>
/// block{}; starts zero-filled.
/// @tparam Kind the TR_REG_KIND_* code the block asks for.
template <int Kind>
struct TR_REG_VALUE_OF_KIND : TR_REG_VALUE_STRUC {
    /// @return Kind.
    int GetValueKind() override { return Kind; }
};

static_assert(sizeof(TR_REG_VALUES) == sizeof(DWORD) + 5 * TR_TEXT_FIELD, "kind 9 sets the value area");
static_assert(sizeof(TR_REG_VALUE_STRUC) ==
                  2 * sizeof(void*) + 14 * TR_TEXT_FIELD + sizeof(DWORD) + 5 * TR_TEXT_FIELD,
              "TR_REG_VALUE_STRUC: table pointer, root, 14 texts, value area (4960 on x64, 4952 on i686)");

extern "C" {
#else
typedef struct TR_REG_VALUE_STRUC TR_REG_VALUE_STRUC;
#endif

/// Fills a registry-value block: the product key table for the block's
/// kind, and for kinds 2 to 10 the family's values from the user's key.
/// @param pValue the caller's block; its GetValueKind() says what to fill.
/// @return non-zero when the table, and for kinds 2 to 10 every value, could
/// be read; 0 otherwise (values that could not be read keep the caller's
/// presets). A kind outside 0 to 10 gives 0 and touches nothing.
int TRCOMAPI TrComGetRegValue(TR_REG_VALUE_STRUC* pValue);

// ---------------------------------------------------------------------------
// Product paths. Each index yields one folder or file; the buffer holds
// MAX_PATH bytes and is written only on success.
// ---------------------------------------------------------------------------
#define TR_PATH_PROGRAM_DIR 0     ///< Path index: the program folder ("InstalledDir").
#define TR_PATH_OS_DIR 1          ///< Path index: the program folder's Win2K (NT family) or Win98 folder.
#define TR_PATH_USER_DIR 2        ///< Path index: the user's folder, Kalvor Corporation\\Trelvane under the application data.
#define TR_PATH_DATA_DIR 3        ///< Path index: the user's data folder (the same as #TR_PATH_USER_DIR).
#define TR_PATH_INSTALLED_FILE 4  ///< Path index: the installed program ("InstalledPath").
#define TR_PATH_TRTW_DLL 5        ///< Path index: the companion library ("TrTWPath").
#define TR_PATH_HELP_FILE 6       ///< Path index: Trelvane.chm.
#define TR_PATH_LOCALE_DLL 7      ///< Path index: TrLocale.DLL in the program folder.
#define TR_PATH_LAUNCH_INI 8      ///< Path index: TrLaunch.ini in the OS folder.
#define TR_PATH_DEVICE_INI 9      ///< Path index: TrDevice.ini in the OS folder.
#define TR_PATH_JOG_DATA 10       ///< Path index: the user's JogData.dat.
#define TR_PATH_JPPK_DATA 11      ///< Path index: the user's JPPKData.dat.
#define TR_PATH_PPK_DATA 12       ///< Path index: the user's PPKData.dat.
#define TR_PATH_SKEY_DATA 13      ///< Path index: the user's SKeyData.dat.
#define TR_PATH_FP_DATA 14        ///< Path index: the user's FPData.dat.
#define TR_PATH_XBUS_DATA 15      ///< Path index: the user's XbusData.dat.
#define TR_PATH_XBUS_CATEGORY 16  ///< Path index: the user's XbusCtg.dat.
#define TR_PATH_USB_DATA 17       ///< Path index: the user's USBData.dat.
#define TR_PATH_TIMER_DATA 18     ///< Path index: the user's TimrData.dat.
#define TR_PATH_COUNT 19          ///< Number of path indexes.

/// One of the product's folders or files, read afresh from the registry and
/// the file system at every call.
/// @param nIndex a TR_PATH_* index.
/// @param pszPath MAX_PATH-byte buffer that receives the path.
/// @return 1 with the path written; 0 with the buffer untouched when
/// TrLocale.DLL cannot be loaded, the system has no application-data folder
/// (user paths), or the index is out of range.
int TRCOMAPI TrComGetPath(int nIndex, char* pszPath);

// ---------------------------------------------------------------------------
// Event settings. Each call takes the root and the full path of the family's
// sub-key (for example HKEY_CURRENT_USER and the product key path joined with
// "XbusConfig"). Results: non-zero on success; see each call's defaults.
//
// Common to the writes: the key and missing levels are created; values are
// written as REG_DWORD in the order named; the result is 1 when all were
// written, 0 at the first failure (values written before it stay). Common to
// the reads: only the outputs change, as each call says.
// ---------------------------------------------------------------------------
/// Reads "Caution" of the IEEE 1394 settings.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwCaution receives the value, 1 when it is missing.
/// @return 1 when read; 0 when missing or the key is missing (then untouched).
int TRCOMAPI TrXbusConfigCautionRead(HKEY hRoot, const char* pszKey, DWORD* pdwCaution);
/// Writes "Caution". @param hRoot root key. @param pszKey the family's key
/// path. @param dwCaution the value. @return 1 when written, else 0.
int TRCOMAPI TrXbusConfigCautionWrite(HKEY hRoot, const char* pszKey, DWORD dwCaution);
/// Reads the IEEE 1394 settings; each output is preset (enable 0, new device
/// 0, category 0, smart connect 1, info dialog 5) and an info dialog outside
/// 0 to 99 becomes 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwEnable "Enable". @param pdwNewDevice "NewDevice".
/// @param pdwCategory "Category". @param pdwSmartConnect "SmartConnect".
/// @param pdwInfoDialog "InfoDialog".
/// @return 1 whenever the key opened; 0 when it is missing (outputs preset).
int TRCOMAPI TrXbusCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwNewDevice,
                           DWORD* pdwCategory, DWORD* pdwSmartConnect, DWORD* pdwInfoDialog);
/// Writes the IEEE 1394 settings as given.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param dwEnable "Enable". @param dwNewDevice "NewDevice".
/// @param dwCategory "Category". @param dwSmartConnect "SmartConnect".
/// @param dwInfoDialog "InfoDialog". @return 1 when all were written, else 0.
int TRCOMAPI TrXbusCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwNewDevice,
                            DWORD dwCategory, DWORD dwSmartConnect, DWORD dwInfoDialog);
/// Reads the jog dial's two directions (1 or 2 each).
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwAppDirection "AppDirection". @param pdwJogDirection "JogDirection".
/// @return 1 when both were read and both outputs set; 0 otherwise. A value
/// outside 1 to 2 or a missing key leaves both outputs untouched.
int TRCOMAPI TrJogCfgReadDirection(HKEY hRoot, const char* pszKey, DWORD* pdwAppDirection, DWORD* pdwJogDirection);
/// Writes the two directions; each other than 1 or 2 is written as 1.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param dwAppDirection "AppDirection". @param dwJogDirection "JogDirection".
/// @return 1 when both were written, else 0.
int TRCOMAPI TrJogCfgWriteDirection(HKEY hRoot, const char* pszKey, DWORD dwAppDirection, DWORD dwJogDirection);
/// Reads "AutoCloseTimer" (seconds, 1 to 60).
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwTime set to 0 first; receives the value when it lies in 1 to 60.
/// @return 1 when a value in range was delivered, else 0.
int TRCOMAPI TrJogCfgReadAutoCloseTimer(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
/// Writes "AutoCloseTimer"; a time outside 1 to 60 is written as 0.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param nTime seconds. @return 1 when written, else 0.
int TRCOMAPI TrJogCfgWriteAutoCloseTimer(HKEY hRoot, const char* pszKey, int nTime);
/// Reads the jog dial PPK key's "InfoDialog" (seconds, 0 to 99).
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwTime set to 5 first; receives the value when it lies in 0 to 99.
/// @return 1 when a value in range was delivered, else 0.
int TRCOMAPI TrJogCfgReadPPPKInfoDlgTime(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
/// Writes "InfoDialog"; a time outside 0 to 99 is written as 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param nTime seconds. @return 1 when written, else 0.
int TRCOMAPI TrJogCfgWritePPPKInfoDlgTime(HKEY hRoot, const char* pszKey, int nTime);
/// Writes the SKey family's "InfoDialog", as TrJogCfgWritePPPKInfoDlgTime().
/// @param hRoot root key. @param pszKey the family's key path.
/// @param nTime seconds. @return 1 when written, else 0.
int TRCOMAPI TrSKeyCfgWrite(HKEY hRoot, const char* pszKey, int nTime);
/// Writes the timer's "InfoDialog", as TrJogCfgWritePPPKInfoDlgTime().
/// @param hRoot root key. @param pszKey the family's key path.
/// @param nTime seconds. @return 1 when written, else 0.
int TRCOMAPI TrTimerCfgWrite(HKEY hRoot, const char* pszKey, int nTime);
/// Reads the SKey family's "InfoDialog".
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwTime receives the value, 5 when it is missing.
/// @return 1 when read; 0 when missing or the key is missing (then untouched).
int TRCOMAPI TrSKeyCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
/// Reads the timer's "InfoDialog", as TrSKeyCfgRead().
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwTime receives the value, 5 when it is missing.
/// @return 1 when read; 0 when missing or the key is missing (then untouched).
int TRCOMAPI TrTimerCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
/// Writes the jog dial's sounds as REG_SZ.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pszRollSound "RollSound". @param pszPushSound "PushSound".
/// @return 1 when both were written, else 0.
int TRCOMAPI TrJogCfgWriteSound(HKEY hRoot, const char* pszKey, const char* pszRollSound, const char* pszPushSound);
/// Reads "LED Enable".
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwOn set to 1 first; receives the value, 1 when it is missing.
/// @return 1 when read, else 0.
int TRCOMAPI TrJogCfgReadJogLED(HKEY hRoot, const char* pszKey, DWORD* pdwOn);
/// Writes "LED Enable". @param hRoot root key. @param pszKey the family's key
/// path. @param dwOn the value. @return 1 when written, else 0.
int TRCOMAPI TrJogCfgWriteJogLED(HKEY hRoot, const char* pszKey, DWORD dwOn);
/// Reads "BackButton".
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwOn set to 1 first (a missing key gives 1); 0 when the value is
/// missing. @return 1 when read, else 0.
int TRCOMAPI TrJogCfgReadJogBack(HKEY hRoot, const char* pszKey, DWORD* pdwOn);
/// Writes "BackButton". @param hRoot root key. @param pszKey the family's key
/// path. @param dwOn the value. @return 1 when written, else 0.
int TRCOMAPI TrJogCfgWriteJogBack(HKEY hRoot, const char* pszKey, DWORD dwOn);
/// Reads the Flashpod settings; a missing value gives enable 0, slot enable
/// 1, info dialog 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwEnable "Enable". @param pdwSlotEnable "SlotEnable".
/// @param pdwInfoDialog "InfoDialog".
/// @return 1 only when all three were read; 0 otherwise (a missing key leaves
/// the outputs untouched).
int TRCOMAPI TrFPCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwSlotEnable, DWORD* pdwInfoDialog);
/// Writes the Flashpod settings; a non-zero enable is written as 1, an info
/// dialog outside 0 to 99 as 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param dwEnable "Enable". @param dwSlotEnable "SlotEnable".
/// @param nInfoDialog "InfoDialog". @return 1 when all were written, else 0.
int TRCOMAPI TrFPCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwSlotEnable, int nInfoDialog);
/// Reads the memory-card slot's drives; each is preset (slot 18, adaptor 4)
/// and a value outside 1 to 26 falls back to it.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwSlot "Slot". @param pdwAdaptor "Adaptor".
/// @return 1 only when both were read, else 0.
int TRCOMAPI TrFPDriveRead(HKEY hRoot, const char* pszKey, DWORD* pdwSlot, DWORD* pdwAdaptor);
/// Writes the slot's drives; a slot outside 1 to 26 is written as 18, an
/// adaptor as 4.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param nSlot "Slot". @param nAdaptor "Adaptor". @return 1 when both were
/// written, else 0.
int TRCOMAPI TrFPDriveWrite(HKEY hRoot, const char* pszKey, int nSlot, int nAdaptor);
/// Reads "DriveLetter".
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwDriveLetter set to 0 first; receives the value, 0 when missing.
/// @return 1 when read, else 0.
int TRCOMAPI TrFPCfgOptionRead(HKEY hRoot, const char* pszKey, DWORD* pdwDriveLetter);
/// Writes "DriveLetter". @param hRoot root key. @param pszKey the family's
/// key path. @param dwDriveLetter the value. @return 1 when written, else 0.
int TRCOMAPI TrFPCfgOptionWrite(HKEY hRoot, const char* pszKey, DWORD dwDriveLetter);
/// Reads the PPK key's settings; a missing value gives enable 1, lid enable
/// 0, info dialog 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwEnable "Enable". @param pdwLidEnable "LID Enable".
/// @param pdwInfoDialog "InfoDialog".
/// @return 1 only when all three were read; 0 otherwise (a missing key leaves
/// the outputs untouched).
int TRCOMAPI TrPPKCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwLidEnable, DWORD* pdwInfoDialog);
/// Writes the PPK key's settings; an info dialog outside 0 to 99 is written
/// as 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param dwEnable "Enable". @param dwLidEnable "LID Enable".
/// @param nInfoDialog "InfoDialog". @return 1 when all were written, else 0.
int TRCOMAPI TrPPKCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwLidEnable, int nInfoDialog);
/// Reads the USB settings; each output is preset (enable 0, new device 0,
/// info dialog 5) and an info dialog outside 0 to 99 becomes 5.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwEnable "Enable". @param pdwNewDevice "NewDevice".
/// @param pdwInfoDialog "InfoDialog".
/// @return 1 whenever the key opened; 0 when it is missing (outputs preset).
int TRCOMAPI TrUSBCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwNewDevice, DWORD* pdwInfoDialog);
/// Writes the USB settings as given (the first two by address).
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pdwEnable "Enable". @param pdwNewDevice "NewDevice".
/// @param dwInfoDialog "InfoDialog". @return 1 when all were written, else 0.
int TRCOMAPI TrUSBCfgWrite(HKEY hRoot, const char* pszKey, const DWORD* pdwEnable, const DWORD* pdwNewDevice,
                           DWORD dwInfoDialog);
/// Whether the path names an existing file with the extension .wav (any case).
/// @param pszPath the path. @return non-zero when it does; 0 for an empty
/// path, another extension or a missing file.
int TRCOMAPI TrJogCfgIsWaveFile(const char* pszPath);

/// Reads the jog dial's sounds into the caller's buffers, for hosts in C or
/// with another C++ runtime: the rules and results of TrJogCfgReadSound, a
/// value longer than its buffer (terminator included) counting as unreadable.
/// @param hRoot root key. @param pszKey the family's key path.
/// @param pszRollSound emptied first; receives "RollSound" when it names a
/// wave file and fits. @param dwRollSize its size in bytes.
/// @param pszPushSound emptied first; receives "PushSound" likewise.
/// @param dwPushSize its size in bytes.
/// @return 1 only when both were read, fit and are wave files, else 0; 0 with
/// nothing written for a NULL buffer or a size of 0.
int TRCOMAPI TrJogCfgReadSoundA(HKEY hRoot, const char* pszKey, char* pszRollSound, DWORD dwRollSize,
                                char* pszPushSound, DWORD dwPushSize);
/// Reads the default jog sounds into the caller's buffers: the rules and
/// results of TrJogCfgGetDefaultSound, an entry longer than its buffer
/// (terminator included) counting as missing.
/// @param dwUnused not used. @param pszProfile the profile (INI) file.
/// @param pszRollSound emptied first; receives "Roll". @param dwRollSize its
/// size in bytes. @param pszPushSound emptied first; receives "Push".
/// @param dwPushSize its size in bytes.
/// @return 1 with both set; 0 with both empty otherwise; 0 with nothing
/// written for a NULL buffer or a size of 0.
int TRCOMAPI TrJogCfgGetDefaultSoundA(DWORD dwUnused, const char* pszProfile, char* pszRollSound, DWORD dwRollSize,
                                      char* pszPushSound, DWORD dwPushSize);

#ifdef __cplusplus
}  // extern "C"
#include <string>
// The std::string forms (bytes of the ANSI code page) are C++ functions: like
// the exported classes they need a host built with this library's toolchain,
// and a host built otherwise fails to link instead of corrupting memory.
/// Reads the jog dial's sounds (C++ hosts of the library's toolchain only).
/// @param hRoot root key. @param pszKey the family's key path.
/// @param rollSound emptied first; receives "RollSound" when it names a wave file.
/// @param pushSound emptied first; receives "PushSound" when it names a wave file.
/// @return 1 only when both were read and both are wave files, else 0.
TRCOMCPP_API int TRCOMAPI TrJogCfgReadSound(HKEY hRoot, const char* pszKey, std::string& rollSound,
                                            std::string& pushSound);
/// Reads the default jog sounds, "Roll" and "Push" of section "JogSound" of a
/// profile file (C++ hosts of the library's toolchain only).
/// @param dwUnused not used. @param pszProfile the profile (INI) file.
/// @param rollSound emptied first; receives "Roll". @param pushSound emptied
/// first; receives "Push".
/// @return 1 with both set; 0 when either entry is missing or empty (both
/// outputs then empty).
TRCOMCPP_API int TRCOMAPI TrJogCfgGetDefaultSound(DWORD dwUnused, const char* pszProfile, std::string& rollSound,
                                                  std::string& pushSound);
extern "C" {
#endif

// ---------------------------------------------------------------------------
// Per-user setup.
// ---------------------------------------------------------------------------
#define TR_RIGHT_ADMINISTRATORS 0x01  ///< User-right bit: member of Administrators.
#define TR_RIGHT_POWER_USERS 0x02     ///< User-right bit: member of Power Users.
#define TR_RIGHT_USERS 0x04           ///< User-right bit: member of Users.
#define TR_RIGHT_GUESTS 0x08          ///< User-right bit: member of Guests.

/// Copies the machine-wide product key tree to the user's product key.
/// @param bOverwrite TRUE: every machine value replaces the user's; FALSE:
/// only values the user lacks are added. Values only the user has stay.
/// @return non-zero when the tree was copied; 0 when TrLocale.DLL cannot be
/// loaded or the machine key can be neither opened nor created.
int TRCOMAPI TrComCopyRegKeyToCurrentUser(BOOL bOverwrite);
/// Copies the installed data files (*.dat of the OS folder) to the user's
/// data folder, creating it; a copy gets the time of copying as its creation
/// time and loses a read-only attribute.
/// @param bOverwrite TRUE: every file; FALSE: only files the user lacks or
/// whose installed file was created after the user's copy.
/// @return 1 once both folders are ready, whatever became of single files; 0
/// when the OS folder is missing or the data folder cannot be made.
int TRCOMAPI TrComCopyDataToUserFolder(BOOL bOverwrite);
/// The built-in groups the current user belongs to (enabled in the token).
/// @param pdwRights set to 0 first; receives TR_RIGHT_* bits (always
/// #TR_RIGHT_ADMINISTRATORS outside the NT family).
/// @return 1 when every test could be made; 0 when the token cannot be read,
/// with the bits found before the failing test.
int TRCOMAPI TrComCheckUserRight(DWORD* pdwRights);

// ---------------------------------------------------------------------------
// Jukebox companion. The result tells whether the test could be made, the
// BOOL the answer.
// ---------------------------------------------------------------------------
/// Whether the jukebox companion program runs (its named mutex exists).
/// @param pbExist receives the answer. @return always TRUE.
BOOL TRCOMAPI TrComExistLyraneJukebox(BOOL* pbExist);
/// Whether the jukebox companion runs in the task tray (its user setting).
/// @param pbExist receives the answer.
/// @return TRUE when the setting could be read, else FALSE.
BOOL TRCOMAPI TrComExistLyraneJukeboxInTaskTray(BOOL* pbExist);

// ---------------------------------------------------------------------------
// Event lookup, jog menu and launch. A lookup fills the caller's block with
// the application bound to an event (TRUE) or leaves it untouched (FALSE);
// TrComLaunch starts the block's application through the shell.
// ---------------------------------------------------------------------------

/// A device as Win98 callers describe it. The structure and its path text
/// must come from the library's operator new: a PnP lookup releases both with
/// operator delete once it has read them (see TrComGetAppDataOfPnPEvent).
/// Hosts built with another C++ runtime make it with TrComNewRegInfo and
/// release what a lookup left them with TrComFreeRegInfo.
typedef struct TR_REG_INFO_STRUC {
    DWORD dwData1;       ///< the three numbers belong to the program that fills
    DWORD dwData2;       ///< the structure; the library never reads them
    DWORD dwData3;       ///< (see dwData1)
    char* pszRegPath;    ///< "<enumerator>\\<device id>\\<instance id>"
} TR_REG_INFO_STRUC;

/// Makes a device description with the library's allocator: the numbers 0,
/// the path text copied.
/// @param ppInfo receives the structure; set to NULL first.
/// @param pszRegPath the device's registry path.
/// @return TRUE when made; FALSE for a NULL or unreadable argument or when
/// memory runs out (nothing is made).
int TRCOMAPI TrComNewRegInfo(TR_REG_INFO_STRUC** ppInfo, const char* pszRegPath);
/// Releases a device description and its path text with the library's
/// allocator, as a PnP lookup would.
/// @param pInfo a structure from TrComNewRegInfo (or the library's operator
/// new) that no lookup released.
/// @return TRUE when released; FALSE for NULL.
int TRCOMAPI TrComFreeRegInfo(TR_REG_INFO_STRUC* pInfo);

/// One jog menu entry; the first five fields are laid out as in
/// TR_APP_DATA_STRUC.
typedef struct TR_JOG_DATA_STRUC {
    char szTitle[TR_TEXT_FIELD];        ///< title
    char szDescription[TR_TEXT_FIELD];  ///< one line about the entry
    char szPath[TR_TEXT_FIELD];         ///< empty for a folder
    char szWorkDir[TR_TEXT_FIELD];      ///< working folder
    char szOption[TR_TEXT_FIELD];       ///< command-line arguments
    LONG nLevel;                        ///< depth in the menu tree, -1 when the entry has none
    BOOL bIsFolder;                     ///< 1 when szPath is empty
} TR_JOG_DATA_STRUC;

// Device types of TrComGetAppDataOfPnPEvent.
#define TR_PNP_XBUS 0x0001           ///< PnP device type: an IEEE 1394 device.
#define TR_PNP_USB 0x0101            ///< PnP device type: a USB device.
#define TR_PNP_FPMEDIA 0x0301        ///< PnP device type: a Flashpod medium.
#define TR_PNP_FPMEDIA_DRIVE 0x10301 ///< PnP device type: a Flashpod medium, drive designation wanted.
// Event codes of TrComGetAppDataOfKalvorEvent: bits 8 to 15 give the family.
#define TR_EVENT_PPK 0x0100          ///< Event family: the PPK key (low byte: the key).
#define TR_EVENT_SKEY 0x0200         ///< Event family: the SKey keys (low byte: the key).
#define TR_EVENT_FPSLOT 0x0301       ///< Event: a card in the Flashpod slot.
// Modifier bits added to a PPK event code from the keyboard state.
#define TR_EVENT_ALT 0x10000         ///< PPK modifier: Alt held.
#define TR_EVENT_CTRL 0x20000        ///< PPK modifier: Ctrl held.
#define TR_EVENT_SHIFT 0x40000       ///< PPK modifier: Shift held.

/// Looks up the application bound to a device that was plugged in.
/// @param pData receives the application; untouched on FALSE.
/// @param dwDeviceType a TR_PNP_* type.
/// @param dwDeviceKey a TR_REG_INFO_STRUC* (Win98) or a device identifier
/// text (Win2K) for IEEE 1394 and USB devices; for a Flashpod medium a
/// number whose bits 24 to 31 give the drive (0 for A). A Win98 structure is
/// released once the lookup reaches an open device database; otherwise it
/// stays the caller's.
/// @return TRUE when a record was found, else FALSE.
int TRCOMAPI TrComGetAppDataOfPnPEvent(TR_APP_DATA_STRUC* pData, DWORD dwDeviceType, DWORD_PTR dwDeviceKey);
/// Looks up the application bound to a PPK or SKey key or the Flashpod slot;
/// a PPK code gets the modifier keys held at the time.
/// @param pData receives the application; untouched on FALSE.
/// @param dwEventCode a TR_EVENT_* family with the key in the low byte.
/// @return TRUE when a record was found, else FALSE.
int TRCOMAPI TrComGetAppDataOfKalvorEvent(TR_APP_DATA_STRUC* pData, DWORD dwEventCode);
/// Looks up the timer's application.
/// @param pData receives the application; untouched on FALSE.
/// @return TRUE when a record was found, else FALSE.
int TRCOMAPI TrComGetAppDataOfTimer(TR_APP_DATA_STRUC* pData);
/// Looks up the application of the jog dial's PPK key.
/// @param pData receives the application; untouched on FALSE.
/// @return TRUE when a record was found, else FALSE.
int TRCOMAPI TrComGetAppDataOfJogPPK(TR_APP_DATA_STRUC* pData);
/// Looks up the application of the Flashpod slot (event #TR_EVENT_FPSLOT).
/// @param pData receives the application; untouched on FALSE.
/// @return TRUE when a record was found, else FALSE.
int TRCOMAPI TrComGetAppDataOfFPSlot(TR_APP_DATA_STRUC* pData);

/// One entry of the jog dial's menu, in menu order.
/// @param pData receives the entry; untouched on FALSE.
/// @param nIndex 0-based index over all entries, folders included.
/// @return TRUE when the entry was copied; FALSE when the menu file cannot be
/// loaded or the index is out of range.
int TRCOMAPI TrComJogDataGetAt(TR_JOG_DATA_STRUC* pData, int nIndex);
/// The number of applications in the jog dial's menu.
/// @param pnCount receives the count; untouched on FALSE.
/// @return TRUE when the menu file was loaded, else FALSE.
int TRCOMAPI TrComJogDataGetCount(int* pnCount);
/// The number of all entries of the jog dial's menu, folders included.
/// @param pnCount receives the count; untouched on FALSE.
/// @return TRUE when the menu file was loaded, else FALSE.
int TRCOMAPI TrComJogDataGetAllItems(int* pnCount);

/// Starts the block's application through the shell, after handing the
/// foreground over through the server window; a shell shortcut is resolved
/// first. Call it on the thread that owns the server window.
/// @param phProcess set to NULL first; receives the new process (the caller
/// closes it), NULL also on success when the shell started no new process.
/// @param pData the application (read only).
/// @return TRUE when the shell accepted the request; FALSE for an empty path,
/// a file without association that is no shortcut, an unreadable shortcut,
/// no server window, or a refused start (*phProcess NULL).
int TRCOMAPI TrComLaunch(HANDLE* phProcess, const TR_APP_DATA_STRUC* pData);

// ---------------------------------------------------------------------------
// Dialogs: the counting-down info dialog, the past-time dialog and the watch
// window. All three need a server window (TrComSetServer) and TrLocale.DLL.
// ---------------------------------------------------------------------------
/// Runs the info dialog, counting down before an application starts.
/// @param pnResult receives IDOK (counted out or OK), IDCANCEL, or -1 when
/// the dialog cannot be made; untouched on FALSE.
/// @param pData the application shown (title, description, path).
/// @param nSeconds the count, 1 to 99.
/// @return TRUE when the dialog ran; FALSE with no server window, no
/// TrLocale.DLL, or seconds out of range.
BOOL TRCOMAPI TrComDoModalInfoDlg(int* pnResult, const TR_APP_DATA_STRUC* pData, UINT nSeconds);
/// Runs the past-time dialog for a timed event whose set time has passed.
/// @param pnResult receives IDOK, IDCANCEL or -1 (dialog not made);
/// untouched on FALSE.
/// @param pData the application shown (title, description, path).
/// @param pEventTime the time the event was set for, local time.
/// @return TRUE when the dialog ran; FALSE with no server window or no
/// TrLocale.DLL.
BOOL TRCOMAPI TrComDoModalPastDlg(int* pnResult, const TR_APP_DATA_STRUC* pData, const SYSTEMTIME* pEventTime);
/// Opens a watch window counting nMinutes down. Its owner, the server window,
/// receives "Trelvane Message" with wParam nEventCode when the time is up, or
/// TR_WATCH_CANCELLED when the user cancels; nothing when the caller destroys
/// it (DestroyWindow).
/// @param phWnd receives the window; untouched with no server window or no
/// TrLocale.DLL, NULL when the window was not made.
/// @param nMinutes minutes to count down.
/// @param nEventCode the code posted at the end.
/// @param pszCaption the window's caption.
/// @param hIcon the window's small icon, may be NULL.
/// @param nRow which row of the screen the window takes (0 the first).
/// @return non-zero when the window runs, else FALSE.
BOOL TRCOMAPI TrComCreateWatchDlg(HWND* phWnd, int nMinutes, UINT nEventCode, const char* pszCaption, HICON hIcon,
                                  int nRow);
/// wParam of "Trelvane Message" when the user cancelled a watch window.
#define TR_WATCH_CANCELLED 0x200001

// @@ more families below, one section each

#ifdef __cplusplus
}  // extern "C"

static_assert(sizeof(TR_APP_DATA_STRUC) == 5 * TR_TEXT_FIELD, "TR_APP_DATA_STRUC layout");
static_assert(sizeof(TR_SHARED_BLOCK) == 8, "TR_SHARED_BLOCK stays 8 bytes on every target");
static_assert(sizeof(TR_REG_INFO_STRUC) == (sizeof(void*) == 8 ? 24 : 16), "TR_REG_INFO_STRUC: three DWORDs, then a pointer");
static_assert(sizeof(TR_JOG_DATA_STRUC) == 5 * TR_TEXT_FIELD + 8, "TR_JOG_DATA_STRUC layout");
#endif

#endif  // TRCOMMON_H
