#pragma once
// The main window's menu in cells: the bar of top-level menus, the opened
// menu and its submenus. MenuState is the navigation (keys and clicks);
// layoutMenu and drawMenu put it on the screen. Items whose command cannot
// be chosen now are dimmed and skipped; a submenu counts as enabled when one
// of its items is.
#include <functional>
#include <vector>

#include "cell_grid.hpp"
#include "frame.hpp"
#include "input_event.hpp"
#include "shell/commands.hpp"

namespace tui {

class MenuState {
 public:
  using Enabled = std::function<bool(int command)>;
  enum class Result { Open, Closed, Chosen };

  MenuState(const std::vector<shell::MenuItem>& menu, Enabled enabled);

  // Opens top-level menu i with its first enabled item selected.
  void open(int top);
  // Left/Right change menus (Left first closes a submenu), Up/Down move over
  // enabled items (wrapping), Enter or Right opens a submenu, Enter chooses a
  // command, Escape closes one level, F10 closes all, a letter chooses the
  // item with that access letter, Alt+letter opens that top-level menu.
  Result key(const InputEvent& e);

  bool enabled(const shell::MenuItem& item) const;
  const std::vector<shell::MenuItem>& menu() const { return menu_; }
  int top() const { return top_; }
  // The selected item of each open level (level 0 is the opened menu);
  // -1 where nothing in it can be chosen. Empty for a top-level entry
  // without items ("Exit").
  const std::vector<int>& path() const { return path_; }
  const std::vector<shell::MenuItem>& items(std::size_t level) const;
  // The command chosen (after Result::Chosen).
  int chosen() const { return chosen_; }

  // What a click picks: selects (and opens or chooses) an enabled item.
  Result choose(std::size_t level, int index);
  // A click on top-level title i.
  Result clickTitle(int i);

 private:
  int firstEnabled(const std::vector<shell::MenuItem>& items, int from, int step) const;
  Result enter();

  const std::vector<shell::MenuItem>& menu_;
  Enabled enabledFn_;
  int top_ = 0;
  std::vector<int> path_;
  int chosen_ = 0;
};

struct MenuLayout {
  int barRow = 1;
  std::vector<CellRect> titles;  // one per top-level menu, on the bar row
  std::vector<CellRect> boxes;   // one per open level, framed
};

// The bar on barRow of a cols-wide screen, and the boxes of what state has open.
MenuLayout layoutMenu(const std::vector<shell::MenuItem>& menu, const MenuState* state, int barRow, int rows,
                      int cols);
// The bar alone (state null) or with its open menus.
void drawMenu(CellGrid& grid, const MenuLayout& layout, const std::vector<shell::MenuItem>& menu,
              const MenuState* state);
// A click at row, col on an open menu.
MenuState::Result menuClick(MenuState& state, const MenuLayout& layout, int row, int col);
// The top-level title at row, col, or -1.
int menuTitleAt(const MenuLayout& layout, int row, int col);

}  // namespace tui
