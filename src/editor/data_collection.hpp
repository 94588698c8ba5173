#pragma once
// The data collection loop of one edit window: level 1 first, then down to
// child tables, sideways to siblings and back up again, up to level 5. Each
// open level has its edit state in Engine::levels, its definition in the
// application definition and its table in the data session. The parent
// levels' tables stay open (flushed) while a child is edited, with their
// current records, because the child's keys, parent fills and headings read
// them. A level left with no lines loses its data files.
#include <functional>
#include <string>

#include "editor/engine.hpp"

namespace editor {

// How the screens of a level are laid out again when the edit window's font
// could not show the design's screen format (see font_fit.hpp).
struct LevelLayout {
  bool reformat = false;
  int rows = 0, columns = 0;
};

enum class CollectionEnd {
  Left,     // level 1 was left
  Aborted,  // the abort code ended it
  Failed,   // level 1 could not be opened (shown)
};

// Runs the loop until level 1 is left or the session aborts. betweenCells,
// when set, runs after every cell's pass while the level stays open (the
// edit session forgets a hierarchy menu move whose key went elsewhere).
CollectionEnd collectData(Engine& e, const LevelLayout& layout, const std::function<void()>& betweenCells = {});

// The wildcard of every file of the dataset number/name in folder8 (8-bit):
// "NN ??????[name]*.*" (two digits, a blank, the level digit and code).
// Empty when the name could widen the match (it holds a wildcard or "]").
std::string datasetFilesMask(int datasetNumber, const std::string& datasetName);

}  // namespace editor
