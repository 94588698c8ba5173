#pragma once
// Menus as the Win32 menu holds them: the main window's read back into the
// shared menu description (so it can be compared with shell::mainMenu()),
// its enable states set from the main-window model when a menu opens, and
// menus built at run time from the core's menu items.
#include <windows.h>

#include <functional>
#include <vector>

#include "shell/commands.hpp"
#include "ui/edit_window.hpp"  // ui::MenuItem

namespace frontend {

// The items of menu in order, texts as UTF-8 ("&" kept), submenus with their
// items and command 0. Separators are skipped.
std::vector<shell::MenuItem> readMenu(HMENU menu);

// Enables or greys every command item directly in popup by enabled(command);
// submenus are left to their own WM_INITMENUPOPUP.
void setEnableStates(HMENU popup, const std::function<bool(int)>& enabled);

// Appends items to menu (a menu bar or a pop-up); an item with subitems or
// no command becomes a pop-up of its own, destroyed with menu. False when
// Windows could not make one (menu may then hold the items before it).
[[nodiscard]] bool appendMenuItems(HMENU menu, const std::vector<ui::MenuItem>& items);

}  // namespace frontend
