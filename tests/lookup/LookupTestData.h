// LookupTestData.h - what the lookup tests share: the user's data folder and
// the product keys in a sandbox, data file texts, marked blocks, and starting
// a program with its output in given handles.
#ifndef TR_TESTS_LOOKUP_TESTDATA_H
#define TR_TESTS_LOOKUP_TESTDATA_H

#include "TrTestSupport.h"

#include "include/TrCommon.h"
#include "include/TrCommonClasses.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace trtest {

constexpr char kProductKey[] = "Software\\Kalvor Corporation\\Trelvane";

inline bool SetRegValue(HKEY root, const std::string& key, const char* name, DWORD type, const void* data, DWORD size) {
    return ::RegSetKeyValueA(root, key.c_str(), name, type, data, size) == ERROR_SUCCESS;
}
inline bool SetUserValue(const std::string& subKey, const char* name, DWORD value) {
    return SetRegValue(HKEY_CURRENT_USER, std::string(kProductKey) + "\\" + subKey, name, REG_DWORD, &value, 4);
}

// No data file in the user's data folder before and after a test, the product
// key under both roots in a sandbox, "InstalledDir" with Win98 and Win2K.
class LookupSandbox {
public:
    LookupSandbox() {
        char folder[MAX_PATH] = "";
        TrComGetPath(TR_PATH_DATA_DIR, folder);
        m_data = folder;
        ::CreateDirectoryA(m_data.substr(0, m_data.find_last_of('\\')).c_str(), nullptr);
        ::CreateDirectoryA(folder, nullptr);
        Clear();
        for (const char* os : {"Win98", "Win2K"}) ::CreateDirectoryA((m_install / os).c_str(), nullptr);
        const std::string& dir = m_install.Path();
        SetRegValue(HKEY_LOCAL_MACHINE, kProductKey, "InstalledDir", REG_SZ, dir.c_str(), DWORD(dir.size() + 1));
    }
    ~LookupSandbox() { Clear(); }
    bool Write(const std::string& file, const std::string& text) const {
        return WriteFileBytes(m_data + "\\" + file, text);
    }
    void Remove(const std::string& file) const { ::DeleteFileA((m_data + "\\" + file).c_str()); }
    bool WriteLaunchIni(const std::string& text) const {
        return WriteFileBytes(m_install / "Win98\\TrLaunch.ini", text) &&
               WriteFileBytes(m_install / "Win2K\\TrLaunch.ini", text);
    }

private:
    void Clear() const {
        for (const char* f : {"JogData.dat", "JPPKData.dat", "PPKData.dat", "SKeyData.dat", "FPData.dat", "XbusData.dat",
                              "XbusCtg.dat", "USBData.dat", "TimrData.dat"})
            Remove(f);
    }
    RegSandbox m_user{HKEY_CURRENT_USER, kProductKey}, m_machine{HKEY_LOCAL_MACHINE, kProductKey};
    TempFolder m_install;
    std::string m_data;
};

// Data file sections as the databases write them.
inline std::string NumeralRecord(const std::string& title, DWORD key, const std::string& path = "C:\\app.exe",
                                 const std::string& option = "") {
    char hex[16];
    std::snprintf(hex, sizeof(hex), "%08lX", static_cast<unsigned long>(key));
    return "Title:" + title + "\r\nDescription:" + title + " description\r\nPath:" + path + "\r\nWorkDir:\r\nOption:" +
           option + "\r\nKey:" + hex + "\r\n";
}
inline std::string StringRecord(const std::string& title, const std::string& key, const std::string& path = "C:\\d.exe",
                                const std::string& option = "") {
    return "Title:" + title + "\r\nDescription:\r\nPath:" + path + "\r\nWorkDir:\r\nOption:" + option +
           "\r\nName:\r\nAttribute:\r\nKey:" + key + "\r\n";
}

// A block full of markers: after a FALSE it must still be exactly that.
inline TR_APP_DATA_STRUC Marked() { TR_APP_DATA_STRUC b; std::memset(&b, 0xAB, sizeof(b)); return b; }
inline bool Untouched(const TR_APP_DATA_STRUC& b) { const auto m = Marked(); return !std::memcmp(&b, &m, sizeof(b)); }

}  // namespace trtest

#endif  // TR_TESTS_LOOKUP_TESTDATA_H
