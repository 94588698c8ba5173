#include "editor/key_in_from_list.hpp"

#include <cstdio>

#include "base/text.hpp"
#include "editor/choice_rows.hpp"
#include "editor/column_values.hpp"
#include "editor/edit_text.hpp"
#include "editor/pick_from_check_file.hpp"
#include "editor/popup_box.hpp"
#include "tablestore/table_field.hpp"
#include "ui/select_list.hpp"

namespace editor {

namespace {

namespace k = ui::key;

std::string promptFor(const std::string& name) {
  char text[64];
  std::snprintf(text, sizeof text, kKeyInPrompt, base::trim(name).c_str());
  return text;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The first row whose code starts with what was typed (case ignored), so the
// list opens where the crew was heading; row 1 when none does.
int rowStartingWith(const std::vector<std::string>& codes, const std::string& typed) {
  const std::string want = base::trimRight(typed);
  if (want.empty()) return 1;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const std::string& c = codes[i];
    if (c.size() < want.size()) continue;
    bool same = true;
    for (std::size_t j = 0; j < want.size() && same; ++j) same = lowerAscii(c[j]) == lowerAscii(want[j]);
    if (same) return static_cast<int>(i) + 1;
  }
  return 1;
}

}  // namespace

ui::KeyCode keyInFromList(Engine& e, int column, tablestore::Table& checkFile) {
  LevelState& s = e.level();
  if (!s.def || column < 1 || column > s.columnCount()) return 0;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(column)];
  if (f.width < 1) return 0;

  KeyInRows built;
  {
    PopupBox building(e.screen, {kKeyInBuildingTitle, kPleaseWait});
    built = buildKeyInRows(checkFile);
  }
  if (built.rows.empty()) {
    s.header().setExitKey(0);
    return 0;
  }

  const apps::ColumnField* named = s.def->field(column);
  const std::string name = named ? named->name() : (f.field ? f.field->name() : std::string());
  PopupBox box(e.screen, {promptFor(name), kKeyInTabHint, kKeyInEnterHint, built.heading, ""}, f.width);
  CellSpot spot;
  spot.row = box.top() + 4;
  spot.col = box.left();
  const bool scrolls = box.width() < f.width;
  spot.shownWidth = scrolls ? box.width() : 0;
  FieldOptions opts;
  opts.width = f.width;
  const apps::ColumnCheck* c = s.def->check(column);
  opts.upperCase = c && c->upperCase();

  std::string text = fitToWidth(s.table ? currentText(s, column) : std::string(), f.width);
  for (;;) {
    bool changed = false;
    const ui::KeyCode key = scrolls ? editScrollText(e.field, spot, opts, text, changed)
                                    : editText(e.field, spot, opts, text, changed);
    if (key == k::kAbort || key == k::kEscape || key == k::kLeft || key == k::kRight) return key;
    if (key == k::kTab || key == k::kShiftTab) {
      ui::SelectList list;
      list.title = choicesFooter(static_cast<int>(built.rows.size()));
      list.footer = kKeyInEnterHint;
      list.items = built.rows;
      list.selected = rowStartingWith(built.codes, text);
      const int chosen = ui::selectFromList(e.host, e.screen, e.keys, list);
      if (e.keys.aborted()) return k::kAbort;
      if (chosen < 1 || chosen > static_cast<int>(built.codes.size())) continue;
      // Field 1 alone is the code; the rest of the row only describes it.
      text = built.codes[static_cast<std::size_t>(chosen - 1)];
    } else if (key != k::kEnter) {
      continue;  // no key of this box: keep editing
    }
    text = fitToWidth(text, f.width);
    s.editBuffer = text;
    s.header().setEditBuffer(text);
    s.header().setLineModified(true);
    return k::kEnter;
  }
}

}  // namespace editor
