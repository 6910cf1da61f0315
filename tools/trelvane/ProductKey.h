// ProductKey.h - the user's product key as the library's key table names it,
// the few registry values the resident server keeps there of its own, and
// telling a running server to read them again. Shared by Trelvane.exe and
// trctl, so both read and write the same values the same way.
#ifndef TRELVANE_PRODUCTKEY_H
#define TRELVANE_PRODUCTKEY_H

#include <windows.h>

#include <string>

namespace trelvane {

// HKEY_CURRENT_USER's product key path joined with a sub-key name ("" for the
// product key itself), the path taken from the library's key table
// (TrComGetRegValue kind 1). Empty when the table cannot be read, which
// happens only when TrLocale.DLL cannot be loaded.
std::string UserKeyPath(const std::string& subKey);

// The same for the sub-keys the key table names: the families' settings
// and the timer's schedule ("Timer").
enum class SubKey { PPK, SKey, Flashpod, Xbus, Usb, TimerConfig, Timer };
std::string UserKeyPath(SubKey which);

// One REG_DWORD of HKEY_CURRENT_USER; false when the value is missing, is no
// REG_DWORD or the key path is empty (value untouched then).
bool ReadUserDword(const std::string& key, const char* name, DWORD& value);
bool WriteUserDword(const std::string& key, const char* name, DWORD value);

// Asks the resident server to read again what it keeps of its own (its hot
// keys and the timer schedule): posts "TrMsgRewriteWindow" to the server
// window, and to the client window when that is another window. The data
// classes post the same message after rewriting a data file. False when no
// live server window is registered.
bool TellServerToReload();

}  // namespace trelvane

#endif  // TRELVANE_PRODUCTKEY_H
