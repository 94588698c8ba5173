#pragma once
// The engine tests of moving between levels: a plot application of three
// levels (PLOTS, below it TREES and REGEN, below TREES the LOGS), a session
// run with hooks of the test's choosing and the right mouse button in its
// script, and the dataset's files read back from the data folder.
#include <string>
#include <vector>

#include "engine_fixture.hpp"

namespace editor_test {

// What the description of the plot application may change.
struct PlotApp {
  std::string plotSettings = R"({ "removeEmptyLines": true })";
  bool treesBlocked = false, regenBlocked = false;
};
std::string plotLevels(const PlotApp& options = {});

// The script key that stands for the right mouse button.
inline constexpr Key kRightClick{0, -1, -1};

class LevelTest : public EngineTest {
 protected:
  // The data file name of a table of the open dataset (8-bit, no folder).
  std::string dataFile(int level, const std::string& code, const std::string& keys, const std::string& table) const;
  std::string inFolder(const std::string& name) const;
  bool exists(const std::string& name) const;
  // The trimmed field texts of a table's records, read from a copy of its file.
  std::vector<std::vector<std::string>> records(const std::string& name);
  // Makes an empty file in the data folder.
  void touch(const std::string& name) const;

};

}  // namespace editor_test
