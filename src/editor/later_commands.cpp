#include "editor/later_commands.hpp"

#include "editor/column_lists.hpp"
#include "editor/show_limits.hpp"
#include "ui/host.hpp"

namespace editor {

void showDataLimits(Engine& e) {
  if (showLimits(e) == LimitsShown::kListWanted) (void)pickFromColumnList(e);
}
void chooseFromList(Engine& e) { keyInColumnList(e); }

}  // namespace editor
