#pragma once
// An engine on the level-1 table of a plot application (PLOTS: a 4-letter
// key, a numeric area with a range check, a note; below it TREES), with
// lines added and programs run on it directly, as a program picked from a
// program list runs: the built-ins then reach the real engine.
#include <string>

#include "editor/line_fixture.hpp"
#include "editor/movement.hpp"
#include "engine_program_hooks.hpp"

namespace runtime_test {

inline constexpr const char* kPlotLevels = R"([
  { "code": "A____", "table": "PLOTS", "settings": { "maxLines": 5 },
    "columns": [
      { "field": "PLOT", "width": 4 },
      { "field": "AREA", "type": "N", "width": 6, "decimals": 2,
        "check": { "type": "range", "min": 0, "max": 100 } },
      { "field": "NOTE", "width": 8 } ] },
  { "code": "AA___", "table": "TREES",
    "columns": [
      { "field": "PLOT", "width": 4, "fieldType": "skipped", "fill": "parent", "parent": "PLOTS.PLOT" },
      { "field": "TREE", "width": 3 } ] } ])";

class EngineProgramTest : public editor_test::LineEngineTest {
 protected:
  // The plot level with three lines P1 (10.5), P2 (20), P3 (blank area), line 1 current.
  void startPlots() {
    startEngine(kPlotLevels, hooks);
    addLines({{{"PLOT", "P1"}, {"AREA", "10.5"}, {"NOTE", "first"}},
              {{"PLOT", "P2"}, {"AREA", "20"}},
              {{"PLOT", "P3"}}});
  }
  ProgramRun run(const std::string& source) { return runOnEngine(source, e(), machine); }

  ProgramHooks hooks;
  runtime::Machine machine;
};

}  // namespace runtime_test
