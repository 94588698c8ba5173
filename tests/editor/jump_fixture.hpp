#pragma once
// Engine tests that look at one level's edit state directly: the application
// is built and the dataset opened as for a keyed session, then level 1's
// edit state is opened over its table so that values can be set on a line
// and the column states or jumps evaluated without keys.
#include <string>

#include "editor/column_states.hpp"
#include "editor/level_state.hpp"
#include "engine_fixture.hpp"

namespace editor_test {

class LevelStateTest : public EngineTest {
 protected:
  // Opens level 1's edit state over its table (after buildApp and
  // openDataset) and gives it one blank line, the current one.
  void openLevel1();
  // Writes text into column k of the current line (as a stored value would be).
  void set(int k, const std::string& text);
  // The trimmed text of column k of the current line.
  std::string text(int k) const;
  // Column k's working field type and required flag.
  int fieldType(int k) const;
  bool required(int k) const;

  editor::OpenLevels levels;
  editor::LevelState& s = levels[1];
};

}  // namespace editor_test
