#include "editor/line_checks.hpp"

#include <string>
#include <vector>

#include "apps/layout.hpp"
#include "base/text.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/events.hpp"
#include "editor/field_formats.hpp"
#include "editor/line_ops.hpp"
#include "editor/popup_box.hpp"
#include "editor/timers.hpp"
#include "editor/value_checks.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

namespace lh = apps::layout::level_header;

const std::vector<std::string> kCheckingBox = {"< Processing >", "  Checking For", "  Missing Data",
                                               "              ", "Line:       "};
const std::vector<std::string> kRevalidatingBox = {"< Processing >", "  Checking For  ", "  Missing Data  ",
                                                   "and Revalidating", "Line:       "};
constexpr int kLineRow = 4;     // the box's "Line:" row below its title
constexpr int kLineColumn = 6;  // after "Line: "

bool required(const LevelState& s, int k) {
  const apps::ColumnCheck* c = s.def->check(k);
  const apps::ColumnDef* d = s.def->def(k);
  return c && c->checkEmpty() && !(d && d->hidden()) && c->fieldType() != kTypeSkipped;
}

bool blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// Whether a check program of the level asks to stay. These programs answer
// the other way round from the other level events: a non-zero result means
// stay, so levelEvent's "goes on" (non-zero, or a failed run) is "stay"
// here. Without runtime programs no check program runs and none holds the
// crew on the level.
bool programSaysStay(Engine& e, int event) {
  const apps::LevelHeader& h = e.level().header();
  if (!e.hooks.programsAvailable() || !h.hasEventProgram(event)) return false;
  if (base::trimRight(h.eventProgram(event)).empty()) return false;
  return levelEvent(e, event);
}

void backTo(LevelState& s, std::int32_t line, int column) {
  s.header().setCurLine(line);
  s.header().setCurColumn(column);
}

// The missing-data check of every line in the box; false on the first
// failing line, which is then the current line with the cursor on its cell.
bool checkEveryLine(Engine& e) {
  LevelState& s = e.level();
  const std::int32_t line = s.line();
  const int column = s.column();
  HeldLine held(s);
  bool ok = true;
  std::int32_t failed = 0;
  int failedColumn = 0;
  {
    PopupBox box(e.screen, s.header().revalidate() ? kRevalidatingBox : kCheckingBox);
    for (std::int32_t n = 1; n <= s.lineCount(); ++n) {
      if (box.shown()) {
        e.screen.gotoCell(box.top() + kLineRow, box.left() + kLineColumn);
        e.screen.putText(base::format("%4ld", static_cast<long>(n)));
      }
      held.restore(n);
      if (s.table->recordNumber() != n) continue;  // an unreadable record: the store has said why
      s.header().setCurLine(n);
      refreshColumnValues(s);
      // The current line's states are those it shows; the others get theirs.
      if (n != line) (void)evaluateColumnStates(e);
      if (!checkLine(e, true, true)) {
        ok = false;
        failed = n;
        failedColumn = s.column();
        break;
      }
    }
  }
  if (ok) {
    held.restore(line);
    backTo(s, line, column);
    refreshColumnValues(s);
    (void)evaluateColumnStates(e);
    return true;
  }
  // The cursor goes to the failing line; the line it leaves keeps its changes.
  if (failed != line) {
    (void)held.store();
    held.restore(failed);
    (void)enterLine(e, failed);
  } else {
    held.restore(line);
    refreshColumnValues(s);
    (void)evaluateColumnStates(e);
  }
  backTo(s, failed, failedColumn);
  s.header().setRedrawLines(true);
  return false;
}

}  // namespace

bool checkLine(Engine& e, bool missing, bool leaving) {
  LevelState& s = e.level();
  if (!s.open() || s.line() < 1) return true;
  refreshColumnValues(s);
  if (!missing) return true;
  const int column = s.column();
  const int timer = leaving ? runningTimer(e) : 0;
  for (int k = 1; k <= s.columnCount(); ++k) {
    if (k == timer) {
      s.header().setCurColumn(k);
      return false;
    }
    // A column is empty when its text is blank: a number keyed as 0 is data.
    if (!required(s, k)) continue;
    std::string text = currentText(s, k);
    if (!blank(text)) continue;
    const apps::ColumnCheck* c = s.def->check(k);
    s.header().setCurColumn(k);
    if (c->checkType() == 0) return false;
    if (!c->overrideEmpty() && !standardChecks(e, k, text)) return false;
    s.header().setCurColumn(column);
  }
  if (s.header().revalidate()) {
    for (int k = 1; k <= s.columnCount(); ++k) {
      const apps::ColumnCheck* c = s.def->check(k);
      if (!c || !c->unique()) continue;
      const std::string text = currentText(s, k);
      if (blank(text)) continue;
      if (!uniqueCheck(e, k, text)) {
        s.header().setCurColumn(k);
        return false;
      }
    }
  }
  return true;
}

bool checkLevel(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return true;
  const std::int32_t line = s.line();
  const int column = s.column();
  if (programSaysStay(e, lh::kEventBeforeCheck)) {
    backTo(s, line, column);
    return false;
  }
  const apps::LevelHeader& h = s.header();
  const bool instead = e.hooks.programsAvailable() && h.hasEventProgram(lh::kEventInsteadOfCheck) &&
                       !base::trimRight(h.eventProgram(lh::kEventInsteadOfCheck)).empty();
  if (instead) {
    if (programSaysStay(e, lh::kEventInsteadOfCheck)) {
      backTo(s, line, column);
      return false;
    }
  } else if (!checkEveryLine(e)) {
    return false;
  }
  if (programSaysStay(e, lh::kEventAfterCheck)) return false;
  backTo(s, line, column);
  return true;
}

}  // namespace editor
