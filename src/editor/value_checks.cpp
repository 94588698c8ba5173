#include "editor/value_checks.hpp"

#include "apps/layout.hpp"
#include "editor/check_or_ask.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/events.hpp"
#include "editor/screen_draw.hpp"

namespace editor {

namespace cc = apps::layout::column_check;

bool standardChecks(Engine& e, int k, std::string& text) { return checkOrAsk(e, k, text); }

bool uniqueCheck(Engine& e, int k, const std::string& text) {
  // The level-wide scan for another line with the same value comes with the
  // line operations; until then a unique column accepts every value.
  (void)e;
  (void)k;
  (void)text;
  return true;
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
