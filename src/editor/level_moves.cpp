#include "editor/later_commands.hpp"

#include "config/prompts.hpp"
#include "editor/line_ops.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

void leaveLevel(Engine& e) {
  LevelState& s = e.level();
  if (!s.header().checkOnLeave()) {
    if (config::warn(e.host, "Exit Without Missing", " Data Checks? (Y/N)", 0, true, false) != 1) return;
  }
  if (!storeLine(e)) {
    e.host.beep();
    return;
  }
  if (s.header().removeEmptyLines()) removeTrailingEmptyLines(e);
  (void)s.table->flush();
  s.header().setLeaveLevel(true);
}


void checkAndLeave(Engine& e) { e.host.beep(); }
void childLevel(Engine& e) { e.host.beep(); }
void siblingJump(Engine& e) { e.host.beep(); }

}  // namespace editor
