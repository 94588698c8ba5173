#include "ui/form_state.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "platform/codepage.hpp"

namespace ui {

FormState::FormState(const Form& form, FormController& controller)
    : form_(form), controller_(controller), caption_(form.caption) {
  for (const Control& c : form_.controls) {
    Value v;
    v.text = c.text;
    v.enabled = c.enabled;
    v.visible = c.visible;
    values_[c.id] = v;
  }
}

void FormState::init() {
  focus_ = form_.firstFocus;
  if (focus_ == 0 || !find(focus_)) {
    for (const Control& c : form_.controls)
      if (focusable(c)) {
        focus_ = c.id;
        break;
      }
  }
  controller_.onInit(*this);
}

FormState::Value& FormState::at(int id) { return values_[id]; }

const FormState::Value* FormState::find(int id) const {
  auto it = values_.find(id);
  return it == values_.end() ? nullptr : &it->second;
}

std::string FormState::text(int id) const {
  const Value* v = find(id);
  return v ? v->text : std::string();
}
void FormState::setText(int id, std::string_view text) { at(id).text = std::string(text); }
bool FormState::checked(int id) const {
  const Value* v = find(id);
  return v && v->checked;
}

void FormState::setChecked(int id, bool on) {
  // Checking a radio button clears the others of its group.
  const Control* c = form_.find(id);
  if (on && c && c->kind == ControlKind::Radio) {
    auto& cs = form_.controls;
    auto self = std::find_if(cs.begin(), cs.end(), [&](const Control& x) { return x.id == id; });
    auto first = self;
    while (first != cs.begin() && !first->groupStart && std::prev(first)->kind == ControlKind::Radio) --first;
    for (auto it = first; it != cs.end() && it->kind == ControlKind::Radio; ++it) {
      if (it != first && it->groupStart) break;
      at(it->id).checked = false;
    }
  }
  at(id).checked = on;
}

void FormState::setItems(int id, const std::vector<std::string>& items) {
  Value& v = at(id);
  v.items = items;
  if (v.selection >= static_cast<int>(items.size())) v.selection = -1;
}
std::vector<std::string> FormState::items(int id) const {
  const Value* v = find(id);
  return v ? v->items : std::vector<std::string>();
}
int FormState::selection(int id) const {
  const Value* v = find(id);
  return v ? v->selection : -1;
}
void FormState::setSelection(int id, int index) {
  Value& v = at(id);
  v.selection = (index >= 0 && index < static_cast<int>(v.items.size())) ? index : -1;
}
void FormState::setProgress(int id, int percent) { at(id).progress = std::clamp(percent, 0, 100); }
void FormState::enable(int id, bool on) { at(id).enabled = on; }
void FormState::show(int id, bool on) { at(id).visible = on; }
void FormState::setFocus(int id) {
  if (const Control* c = form_.find(id); c && focusable(*c)) focus_ = id;
}
void FormState::setCaption(std::string_view caption) { caption_ = std::string(caption); }
void FormState::startTimer(int id, int ms) {
  timers_[id] = Timer{std::max(ms, 1), now_ + static_cast<std::uint64_t>(std::max(ms, 1))};
}
void FormState::stopTimer(int id) { timers_.erase(id); }
void FormState::end(int result) {
  if (!result_) result_ = result;
}

int FormState::progress(int id) const {
  const Value* v = find(id);
  return v ? v->progress : 0;
}
bool FormState::isEnabled(int id) const {
  const Value* v = find(id);
  return v && v->enabled;
}
bool FormState::isVisible(int id) const {
  const Value* v = find(id);
  return v && v->visible;
}

bool FormState::focusable(const Control& c) const {
  const Value* v = find(c.id);
  bool on = v ? (v->enabled && v->visible) : (c.enabled && c.visible);
  switch (c.kind) {
    case ControlKind::Static:
    case ControlKind::Progress:
    case ControlKind::Group:
      return false;
    default:
      return on;
  }
}

void FormState::moveFocus(int step) {
  const auto& cs = form_.controls;
  if (cs.empty()) return;
  int n = static_cast<int>(cs.size());
  int pos = 0;
  for (int i = 0; i < n; ++i)
    if (cs[static_cast<std::size_t>(i)].id == focus_) pos = i;
  for (int k = 1; k <= n; ++k) {
    int i = ((pos + step * k) % n + n) % n;
    if (focusable(cs[static_cast<std::size_t>(i)])) {
      focus_ = cs[static_cast<std::size_t>(i)].id;
      return;
    }
  }
}

int FormState::defaultButton() const {
  for (const Control& c : form_.controls)
    if (c.kind == ControlKind::Button && c.defaultButton && isEnabled(c.id) && isVisible(c.id)) return c.id;
  return find(kIdOkButton) ? kIdOkButton : 0;
}

int FormState::cancelButton() const {
  for (const Control& c : form_.controls)
    if (c.kind == ControlKind::Button && c.cancelButton) return c.id;
  return kIdCancelButton;
}

void FormState::press(int id) {
  if (ended()) return;
  const Control* c = form_.find(id);
  // Escape and Enter reach OK and Cancel even in forms without those buttons.
  if (c && (!isEnabled(id) || !isVisible(id))) return;
  if (c && c->kind == ControlKind::CheckBox) setChecked(id, !checked(id));
  if (c && c->kind == ControlKind::Radio) setChecked(id, true);
  controller_.onCommand(*this, id);
}

void FormState::type(int id, std::string_view text) {
  const Control* c = form_.find(id);
  if (!c || c->kind != ControlKind::Edit || c->readOnly || !isEnabled(id)) return;
  std::string t;
  for (char ch : text) {
    if (c->numberOnly && (ch < '0' || ch > '9')) continue;
    t.push_back(ch);
  }
  if (c->limit > 0) t = base::firstCharacters(t, static_cast<std::size_t>(c->limit));
  at(id).text = t;
}

void FormState::select(int id, int index) {
  if (ended() || !isEnabled(id)) return;
  int before = selection(id);
  setSelection(id, index);
  if (selection(id) != before) controller_.onSelectionChange(*this, id);
}

void FormState::doubleClick(int id) {
  if (ended() || !isEnabled(id)) return;
  controller_.onDoubleClick(*this, id);
}

bool FormState::key(KeyCode k) {
  if (ended()) return false;
  if (k == key::kTab) {
    moveFocus(1);
    return true;
  }
  if (k == key::kShiftTab) {
    moveFocus(-1);
    return true;
  }
  const Control* c = form_.find(focus_);
  if (c && (c->kind == ControlKind::ListBox || c->kind == ControlKind::DropDown)) {
    ListKeyResult r = listKey(items(c->id), selection(c->id), k);
    switch (r.action) {
      case ListKeyResult::Moved:
        select(c->id, r.selection);
        return true;
      case ListKeyResult::Take:
        press(defaultButton() ? defaultButton() : kIdOkButton);
        return true;
      case ListKeyResult::Cancel:
        press(cancelButton());
        return true;
      case ListKeyResult::None:
        if (k == key::kEnter) return true;  // nothing selected: nothing to take
        break;
    }
  }
  if (k == key::kEscape) {
    press(cancelButton());
    return true;
  }
  if (k == key::kEnter) {
    if (c && c->kind == ControlKind::Button) press(c->id);
    else press(defaultButton() ? defaultButton() : kIdOkButton);
    return true;
  }
  if (c && c->kind == ControlKind::Edit) {
    std::string t = text(c->id);
    if (k == key::kBackspace) {
      t = base::withoutLastCharacter(t);
    } else if (k >= 0x20 && k < 0x100) {
      // A character key's code is its Windows-1252 byte; the text is UTF-8.
      t += platform::cp1252ToUtf8(std::string(1, static_cast<char>(k)));
    } else {
      return false;
    }
    type(c->id, t);
    return true;
  }
  if (k == ' ' && c && (c->kind == ControlKind::Button || c->kind == ControlKind::CheckBox ||
                        c->kind == ControlKind::Radio)) {
    press(c->id);
    return true;
  }
  if (c && c->kind == ControlKind::Radio && (k == key::kUp || k == key::kDown)) {
    moveFocus(k == key::kDown ? 1 : -1);
    return true;
  }
  return false;
}

void FormState::tick(std::uint64_t nowMs) {
  now_ = nowMs;
  // Collect first: a controller may start or stop timers while handling one.
  std::vector<int> due;
  for (auto& [id, t] : timers_)
    if (t.due <= nowMs) due.push_back(id);
  for (int id : due) {
    auto it = timers_.find(id);
    if (it == timers_.end() || ended()) continue;
    it->second.due = nowMs + static_cast<std::uint64_t>(it->second.intervalMs);
    controller_.onTimer(*this, id);
  }
}

}  // namespace ui
