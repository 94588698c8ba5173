#include "menu_data.hpp"

#include <iterator>
#include <string>

#include "platform/win32/wide.hpp"

namespace frontend {

std::vector<shell::MenuItem> readMenu(HMENU menu) {
  std::vector<shell::MenuItem> out;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text));
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (info.fType & MFT_SEPARATOR) continue;
    shell::MenuItem item;
    item.text = platform::win32::fromUtf16(text);
    if (info.hSubMenu) {
      item.items = readMenu(info.hSubMenu);
    } else {
      item.command = static_cast<int>(info.wID);
    }
    out.push_back(std::move(item));
  }
  return out;
}

void setEnableStates(HMENU popup, const std::function<bool(int)>& enabled) {
  int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    if (GetSubMenu(popup, i)) continue;
    UINT id = GetMenuItemID(popup, i);
    if (id == static_cast<UINT>(-1) || id == 0) continue;
    EnableMenuItem(popup, static_cast<UINT>(i),
                   MF_BYPOSITION | (enabled(static_cast<int>(id)) ? MF_ENABLED : MF_GRAYED));
  }
}

}  // namespace frontend
