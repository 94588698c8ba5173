// F7 and F8: the program lists of the application and of the current level,
// what runs when one is chosen, and what happens when none can be.
#include <gtest/gtest.h>

#include "editor/program_lists.hpp"
#include "engine_fixture.hpp"
#include "fake_programs.hpp"

namespace {

using editor_test::EngineTest;
using editor_test::FakePrograms;
using editor_test::Key;
using editor_test::typed;
namespace k = ui::key;
using Names = std::vector<std::string>;

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const char* kLevel = R"([ { "code": "A____", "table": "PLOTS",
    "screens": [ { "type": "virtual", "promptRow": 24 } ],
    "columns": [
      { "field": "PLOT", "width": 4, "title": "Plot" },
      { "field": "NOTE", "width": 10, "title": "Note" }
    ] } ])";

class ProgramLists : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    buildApp(kLevel);
    openDataset();
    apps::LevelInfo& info = ctx.app.level(1)->info;
    info.setProgramCount(2);
    info.setProgram(0, "TALLY");
    info.setProgram(1, "CHECKS");
    apps::AppCtl& a = ctx.app.appCtl();
    a.setGlobalProgramCount(3);
    a.setGlobalProgram(0, "REPORT");
    a.setGlobalProgram(1, "");  // an empty slot is not offered
    a.setGlobalProgram(2, "EXPORT");
  }
  FakePrograms programs;
};

TEST_F(ProgramLists, OffersTheNamesOfTheDefinition) {
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  editor::Engine e(host, ctx, session, programs, screen, keys);
  e.levels[1].def = ctx.app.level(1);
  EXPECT_EQ(editor::programListNames(e, editor::ProgramList::Global), (Names{"REPORT", "EXPORT"}));
  EXPECT_EQ(editor::programListNames(e, editor::ProgramList::Level), (Names{"TALLY", "CHECKS"}));
  // A count beyond the ten slots is held to them.
  ctx.app.level(1)->info.setProgramCount(40);
  EXPECT_LE(editor::programListNames(e, editor::ProgramList::Level).size(), 10u);
}

TEST_F(ProgramLists, F7RunsTheChosenGlobalProgramAndRedrawsTheScreen) {
  programs.onRun = [](editor::Engine& e) { e.screen.clearScreen(); };
  run(typed("1") + std::vector<Key>{{k::kF7}, {k::kDown}, {k::kEnter}, {k::kRight}}, programs);
  ASSERT_EQ(programs.names(), (Names{"EXPORT"}));
  EXPECT_EQ(programs.runs[0].use, editor::ProgramUse::General);
  EXPECT_TRUE(shownBeforeAnyKey("< Select Program >"));
  EXPECT_TRUE(shownBeforeAnyKey("< Esc - Abort >"));
  EXPECT_TRUE(shownBeforeAnyKey("REPORT"));
  // The program cleared the screen; the grid's titles are back.
  bool titles = false;
  for (int row = 1; row <= 25; ++row) titles = titles || screenRow(row).find("Plot") != std::string::npos;
  EXPECT_TRUE(titles);
}

TEST_F(ProgramLists, F8ListsTheLevelsPrograms) {
  run(std::vector<Key>{{k::kF8}, {k::kEnter}}, programs);
  ASSERT_EQ(programs.names(), (Names{"TALLY"}));
  EXPECT_TRUE(shownBeforeAnyKey("CHECKS"));
}

TEST_F(ProgramLists, EscapeOrAnEmptyListRunsNothing) {
  ctx.app.level(1)->info.setProgramCount(0);
  const int beeps = host.beeps();
  run(std::vector<Key>{{k::kF7}, {k::kEscape}, {k::kF8}, {k::kRight}}, programs);
  EXPECT_TRUE(programs.runs.empty());
  EXPECT_EQ(host.beeps(), beeps);
}

TEST_F(ProgramLists, WithoutRuntimeProgramsTheKeysBeep) {
  programs.available = false;
  const int beeps = host.beeps();
  run(std::vector<Key>{{k::kF7}, {k::kF8}}, programs);
  EXPECT_TRUE(programs.runs.empty());
  EXPECT_EQ(host.beeps(), beeps + 2);
  EXPECT_FALSE(shownBeforeAnyKey("< Select Program >"));
}

TEST_F(ProgramLists, AFailedRunIsNotReportedASecondTime) {
  programs.answers = {{{true, true, 1}, 0}};
  run(std::vector<Key>{{k::kF7}, {k::kEnter}}, programs);
  ASSERT_EQ(programs.names(), (Names{"REPORT"}));
  EXPECT_TRUE(host.shown().empty()) << "the run entry has told the crew already";
}

}  // namespace
