#include "ui/form.hpp"

namespace ui {

const Control* Form::find(int id) const {
  for (const Control& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

Control* Form::find(int id) {
  for (Control& c : controls)
    if (c.id == id) return &c;
  return nullptr;
}

Control defaultButton(int id, std::string text, Rect rect) {
  Control c{id, ControlKind::Button, std::move(text), rect};
  c.defaultButton = true;
  return c;
}

Control cancelButton(int id, std::string text, Rect rect) {
  Control c{id, ControlKind::Button, std::move(text), rect};
  c.cancelButton = true;
  return c;
}

Form entryForm(int resource, std::string caption, Control label, Control entry, int width) {
  Form f;
  f.resource = resource;
  f.caption = std::move(caption);
  f.size = {0, 0, width, 62};
  const int left = width / 2 - 58;
  f.firstFocus = entry.id;
  f.controls = {std::move(label), std::move(entry), defaultButton(kIdOkButton, "OK", {left, 40, 50, 14}),
                cancelButton(kIdCancelButton, "Cancel", {left + 66, 40, 50, 14})};
  return f;
}

namespace {
char fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
}  // namespace

ListKeyResult listKey(const std::vector<std::string>& items, int selection, KeyCode key) {
  ListKeyResult r;
  r.selection = selection;
  const int n = static_cast<int>(items.size());
  switch (key) {
    case key::kEnter:
      r.action = selection >= 0 && selection < n ? ListKeyResult::Take : ListKeyResult::None;
      return r;
    case key::kEscape:
      r.action = ListKeyResult::Cancel;
      return r;
    case key::kUp:
    case key::kWheelForward:
      if (n > 0 && selection > 0) {
        r.selection = selection - 1;
        r.action = ListKeyResult::Moved;
      }
      return r;
    case key::kDown:
    case key::kWheelBack:
      if (n > 0 && selection < n - 1) {
        r.selection = selection + 1;
        r.action = ListKeyResult::Moved;
      }
      return r;
    default:
      break;
  }
  if (key >= 0x21 && key < 0x100 && n > 0) {
    char wanted = fold(static_cast<char>(key));
    for (int step = 1; step <= n; ++step) {
      int i = (selection + step) % n;
      if (i < 0) i += n;
      if (!items[static_cast<std::size_t>(i)].empty() && fold(items[static_cast<std::size_t>(i)][0]) == wanted) {
        r.selection = i;
        r.action = ListKeyResult::Moved;
        return r;
      }
    }
  }
  return r;
}

}  // namespace ui
