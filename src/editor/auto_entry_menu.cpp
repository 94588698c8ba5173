#include "editor/auto_entry_menu.hpp"

#include <algorithm>

#include "editor/field_formats.hpp"
#include "editor/later_commands.hpp"
#include "ui/host.hpp"
#include "ui/select_list.hpp"

namespace editor {

namespace {

constexpr int kMaxMenuKind = 2;  // none, copy, increment

}  // namespace

bool autoEntryOffered(const LevelState& s, int k) {
  const apps::ColumnCheck* c = s.def ? s.def->check(k) : nullptr;
  if (!c || k > s.columnCount()) return false;
  const int type = c->fieldType();
  return !c->unique() && c->checkType() == 0 && c->fillKind() >= 0 && c->fillKind() <= kMaxMenuKind &&
         (type < kTypeSensor || type > kTypeTimeMs);
}

void restoreFillKinds(LevelState& s) {
  if (!s.def) return;
  const int c = std::min(s.def->lastColumn(), static_cast<int>(s.untouched.size()) - 1);
  for (int k = 1; k <= c; ++k) {
    s.def->checks[static_cast<std::size_t>(k)].setFillKind(s.untouched[static_cast<std::size_t>(k)].fillKind());
  }
}

void autoEntryMenu(Engine& e) {
  LevelState& s = e.level();
  const int k = s.column();
  if (!s.open() || !autoEntryOffered(s, k)) {
    e.host.beep();
    return;
  }
  apps::ColumnCheck& c = s.def->checks[static_cast<std::size_t>(k)];
  ui::SelectList list;
  list.title = "<Auto Entry>";
  list.items = {"None     ", "Auto Copy"};
  if (s.fields[static_cast<std::size_t>(k)].type == 'N') list.items.emplace_back("Auto Incr");
  list.footer = "< Select >";
  list.selected = c.fillKind() + 1;
  const int chosen = ui::selectFromList(e.host, e.screen, e.keys, list);
  if (e.keys.aborted()) {
    e.aborted = true;
    return;
  }
  if (chosen < 1 || chosen > static_cast<int>(list.items.size())) return;
  c.setFillKind(static_cast<std::int16_t>(chosen - 1));
}

}  // namespace editor
