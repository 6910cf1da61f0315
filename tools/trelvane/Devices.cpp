// Devices.cpp - device notifications and what an arrival names.
#include "Devices.h"

#include <dbt.h>

#include <cstring>

namespace trelvane {
namespace {

const GUID kUsbDeviceInterface = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
constexpr DWORD kSameDeviceMs = 3000;

// dbcc_name in either character set: a window gets the wide form when the
// system decides so, whatever we registered with; the path's second
// character tells ("\\?\" has a zero there in UTF-16).
std::string InterfaceName(const DEV_BROADCAST_DEVICEINTERFACE_A* d) {
    const std::size_t room = d->dbcc_size > offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name)
                                 ? d->dbcc_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name)
                                 : 0;
    const char* name = d->dbcc_name;
    if (room >= 4 && name[0] && !name[1]) {
        const auto* wide = reinterpret_cast<const wchar_t*>(name);
        const int length = static_cast<int>(wcsnlen(wide, room / sizeof(wchar_t)));
        std::string text(static_cast<std::size_t>(length) * 2, '\0');
        const int n = ::WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], static_cast<int>(text.size()), nullptr,
                                            nullptr);
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        return text;
    }
    return std::string(name, strnlen(name, room));
}

}  // namespace

std::string InstanceIdOfInterfacePath(const std::string& path) {
    if (path.compare(0, 4, "\\\\?\\") != 0 && path.compare(0, 4, "\\\\.\\") != 0) return std::string();
    std::string id = path.substr(4);
    const std::size_t guid = id.rfind("#{");
    if (guid == std::string::npos || id.back() != '}') return std::string();
    id.erase(guid);
    // Enumerator, device and instance: exactly three parts.
    std::size_t parts = 1;
    for (char& c : id)
        if (c == '#') c = '\\', ++parts;
    return parts == 3 && id.find("\\\\") == std::string::npos && id.front() != '\\' && id.back() != '\\' ? id
                                                                                                        : std::string();
}

DeviceNotifications::DeviceNotifications(HWND window) {
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    m_handle.Reset(::RegisterDeviceNotificationA(window, &filter,
                                                 DEVICE_NOTIFY_WINDOW_HANDLE | DEVICE_NOTIFY_ALL_INTERFACE_CLASSES));
}

std::vector<Device> ArrivalFilter::Arrived(WPARAM wParam, LPARAM lParam) {
    std::vector<Device> devices;
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
    if (wParam != DBT_DEVICEARRIVAL || !header || header->dbch_size < sizeof(DEV_BROADCAST_HDR)) return devices;
    if (header->dbch_devicetype == DBT_DEVTYP_VOLUME && header->dbch_size >= sizeof(DEV_BROADCAST_VOLUME)) {
        const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header);
        if (volume->dbcv_flags & DBTF_NET) return devices;
        for (DWORD drive = 0; drive < 26; ++drive) {
            if (!(volume->dbcv_unitmask & (1u << drive))) continue;
            const char root[] = {static_cast<char>('A' + drive), ':', '\\', '\0'};
            if (::GetDriveTypeA(root) == DRIVE_REMOVABLE) devices.push_back({Device::Medium, std::string(), drive});
        }
        return devices;
    }
    if (header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
        header->dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + 4)
        return devices;
    const auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header);
    const std::string id = InstanceIdOfInterfacePath(InterfaceName(iface));
    if (id.empty()) return devices;
    if (_strnicmp(id.c_str(), "1394\\", 5) == 0) {
        const DWORD now = ::GetTickCount();
        if (_stricmp(id.c_str(), m_last1394.c_str()) == 0 && now - m_last1394Tick < kSameDeviceMs) return devices;
        m_last1394 = id;
        m_last1394Tick = now;
        devices.push_back({Device::Ieee1394, id, 0});
    } else if (IsEqualGUID(iface->dbcc_classguid, kUsbDeviceInterface)) {
        devices.push_back({Device::Usb, id, 0});
    }
    return devices;
}

}  // namespace trelvane
