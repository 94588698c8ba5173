// The level's field-exit programs: when they run (after each field, unless
// an unchanged line is left; the second only on a changed line), what a
// refusal does to the key, and the cursor after a program that failed.
#include <gtest/gtest.h>

#include "apps/layout.hpp"
#include "editor/field_exit.hpp"
#include "engine_fixture.hpp"
#include "fake_programs.hpp"

namespace {

using editor_test::EngineTest;
using editor_test::FakePrograms;
using editor_test::Key;
using editor_test::typed;
namespace k = ui::key;

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<Key> operator+(std::vector<Key> a, ui::KeyCode code) {
  a.push_back({code});
  return a;
}

std::string countsLevel(const std::string& screenType) {
  return R"([ { "code": "A____", "table": "COUNTS",
      "screens": [ { "type": ")" + screenType + R"(", "promptRow": 24 } ],
      "columns": [
        { "field": "A", "type": "N", "width": 4, "title": "A" },
        { "field": "B", "type": "N", "width": 4, "title": "B" },
        { "field": "C", "type": "N", "width": 4, "title": "C" },
        { "field": "D", "type": "N", "width": 4, "title": "D" }
      ] } ])";
}

using Names = std::vector<std::string>;

TEST(KeysThatLeaveTheLine, FollowTheDisplayType) {
  constexpr int kVirtual = 0, kLine = 1;
  const ui::KeyCode both[] = {k::kPageUp, k::kPageDown, k::kF2, k::kMouseDoubleClick, k::kF3,
                              0x2100 /* Alt+F */, 6 /* Ctrl+F */, 12 /* Ctrl+L */, k::kF6, k::kF7,
                              k::kF8, k::kF9, k::kF10, k::kEscape};
  for (ui::KeyCode key : both) {
    EXPECT_TRUE(editor::keyLeavesLine(kVirtual, key)) << key;
    EXPECT_TRUE(editor::keyLeavesLine(kLine, key)) << key;
    EXPECT_TRUE(editor::keyLeavesLine(2, key)) << key;
  }
  // On a form these move between columns.
  for (ui::KeyCode key : {k::kUp, k::kDown, k::kCtrlPageUp, k::kCtrlPageDown}) {
    EXPECT_TRUE(editor::keyLeavesLine(kVirtual, key)) << key;
    EXPECT_FALSE(editor::keyLeavesLine(kLine, key)) << key;
  }
  for (ui::KeyCode key : {k::kEnter, k::kRight, k::kLeft, k::kTab, k::kHome, k::kEnd, k::kF1, k::kF4,
                          k::kF5, k::kMouseClick, ui::KeyCode{'x'}}) {
    EXPECT_FALSE(editor::keyLeavesLine(kVirtual, key)) << key;
    EXPECT_FALSE(editor::keyLeavesLine(kLine, key)) << key;
  }
}

namespace lh = apps::layout::level_header;

class FieldExit : public EngineTest {
 protected:
  // The application built from the level, its field-exit programs named.
  void open(const std::string& screenType) {
    buildApp(countsLevel(screenType));
    openDataset();
    ctx.app.level(1)->header.setEventProgram(lh::kEventFieldExit, "FX");
    ctx.app.level(1)->header.setEventProgram(lh::kEventFieldExitChanged, "FXC");
  }
};

TEST_F(FieldExit, BothProgramsRunAfterAKeyedValueBeforeTheKeyMoves) {
  open("virtual");
  FakePrograms programs;
  run(typed("5") + k::kEnter, programs);
  EXPECT_TRUE(ranDry());
  ASSERT_EQ(programs.names(), (Names{"FX", "FXC"}));
  for (const FakePrograms::Run& r : programs.runs) {
    EXPECT_EQ(r.use, editor::ProgramUse::FieldExit);
    EXPECT_EQ(r.column, 1) << "the programs run before Enter moves on";
    EXPECT_TRUE(r.lineModified);
  }
}

TEST_F(FieldExit, AnUnchangedLineLeftByAKeyRunsNoProgram) {
  open("virtual");
  FakePrograms programs;
  // Down on the fresh line leaves it unchanged; Right stays on the line.
  run(std::vector<Key>{{k::kRight}, {k::kDown}}, programs);
  ASSERT_EQ(programs.names(), (Names{"FX"}));
  EXPECT_FALSE(programs.runs[0].lineModified);
  EXPECT_EQ(programs.runs[0].column, 1);
}

TEST_F(FieldExit, OnAFormUpAndDownStayOnTheLineSoTheProgramRuns) {
  open("line");
  FakePrograms programs;
  run(std::vector<Key>{{k::kDown}, {k::kDown}, {k::kPageDown}}, programs);
  // PageDown leaves the unchanged line: no third run.
  ASSERT_EQ(programs.names(), (Names{"FX", "FX"}));
  EXPECT_EQ(programs.runs[0].column, 1);
  EXPECT_EQ(programs.runs[1].column, 2);
}

TEST_F(FieldExit, AChangedLineRunsTheFirstProgramEvenForALeavingKey) {
  open("virtual");
  FakePrograms programs;
  run(typed("5") + k::kDown, programs);
  ASSERT_EQ(programs.names(), (Names{"FX", "FXC"}));
}

TEST_F(FieldExit, ARefusalCancelsTheKeyAndTheCursorStays) {
  open("virtual");
  FakePrograms programs;
  programs.answers = {editor_test::refuses()};
  run(typed("5") + k::kEnter + k::kEnter + typed("7") + k::kEnter, programs);
  // Refused: no second program, Enter did nothing; then accepted twice.
  ASSERT_EQ(programs.names(), (Names{"FX", "FX", "FXC", "FX", "FXC"}));
  EXPECT_EQ(programs.runs[1].column, 1);
  EXPECT_EQ(programs.runs[3].column, 2);
}

TEST_F(FieldExit, AFailedProgramPutsTheCursorBackAndCountsAsAccepted) {
  open("virtual");
  FakePrograms programs;
  programs.answers = {editor_test::failsAfterMovingTo(4)};
  run(typed("5") + k::kEnter + typed("7") + k::kEnter, programs);
  ASSERT_EQ(programs.names(), (Names{"FX", "FXC", "FX", "FXC"}));
  EXPECT_EQ(programs.runs[1].column, 1) << "the failed run's move was undone";
  EXPECT_EQ(programs.runs[2].column, 2) << "and Enter went on from there";
}

TEST_F(FieldExit, WithoutProgramsTheKeysWorkAsBefore) {
  open("virtual");
  ctx.app.level(1)->header.setEventProgram(lh::kEventFieldExit, "");
  ctx.app.level(1)->header.setEventProgram(lh::kEventFieldExitChanged, "");
  FakePrograms programs;
  run(typed("5") + k::kEnter + typed("7") + k::kEnter, programs);
  EXPECT_TRUE(programs.runs.empty());
  EXPECT_TRUE(ranDry()) << "the keys were all taken";
}

}  // namespace
