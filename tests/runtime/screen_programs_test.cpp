// Programs in the text form that draw on the edit session's Screen, read the
// crew's keys, ask for entries, prompts and picks: run through the loader and
// the interpreter, so what is checked is the program's behaviour end to end
// (arguments in their order, results assigned and used, statuses that do not
// stop the run, the abort code that does).
#include <gtest/gtest.h>

#include <string>

#include "editor/screen_draw.hpp"
#include "engine_program_fixture.hpp"
#include "program_rig.hpp"
#include "runtime/builtin_table.hpp"
#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

namespace k = ui::key;
using runtime_test::ProgramRun;
using runtime_test::SessionRig;

ProgramRun runIn(SessionRig& rig, const std::string& source) { return runtime_test::runProgram(source, rig.m, rig.run); }

bool haveBuiltins(std::initializer_list<int> numbers) {
  for (int n : numbers)
    if (!runtime::builtinTable()[static_cast<std::size_t>(n)]) return false;
  return true;
}

TEST(ScreenPrograms, TextAndNumberGoToTheirCellsInTheMachinesColoursAndTheCursorStays) {
  SessionRig rig;
  rig.screen.gotoCell(5, 7);
  rig.screen.setTextColour(ui::kBlack);
  rig.screen.setBackColour(ui::kWhite);
  // The colours a program set in an earlier run; they outlive the run's reset.
  rig.m.textColour = ui::kRed;
  rig.m.backColour = ui::kYellow;
  const ProgramRun r = runIn(rig, R"(
str name[10] = "PIPO"
num dbh = 12.25
num row
num col
    svar name
    push 3
    push 10
    call printAt/3/0
    get dbh
    push 2
    op *
    push 4
    push 20
    push 8
    push 2
    call printNumberAt/5/0
    ref row
    call cursorRow
    op =
    ref col
    call cursorColumn
    op =
    push "lost"          ; a row past the screen: status 17, the run goes on
    push 26
    push 1
    call printAt/3/0
    push "after"
    push 6
    push 76
    call printAt/3/0
    push 1
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_TRUE(r.outcome.ended);
  EXPECT_EQ(rig.row(3).substr(8, 6), " PIPO ");
  EXPECT_EQ(rig.row(4).substr(19, 8), "   24.50");
  EXPECT_EQ(rig.row(6).substr(75), "after");
  EXPECT_FALSE(rig.onScreen("lost"));
  for (int col : {10, 13}) {
    EXPECT_EQ(rig.screen.at(3, col).fg, ui::kRed);
    EXPECT_EQ(rig.screen.at(3, col).bg, ui::kYellow);
  }
  EXPECT_EQ(rig.screen.at(4, 27).fg, ui::kRed);
  EXPECT_EQ(rig.screen.at(3, 14).bg, ui::kWhite);  // only the text's cells
  // The program saw the engine's cursor, which is where it was after the run.
  EXPECT_EQ(r.number("row"), 5);
  EXPECT_EQ(r.number("col"), 7);
  EXPECT_EQ(rig.screen.row(), 5);
  EXPECT_EQ(rig.screen.col(), 7);
  EXPECT_EQ(rig.screen.textColour(), ui::kBlack);
  EXPECT_EQ(rig.screen.backColour(), ui::kWhite);
  EXPECT_EQ(rig.m.status, runtime::kErrColumnRange);
}

TEST(ScreenPrograms, ALoopFillsTheScreenThenARectangleAndTheWholeScreenAreCleared) {
  SessionRig rig;
  const std::string bar(80, '#');
  const std::string fill = R"(
num r = 1
num rows
num cols
str bar[81] = ")" + bar + R"("
    ref rows
    call screenRows
    op =
    ref cols
    call screenColumns
    op =
    while
        get r
        get rows
        op <=
    do
        svar bar
        get r
        push 1
        call printAt/3/0
        ref r
        op ++
    loop
)";
  ProgramRun r = runIn(rig, fill + R"(
    push 2          ; top
    push 3          ; left
    push 4          ; bottom
    push 5          ; right
    call clearRect/4/0
    push 5          ; the wrong way round: nothing cleared
    push 1
    push 3
    push 3
    call clearRect/4/0
    push 1
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("rows"), 25);
  EXPECT_EQ(r.number("cols"), 80);
  EXPECT_EQ(r.number("r"), 26);
  EXPECT_EQ(rig.row(1), bar);
  EXPECT_EQ(rig.row(2).substr(0, 6), "##   #");
  EXPECT_EQ(rig.row(3).substr(0, 6), "##   #");
  EXPECT_EQ(rig.row(4).substr(0, 6), "##   #");
  EXPECT_EQ(rig.row(5), bar);
  EXPECT_EQ(rig.row(25), bar);
  EXPECT_EQ(rig.m.status, runtime::kErrColumnRange);

  r = runIn(rig, fill + "    call cls/0/0\n    push 1\n    end\n");
  ASSERT_EQ(r.error(), 0);
  EXPECT_FALSE(rig.onScreen("#"));
  EXPECT_EQ(rig.m.status, 0);  // the new run started with no status
}

TEST(ScreenPrograms, TheCursorAProgramPlacesIsWhereItsEntryIsKeyed) {
  SessionRig rig;
  rig.script.type("ab").key(k::kEnter).type("12.5").key(k::kEnter);
  const ProgramRun r = runIn(rig, R"(
str code[8]
num dbh
num twice
    push 10
    push 5
    call gotoCell/2/0
    svar code
    push 6
    push 0
    call inputText
    op =
    push 11
    push 5
    call gotoCell/2/0
    ref dbh
    push 7
    push 2
    call inputNumber
    op =
    ref twice
    get dbh
    push 2
    op *
    op =
    svar code            ; the entry used: written back beside the number
    push 11
    push 20
    call printAt/3/0
    get twice
    push 12
    push 20
    push 6
    push 1
    call printNumberAt/5/0
    push 1
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.text("code"), "ab");
  EXPECT_DOUBLE_EQ(r.number("dbh"), 12.5);
  EXPECT_DOUBLE_EQ(r.number("twice"), 25);
  EXPECT_EQ(rig.row(10).substr(4, 6), "ab    ");
  EXPECT_EQ(rig.row(11).substr(4, 7), "  12.50");
  EXPECT_EQ(rig.row(11).substr(19, 3), "ab ");
  EXPECT_EQ(rig.row(12).substr(19, 6), "  25.0");
  EXPECT_EQ(rig.m.status, 0);
  EXPECT_EQ(rig.script.left(), 0u);
}

TEST(ScreenPrograms, AnEscapedEntryIsAStatusTheProgramTestsWhileTheAbortCodeStopsTheRun) {
  SessionRig rig;
  const std::string program = R"(
num n = 99
num after
    push 3
    push 3
    call gotoCell/2/0
    ref n
    push 5
    push 0
    call inputNumber
    op =
    ref after
    push 1
    op =
    get n
    push 1
    op +
    end
)";
  rig.script.type("7").key(k::kEscape);
  ProgramRun r = runIn(rig, program);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("n"), 0);
  EXPECT_EQ(r.number("after"), 1);
  EXPECT_EQ(r.outcome.value, 1);
  EXPECT_EQ(rig.m.status, runtime::kErrUserAborted);

  rig.script.type("7");  // then the script runs dry: the abort code
  r = runIn(rig, program);
  EXPECT_EQ(r.error(), runtime::kErrUserAborted);
  EXPECT_FALSE(r.outcome.ended);
  EXPECT_EQ(r.number("n"), 99);  // nothing after the entry ran
  EXPECT_EQ(r.number("after"), 0);
  EXPECT_TRUE(rig.e.aborted);
}

TEST(KeyPrograms, KeysWaitingAreTakenWithoutWaitingAndTheNextIsWaitedFor) {
  SessionRig rig;
  rig.keys.push('a');
  rig.keys.push(k::kF3);
  rig.script.key('z');  // given only when the host is pumped: 81 never waits for it
  const ProgramRun r = runIn(rig, R"(
num k1
num k2
num k3
num k4
num k5
    ref k1
    call inkey
    op =
    ref k2
    call inkey
    op =
    ref k3
    call inkey
    op =
    ref k4
    call getKey
    op =
    ref k5
    call keyRead
    op =
    push 1
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("k1"), 'a');
  EXPECT_EQ(r.number("k2"), k::kF3);
  EXPECT_EQ(r.number("k3"), 0);
  EXPECT_EQ(r.number("k4"), 'z');
  EXPECT_EQ(r.number("k5"), 'z');
  EXPECT_EQ(rig.m.lastKeyRead, 'z');  // kept for the next run
}

TEST(KeyPrograms, AProgramCountsKeysUntilEnterAndTheAbortCodeEndsItsWait) {
  SessionRig rig;
  const std::string program = R"(
num key
num count
    while
        ref key
        call getKey
        op =
        get key
        push 13
        op !=
    do
        ref count
        op ++
    loop
    get count
    end
)";
  rig.script.type("xyz").key(k::kEnter);
  ProgramRun r = runIn(rig, program);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 3);
  EXPECT_EQ(r.number("key"), k::kEnter);

  rig.script.type("xy");  // no Enter: the script runs dry and aborts the queue
  r = runIn(rig, program);
  EXPECT_EQ(r.error(), runtime::kErrUserAborted);
  EXPECT_EQ(r.number("count"), 2);
  EXPECT_TRUE(rig.e.aborted);
}

TEST(PromptPrograms, TheAnswerChoosesTheProgramsBranch) {
  SessionRig rig;
  const std::string program = R"(
    push "Delete tree 4?"
    push "Y or N"
    call prompt
    if
        push "deleted"
        push 20
        push 1
        call printAt/3/0
        push 2
    else
        push 1
    endif
    end
)";
  rig.script.then([&] { EXPECT_TRUE(rig.onScreen("Delete tree 4?")); }).type("qy");
  ProgramRun r = runIn(rig, program);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 2);
  EXPECT_TRUE(rig.onScreen("deleted"));
  EXPECT_FALSE(rig.onScreen("Delete tree 4?"));

  rig.screen.clearScreen();
  rig.script.key('N');
  r = runIn(rig, program);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 1);
  EXPECT_FALSE(rig.onScreen("deleted"));
}

TEST(PickPrograms, AListBuiltByTheProgramIsShownAndTheChosenIndexComesBack) {
  if (!haveBuiltins({140, 142})) GTEST_SKIP() << "the string list built-ins are not in the table";
  SessionRig rig;
  rig.m.stringList = {"left over"};
  rig.script.then([&] {
    EXPECT_TRUE(rig.onScreen("Species"));
    EXPECT_TRUE(rig.onScreen("ABGR"));
    EXPECT_FALSE(rig.onScreen("left over"));
  }).key(k::kDown).key(k::kDown).key(k::kEnter);
  const ProgramRun r = runIn(rig, R"(
num choice = 99
    call clearItems/0/0
    push "PIPO"
    call addItem/1/0
    push "ABGR"
    call addItem/1/0
    push "PSME"
    call addItem/1/0
    ref choice
    push "Species"
    push "<Esc>"
    call pickItem
    op =
    push 1
    end
)");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("choice"), 2);
  EXPECT_EQ(rig.m.stringList, (std::vector<std::string>{"PIPO", "ABGR", "PSME"}));
}

TEST(PickPrograms, EscapeGivesMinusOneAndTheListStaysForTheNextRun) {
  SessionRig rig;
  rig.m.stringList = {"one", "two"};  // built by an earlier run: the list outlives it
  const std::string program = R"(
num choice = 99
    push 8
    push 30
    call gotoCell/2/0
    ref choice
    push "Pick!"
    push ""
    call pickItemAt
    op =
    push 1
    end
)";
  rig.script.then([&] { EXPECT_EQ(rig.row(8).substr(29, 5), "Pick!"); }).key(k::kEscape);
  ProgramRun r = runIn(rig, program);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("choice"), -1);
  rig.script.key('t').key(k::kEnter);
  r = runIn(rig, program);
  EXPECT_EQ(r.number("choice"), 1);
}

// On a real engine: what the program draws over the level's screen stays
// until it asks for operation 0, which draws the level's screen again.
class DisplayPrograms : public runtime_test::EngineProgramTest {};

TEST_F(DisplayPrograms, OperationZeroDrawsTheLevelsScreenOverWhatTheProgramDrew) {
  startPlots();
  editor::drawScreen(e());
  const std::string level = screen.rowText(12);
  const std::string draw = R"(
    push "PROGRAM WAS HERE"
    push 12
    push 30
    call printAt/3/0
)";
  ProgramRun r = run(draw + "    push 5\n    call display/1/0\n    push 1\n    end\n");
  ASSERT_EQ(r.error(), 0);
  EXPECT_NE(screen.rowText(12).find("PROGRAM WAS HERE"), std::string::npos);  // other operations do nothing
  r = run(draw + "    push 0\n    call display/1/0\n    push 1\n    end\n");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(screen.rowText(12), level);
}

}  // namespace
