; TrelvaneSetup.nsi - the product's installer and uninstaller (64-bit).
;
; Built by packaging/CMakeLists.txt with makensis, which passes:
;   TR_VERSION    the product version (four numbers), from project(VERSION)
;   TR_STAGE      the stripped TrCommon.dll, TrLocale.DLL, trctl.exe and Trelvane.exe
;   TR_DATA       the default data files and TrLaunch.ini
;   TR_CONTENT    install/ as NSIS macros (make_nsh.py): the machine-wide
;                 settings and the names of the data files
;   TR_OUTFILE    where TrelvaneSetup.exe goes
;
; Installs the program folder with its Win2K and Win98 sub-folders, the
; machine-wide settings under HKLM, the event log source of the resident
; server and the Uninstall entry, then sets up the installing user with
; "trctl setup" and starts the resident server Trelvane.exe at that user's
; log-on (the Run key). The installer never starts the server itself: it
; would run with the installer's administrator rights. An upgrade first asks
; a running server to end ("Trelvane.exe --exit"), so its file can be
; replaced; it starts again at the next log-on. Never touches a user's data folder or
; per-user settings beyond what that setup adds: installing over an existing
; installation keeps them, and so does the uninstaller.
;
; Exit codes: 0 done, 1 cancelled or failed, 2 aborted (NSIS's own), 5 refused
; because the account lacks administrator rights.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestSupportedOS all
RequestExecutionLevel admin

!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include WinVer.nsh
!include MUI2.nsh
!include "${TR_CONTENT}"

!define TR_PRODUCT "Trelvane"
!define TR_COMPANY "Kalvor Corporation"
!define TR_PRODUCT_KEY "Software\${TR_COMPANY}\${TR_PRODUCT}"
!define TR_UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${TR_PRODUCT}"
!define TR_UNINSTALLER "Uninstall.exe"
!define TR_RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define TR_EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\${TR_PRODUCT}"
!define TR_EXIT_NOT_ADMIN 5

Name "${TR_PRODUCT}"
OutFile "${TR_OUTFILE}"
InstallDir "$PROGRAMFILES64\${TR_COMPANY}\${TR_PRODUCT}"
; An upgrade goes where the installation already is (/D= still wins).
InstallDirRegKey HKLM "${TR_PRODUCT_KEY}" "InstalledDir"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${TR_VERSION}"
VIFileVersion "${TR_VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${TR_PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${TR_COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${TR_PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${TR_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${TR_VERSION}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "TrelvaneSetup.exe"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 1999-2026 ${TR_COMPANY}"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; --- administrator rights ---------------------------------------------------
; Without them neither Program Files nor HKLM can be written. The refusal is
; a message box in the interactive installer; a silent one writes the same
; text to the console it was started from (there is no window to show it
; in) and ends with exit code 5. UserInfo counts the Administrators group
; only when it is in effect in the token: a standard user is refused, and so
; is a token that holds the group for deny only.
!macro TR_REFUSE_WITHOUT_ADMIN UN
Function ${UN}RefuseWithoutAdmin
  ${IfNot} ${IsNT}
    Return  ; the 95 family has no accounts to check
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Return
  ${EndIf}
  StrCpy $2 "${TR_PRODUCT} setup needs administrator rights: run it as an administrator. Nothing was changed."
  ${If} ${Silent}
    ; A GUI program has no console of its own: use the standard error it
    ; inherited, or else attach to its parent's console.
    System::Call 'kernel32::GetStdHandle(i -12) p .r3'
    ${If} $3 P<= 0
      System::Call 'kernel32::AttachConsole(i -1) i .r4'
      System::Call 'kernel32::GetStdHandle(i -12) p .r3'
    ${EndIf}
    ${If} $3 P> 0
      StrCpy $2 "$2$\r$\n"
      StrLen $4 $2
      System::Call 'kernel32::WriteFile(p r3, m r2, i r4, *i 0, p 0)'
    ${EndIf}
  ${Else}
    MessageBox MB_OK|MB_ICONSTOP "$2"
  ${EndIf}
  SetErrorLevel ${TR_EXIT_NOT_ADMIN}
  Quit
FunctionEnd
!macroend
!insertmacro TR_REFUSE_WITHOUT_ADMIN ""
!insertmacro TR_REFUSE_WITHOUT_ADMIN "un."

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${TR_PRODUCT} needs a 64-bit Windows." /SD IDOK
    SetErrorLevel 1
    Quit
  ${EndIf}
  Call RefuseWithoutAdmin
  ; The library reads the machine settings from the 64-bit registry.
  SetRegView 64
FunctionEnd

Function un.onInit
  Call un.RefuseWithoutAdmin
  SetRegView 64
FunctionEnd

; --- install ----------------------------------------------------------------
Section "Trelvane" SecMain
  SectionIn RO
  SetOverwrite on

  SetOutPath "$INSTDIR"
  ; A running server holds its program file: ask it to end first.
  ${If} ${FileExists} "$INSTDIR\Trelvane.exe"
    ExecWait '"$INSTDIR\Trelvane.exe" --exit' $0
    ${If} $0 == 0
      DetailPrint "The running Trelvane server was ended; it starts again at the next log-on."
    ${EndIf}
  ${EndIf}
  File "${TR_STAGE}\TrCommon.dll"
  File "${TR_STAGE}\TrLocale.DLL"
  File "${TR_STAGE}\trctl.exe"
  File "${TR_STAGE}\Trelvane.exe"

  ; The same defaults for both platform families: the library picks the
  ; folder by the system it runs on.
  !macro TR_INSTALL_DATA_FILE NAME
    File "${TR_DATA}\${NAME}"
  !macroend
  SetOutPath "$INSTDIR\Win2K"
  !insertmacro TR_FOR_EACH_DATA_FILE TR_INSTALL_DATA_FILE
  SetOutPath "$INSTDIR\Win98"
  !insertmacro TR_FOR_EACH_DATA_FILE TR_INSTALL_DATA_FILE
  SetOutPath "$INSTDIR"

  ; Machine-wide values: the installation paths and the settings' defaults.
  !insertmacro TR_WRITE_MACHINE_SETTINGS
  ; The event log shows the server's lines through its message table.
  WriteRegExpandStr HKLM "${TR_EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\Trelvane.exe"
  WriteRegDWORD HKLM "${TR_EVENT_SOURCE_KEY}" "TypesSupported" 7

  WriteUninstaller "$INSTDIR\${TR_UNINSTALLER}"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "DisplayName" "${TR_PRODUCT}"
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "DisplayVersion" "${TR_VERSION}"
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "Publisher" "${TR_COMPANY}"
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Trelvane.exe"
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${TR_UNINSTALLER}"'
  WriteRegStr HKLM "${TR_UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${TR_UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${TR_UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${TR_UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${TR_UNINSTALL_KEY}" "NoRepair" 1

  ; The installing user: the machine settings and the data files become
  ; the user's, keeping what the user already has. Every other user is set
  ; up the same way by the product's programs.
  DetailPrint "Setting up the user"
  nsExec::ExecToLog '"$INSTDIR\trctl.exe" setup'
  Pop $0
  ${If} $0 != 0
    DetailPrint "The user could not be set up (trctl setup: $0); the product's programs will try again."
  ${EndIf}
  ; The resident server starts at the installing user's log-on.
  WriteRegStr HKCU "${TR_RUN_KEY}" "${TR_PRODUCT}" '"$INSTDIR\Trelvane.exe"'
SectionEnd

; --- uninstall --------------------------------------------------------------
; Only what the installer put there goes; a folder that still holds other
; files stays. Users' data folders and per-user settings are left alone.
Section "Uninstall"
  ${If} ${FileExists} "$INSTDIR\Trelvane.exe"
    ExecWait '"$INSTDIR\Trelvane.exe" --exit'
  ${EndIf}
  Delete "$INSTDIR\Trelvane.exe"
  Delete "$INSTDIR\TrCommon.dll"
  Delete "$INSTDIR\TrLocale.DLL"
  Delete "$INSTDIR\trctl.exe"
  !macro TR_DELETE_DATA_FILE NAME
    Delete "$0\${NAME}"
  !macroend
  !macro TR_REMOVE_DATA_FOLDER FOLDER
    StrCpy $0 "$INSTDIR\${FOLDER}"
    !insertmacro TR_FOR_EACH_DATA_FILE TR_DELETE_DATA_FILE
    RMDir "$0"
  !macroend
  !insertmacro TR_REMOVE_DATA_FOLDER Win2K
  !insertmacro TR_REMOVE_DATA_FOLDER Win98
  Delete "$INSTDIR\${TR_UNINSTALLER}"
  RMDir "$INSTDIR"
  ; The company folder the default location made, when the product was the
  ; last thing in it; any other parent was there before and stays.
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} "$0" $1
  ${If} $1 == "${TR_COMPANY}"
    RMDir "$0"
  ${EndIf}

  DeleteRegKey HKLM "${TR_PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "Software\${TR_COMPANY}"
  DeleteRegKey HKLM "${TR_UNINSTALL_KEY}"
  DeleteRegKey HKLM "${TR_EVENT_SOURCE_KEY}"
  ; The uninstalling user's log-on start; other users' Run values name a
  ; program that is gone and are skipped by the system.
  DeleteRegValue HKCU "${TR_RUN_KEY}" "${TR_PRODUCT}"
SectionEnd
