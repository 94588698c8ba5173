#include "editor/later_commands.hpp"

#include "editor/column_lists.hpp"
#include "editor/show_limits.hpp"
#include "ui/host.hpp"

namespace editor {

void showDataLimits(Engine& e) {
  if (showLimits(e) == LimitsShown::kListWanted) (void)pickFromColumnList(e);
}
void chooseFromList(Engine& e) { keyInColumnList(e); }
void searchColumn(Engine& e) { e.host.beep(); }
void checkAndLeave(Engine& e) { e.host.beep(); }
void childLevel(Engine& e) { e.host.beep(); }
void siblingJump(Engine& e) { e.host.beep(); }
void goToLinePrompt(Engine& e) { e.host.beep(); }
void insertLine(Engine& e) { e.host.beep(); }
void deleteLine(Engine& e) { e.host.beep(); }
void autoEntryMenu(Engine& e) { e.host.beep(); }
void timerKey(Engine& e, int) { e.host.beep(); }

}  // namespace editor
