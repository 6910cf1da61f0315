// TrCommon.h - exported functions and exchanged structures of TrCommon.dll.
//
// Every function is a plain C export (undecorated name, __cdecl). Structures
// keep the field order callers rely on; 32-bit values stay 32-bit on x64 and
// handles and pointers are pointer-sized. Sizes are asserted below so the
// 32-bit and 64-bit builds cannot drift apart silently.
#ifndef TRCOMMON_H
#define TRCOMMON_H

#include <windows.h>

// Exports are listed by name in the library's .def file, so no decoration
// or dllexport attribute is needed on the functions themselves.
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
#define TR_TEXT_FIELD 260

typedef struct TR_APP_DATA_STRUC {
    char szTitle[TR_TEXT_FIELD];
    char szDescription[TR_TEXT_FIELD];
    char szPath[TR_TEXT_FIELD];
    char szWorkDir[TR_TEXT_FIELD];
    char szOption[TR_TEXT_FIELD];
} TR_APP_DATA_STRUC;

// ---------------------------------------------------------------------------
// Shared block: the server and client windows, visible to every process.
// ---------------------------------------------------------------------------
typedef struct TR_SHARED_BLOCK {
    DWORD dwServer;  // server window as a 32-bit value, 0 when none
    DWORD dwClient;  // client window as a 32-bit value, 0 when none
} TR_SHARED_BLOCK;

int TRCOMAPI TrComCreateSharedMemory(void);
int TRCOMAPI TrComDeleteSharedMemory(void);
int TRCOMAPI TrComSetServer(HWND hServer);
int TRCOMAPI TrComSetClient(HWND hClient);
int TRCOMAPI TrComGetServer(HWND* phServer);
int TRCOMAPI TrComGetClient(HWND* phClient);

// Registered messages, available once the library is loaded.
#define TR_MSG_REWRITE_WINDOW_NAME "TrMsgRewriteWindow"
#define TR_MSG_TRELVANE_NAME "Trelvane Message"

// ---------------------------------------------------------------------------
// Path utilities and platform test. Path buffers hold MAX_PATH bytes.
// ---------------------------------------------------------------------------
#define TR_OS_UNKNOWN 0
#define TR_OS_WIN32S 1
#define TR_OS_WIN95 2
#define TR_OS_WIN98 3
#define TR_OS_WINNT 4
#define TR_OS_WIN2K 5   // TrComGetOSEx only: NT family, major version 5 or more
#define TR_OS_WINME 6   // TrComGetOSEx only: 95 family, minor version 90 or more

int TRCOMAPI TrComPathAppend(char* pszPath, const char* pszName);
int TRCOMAPI TrComPathFileExists(const char* pszPath);
int TRCOMAPI TrComCreateDirectory(const char* pszPath);
int TRCOMAPI TrComGetOS(DWORD* pdwCode);
int TRCOMAPI TrComGetOSEx(DWORD* pdwCode);

// ---------------------------------------------------------------------------
// Icons.
// ---------------------------------------------------------------------------
BOOL TRCOMAPI TrComGetIconHandle(HICON* phIcon, const char* pszPath, BOOL bLarge);

// ---------------------------------------------------------------------------
// Registry: the product key table and the values of one event family.
//
// The machine-wide product key (HKEY_LOCAL_MACHINE) holds the installation
// values and the initial settings, the same path under HKEY_CURRENT_USER the
// user's settings, with one sub-key per family.
// ---------------------------------------------------------------------------
#define TR_REG_KIND_MACHINE 0      // table only, machine root
#define TR_REG_KIND_USER 1         // table only, user root
#define TR_REG_KIND_JOG 2          // "JogConfig"
#define TR_REG_KIND_PPK 3          // "PPKConfig"
#define TR_REG_KIND_SKEY 4         // "SKeyConfig"
#define TR_REG_KIND_FLASHPOD 5     // "FlashpodConfig"
#define TR_REG_KIND_XBUS 6         // "XbusConfig"
#define TR_REG_KIND_USB 7          // "USBConfig"
#define TR_REG_KIND_TIMER_CONFIG 8 // "TimerConfig"
#define TR_REG_KIND_TIMER_APP 9    // "TimerApp"
#define TR_REG_KIND_TIMER 10       // "Timer"

// Values of each family, in the order they are read. D values come from
// REG_DWORD, the text fields from REG_SZ.
typedef struct TR_REG_JOG_VALUES {
    DWORD dwInfoDialog;
    DWORD dwAppDirection;
    DWORD dwJogDirection;
    DWORD dwAutoCloseTimer;
    DWORD dwBackButton;
    char szPushSound[TR_TEXT_FIELD];
    char szRollSound[TR_TEXT_FIELD];
} TR_REG_JOG_VALUES;

typedef struct TR_REG_PPK_VALUES {
    DWORD dwInfoDialog;
    DWORD dwEnable;
    DWORD dwLidEnable;  // "LID Enable"
} TR_REG_PPK_VALUES;

typedef struct TR_REG_INFO_VALUES {  // "SKeyConfig" and "TimerConfig"
    DWORD dwInfoDialog;
} TR_REG_INFO_VALUES;

typedef struct TR_REG_FLASHPOD_VALUES {
    DWORD dwInfoDialog;
    DWORD dwEnable;
    DWORD dwSlotEnable;
    DWORD dwDriveLetter;
} TR_REG_FLASHPOD_VALUES;

typedef struct TR_REG_XBUS_VALUES {
    DWORD dwInfoDialog;
    DWORD dwEnable;
    DWORD dwNewDevice;
    DWORD dwCategory;
    DWORD dwSmartConnect;
    DWORD dwCaution;
} TR_REG_XBUS_VALUES;

typedef struct TR_REG_USB_VALUES {
    DWORD dwInfoDialog;
    DWORD dwEnable;
    DWORD dwNewDevice;
} TR_REG_USB_VALUES;

typedef struct TR_REG_TIMER_APP_VALUES {
    DWORD dwLimitTime;
    char szTitle[TR_TEXT_FIELD];
    char szDescription[TR_TEXT_FIELD];
    char szPath[TR_TEXT_FIELD];
    char szWorkDir[TR_TEXT_FIELD];
    char szOption[TR_TEXT_FIELD];
} TR_REG_TIMER_APP_VALUES;

typedef struct TR_REG_TIMER_VALUES {
    DWORD dwTimerMode;
    DWORD dwWeekFlag;
    DWORD dwTimeLimit;
    DWORD dwPostState;
    DWORD dwYear;
    DWORD dwMonth;
    DWORD dwDay;
    DWORD dwHour;
    DWORD dwMinute;
} TR_REG_TIMER_VALUES;

// The value area: one member per kind; kind 9 sets its size.
typedef union TR_REG_VALUES {
    TR_REG_JOG_VALUES jog;
    TR_REG_PPK_VALUES ppk;
    TR_REG_INFO_VALUES skey;
    TR_REG_FLASHPOD_VALUES flashpod;
    TR_REG_XBUS_VALUES xbus;
    TR_REG_USB_VALUES usb;
    TR_REG_INFO_VALUES timerConfig;
    TR_REG_TIMER_APP_VALUES timerApp;
    TR_REG_TIMER_VALUES timer;
} TR_REG_VALUES;

#ifdef __cplusplus
}  // extern "C"

// The registry-value block. The caller derives from it and overrides
// GetValueKind (0 to 10, TR_REG_KIND_*); TrComGetRegValue fills the caller's
// object and never constructs one. A value that cannot be read keeps what the
// caller put in its slot, so defaults may be preset.
struct TR_REG_VALUE_STRUC {
    virtual int GetValueKind() = 0;

    HKEY hRoot;                              // HKEY_LOCAL_MACHINE after kind 0, else HKEY_CURRENT_USER
    char szKeyPath[TR_TEXT_FIELD];           // product key path (+ "\<sub-key>" for kinds 2 to 10)
    char szDefaultInstalledPath[TR_TEXT_FIELD];
    char szInstalledPathName[TR_TEXT_FIELD]; // "InstalledPath"
    char szInstalledDirName[TR_TEXT_FIELD];  // "InstalledDir"
    char szTrTWPathName[TR_TEXT_FIELD];      // "TrTWPath"
    char szJogConfig[TR_TEXT_FIELD];
    char szPPKConfig[TR_TEXT_FIELD];
    char szSKeyConfig[TR_TEXT_FIELD];
    char szFlashpodConfig[TR_TEXT_FIELD];
    char szXbusConfig[TR_TEXT_FIELD];
    char szUSBConfig[TR_TEXT_FIELD];
    char szTimerConfig[TR_TEXT_FIELD];
    char szTimerApp[TR_TEXT_FIELD];
    char szTimer[TR_TEXT_FIELD];
    TR_REG_VALUES values;
};

// A ready-made block of one kind: TR_REG_VALUE_OF_KIND<TR_REG_KIND_FLASHPOD>
// block{}; starts zero-filled.
template <int Kind>
struct TR_REG_VALUE_OF_KIND : TR_REG_VALUE_STRUC {
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

int TRCOMAPI TrComGetRegValue(TR_REG_VALUE_STRUC* pValue);

// ---------------------------------------------------------------------------
// Product paths. Each index yields one folder or file; the buffer holds
// MAX_PATH bytes and is written only on success.
// ---------------------------------------------------------------------------
#define TR_PATH_PROGRAM_DIR 0
#define TR_PATH_OS_DIR 1
#define TR_PATH_USER_DIR 2
#define TR_PATH_DATA_DIR 3
#define TR_PATH_INSTALLED_FILE 4
#define TR_PATH_TRTW_DLL 5
#define TR_PATH_HELP_FILE 6
#define TR_PATH_LOCALE_DLL 7
#define TR_PATH_LAUNCH_INI 8
#define TR_PATH_DEVICE_INI 9
#define TR_PATH_JOG_DATA 10
#define TR_PATH_JPPK_DATA 11
#define TR_PATH_PPK_DATA 12
#define TR_PATH_SKEY_DATA 13
#define TR_PATH_FP_DATA 14
#define TR_PATH_XBUS_DATA 15
#define TR_PATH_XBUS_CATEGORY 16
#define TR_PATH_USB_DATA 17
#define TR_PATH_TIMER_DATA 18
#define TR_PATH_COUNT 19

int TRCOMAPI TrComGetPath(int nIndex, char* pszPath);

// ---------------------------------------------------------------------------
// Event settings. Each call takes the root and the full path of the family's
// sub-key (for example HKEY_CURRENT_USER and the product key path joined with
// "XbusConfig"). Results: non-zero on success; see each call's defaults.
// ---------------------------------------------------------------------------
int TRCOMAPI TrXbusConfigCautionRead(HKEY hRoot, const char* pszKey, DWORD* pdwCaution);
int TRCOMAPI TrXbusConfigCautionWrite(HKEY hRoot, const char* pszKey, DWORD dwCaution);
int TRCOMAPI TrXbusCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwNewDevice,
                           DWORD* pdwCategory, DWORD* pdwSmartConnect, DWORD* pdwInfoDialog);
int TRCOMAPI TrXbusCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwNewDevice,
                            DWORD dwCategory, DWORD dwSmartConnect, DWORD dwInfoDialog);
int TRCOMAPI TrJogCfgReadDirection(HKEY hRoot, const char* pszKey, DWORD* pdwAppDirection, DWORD* pdwJogDirection);
int TRCOMAPI TrJogCfgWriteDirection(HKEY hRoot, const char* pszKey, DWORD dwAppDirection, DWORD dwJogDirection);
int TRCOMAPI TrJogCfgReadAutoCloseTimer(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
int TRCOMAPI TrJogCfgWriteAutoCloseTimer(HKEY hRoot, const char* pszKey, int nTime);
int TRCOMAPI TrJogCfgReadPPPKInfoDlgTime(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
int TRCOMAPI TrJogCfgWritePPPKInfoDlgTime(HKEY hRoot, const char* pszKey, int nTime);
int TRCOMAPI TrSKeyCfgWrite(HKEY hRoot, const char* pszKey, int nTime);
int TRCOMAPI TrTimerCfgWrite(HKEY hRoot, const char* pszKey, int nTime);
int TRCOMAPI TrSKeyCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
int TRCOMAPI TrTimerCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwTime);
int TRCOMAPI TrJogCfgWriteSound(HKEY hRoot, const char* pszKey, const char* pszRollSound, const char* pszPushSound);
int TRCOMAPI TrJogCfgReadJogLED(HKEY hRoot, const char* pszKey, DWORD* pdwOn);
int TRCOMAPI TrJogCfgWriteJogLED(HKEY hRoot, const char* pszKey, DWORD dwOn);
int TRCOMAPI TrJogCfgReadJogBack(HKEY hRoot, const char* pszKey, DWORD* pdwOn);
int TRCOMAPI TrJogCfgWriteJogBack(HKEY hRoot, const char* pszKey, DWORD dwOn);
int TRCOMAPI TrFPCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwSlotEnable, DWORD* pdwInfoDialog);
int TRCOMAPI TrFPCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwSlotEnable, int nInfoDialog);
int TRCOMAPI TrFPDriveRead(HKEY hRoot, const char* pszKey, DWORD* pdwSlot, DWORD* pdwAdaptor);
int TRCOMAPI TrFPDriveWrite(HKEY hRoot, const char* pszKey, int nSlot, int nAdaptor);
int TRCOMAPI TrFPCfgOptionRead(HKEY hRoot, const char* pszKey, DWORD* pdwDriveLetter);
int TRCOMAPI TrFPCfgOptionWrite(HKEY hRoot, const char* pszKey, DWORD dwDriveLetter);
int TRCOMAPI TrPPKCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwLidEnable, DWORD* pdwInfoDialog);
int TRCOMAPI TrPPKCfgWrite(HKEY hRoot, const char* pszKey, DWORD dwEnable, DWORD dwLidEnable, int nInfoDialog);
int TRCOMAPI TrUSBCfgRead(HKEY hRoot, const char* pszKey, DWORD* pdwEnable, DWORD* pdwNewDevice, DWORD* pdwInfoDialog);
int TRCOMAPI TrUSBCfgWrite(HKEY hRoot, const char* pszKey, const DWORD* pdwEnable, const DWORD* pdwNewDevice,
                           DWORD dwInfoDialog);
// Whether the path names an existing file with the extension .wav (any case).
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
#define TR_RIGHT_ADMINISTRATORS 0x01
#define TR_RIGHT_POWER_USERS 0x02
#define TR_RIGHT_USERS 0x04
#define TR_RIGHT_GUESTS 0x08

int TRCOMAPI TrComCopyRegKeyToCurrentUser(BOOL bOverwrite);
int TRCOMAPI TrComCopyDataToUserFolder(BOOL bOverwrite);
int TRCOMAPI TrComCheckUserRight(DWORD* pdwRights);

// ---------------------------------------------------------------------------
// Jukebox companion. The result tells whether the test could be made, the
// BOOL the answer.
// ---------------------------------------------------------------------------
BOOL TRCOMAPI TrComExistLyraneJukebox(BOOL* pbExist);
BOOL TRCOMAPI TrComExistLyraneJukeboxInTaskTray(BOOL* pbExist);

// ---------------------------------------------------------------------------
// Event lookup, jog menu and launch. A lookup fills the caller's block with
// the application bound to an event (TRUE) or leaves it untouched (FALSE);
// TrComLaunch starts the block's application through the shell.
// ---------------------------------------------------------------------------

// A device as Win98 callers describe it. The structure and its path text
// must come from operator new: a PnP lookup releases both with operator
// delete once it has read them (see TrComGetAppDataOfPnPEvent).
typedef struct TR_REG_INFO_STRUC {
    DWORD dwData1;       // the three numbers belong to the program that fills
    DWORD dwData2;       // the structure; the library never reads them
    DWORD dwData3;
    char* pszRegPath;    // "<enumerator>\\<device id>\\<instance id>"
} TR_REG_INFO_STRUC;

// One jog menu entry; the first five fields are laid out as in
// TR_APP_DATA_STRUC.
typedef struct TR_JOG_DATA_STRUC {
    char szTitle[TR_TEXT_FIELD];
    char szDescription[TR_TEXT_FIELD];
    char szPath[TR_TEXT_FIELD];      // empty for a folder
    char szWorkDir[TR_TEXT_FIELD];
    char szOption[TR_TEXT_FIELD];
    LONG nLevel;                     // -1 when the entry has none
    BOOL bIsFolder;                  // 1 when szPath is empty
} TR_JOG_DATA_STRUC;

// Device types of TrComGetAppDataOfPnPEvent.
#define TR_PNP_XBUS 0x0001
#define TR_PNP_USB 0x0101
#define TR_PNP_FPMEDIA 0x0301
#define TR_PNP_FPMEDIA_DRIVE 0x10301  // Flashpod medium, drive designation wanted
// Event codes of TrComGetAppDataOfKalvorEvent: bits 8 to 15 give the family.
#define TR_EVENT_PPK 0x0100
#define TR_EVENT_SKEY 0x0200
#define TR_EVENT_FPSLOT 0x0301
// Modifier bits added to a PPK event code from the keyboard state.
#define TR_EVENT_ALT 0x10000
#define TR_EVENT_CTRL 0x20000
#define TR_EVENT_SHIFT 0x40000

// dwDeviceKey: a TR_REG_INFO_STRUC* (Win98) or a device identifier text
// (Win2K) for IEEE 1394 and USB devices; for a Flashpod medium a number whose
// bits 24 to 31 give the drive (0 for A).
int TRCOMAPI TrComGetAppDataOfPnPEvent(TR_APP_DATA_STRUC* pData, DWORD dwDeviceType, DWORD_PTR dwDeviceKey);
int TRCOMAPI TrComGetAppDataOfKalvorEvent(TR_APP_DATA_STRUC* pData, DWORD dwEventCode);
int TRCOMAPI TrComGetAppDataOfTimer(TR_APP_DATA_STRUC* pData);
int TRCOMAPI TrComGetAppDataOfJogPPK(TR_APP_DATA_STRUC* pData);
int TRCOMAPI TrComGetAppDataOfFPSlot(TR_APP_DATA_STRUC* pData);

int TRCOMAPI TrComJogDataGetAt(TR_JOG_DATA_STRUC* pData, int nIndex);
int TRCOMAPI TrComJogDataGetCount(int* pnCount);
int TRCOMAPI TrComJogDataGetAllItems(int* pnCount);

// *phProcess is NULL on failure, and also on success when the shell started
// no new process; otherwise the caller closes it.
int TRCOMAPI TrComLaunch(HANDLE* phProcess, const TR_APP_DATA_STRUC* pData);

// ---------------------------------------------------------------------------
// Dialogs: the counting-down info dialog, the past-time dialog and the watch
// window. All three need a server window (TrComSetServer) and TrLocale.DLL.
// ---------------------------------------------------------------------------
// Runs the info dialog for 1 to 99 seconds; *pnResult gets IDOK (counted out
// or OK), IDCANCEL, or -1 when the dialog cannot be made.
BOOL TRCOMAPI TrComDoModalInfoDlg(int* pnResult, const TR_APP_DATA_STRUC* pData, UINT nSeconds);
// Runs the past-time dialog for an event set for *pEventTime (local time).
BOOL TRCOMAPI TrComDoModalPastDlg(int* pnResult, const TR_APP_DATA_STRUC* pData, const SYSTEMTIME* pEventTime);
// Opens a watch window counting nMinutes down. Its owner, the server window,
// receives "Trelvane Message" with wParam nEventCode when the time is up, or
// TR_WATCH_CANCELLED when the user cancels; nothing when the caller destroys it.
BOOL TRCOMAPI TrComCreateWatchDlg(HWND* phWnd, int nMinutes, UINT nEventCode, const char* pszCaption, HICON hIcon,
                                  int nRow);
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
