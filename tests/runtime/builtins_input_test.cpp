// The built-ins that ask the crew: a text or a number keyed with the field
// editors at the cursor, the Y/N prompt and the pick from the string list.
#include <gtest/gtest.h>

#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

namespace k = ui::key;
using runtime_test::SessionRig;

TEST(InputBuiltins, ATextIsKeyedAtTheCursorAndComesBackWithoutTrailingBlanks) {
  SessionRig rig;
  rig.screen.gotoCell(10, 5);
  rig.script.type("ab").then([&] {
    // The field is drawn as the editors draw the cell being edited.
    EXPECT_EQ(rig.row(10).substr(4, 6), "ab    ");
    EXPECT_EQ(rig.screen.at(10, 5).bg, ui::kBlack);
  }).type("c").key(k::kEnter);
  EXPECT_EQ(rig.callText(91, {SessionRig::num(6), SessionRig::num(0)}), "abc");
  EXPECT_EQ(rig.m.status, 0);
  EXPECT_EQ(rig.row(10).substr(4, 6), "abc   ");
  EXPECT_EQ(rig.screen.at(10, 5).bg, rig.screen.backColour());  // drawn plain once entered
  EXPECT_EQ(rig.screen.col(), 11);
}

TEST(InputBuiltins, KeysThatLeaveTheEditorKeepTheFieldOpenUntilEnterOrEscape) {
  SessionRig rig;
  rig.screen.gotoCell(3, 1);
  rig.script.type("ab").key(k::kUp).key(k::kTab).key(k::kEnter);
  EXPECT_EQ(rig.callText(91, {SessionRig::num(5), SessionRig::num(0)}), "ab");

  rig.script.type("zz").key(k::kEscape);
  EXPECT_EQ(rig.callText(91, {SessionRig::num(5), SessionRig::num(0)}), "");
  EXPECT_EQ(rig.m.status, runtime::kErrUserAborted);
  EXPECT_EQ(rig.m.runError, 0);  // Escape does not stop the run
}

TEST(InputBuiltins, ANumberIsKeyedWithItsWidthAndDecimals) {
  SessionRig rig;
  rig.screen.gotoCell(4, 10);
  rig.script.type("12.5").key(k::kEnter);
  EXPECT_DOUBLE_EQ(rig.call(92, {SessionRig::num(7), SessionRig::num(2)}), 12.5);
  EXPECT_EQ(rig.row(4).substr(9, 7), "  12.50");

  rig.script.type("3").key(k::kEscape);
  EXPECT_EQ(rig.call(92, {SessionRig::num(7), SessionRig::num(2)}), 0);
  EXPECT_EQ(rig.m.status, runtime::kErrUserAborted);
}

TEST(InputBuiltins, AFieldThatCannotBeShownIsRefusedWithStatus17) {
  SessionRig rig;
  rig.screen.gotoCell(4, 78);
  for (auto [n, width] : {std::pair{92, 5}, {91, 0}, {92, 0}, {91, -3}}) {
    rig.m.status = 0;
    rig.call(n, {SessionRig::num(width), SessionRig::num(0)});
    EXPECT_EQ(rig.m.status, runtime::kErrColumnRange) << n << " " << width;
  }
  EXPECT_EQ(rig.host.pumps(), 0);  // no key was waited for
}

TEST(InputBuiltins, TheEntriesFromAValueStartFromItAndStoreIntoTheVariable) {
  SessionRig rig;
  rig.screen.gotoCell(2, 2);
  const auto code = rig.stringVar("PIPO", 8);
  rig.script.key(k::kEnter);  // taken as it stands
  EXPECT_EQ(rig.callText(162, {code, SessionRig::num(6), SessionRig::num(0)}), "PIPO");
  rig.script.type("ABGR").key(k::kEnter);
  EXPECT_EQ(rig.callText(162, {code, SessionRig::num(6), SessionRig::num(0)}), "ABGR");
  EXPECT_EQ(rig.stringVarText(code), "ABGR");
  rig.script.type("XX").key(k::kEscape);
  EXPECT_EQ(rig.callText(162, {code, SessionRig::num(6), SessionRig::num(0)}), "");
  EXPECT_EQ(rig.stringVarText(code), "ABGR");  // Escape leaves the variable

  const auto dbh = rig.numVar(3);
  rig.script.key(k::kEnter);
  EXPECT_DOUBLE_EQ(rig.call(163, {dbh, SessionRig::num(5), SessionRig::num(1)}), 3);
  rig.script.type("17.2").key(k::kEnter);
  EXPECT_DOUBLE_EQ(rig.call(163, {dbh, SessionRig::num(5), SessionRig::num(1)}), 17.2);
  EXPECT_DOUBLE_EQ(rig.numVarValue(dbh), 17.2);
  // A value wider than the field starts the entry empty.
  const auto wide = rig.numVar(123456);
  rig.script.key(k::kEnter);
  EXPECT_EQ(rig.call(163, {wide, SessionRig::num(3), SessionRig::num(0)}), 0);
}

TEST(InputBuiltins, TheAbortCodeDuringAnEntryStopsTheRun) {
  SessionRig rig;
  rig.screen.gotoCell(2, 2);
  rig.script.type("ab");  // then the script runs dry: the queue is aborted
  rig.call(91, {SessionRig::num(5), SessionRig::num(0)});
  EXPECT_EQ(rig.m.runError, runtime::kErrUserAborted);
  EXPECT_TRUE(rig.e.aborted);
}

TEST(PromptBuiltin, AsksYesOrNoInABoxOnTheScreen) {
  SessionRig rig;
  rig.script.then([&] {
    EXPECT_TRUE(rig.onScreen("Delete tree 4?"));
    EXPECT_TRUE(rig.onScreen("Y or N"));
  }).type("xN");
  EXPECT_EQ(rig.call(104, {rig.text("Delete tree 4?"), rig.text("Y or N")}), 0);
  EXPECT_FALSE(rig.onScreen("Delete tree 4?"));  // the screen beneath is back
  rig.script.key('y');
  EXPECT_EQ(rig.call(104, {rig.text("Delete tree 4?"), rig.text("Y or N")}), 1);
  rig.script.key(k::kEscape);  // only the two letters answer
  rig.call(104, {rig.text("a"), rig.text("b")});
  EXPECT_EQ(rig.m.runError, runtime::kErrUserAborted);  // the script ran dry
}

TEST(PromptBuiltin, WithoutTheEditWindowAMessageBoxAsks) {
  SessionRig rig;
  rig.run.engine = nullptr;
  rig.window.reset();
  rig.host.expectOnce("Keep going?", ui::kIdYes).expectOnce("Keep going?", ui::kIdNo);
  EXPECT_EQ(rig.call(104, {rig.text("Keep going?"), rig.text("")}), 1);
  EXPECT_EQ(rig.call(104, {rig.text("Keep going?"), rig.text("")}), 0);
}

TEST(PickBuiltins, TheStringListIsShownAndTheChoiceComesBackFromZero) {
  SessionRig rig;
  rig.m.stringList = {"alpha", "beta", "gamma"};
  rig.script.then([&] {
    EXPECT_TRUE(rig.onScreen("Species"));
    EXPECT_TRUE(rig.onScreen("gamma"));
    EXPECT_TRUE(rig.onScreen("<Esc>"));
  }).key(k::kDown).key(k::kDown).key(k::kEnter);
  EXPECT_EQ(rig.call(143, {rig.text("Species"), rig.text("<Esc>")}), 2);
  EXPECT_FALSE(rig.onScreen("gamma"));
  rig.script.key('b').key(k::kEnter);
  EXPECT_EQ(rig.call(143, {rig.text("Species"), rig.text("")}), 1);
  rig.script.key(k::kEscape);
  EXPECT_EQ(rig.call(143, {rig.text("Species"), rig.text("")}), -1);
  EXPECT_EQ(rig.m.runError, 0);

  rig.m.stringList.clear();
  EXPECT_EQ(rig.call(143, {rig.text("Species"), rig.text("")}), -1);  // nothing to choose
}

TEST(PickBuiltins, TheListAtTheCursorPutsItsTitleThere) {
  SessionRig rig;
  rig.m.stringList = {"one", "two"};
  rig.screen.gotoCell(6, 30);
  rig.script.then([&] { EXPECT_EQ(rig.row(6).substr(29, 5), "Pick!"); }).key(k::kEnter);
  EXPECT_EQ(rig.call(144, {rig.text("Pick!"), rig.text("")}), 0);
  rig.keys.abort();
  EXPECT_EQ(rig.call(144, {rig.text("Pick!"), rig.text("")}), 0);
  EXPECT_EQ(rig.m.runError, runtime::kErrUserAborted);
}

}  // namespace
