// Devices.h - plugged-in devices and inserted media, from WM_DEVICECHANGE.
//
// The server registers for device-interface notifications of every class
// (DEVICE_NOTIFY_ALL_INTERFACE_CLASSES) and keeps two kinds of arrival:
// the USB device interface ({A5DCBF10-6530-11D2-901F-00C04FB951ED}, one per
// USB device) and any interface whose path lies below the IEEE 1394 bus
// ("\\?\1394#..."; a device may offer several, so one device counts once
// within a few seconds). Volumes need no registration: their arrival is
// broadcast to every top-level window, and a removable one (a card in a
// reader, a stick) counts as a Flashpod medium in its drive.
#ifndef TRELVANE_DEVICES_H
#define TRELVANE_DEVICES_H

#include <windows.h>

#include "Serving.h"
#include "base/TrHandle.h"

#include <string>
#include <vector>

namespace trelvane {

// The device instance identifier of an interface path:
// "\\?\USB#VID_1234&PID_5678#SERIAL#{guid}" gives "USB\VID_1234&PID_5678\SERIAL".
// Empty when the path has not that form.
std::string InstanceIdOfInterfacePath(const std::string& path);

// The registration, given back on destruction.
class DeviceNotifications {
public:
    explicit DeviceNotifications(HWND window);
    bool Registered() const { return m_handle.Valid(); }

private:
    tr::UniqueHandle<tr::NullTraits<HDEVNOTIFY, &::UnregisterDeviceNotification>> m_handle;
};

// The devices and media a WM_DEVICECHANGE announces as arrived; nothing for
// other changes, other interfaces, network and non-removable volumes.
class ArrivalFilter {
public:
    std::vector<Device> Arrived(WPARAM wParam, LPARAM lParam);

private:
    std::string m_last1394;  // the IEEE 1394 device counted last, and when
    DWORD m_last1394Tick = 0;
};

}  // namespace trelvane

#endif  // TRELVANE_DEVICES_H
