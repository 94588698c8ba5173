// The screen and key built-ins from a column's program in a running edit
// session: what the program draws stays until it asks for the level's screen
// again, and the keys it reads are the crew's, taken from the same queue.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "editor/engine_fixture.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_image.hpp"
#include "runtime/run_context.hpp"
#include "session_rig.hpp"

namespace {

namespace k = ui::key;
using editor_test::Key;
using editor_test::typed;
using runtime::StackEntry;

// The program of the column's entry event, played by built-in calls: it
// draws a text, waits for a key, reads the level's exit key and the cursor,
// and draws the level's screen again.
class DrawingProgram : public editor::EngineHooks {
 public:
  editor::ProgramResult runProgram(editor::Engine& e, editor::ProgramUse, const std::string& name) override {
    ++runs;
    programName = name;
    runtime::ProgramImage image;
    image.data.assign(1024, 0);
    const char text[] = "PROGRAM WAS HERE";
    std::memcpy(image.data.data() + 600, text, sizeof text);
    runtime::Machine m;
    m.image = &image;
    runtime::RunContext ctx;
    ctx.engine = &e;
    StackEntry constant;
    constant.tag = runtime::kTagConstant;
    constant.bits = 600;
    cursorBefore = {e.screen.row(), e.screen.col()};
    runtime_test::callBuiltin(m, ctx, 105, {constant, StackEntry::number(12), StackEntry::number(30)});
    drawn = e.screen.rowText(12).find(text) != std::string::npos;
    cursorAfter = {e.screen.row(), e.screen.col()};
    key = runtime_test::callBuiltin(m, ctx, 84, {});
    stillDrawn = e.screen.rowText(12).find(text) != std::string::npos;
    runtime_test::callBuiltin(m, ctx, 82, {StackEntry::number(0)});
    redrawnAway = e.screen.rowText(12).find(text) == std::string::npos;
    m.image = nullptr;
    return {true, false, 0};
  }
  bool programsAvailable() const override { return true; }

  int runs = 0;
  std::string programName;
  std::array<int, 2> cursorBefore{}, cursorAfter{};
  double key = 0;
  bool drawn = false, stillDrawn = false, redrawnAway = false;
};

class ProgramOnScreen : public editor_test::EngineTest {};

TEST_F(ProgramOnScreen, WhatAProgramDrawsStaysUntilItAsksForTheLevelsScreenAgain) {
  // The hooks play the program; the package only has to carry a file of its name.
  std::ofstream(dir.file("DRAW"), std::ios::binary) << "program";
  buildApp(R"([ { "code": "A____", "table": "PLOTS", "columns": [
      { "field": "NAME", "width": 8, "programs": { "entry": "DRAW" } } ] } ])",
           "[]", R"(["DRAW"])");
  openDataset();
  DrawingProgram program;
  std::vector<Key> keys = typed("q");
  keys.push_back({k::kEscape});
  EXPECT_EQ(run(keys, program), editor::EditSession::End::Left);
  EXPECT_FALSE(ranDry());
  EXPECT_GE(program.runs, 1);
  EXPECT_EQ(program.programName, "DRAW");
  EXPECT_TRUE(program.drawn);
  EXPECT_EQ(program.cursorAfter, program.cursorBefore);
  EXPECT_EQ(program.key, 'q');
  EXPECT_TRUE(program.stillDrawn);
  EXPECT_TRUE(program.redrawnAway);
}

}  // namespace
