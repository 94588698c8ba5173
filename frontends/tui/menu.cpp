#include "menu.hpp"

#include <algorithm>

#include "access_text.hpp"

namespace tui {

namespace k = ui::key;
using shell::MenuItem;

MenuState::MenuState(const std::vector<MenuItem>& menu, Enabled enabled)
    : menu_(menu), enabledFn_(std::move(enabled)) {}

bool MenuState::enabled(const MenuItem& item) const {
  if (item.items.empty()) return item.command != 0 && enabledFn_ && enabledFn_(item.command);
  return std::any_of(item.items.begin(), item.items.end(), [&](const MenuItem& i) { return enabled(i); });
}

const std::vector<MenuItem>& MenuState::items(std::size_t level) const {
  const std::vector<MenuItem>* list = &menu_[static_cast<std::size_t>(top_)].items;
  for (std::size_t l = 0; l < level && l < path_.size(); ++l) {
    int i = path_[l];
    if (i < 0 || i >= static_cast<int>(list->size())) break;
    list = &(*list)[static_cast<std::size_t>(i)].items;
  }
  return *list;
}

int MenuState::firstEnabled(const std::vector<MenuItem>& items, int from, int step) const {
  const int n = static_cast<int>(items.size());
  for (int k = 0; k < n; ++k) {
    int i = ((from + step * k) % n + n) % n;
    if (enabled(items[static_cast<std::size_t>(i)])) return i;
  }
  return -1;
}

void MenuState::open(int top) {
  const int n = static_cast<int>(menu_.size());
  if (n == 0) return;
  top_ = ((top % n) + n) % n;
  path_.clear();
  chosen_ = 0;
  const auto& items = menu_[static_cast<std::size_t>(top_)].items;
  if (!items.empty()) path_.push_back(firstEnabled(items, 0, 1));
}

MenuState::Result MenuState::enter() {
  if (path_.empty()) {  // a top-level entry that is a command
    const MenuItem& m = menu_[static_cast<std::size_t>(top_)];
    if (m.command && enabled(m)) {
      chosen_ = m.command;
      return Result::Chosen;
    }
    return Result::Open;
  }
  return choose(path_.size() - 1, path_.back());
}

MenuState::Result MenuState::choose(std::size_t level, int index) {
  if (level >= path_.size()) return Result::Open;
  const auto& list = items(level);
  if (index < 0 || index >= static_cast<int>(list.size())) return Result::Open;
  const MenuItem& item = list[static_cast<std::size_t>(index)];
  if (!enabled(item)) return Result::Open;
  path_.resize(level + 1);
  path_[level] = index;
  if (!item.items.empty()) {
    path_.push_back(firstEnabled(item.items, 0, 1));
    return Result::Open;
  }
  chosen_ = item.command;
  return Result::Chosen;
}

MenuState::Result MenuState::clickTitle(int i) {
  open(i);
  return path_.empty() ? enter() : Result::Open;
}

MenuState::Result MenuState::key(const InputEvent& e) {
  const int n = static_cast<int>(menu_.size());
  if (n == 0) return Result::Closed;
  switch (e.key) {
    case k::kEscape:
      if (path_.size() > 1) {
        path_.pop_back();
        return Result::Open;
      }
      return Result::Closed;
    case k::kF10:
      return Result::Closed;
    case k::kLeft:
      if (path_.size() > 1) path_.pop_back();
      else open(top_ - 1);
      return Result::Open;
    case k::kRight: {
      if (!path_.empty() && path_.back() >= 0) {
        const MenuItem& item = items(path_.size() - 1)[static_cast<std::size_t>(path_.back())];
        if (!item.items.empty()) return choose(path_.size() - 1, path_.back());
      }
      open(top_ + 1);
      return Result::Open;
    }
    case k::kUp:
    case k::kDown: {
      if (path_.empty()) return Result::Open;
      const int step = e.key == k::kDown ? 1 : -1;
      const auto& list = items(path_.size() - 1);
      int from = path_.back() < 0 ? (step > 0 ? 0 : -1) : path_.back() + step;
      path_.back() = firstEnabled(list, from, step);
      return Result::Open;
    }
    case k::kEnter:
    case ' ':
      return enter();
    default:
      break;
  }
  if (char a = letterOfAlt(e.key)) {
    for (int i = 0; i < n; ++i)
      if (accessText(menu_[static_cast<std::size_t>(i)].text).letter == a) return clickTitle(i);
    return Result::Open;
  }
  if (!path_.empty()) {
    const auto& list = items(path_.size() - 1);
    for (int i = 0; i < static_cast<int>(list.size()); ++i) {
      const MenuItem& item = list[static_cast<std::size_t>(i)];
      if (enabled(item) && picks(accessText(item.text), e.key, true)) return choose(path_.size() - 1, i);
    }
  }
  return Result::Open;
}

// --- Layout and drawing ------------------------------------------------------

namespace {

int itemsWidth(const std::vector<MenuItem>& items) {
  int w = 0;
  for (const MenuItem& m : items)
    w = std::max(w, static_cast<int>(accessText(m.text).text.size()) + (m.items.empty() ? 0 : 2));
  return w + 4;  // frame and a blank on each side
}

CellRect placeBox(int row, int col, int width, int height, int rows, int cols) {
  CellRect r{row, col, std::min(height, std::max(rows - row + 1, 1)), std::min(width, cols)};
  if (r.right() > cols) r.col = std::max(cols - r.cols + 1, 1);
  return r;
}

}  // namespace

MenuLayout layoutMenu(const std::vector<MenuItem>& menu, const MenuState* state, int barRow, int rows, int cols) {
  MenuLayout l;
  l.barRow = barRow;
  int col = 2;
  for (const MenuItem& m : menu) {
    int w = static_cast<int>(accessText(m.text).text.size()) + 2;
    l.titles.push_back({barRow, col, 1, w});
    col += w;
  }
  if (!state || state->path().empty()) return l;
  const CellRect& title = l.titles[static_cast<std::size_t>(state->top())];
  for (std::size_t level = 0; level < state->path().size(); ++level) {
    const auto& list = state->items(level);
    const int width = itemsWidth(list), height = static_cast<int>(list.size()) + 2;
    if (level == 0) {
      l.boxes.push_back(placeBox(barRow + 1, title.col, width, height, rows, cols));
    } else {
      const CellRect& parent = l.boxes.back();
      int parentIndex = std::max(state->path()[level - 1], 0);
      int row = parent.row + 1 + parentIndex - 1;
      int c = parent.right() + 1;
      if (c + width - 1 > cols) c = std::max(parent.col - width, 1);
      row = std::max(std::min(row, rows - height + 1), 1);
      l.boxes.push_back(placeBox(row, c, width, height, rows, cols));
    }
  }
  return l;
}

void drawMenu(CellGrid& grid, const MenuLayout& l, const std::vector<MenuItem>& menu, const MenuState* state) {
  const Rgb ink = dialogInk(), paper = dialogPaper();
  grid.fillRect(l.barRow, 1, l.barRow, grid.cols(), Cell{U' ', ink, paper, kAttrNone});
  for (std::size_t i = 0; i < menu.size() && i < l.titles.size(); ++i) {
    const CellRect& t = l.titles[i];
    AccessText a = accessText(menu[i].text);
    const bool on = state && state->top() == static_cast<int>(i);
    const Rgb fg = on ? focusInk() : ink, bg = on ? focusPaper() : paper;
    grid.putText(t.row, t.col, U" " + a.text + U" ", fg, bg);
    if (a.underline >= 0 && grid.contains(t.row, t.col + 1 + a.underline))
      grid.at(t.row, t.col + 1 + a.underline).attr |= kAttrUnderline;
  }
  if (!state) return;
  for (std::size_t level = 0; level < l.boxes.size() && level < state->path().size(); ++level) {
    const CellRect& box = l.boxes[level];
    drawBox(grid, box, ink, paper);
    const auto& list = state->items(level);
    for (int i = 0; i < static_cast<int>(list.size()) && i < box.rows - 2; ++i) {
      const MenuItem& item = list[static_cast<std::size_t>(i)];
      const bool on = state->path()[level] == i;
      const bool usable = state->enabled(item);
      const Rgb fg = on ? focusInk() : (usable ? ink : dimInk());
      const Rgb bg = on ? focusPaper() : paper;
      const int row = box.row + 1 + i;
      grid.fillRect(row, box.col + 1, row, box.right() - 1, Cell{U' ', fg, bg, kAttrNone});
      AccessText a = accessText(item.text);
      grid.putText(row, box.col + 2, a.text, fg, bg);
      if (usable && a.underline >= 0 && grid.contains(row, box.col + 2 + a.underline))
        grid.at(row, box.col + 2 + a.underline).attr |= kAttrUnderline;
      if (!item.items.empty()) grid.putText(row, box.right() - 2, U"\u25BA", fg, bg);
    }
  }
}

int menuTitleAt(const MenuLayout& l, int row, int col) {
  for (std::size_t i = 0; i < l.titles.size(); ++i)
    if (l.titles[i].contains(row, col)) return static_cast<int>(i);
  return -1;
}

MenuState::Result menuClick(MenuState& state, const MenuLayout& l, int row, int col) {
  int t = menuTitleAt(l, row, col);
  if (t >= 0) return state.clickTitle(t);
  // The innermost box first: submenus lie over their parents.
  for (std::size_t level = l.boxes.size(); level-- > 0;) {
    const CellRect& box = l.boxes[level];
    if (!box.contains(row, col)) continue;
    int index = row - box.row - 1;
    if (row == box.row || row == box.bottom()) return MenuState::Result::Open;
    return state.choose(level, index);
  }
  return MenuState::Result::Closed;
}

}  // namespace tui
