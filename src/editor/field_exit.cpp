#include "editor/field_exit.hpp"

#include "apps/layout.hpp"
#include "editor/commands.hpp"
#include "editor/events.hpp"
#include "editor/screen_draw.hpp"

namespace editor {

namespace lh = apps::layout::level_header;

bool keyLeavesLine(int displayType, ui::KeyCode key) { return leavesLine(key, isVirtualDisplay(displayType)); }

bool fieldExitEvents(Engine& e, ui::KeyCode key) {
  LevelState& s = e.level();
  if (!s.open() || key == 0 || key == ui::key::kRefresh || key == ui::key::kAbort) return true;
  const apps::LevelHeader& h = s.header();
  const bool changed = h.lineModified();
  bool ran = false;
  bool goOn = true;
  if ((changed || !keyLeavesLine(displayTypeOf(s, s.column()), key)) && levelHasProgram(e, lh::kEventFieldExit)) {
    ran = true;
    goOn = levelEvent(e, lh::kEventFieldExit);
  }
  // The first program may have changed the line too.
  if (goOn && (changed || s.header().lineModified()) && levelHasProgram(e, lh::kEventFieldExitChanged)) {
    ran = true;
    goOn = levelEvent(e, lh::kEventFieldExitChanged);
  }
  if (ran && !e.aborted && s.open()) drawCurrentLine(e);
  return goOn;
}

}  // namespace editor
