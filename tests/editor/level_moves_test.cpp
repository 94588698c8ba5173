// Moving down to child tables, sideways to siblings and back up through the
// whole engine, and what each move leaves in the data folder.
#include <gtest/gtest.h>

#include "apps/layout.hpp"
#include "base/text.hpp"
#include "datasets/child_choice.hpp"
#include "editor/data_collection.hpp"
#include "level_fixture.hpp"

namespace {

using editor_test::Key;
using editor_test::LevelTest;
using editor_test::typed;
using End = editor::EditSession::End;
namespace k = ui::key;
constexpr ui::KeyCode kAltF5 = 0x6C00;

std::vector<Key> operator+(std::vector<Key> a, const std::vector<Key>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const std::vector<Key> kEnter{{k::kEnter}}, kF5{{k::kF5}}, kEscape{{k::kEscape}};

class Levels : public LevelTest {
 protected:
  void open(const editor_test::PlotApp& options = {}) {
    buildApp(editor_test::plotLevels(options));
    openDataset();
    host.expect("Exit Without Missing", ui::kIdYes);
  }
  // The next "Select Child" list takes its entry index (0 TREES, 1 REGEN).
  void pickChild(int index) {
    host.onForm(datasets::kChildListResource, [index](ui::FormState& f) {
      f.select(datasets::kChildListControl, index);
      f.press(ui::kIdOkButton);
    });
  }
  int childLists() const {
    int n = 0;
    for (const auto& f : host.forms()) n += f.resource == datasets::kChildListResource;
    return n;
  }
  std::string trees(const std::string& plot) const { return dataFile(2, "AA___", plot, "TREES"); }
  std::string regen(const std::string& plot) const { return dataFile(2, "AB___", plot, "REGEN"); }
};

TEST_F(Levels, F5OpensThePlotsTreesAndEscapeComesBackToTheSameCell) {
  open();
  pickChild(0);
  // The note typed after coming back lands in the column F5 was pressed on.
  EXPECT_EQ(run(typed("P1") + kEnter + kF5 + typed("T1") + kEnter + kEscape + typed("x") + kEnter + kEscape),
            End::Left);
  EXPECT_FALSE(ranDry());
  ASSERT_TRUE(exists(trees("P1  ")));
  auto treeRows = records(trees("P1  "));
  ASSERT_EQ(treeRows.size(), 1u);
  EXPECT_EQ(treeRows[0][1], "T1");
  auto plots = level1Records();
  ASSERT_EQ(plots.size(), 1u);
  EXPECT_EQ(plots[0][0], "P1");
  EXPECT_EQ(plots[0][1], "x");
}

TEST_F(Levels, TwoPlotsKeepTheirTreesApart) {
  open();
  pickChild(0);
  pickChild(0);
  const std::vector<Key> nextPlot{{k::kDown}, {k::kHome}};
  EXPECT_EQ(run(typed("P1") + kEnter + kF5 + typed("T1") + kEnter + kEscape + nextPlot + typed("P2") + kEnter + kF5 +
                 typed("T2") + kEnter + kEscape + kEscape),
            End::Left);
  EXPECT_FALSE(ranDry());
  auto first = records(trees("P1  ")), second = records(trees("P2  "));
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(first[0][1], "T1");
  EXPECT_EQ(second[0][1], "T2");
}

TEST_F(Levels, AltF5FromTreesGoesToTheRegenerationOfTheSamePlot) {
  open();
  pickChild(0);
  EXPECT_EQ(run(typed("P1") + kEnter + kF5 + typed("T1") + kEnter + std::vector<Key>{{kAltF5}} + typed("R1") +
                 kEnter + kEscape + kEscape),
            End::Left);
  EXPECT_FALSE(ranDry());
  auto regenRows = records(regen("P1  "));
  ASSERT_EQ(regenRows.size(), 1u);
  EXPECT_EQ(regenRows[0][1], "R1");
  EXPECT_EQ(records(trees("P1  ")).size(), 1u);
}

TEST_F(Levels, AChildLevelLeftWithoutLinesLosesItsFile) {
  open();
  pickChild(0);
  pickChild(1);
  EXPECT_EQ(run(typed("P1") + kEnter + kF5 + kEscape + kF5 + typed("R1") + kEnter + kEscape + kEscape), End::Left);
  EXPECT_FALSE(ranDry());
  EXPECT_FALSE(exists(trees("P1  ")));
  EXPECT_TRUE(exists(regen("P1  ")));
}

TEST_F(Levels, ADatasetLeftEmptyLosesOnlyItsOwnFiles) {
  open();
  const int other = session.datasetNumber % 99 + 1;
  const std::string sameNameOtherNumber =
      base::format("%02d 1A____[Test]%s~~PLOTS.dbf", other, session.unitCode.c_str());
  const std::string otherName =
      base::format("%02d 1A____[Tester]%s~~PLOTS.dbf", session.datasetNumber, session.unitCode.c_str());
  const std::string ownChild = trees("P9  ");
  touch(sameNameOtherNumber);
  touch(otherName);
  touch(ownChild);
  const std::string own = session.level(1)->fileName;
  EXPECT_EQ(run(kEscape), End::Left);
  EXPECT_FALSE(exists(own));
  EXPECT_FALSE(exists(ownChild));
  EXPECT_FALSE(exists(base::format("%02d 1A____[Test]%s#$$DataAppVer.dbf", session.datasetNumber,
                                   session.unitCode.c_str())));
  EXPECT_TRUE(exists(sameNameOtherNumber));
  EXPECT_TRUE(exists(otherName));
}

TEST_F(Levels, EveryChildBlockedKeepsTheCrewOnThePlot) {
  editor_test::PlotApp app;
  app.treesBlocked = app.regenBlocked = true;
  open(app);
  EXPECT_EQ(run(typed("P1") + kEnter + kF5 + typed("q") + kEscape), End::Left);  // q ends the warning
  EXPECT_TRUE(shownBeforeAnyKey("All Children"));
  EXPECT_TRUE(shownBeforeAnyKey("Are Blocked"));
  EXPECT_EQ(childLists(), 0);
  EXPECT_FALSE(exists(trees("P1  ")));
}

// A program hook that refuses the first call of each program and counts
// the GPS requirement, which it refuses once too.
class RefuseOnce : public editor::EngineHooks {
 public:
  editor::ProgramResult runProgram(editor::Engine&, editor::ProgramUse, const std::string& name) override {
    ++programs;
    last = name;
    return {true, false, programs == 1 ? 0 : 1};
  }
  bool lineMoveAllowed(editor::Engine&, editor::LineMove) override { return ++gps > 1 || !gpsRefusal; }
  int programs = 0, gps = 0;
  bool gpsRefusal = false;
  std::string last;
};

TEST_F(Levels, EscapeOnALevelCheckedOnLeavingRunsTheLeavingChecks) {
  editor_test::PlotApp app;
  app.plotSettings = R"({ "checkOnLeave": true })";
  buildApp(editor_test::plotLevels(app));
  openDataset();
  app.plotSettings.clear();
  ctx.app.level(1)->header.setEventProgram(apps::layout::level_header::kEventBeforeLeave, "STAY");
  RefuseOnce hooks;
  hooks.gpsRefusal = true;
  // No "Exit Without Missing" question: the scripted host would fail on it.
  EXPECT_EQ(run(typed("P1") + kEnter + kEscape + kEscape + kEscape, hooks), End::Left);
  EXPECT_FALSE(ranDry());
  EXPECT_GE(hooks.gps, 3);       // refused, then met twice
  EXPECT_EQ(hooks.programs, 2);  // the before-leaving program refused once
  EXPECT_EQ(hooks.last, "STAY");
  EXPECT_EQ(level1Records().size(), 1u);
}

TEST_F(Levels, TheRightButtonMenuMovesWithoutASecondList) {
  open();
  // Level 1 lists "Children: TREES", "Children: REGEN" (Parent is disabled);
  // on REGEN "Parent" comes first.
  EXPECT_EQ(run(typed("P1") + kEnter + std::vector<Key>{editor_test::kRightClick, {k::kDown}, {k::kEnter}} +
                 typed("R1") + kEnter + std::vector<Key>{editor_test::kRightClick, {k::kEnter}} + kEscape),
            End::Left);
  EXPECT_FALSE(ranDry());
  EXPECT_EQ(childLists(), 0);
  auto regenRows = records(regen("P1  "));
  ASSERT_EQ(regenRows.size(), 1u);
  EXPECT_EQ(regenRows[0][1], "R1");
}

TEST(DatasetFilesMask, CarriesTheNumberAndRefusesNamesThatWidenIt) {
  EXPECT_EQ(editor::datasetFilesMask(7, "North Block"), "07 ??????[North Block]*.*");
  EXPECT_EQ(editor::datasetFilesMask(7, "a*"), "");
  EXPECT_EQ(editor::datasetFilesMask(7, "a]b"), "");
  EXPECT_EQ(editor::datasetFilesMask(100, "North"), "");
}

}  // namespace

namespace {

// A running stopwatch keeps the crew on the level until it is stopped.
class TimedLevel : public editor_test::EngineTest {};

TEST_F(TimedLevel, LeavingWhileATimerRunsIsRefusedUntilItStops) {
  buildApp(R"([ { "code": "A____", "table": "PLOTS", "columns": [
      { "field": "NAME", "width": 8 },
      { "field": "SECS", "type": "N", "width": 6, "fieldType": "timer" } ] } ])");
  openDataset();
  constexpr ui::KeyCode kCtrlT = 20;
  // On the timer: start it, F4 is refused (a key puts the warning away);
  // stop it, F4 leaves.
  std::vector<Key> keys =
      typed("a") + std::vector<Key>{{k::kEnter}, {kCtrlT}, {ui::key::kF4}, {' '}, {kCtrlT}, {ui::key::kF4}};
  EXPECT_EQ(run(keys), End::Left);
  EXPECT_FALSE(ranDry());
  EXPECT_TRUE(shownBeforeAnyKey("Timers Active"));
  const auto records = level1Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][0], "a");
  EXPECT_FALSE(records[0][1].empty());
  EXPECT_NE(records[0][1].front(), '-');  // stopped: the elapsed seconds
}

}  // namespace
