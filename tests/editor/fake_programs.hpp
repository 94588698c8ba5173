#pragma once
// Program hooks for the engine tests: each run is recorded with where the
// cursor stood, and answered from a script of results (a program that
// accepts when the script is used up). A scripted answer may also move the
// cursor first, as a program that fails half way would.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "editor/engine.hpp"
#include "editor/engine_hooks.hpp"

namespace editor_test {

class FakePrograms : public editor::EngineHooks {
 public:
  struct Run {
    editor::ProgramUse use;
    std::string name;
    int column = 0;
    std::int32_t line = 0;
    bool lineModified = false;
  };
  struct Answer {
    editor::ProgramResult result{true, false, 1};
    int moveToColumn = 0;  // > 0: the program set the column before it ended
  };

  editor::ProgramResult runProgram(editor::Engine& e, editor::ProgramUse use, const std::string& name) override {
    editor::LevelState& s = e.level();
    runs.push_back({use, name, s.column(), s.line(), s.header().lineModified()});
    if (onRun) onRun(e);
    if (answers.empty()) return {true, false, 1};
    Answer a = answers.front();
    answers.pop_front();
    if (a.moveToColumn > 0) s.header().setCurColumn(a.moveToColumn);
    return a.result;
  }
  bool programsAvailable() const override { return available; }

  // The names of the runs, in order.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const Run& r : runs) out.push_back(r.name);
    return out;
  }

  std::vector<Run> runs;
  std::deque<Answer> answers;
  std::function<void(editor::Engine&)> onRun;  // what every run does besides answering
  bool available = true;
};

inline FakePrograms::Answer refuses() { return {{true, false, 0}, 0}; }
inline FakePrograms::Answer failsAfterMovingTo(int column) { return {{true, true, 1}, column}; }

}  // namespace editor_test
