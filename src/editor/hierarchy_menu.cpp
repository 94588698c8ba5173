#include "editor/hierarchy_menu.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/layout.hpp"
#include "base/text.hpp"
#include "datasets/data_session.hpp"
#include "datasets/level_codes.hpp"
#include "editor/level_moves.hpp"

namespace editor {

namespace {

constexpr int kFirstChildCommand = 40199;
constexpr int kSecondChildCommand = 40201;
constexpr int kFirstSiblingCommand = 40171;
constexpr int kLastSiblingCommand = 40197;
constexpr ui::KeyCode kAltF5 = ui::key::kAltF1 + 4 * 0x100;

struct Entry {
  int command = 0;
  int index = 0;  // the entry's number in the level's child or sibling list
  std::string name;
  bool blocked = false;
};

int entries(int count) { return std::clamp(count, 0, static_cast<int>(apps::layout::level_bct::kMaxChildren)); }

// The letter number of table name among the tables one level below
// parentCode in the application's hierarchy; 0 when it is not there.
int letterOf(const Engine& e, const std::string& parentCode, const std::string& name) {
  const int level = datasets::levelOfCode(parentCode) + 1;
  if (level < 2 || level > datasets::kMaxLevel) return 0;
  for (const apps::HierarchyEntry& h : e.ctx.app.hierarchy()) {
    const std::string code = datasets::normalLevelCode(h.code);
    if (datasets::levelOfCode(code) == level && code.compare(0, static_cast<std::size_t>(level - 1), parentCode, 0,
                                                             static_cast<std::size_t>(level - 1)) == 0 &&
        base::equalsNoCase(h.name, name))
      return datasets::letterNumberAt(code, level);
  }
  return 0;
}

// The children (sibling = false) or siblings of the current table, each
// with its command: by its letter where the hierarchy knows it, else by its
// place in the list (a letter taken twice keeps the first).
std::vector<Entry> listed(Engine& e, bool sibling) {
  std::vector<Entry> out;
  LevelState& s = e.level();
  if (!s.open()) return out;
  const apps::LevelBct& bct = s.def->bct;
  if (!sibling && !hasChildLevel(e)) return out;
  if (sibling && e.current < 2) return out;
  const datasets::LevelSlot* here = e.session.level(e.current);
  const datasets::LevelSlot* parent = e.session.level(e.current - 1);
  const std::string under = sibling ? (parent ? parent->code : std::string()) : (here ? here->code : std::string());
  const int count = entries(sibling ? bct.siblingCount() : bct.childCount());
  std::vector<bool> used(27, false);
  for (int i = 1; i <= count; ++i) {
    Entry x;
    x.index = i;
    x.name = base::trimRight(sibling ? bct.siblingName(i) : bct.childName(i));
    x.blocked = sibling ? bct.siblingBlocked(i) : bct.childBlocked(i);
    int letter = letterOf(e, under, x.name);
    if (letter == 0 || used[static_cast<std::size_t>(letter)]) letter = i;
    if (used[static_cast<std::size_t>(letter)]) continue;
    used[static_cast<std::size_t>(letter)] = true;
    x.command = sibling ? siblingCommand(letter) : childCommand(letter);
    out.push_back(x);
  }
  return out;
}

ui::MenuItem submenu(const char* label, const char* fallback, const std::vector<Entry>& list) {
  ui::MenuItem m;
  m.label = label;
  for (const Entry& x : list)
    m.items.push_back({x.command, x.name.empty() ? base::format("%s %d", fallback, x.index) : x.name, !x.blocked, {}});
  m.enabled = std::any_of(m.items.begin(), m.items.end(), [](const ui::MenuItem& i) { return i.enabled; });
  return m;
}

}  // namespace

int childCommand(int n) {
  if (n < 1 || n > datasets::kMaxChildren) return 0;
  return n == 1 ? kFirstChildCommand : kSecondChildCommand + n - 2;
}

int siblingCommand(int n) {
  if (n < 1 || n > datasets::kMaxChildren) return 0;
  return n == datasets::kMaxChildren ? kLastSiblingCommand : kFirstSiblingCommand + n - 1;
}

std::vector<ui::MenuItem> hierarchyMenu(Engine& e) {
  std::vector<ui::MenuItem> menu;
  menu.push_back({kParentCommand, "Parent", e.current > 1 && e.level().open(), {}});
  menu.push_back(submenu("Children", "child", listed(e, false)));
  menu.push_back(submenu("Siblings", "Sibling", listed(e, true)));
  return menu;
}

HierarchyMove hierarchyMove(Engine& e, int id) {
  using Change = Engine::LevelChange;
  if (id == 0 || !e.level().open()) return {};
  if (id == kParentCommand) return e.current < 2 ? HierarchyMove{} : HierarchyMove{ui::key::kF4, Change::Leave, 0};
  for (bool sibling : {false, true}) {
    for (const Entry& x : listed(e, sibling)) {
      if (x.command != id) continue;
      if (x.blocked) return {};
      return sibling ? HierarchyMove{kAltF5, Change::Sibling, x.index} : HierarchyMove{ui::key::kF5, Change::Child, x.index};
    }
  }
  return {};
}

bool hierarchyCommand(Engine& e, int id) {
  const HierarchyMove m = hierarchyMove(e, id);
  switch (m.change) {
    case Engine::LevelChange::Leave: (void)leaveWithChecks(e); return true;
    case Engine::LevelChange::Child: (void)childLevelTo(e, m.preselect); return true;
    case Engine::LevelChange::Sibling: (void)siblingJumpTo(e, m.preselect); return true;
    default: return false;
  }
}

}  // namespace editor
