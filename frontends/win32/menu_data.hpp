#pragma once
// The main window's menu as the Win32 menu holds it: read back into the
// shared menu description (so it can be compared with shell::mainMenu()),
// and the enable states set from the main-window model when a menu opens.
#include <windows.h>

#include <functional>
#include <vector>

#include "shell/commands.hpp"

namespace frontend {

// The items of menu in order, texts as UTF-8 ("&" kept), submenus with their
// items and command 0. Separators are skipped.
std::vector<shell::MenuItem> readMenu(HMENU menu);

// Enables or greys every command item directly in popup by enabled(command);
// submenus are left to their own WM_INITMENUPOPUP.
void setEnableStates(HMENU popup, const std::function<bool(int)>& enabled);

}  // namespace frontend
