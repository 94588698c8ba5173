#pragma once
// The hierarchy menu of the edit window (menu resource 300), opened with the
// right mouse button: "Parent", the "Children" of the current table and its
// "Siblings", each entry named by its table. A child's or sibling's command
// carries its letter in the hierarchy (hierarchy.ctl; the entry's place in
// the level's list when the hierarchy does not know it). Choosing an entry
// makes the same move as F4, F5 or Alt+F5 with that table taken, without a
// second list.
#include <vector>

#include "editor/engine.hpp"
#include "ui/edit_window.hpp"

namespace editor {

inline constexpr int kHierarchyMenuResource = 300;
inline constexpr int kParentCommand = 40143;

// The command of child letter number n (1-26): 40199, then 40201-40226
// (40200 is not used); 0 outside 1-26.
int childCommand(int n);
// The command of sibling letter number n (1-26): 40171-40195, then 40197
// (40196 is not used); 0 outside 1-26.
int siblingCommand(int n);

// The menu for the current level: "Parent" (enabled below level 1), a
// "Children" submenu (enabled entries for the tables that are not blocked;
// empty and disabled on a level without children) and a "Siblings" submenu
// likewise.
std::vector<ui::MenuItem> hierarchyMenu(Engine& e);

// What the menu's command id asks of the current level: the key of the
// move (F4, F5 or Alt+F5) and, for a child or sibling, the entry it takes
// (Engine::change and changeNumber before the key; see level_moves.hpp).
// Key 0 when id is none of the menu's enabled commands.
struct HierarchyMove {
  ui::KeyCode key = 0;
  Engine::LevelChange change = Engine::LevelChange::None;
  int preselect = 0;
};
HierarchyMove hierarchyMove(Engine& e, int id);

// Performs the menu's command id on the current level at once. True when id
// is one of the menu's enabled commands (the move itself may still be
// refused by the level's checks); false, with nothing done, otherwise.
bool hierarchyCommand(Engine& e, int id);

}  // namespace editor
