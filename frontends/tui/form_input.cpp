#include "form_input.hpp"

#include <algorithm>

#include "access_text.hpp"

namespace tui {

namespace k = ui::key;
using K = ui::ControlKind;

int FormInput::indexOf(int id) const {
  const auto& cs = state_.form().controls;
  for (std::size_t i = 0; i < cs.size(); ++i)
    if (cs[i].id == id) return static_cast<int>(i);
  return -1;
}

int FormInput::listTop(int id) const {
  auto it = lists_.find(id);
  return it == lists_.end() ? 0 : it->second.top;
}

void FormInput::follow(const FormLayout& layout) {
  const auto& cs = state_.form().controls;
  for (std::size_t i = 0; i < cs.size() && i < layout.controls.size(); ++i) {
    if (cs[i].kind != K::ListBox) continue;
    ListView& v = lists_[cs[i].id];
    const int rows = std::max(layout.controls[i].rows, 1);
    const int n = static_cast<int>(state_.items(cs[i].id).size());
    const int sel = state_.selection(cs[i].id);
    if (sel != v.seen && sel >= 0) {
      if (sel < v.top) v.top = sel;
      if (sel >= v.top + rows) v.top = sel - rows + 1;
    }
    v.seen = sel;
    v.top = std::clamp(v.top, 0, std::max(n - rows, 0));
  }
}

CellRect FormInput::popup(const FormLayout& layout) const {
  int i = indexOf(open_);
  if (i < 0 || i >= static_cast<int>(layout.controls.size())) return {};
  const CellRect& box = layout.controls[static_cast<std::size_t>(i)];
  const int n = std::max(static_cast<int>(state_.items(open_).size()), 1);
  CellRect r{box.row + 1, box.col, std::min(n, kDropRows), box.cols};
  const int below = layout.screenRows - box.row;
  const int above = box.row - 1;
  if (r.rows > below && above > below) {
    r.rows = std::min(r.rows, above);
    r.row = box.row - r.rows;
  } else {
    r.rows = std::min(r.rows, std::max(below, 0));
  }
  return r;
}

int FormInput::popupTop(const FormLayout& layout) const {
  const int rows = std::max(popup(layout).rows, 1);
  const int n = static_cast<int>(state_.items(open_).size());
  return std::clamp(highlight_ - rows + 1, 0, std::max(n - rows, 0));
}

void FormInput::openDropDown(int id) {
  if (state_.items(id).empty()) return;
  open_ = id;
  highlight_ = std::max(state_.selection(id), 0);
}

void FormInput::onEvent(const InputEvent& e, const FormLayout& layout) {
  if (state_.ended()) return;
  if (open_ != 0) return popupEvent(e, layout);
  if (e.key == k::kMouseClick || e.key == k::kMouseDoubleClick) return click(e, layout);
  if (e.key == k::kMouseRelease) return;
  key(e);
}

void FormInput::popupEvent(const InputEvent& e, const FormLayout& layout) {
  const int id = open_;
  const std::vector<std::string> items = state_.items(id);
  auto take = [&](int index) {
    open_ = 0;
    state_.select(id, index);
  };
  if (e.key == k::kMouseClick || e.key == k::kMouseDoubleClick) {
    CellRect r = popup(layout);
    const int index = popupTop(layout) + (e.row - r.row);
    if (r.contains(e.row, e.col) && index < static_cast<int>(items.size())) take(index);
    else open_ = 0;
    return;
  }
  switch (e.key) {
    case k::kF4:
      return take(highlight_);
    case k::kTab:
    case k::kShiftTab:
      open_ = 0;
      state_.key(e.key);
      return;
    case k::kUp:
    case k::kDown:
      if (e.alt) return take(highlight_);
      break;
    default:
      break;
  }
  ui::ListKeyResult r = ui::listKey(items, highlight_, e.key);
  switch (r.action) {
    case ui::ListKeyResult::Moved: highlight_ = r.selection; break;
    case ui::ListKeyResult::Take: take(r.selection); break;
    case ui::ListKeyResult::Cancel: open_ = 0; break;
    case ui::ListKeyResult::None: break;
  }
}

void FormInput::click(const InputEvent& e, const FormLayout& layout) {
  const int i = controlAt(state_, layout, e.row, e.col);
  if (i < 0) return;
  const ui::Control& c = state_.form().controls[static_cast<std::size_t>(i)];
  if (!state_.isEnabled(c.id)) return;
  const CellRect& r = layout.controls[static_cast<std::size_t>(i)];
  state_.setFocus(c.id);
  switch (c.kind) {
    case K::Button:
    case K::CheckBox:
    case K::Radio:
      state_.press(c.id);
      break;
    case K::ListBox: {
      ListView& v = lists_[c.id];
      const int n = static_cast<int>(state_.items(c.id).size());
      // The last column carries the scroll marks: clicks there scroll by a row.
      if (n > r.rows && e.col == r.right() && (e.row == r.row || e.row == r.bottom())) {
        v.top = std::clamp(v.top + (e.row == r.row ? -1 : 1), 0, n - r.rows);
        return;
      }
      const int index = v.top + (e.row - r.row);
      if (index < 0 || index >= n) return;
      state_.select(c.id, index);
      if (e.key == k::kMouseDoubleClick) state_.doubleClick(c.id);
      break;
    }
    case K::DropDown:
      openDropDown(c.id);
      break;
    default:
      break;
  }
}

bool FormInput::accessLetter(ui::KeyCode key, bool plain) {
  const auto& cs = state_.form().controls;
  for (std::size_t i = 0; i < cs.size(); ++i) {
    const ui::Control& c = cs[i];
    if (!state_.isVisible(c.id) || !state_.isEnabled(c.id)) continue;
    if (c.kind == K::Edit || c.kind == K::ListBox || c.kind == K::DropDown || c.kind == K::Progress) continue;
    if (!picks(accessText(state_.text(c.id)), key, plain)) continue;
    if (c.kind == K::Button || c.kind == K::CheckBox || c.kind == K::Radio) {
      state_.setFocus(c.id);
      state_.press(c.id);
      return true;
    }
    // A text or frame labels the next control that takes the focus.
    for (std::size_t j = i + 1; j < cs.size(); ++j) {
      state_.setFocus(cs[j].id);
      if (state_.focus() == cs[j].id) return true;
    }
    return true;
  }
  return false;
}

void FormInput::key(const InputEvent& e) {
  const ui::Control* focused = state_.form().find(state_.focus());
  if (focused && focused->kind == K::DropDown &&
      (e.key == k::kF4 || (e.alt && (e.key == k::kDown || e.key == k::kUp)))) {
    openDropDown(focused->id);
    return;
  }
  if (letterOfAlt(e.key) && accessLetter(e.key, false)) return;
  if (state_.key(e.key)) return;
  // Where a typed letter means nothing to the focused control, it picks the
  // control whose access letter it is.
  if (!(focused && focused->kind == K::Edit)) accessLetter(e.key, true);
}

}  // namespace tui
