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

bool appendMenuItems(HMENU menu, const std::vector<ui::MenuItem>& items) {
  for (const ui::MenuItem& item : items) {
    const std::wstring label = platform::win32::toUtf16(item.label);
    const UINT grey = item.enabled ? 0u : static_cast<UINT>(MF_GRAYED);
    if (!item.items.empty() || item.id <= 0) {
      HMENU sub = CreatePopupMenu();
      if (!sub) return false;
      if (!appendMenuItems(sub, item.items) ||
          !AppendMenuW(menu, MF_POPUP | MF_STRING | grey, reinterpret_cast<UINT_PTR>(sub), label.c_str())) {
        DestroyMenu(sub);
        return false;
      }
    } else if (!AppendMenuW(menu, MF_STRING | grey, static_cast<UINT_PTR>(item.id), label.c_str())) {
      return false;
    }
  }
  return true;
}

}  // namespace frontend
