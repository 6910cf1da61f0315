// TrRegistry.h - the library's registry routines and the product key table,
// shared by the paths, the settings, the per-user setup, the application
// finder and the jukebox test.
//
// Every routine opens and closes its own key within the call; none keeps
// state. Value names are matched the registry's way, without regard to case.
#ifndef TR_ENV_REGISTRY_H
#define TR_ENV_REGISTRY_H

#include "include/TrCommon.h"

namespace tr {

// Fixed names of the product key table.
constexpr char kProductKeyFallback[] = "Software\\Kalvor Corporation\\Trelvane";  // string 4000
constexpr char kInstalledPathFallback[] = "InstalledPath";                      // string 4001
constexpr char kInstalledDirFallback[] = "InstalledDir";                        // string 4002
constexpr char kTrTWPathName[] = "TrTWPath";

// Reads a value of at most 4 bytes, whatever its type; a shorter value is
// zero-extended. FALSE (output untouched) when the key or value is missing
// or the value is longer than 4 bytes.
BOOL RegReadDword(HKEY hRoot, const char* pszKey, const char* pszName, DWORD* pdwValue);

// Reads a value of at most 260 bytes, whatever its type, up to its first zero
// byte, into a buffer of at least 260 bytes. FALSE (buffer untouched) when
// the key or value is missing or the text does not fit with its terminator.
BOOL RegReadString(HKEY hRoot, const char* pszKey, const char* pszName, char* pszValue);

// The same two reads from a key the caller has open, for several values of
// one key at one opening.
BOOL RegReadDwordFrom(HKEY hKey, const char* pszName, DWORD* pdwValue);
BOOL RegReadStringFrom(HKEY hKey, const char* pszName, char* pszValue);

// Writes a REG_DWORD / REG_SZ, creating missing key levels. Without
// bOverwrite a value that the matching read can read is kept (result TRUE).
BOOL RegWriteDword(HKEY hRoot, const char* pszKey, const char* pszName, DWORD dwValue, BOOL bOverwrite);
BOOL RegWriteString(HKEY hRoot, const char* pszKey, const char* pszName, const char* pszValue, BOOL bOverwrite);

// Copies the REG_DWORD and REG_SZ values of a key tree, every depth, to
// another root and path with the writes above. A missing source key is
// created empty. A value whose name or data exceed 260 bytes ends the copy
// of that key's values. Destination keys come into being only by the writes.
BOOL RegCopyKey(HKEY hSrcRoot, const char* pszSrcKey, HKEY hDstRoot, const char* pszDstKey, BOOL bOverwrite);

// The product key table from TrLocale.DLL (strings 4000, 4001, 4002 and 3009,
// with the fallbacks above), root HKEY_LOCAL_MACHINE / HKEY_CURRENT_USER.
// FALSE, block untouched, when TrLocale.DLL cannot be loaded.
BOOL FillRegInfo(TR_REG_VALUE_STRUC* pValue);
BOOL FillUserRegInfo(TR_REG_VALUE_STRUC* pValue);

}  // namespace tr

#endif  // TR_ENV_REGISTRY_H
