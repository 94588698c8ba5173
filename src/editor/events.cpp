#include "editor/events.hpp"

#include "apps/layout.hpp"
#include "base/text.hpp"

namespace editor {

namespace lh = apps::layout::level_header;

bool levelHasProgram(Engine& e, int event) {
  const LevelState& s = e.level();
  return s.open() && s.header().hasEventProgram(event) && !base::trimRight(s.header().eventProgram(event)).empty();
}

bool levelEvent(Engine& e, int event) {
  LevelState& s = e.level();
  if (!levelHasProgram(e, event)) return true;
  const std::string name = base::trimRight(s.header().eventProgram(event));
  // A failing program puts the cursor back where it was.
  const std::int32_t line = s.line();
  const int column = s.column();
  const ProgramUse use = event == lh::kEventFieldExit || event == lh::kEventFieldExitChanged
                             ? ProgramUse::FieldExit
                         : event == lh::kEventLineEntry || event == lh::kEventLineExit
                             ? ProgramUse::LineEvent
                             : ProgramUse::General;
  ProgramResult r = e.hooks.runProgram(e, use, name);
  if (r.ran && r.failed) {
    s.header().setCurLine(line);
    s.header().setCurColumn(column);
  }
  return accepted(r);
}

ProgramResult columnEvent(Engine& e, int k, int event) {
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def ? s.def->check(k) : nullptr;
  if (!c || !c->hasProgram(event)) return {};
  const std::string name = base::trimRight(c->program(event));
  if (name.empty()) return {};
  return e.hooks.runProgram(e, ProgramUse::General, name);
}

}  // namespace editor
