#include "editor/program_lists.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "ui/host.hpp"
#include "ui/select_list.hpp"

namespace editor {

namespace {

constexpr int kMaxPrograms = 10;

}  // namespace

std::vector<std::string> programListNames(Engine& e, ProgramList which) {
  std::vector<std::string> names;
  if (which == ProgramList::Global) {
    const apps::AppCtl& a = e.ctx.app.appCtl();
    const int n = std::min(a.globalProgramCount(), kMaxPrograms);
    for (int i = 0; i < n; ++i) names.push_back(base::trimRight(a.globalProgram(i)));
  } else {
    const LevelState& s = e.level();
    if (!s.def) return names;
    const int n = std::min(s.def->info.programCount(), kMaxPrograms);
    for (int i = 0; i < n; ++i) names.push_back(base::trimRight(s.def->info.program(i)));
  }
  names.erase(std::remove(names.begin(), names.end(), std::string()), names.end());
  return names;
}

void programList(Engine& e, ProgramList which) {
  if (!e.hooks.programsAvailable()) {
    e.host.beep();
    return;
  }
  ui::SelectList list;
  list.title = kProgramListTitle;
  list.items = programListNames(e, which);
  list.footer = kProgramListFooter;
  if (list.items.empty()) return;
  const int chosen = ui::selectFromList(e.host, e.screen, e.keys, list);
  if (e.keys.aborted()) {
    e.aborted = true;
    return;
  }
  if (chosen < 1 || chosen > static_cast<int>(list.items.size())) return;
  (void)e.hooks.runProgram(e, ProgramUse::General, list.items[static_cast<std::size_t>(chosen - 1)]);
  if (e.level().open()) e.level().header().setRedrawScreen(true);
}

}  // namespace editor
