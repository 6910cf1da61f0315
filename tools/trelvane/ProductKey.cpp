// ProductKey.cpp - the user's product key and the server's reload message.
#include "ProductKey.h"

#include <TrCommon.h>

namespace trelvane {

std::string UserKeyPath(const std::string& subKey) {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_USER> table{};
    if (!TrComGetRegValue(&table)) return std::string();
    return subKey.empty() ? std::string(table.szKeyPath) : std::string(table.szKeyPath) + "\\" + subKey;
}

std::string UserKeyPath(SubKey which) {
    TR_REG_VALUE_OF_KIND<TR_REG_KIND_USER> table{};
    if (!TrComGetRegValue(&table)) return std::string();
    const char* name = "";
    switch (which) {
    case SubKey::PPK: name = table.szPPKConfig; break;
    case SubKey::SKey: name = table.szSKeyConfig; break;
    case SubKey::Flashpod: name = table.szFlashpodConfig; break;
    case SubKey::Xbus: name = table.szXbusConfig; break;
    case SubKey::Usb: name = table.szUSBConfig; break;
    case SubKey::TimerConfig: name = table.szTimerConfig; break;
    case SubKey::Timer: name = table.szTimer; break;
    }
    return std::string(table.szKeyPath) + "\\" + name;
}

bool ReadUserDword(const std::string& key, const char* name, DWORD& value) {
    DWORD data = 0, size = sizeof(data);
    if (key.empty() ||
        ::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS)
        return false;
    value = data;
    return true;
}

bool WriteUserDword(const std::string& key, const char* name, DWORD value) {
    return !key.empty() && ::RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name, REG_DWORD, &value,
                                             sizeof(value)) == ERROR_SUCCESS;
}

bool TellServerToReload() {
    HWND server = nullptr, client = nullptr;
    if (!TrComGetServer(&server) || !server || !::IsWindow(server)) return false;
    const UINT reload = ::RegisterWindowMessageA(TR_MSG_REWRITE_WINDOW_NAME);
    ::PostMessageA(server, reload, 0, 0);
    if (TrComGetClient(&client) && client && client != server && ::IsWindow(client))
        ::PostMessageA(client, reload, 0, 0);
    return true;
}

}  // namespace trelvane
