#include "editor/pick_from_check_file.hpp"

#include <cstdio>

#include "config/prompts.hpp"
#include "editor/popup_box.hpp"
#include "ui/select_list.hpp"

namespace editor {

std::string choicesFooter(int count) {
  char text[32];
  std::snprintf(text, sizeof text, "< Choices:%d >", count);
  return text;
}

std::int64_t pickFromCheckFile(Engine& e, tablestore::Table& checkFile, int memoryRows) {
  PickRows built;
  {
    PopupBox building(e.screen, {kPickBuildingTitle, kPleaseWait});
    built = buildPickRows(checkFile, e.screen.cols() - 4, memoryRows);
  }
  if (built.noTitle) {
    e.screen.gotoCell(2, 2);
    e.screen.putText(kNoMemoryForList);
    e.host.beep();
    return 0;
  }
  if (built.partial) config::warn(e.host, kPartialListLine1, kPartialListLine2, 0, false, false);
  if (built.rows.empty()) return 0;
  ui::SelectList list;
  list.title = built.title;
  list.footer = choicesFooter(static_cast<int>(built.rows.size()));
  list.items = std::move(built.rows);
  list.selected = 1;
  const int chosen = ui::selectFromList(e.host, e.screen, e.keys, list);
  if (e.keys.aborted()) {
    e.aborted = true;
    return 0;
  }
  if (chosen < 1 || chosen > static_cast<int>(built.records.size())) return 0;
  return built.records[static_cast<std::size_t>(chosen - 1)];
}

}  // namespace editor
