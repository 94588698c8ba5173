#include "editor/search_column.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/text.hpp"
#include "editor/edit_number.hpp"
#include "editor/edit_text.hpp"
#include "editor/field_formats.hpp"
#include "editor/find_line.hpp"
#include "editor/later_commands.hpp"
#include "editor/line_ops.hpp"
#include "editor/movement.hpp"
#include "editor/popup_box.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

namespace k = ui::key;

constexpr const char* kTitleLine = "< Search: F7=Binary >";
constexpr const char* kColumnLine = "Col:%2d %s";
constexpr const char* kForLine = "For:              ";
constexpr const char* kTabLine = "Tab ->/<- Change Col";
constexpr const char* kKeysLine = "< F5-1st F6-Next >";
constexpr const char* kSearching = "   Searching   ";
constexpr const char* kNotFound = "Not Found !";
constexpr int kNotFoundTenths = 150;  // 1.5 s
constexpr int kShownMax = 18;         // a longer search text scrolls in its cell
constexpr int kTextRow = 3;           // the box line that holds the search text

bool searchable(const LevelState& s, int k) {
  const apps::ColumnCheck* c = s.def->check(k);
  const apps::ColumnDef* d = s.def->def(k);
  return c && d && c->fieldType() != kTypeSkipped && !d->hidden();
}

std::string columnLine(const LevelState& s, int k) {
  const apps::ColumnField* f = s.def->field(k);
  std::string title = f ? base::trim(f->title()) : std::string();
  if (title.empty() && f) title = base::trim(f->name());
  char text[80];
  std::snprintf(text, sizeof text, kColumnLine, k, title.c_str());
  return text;
}

// One round of the dialogue: the box with the search text edited in it.
// Returns the key that ended the edit; text holds what was keyed.
ui::KeyCode editInBox(Engine& e, int col, std::string& text) {
  LevelState& s = e.level();
  const FieldDesc& f = s.fields[static_cast<std::size_t>(col)];
  const bool number = searchesByNumber(s, col);
  const int width = static_cast<int>(text.size());
  const int shown = number ? width : std::min(width, kShownMax);
  PopupBox box(e.screen, {kTitleLine, columnLine(s, col), kForLine, "", kTabLine, kKeysLine}, shown);
  CellSpot spot;
  spot.row = box.top() + kTextRow;
  spot.col = box.left();
  spot.shownWidth = shown < width ? shown : 0;
  FieldOptions opts;
  opts.width = width;
  opts.decimals = number ? f.decimals : 0;
  opts.numericField = f.type == 'N';
  const apps::ColumnCheck* c = s.def->check(col);
  opts.upperCase = !number && c && c->upperCase();
  bool changed = false;
  if (number) return editNumber(e.field, spot, opts, text, changed);
  if (spot.shownWidth > 0) return editScrollText(e.field, spot, opts, text, changed);
  return editText(e.field, spot, opts, text, changed);
}

enum class Step { Again, Searched, Done };

}  // namespace

int nextSearchColumn(const LevelState& s, int k, int step) {
  if (!s.def || step == 0) return k;
  const apps::LevelHeader& h = s.header();
  const int first = std::max<int>(h.firstEnterableColumn(), 1);
  const int last = std::min<int>(h.lastEnterableColumn(), s.columnCount());
  for (int c = k + step; c >= first && c <= last; c += step) {
    if (searchable(s, c)) return c;
  }
  return k;
}

void searchColumn(Engine& e) {
  LevelState& s = e.level();
  if (!s.open() || s.lineCount() < 1 || s.columnCount() < 1) {
    e.host.beep();
    return;
  }
  // A new level (or the first search) starts at the current column afresh.
  if (e.searchLevel != e.current || e.searchColumn < 1 || e.searchColumn > s.columnCount()) {
    e.searchLevel = e.current;
    e.searchColumn = s.column();
    e.searchText = blankSearchText(s, e.searchColumn);
  }
  bool stored = false;
  std::int32_t found = 0;
  for (Step step = Step::Again; step == Step::Again;) {
    const int col = e.searchColumn;
    std::string text = fitToWidth(e.searchText, static_cast<int>(blankSearchText(s, col).size()));
    const ui::KeyCode key = editInBox(e, col, text);
    if (key == k::kAbort) {
      e.aborted = true;
      return;
    }
    e.searchText = text;
    switch (key) {
      case k::kTab:
      case k::kCtrlRight:
      case k::kShiftTab:
      case k::kCtrlLeft: {
        const int to = nextSearchColumn(s, col, key == k::kTab || key == k::kCtrlRight ? 1 : -1);
        if (to != col) {
          e.searchColumn = to;
          e.searchText = blankSearchText(s, to);
        }
        break;
      }
      case k::kEscape: step = Step::Done; break;
      case k::kF5:
      case k::kF6:
      case k::kF7: {
        // The line being edited is written first, so the search reads it as stored.
        if (!stored) {
          if (!storeLine(e)) {
            e.host.beep();
            return;
          }
          stored = true;
        }
        if (key == k::kF5) {
          PopupBox busy(e.screen, {kSearching});
          found = findFromLine(s, col, 1, text);
        } else if (key == k::kF6) {
          found = findFromLine(s, col, std::min(s.line() + 1, s.lineCount()), text);
        } else {
          found = findByHalving(s, col, text);
        }
        if (found != 0) {
          step = Step::Searched;
          break;
        }
        warnOnScreen(e, {base::trim(text), kNotFound}, kNotFoundTenths);
        if (e.keys.aborted()) {
          e.aborted = true;
          return;
        }
        break;
      }
      default: break;  // no key of this box: edit again
    }
  }
  if (found != 0) {
    (void)enterLine(e, found);
    s.header().setCurColumn(e.searchColumn);
    clampPosition(e);
  } else if (stored) {
    (void)enterLine(e, s.line());  // the line was left for the search: enter it again
  }
}

}  // namespace editor
