// JogMenu.cpp - the jog dial's menu walked entry by entry.
#include "JogMenu.h"

#include <cstring>

namespace trelvane {
namespace {

// '&' would underline the next letter: a title shows as it is written.
std::string MenuText(const char* title) {
    std::string text;
    for (const char* p = title; *p; ++p) text += *p == '&' ? "&&" : std::string(1, *p);
    return text.empty() ? "(untitled)" : text;
}

}  // namespace

JogMenu BuildJogMenu(UINT firstId) {
    JogMenu jog;
    jog.menu.Reset(::CreatePopupMenu());
    int count = 0;
    if (!TrComJogDataGetAllItems(&count) || count == 0) {
        char path[MAX_PATH] = "";
        jog.problem = TrComGetPath(TR_PATH_JOG_DATA, path) && ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES
                          ? "JogData.dat does not exist"
                          : "JogData.dat cannot be read or holds no entry (trctl doctor tells more)";
    }
    // Sub-menus by level: a folder at level L opens a sub-menu for level L+1.
    std::vector<HMENU> levels = {jog.menu.Get()};
    for (int i = 0; i < count && jog.problem.empty(); ++i) {
        TR_JOG_DATA_STRUC entry = {};
        if (!TrComJogDataGetAt(&entry, i)) {
            jog.problem = "JogData.dat changed while the menu was read";
            break;
        }
        const std::size_t level = entry.nLevel < 0 ? 0 : static_cast<std::size_t>(entry.nLevel);
        levels.resize(std::min(level + 1, levels.size()));
        HMENU parent = levels.back();
        const std::string text = MenuText(entry.szTitle);
        if (entry.bIsFolder) {
            tr::Menu sub(::CreatePopupMenu());
            if (!sub || !::AppendMenuA(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub.Get()), text.c_str()))
                continue;
            levels.push_back(sub.Detach());  // the parent menu owns it now
            continue;
        }
        TR_APP_DATA_STRUC app;
        std::memcpy(&app, &entry, sizeof(app));  // the first five fields are laid out alike
        ::AppendMenuA(parent, MF_STRING, firstId + static_cast<UINT>(jog.apps.size()), text.c_str());
        jog.apps.push_back(app);
    }
    if (!jog.problem.empty()) {
        jog.apps.clear();
        jog.menu.Reset(::CreatePopupMenu());
        ::AppendMenuA(jog.menu.Get(), MF_STRING | MF_GRAYED, 0, ("(" + jog.problem + ")").c_str());
    }
    return jog;
}

}  // namespace trelvane
