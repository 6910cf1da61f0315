// JogMenu.h - the jog dial's menu as a pop-up menu of the tray icon, built
// through the jog menu exports: folders become sub-menus, applications
// items that TrComLaunch starts.
#ifndef TRELVANE_JOGMENU_H
#define TRELVANE_JOGMENU_H

#include <windows.h>

#include <TrCommon.h>

#include "base/TrHandle.h"

#include <string>
#include <vector>

namespace trelvane {

struct JogMenu {
    tr::Menu menu;
    // The applications by command id - firstId, as they were when the menu
    // was built (a later edit of the menu file does not shift them).
    std::vector<TR_APP_DATA_STRUC> apps;
    std::string problem;  // why the menu file could not be read; the menu then says so
};

// Builds the menu with command ids from firstId on. An empty or unreadable
// menu file gives a menu with one disabled line saying so.
JogMenu BuildJogMenu(UINT firstId);

}  // namespace trelvane

#endif  // TRELVANE_JOGMENU_H
