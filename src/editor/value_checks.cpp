#include "editor/value_checks.hpp"

#include <algorithm>

#include "apps/layout.hpp"
#include "base/text.hpp"
#include "config/prompts.hpp"
#include "editor/field_formats.hpp"
#include "editor/popup_box.hpp"
#include "tablestore/table.hpp"
#include "editor/check_or_ask.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/events.hpp"
#include "editor/screen_draw.hpp"

namespace editor {

namespace cc = apps::layout::column_check;

constexpr int kUniqueWarnTime = 250;  // 2.5 s

bool standardChecks(Engine& e, int k, std::string& text) { return checkOrAsk(e, k, text); }

bool uniqueCheck(Engine& e, int k, const std::string& text) {
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def->check(k);
  if (!c || k > s.columnCount()) return true;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  // A blank cell holds no entry, so it cannot repeat one.
  if (text.find_first_not_of(' ') == std::string::npos) return true;
  const bool number = f.type == 'N' || c->fieldType() == kTypeNumeric;
  const double value = number ? valueOfText(s, k, text) : 0.0;
  // The typed text as the field would hold it.
  const std::string wanted = base::trimRight(text.substr(0, static_cast<std::size_t>(std::max(f.width, 0))));
  bool clash = false;
  {
    PopupBox box(e.screen, {"< Proccessing >", "Checking For", "Unique Entry", "Line:       "});
    std::string record;
    for (std::int32_t n = 1; n <= s.lineCount() && !clash; ++n) {
      if (n == s.line()) continue;  // the line's own value is no conflict
      if (box.shown()) {
        e.screen.gotoCell(box.top() + 3, box.left() + 6);
        e.screen.putText(base::format("%4ld", static_cast<long>(n)));
      }
      if (s.table->peekRecord(n, record) != 0) continue;
      const std::string other = fieldText(s, k, record);
      if (other.find_first_not_of(' ') == std::string::npos) continue;
      clash = number ? valueOfText(s, k, other) == value : base::trimRight(other) == wanted;
    }
  }
  if (!clash) return true;
  config::warn(e.host, "Entry Must", "Be Unique", kUniqueWarnTime, false, false);
  return false;
}

bool acceptValue(Engine& e, int k, std::string text) {
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def->check(k);
  if (!c) return false;
  s.editBuffer = text;
  s.header().setEditBuffer(text);  // where programs read the value
  if (!accepted(columnEvent(e, k, cc::kEventValidateBefore))) return false;
  ProgramResult instead = columnEvent(e, k, cc::kEventValidateInstead);
  if (instead.ran) {
    if (!accepted(instead)) return false;
  } else if (!standardChecks(e, k, s.editBuffer)) {
    return false;
  }
  if (!accepted(columnEvent(e, k, cc::kEventAfterChecks))) return false;
  if (c->unique() && !uniqueCheck(e, k, s.editBuffer)) return false;
  if (!writeColumnText(s, k, s.editBuffer)) {
    e.host.beep();
    return false;
  }
  drawCell(e, k);
  // A stored value may switch other columns' states before the cursor moves
  // on, whichever way it came (typed, a clock fill, copied from above, a list).
  (void)evaluateColumnStates(e);
  return true;
}

}  // namespace editor
