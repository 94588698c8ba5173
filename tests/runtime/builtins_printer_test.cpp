// Printing on the program's port: the formatting of a text, the wait while
// earlier output is still being sent (with Escape to abort), and the column
// names, values, headings and lines of the current level.
#include <gtest/gtest.h>

#include "fake_ports.hpp"
#include "runtime/printer_output.hpp"
#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

namespace k = ui::key;
using runtime_test::FakePorts;
using runtime_test::SessionRig;

runtime::StackEntry num(double v) { return SessionRig::num(v); }

struct PrintRig : SessionRig {
  FakePorts ports;
  PrintRig() {
    run.ports = &ports;
    ports.openPort = 2;
  }
  double formatted(const std::string& t, int width, int alignment, bool lineEnd) {
    return call(121, {text(t), num(width), num(alignment), num(lineEnd ? 1 : 0)});
  }
};

TEST(PrintFormat, PadsCutsAndAlignsAsAsked) {
  using runtime::formatPrintText;
  EXPECT_EQ(formatPrintText("abc", 8, 1), "     abc");
  EXPECT_EQ(formatPrintText("abc", 8, 2), "abc     ");
  EXPECT_EQ(formatPrintText("  abc  ", 0, 1), "abc");  // trimmed; no width, no padding
  EXPECT_EQ(formatPrintText("abcdefghij", 4, 1), "abcd");
  EXPECT_EQ(formatPrintText("Pipo \xE9", 8, 3), "PIPO \xC9  ");  // Windows-1252 letters too
  EXPECT_EQ(formatPrintText("abc", 500, 1).size(), 128u);
  EXPECT_EQ(formatPrintText(std::string(300, 'x'), 0, 0).size(), 200u);
}

TEST(PrintBuiltins, WithoutAPortEachGives27AndStatus36WithoutWaiting) {
  SessionRig rig;
  rig.openLevel();
  for (int b : {117, 118, 119, 120, 121, 122}) {
    rig.m.status = 0;
    EXPECT_EQ(rig.call(b, {num(0), num(1), num(1), num(5), num(1)}), 27) << b;
    EXPECT_EQ(rig.m.status, runtime::kErrPrinterNotOpen) << b;
  }
  FakePorts closed;
  rig.run.ports = &closed;
  EXPECT_EQ(rig.call(122), 27);
  EXPECT_EQ(rig.host.pumps(), 0);
  EXPECT_TRUE(closed.sent.empty());
}

TEST(PrintBuiltins, AFormattedTextIsQueuedWithItsLineEnd) {
  PrintRig rig;
  EXPECT_EQ(rig.formatted("abc", 8, 1, true), 0);
  EXPECT_EQ(rig.formatted("def", 5, 2, false), 0);
  EXPECT_EQ(rig.call(122), 0);
  EXPECT_EQ(rig.ports.sent, "     abc\r\ndef  \r\n");
  EXPECT_EQ(rig.m.status, 0);
}

TEST(PrintBuiltins, EarlierOutputIsWaitedForUnderAWaitBox) {
  PrintRig rig;
  rig.ports.busyLooks = 3;
  rig.script.then([&] {
    EXPECT_TRUE(rig.onScreen("Data Pending"));
    EXPECT_TRUE(rig.onScreen("< Escape to Abort >"));
    EXPECT_TRUE(rig.ports.sent.empty());
  }).key('q').key('q').key('q');  // keys but Escape go on waiting
  EXPECT_EQ(rig.formatted("abc", 0, 0, false), 0);
  EXPECT_EQ(rig.ports.sent, "abc");
  EXPECT_FALSE(rig.onScreen("Data Pending"));
}

TEST(PrintBuiltins, EscapeWhileWaitingAndYesAbortsAndPurges) {
  PrintRig rig;
  rig.ports.busyLooks = 1000;
  rig.script.key(k::kEscape)
      .then([&] { EXPECT_TRUE(rig.onScreen("Abort Printing Y/N")); })
      .key('y')
      .then([&] { EXPECT_TRUE(rig.onScreen("Printing Aborted !")); })
      .key(' ');
  EXPECT_EQ(rig.formatted("abc", 0, 0, true), 27);
  EXPECT_EQ(rig.ports.purges, 1);
  EXPECT_TRUE(rig.ports.sent.empty());
  EXPECT_EQ(rig.m.runError, 0);
}

TEST(PrintBuiltins, EscapeAndNoSkipsTheTextButPrintsTheLineEnd) {
  PrintRig rig;
  rig.ports.busyLooks = 1;
  rig.script.key(k::kEscape).key('n');
  EXPECT_EQ(rig.formatted("abc", 0, 0, true), 0);
  EXPECT_EQ(rig.ports.sent, "\r\n");
  EXPECT_EQ(rig.ports.purges, 0);
}

TEST(PrintBuiltins, ColumnNamesAndValuesOfTheLevels) {
  PrintRig rig;
  rig.openLevel();
  EXPECT_EQ(rig.call(117, {num(0), num(1), num(6), num(1)}), 0);
  EXPECT_EQ(rig.call(117, {num(1), num(2), num(0), num(0)}), 0);
  EXPECT_EQ(rig.call(118, {num(0), num(2), num(2), num(6), num(1)}), 0);  // line 2's DBH
  EXPECT_EQ(rig.call(118, {num(0), num(0), num(0), num(6), num(2)}), 0);  // current cell
  EXPECT_EQ(rig.ports.sent, "  CODEDBH   3.0PIPO  ");
  EXPECT_EQ(rig.m.status, 0);

  rig.ports.sent.clear();
  struct Bad {
    int builtin;
    double level, column, line;
    int status;
  };
  for (const Bad& b : {Bad{117, 0, 3, 0, runtime::kErrColumnRange}, Bad{117, 6, 1, 0, runtime::kErrBadDataSource},
                       Bad{117, 2, 1, 0, runtime::kErrDataNotOpen}, Bad{118, 0, 1, 3, runtime::kErrLineRange},
                       Bad{118, 0, -1, 1, runtime::kErrColumnRange}, Bad{118, -1, 1, 1, runtime::kErrBadDataSource}}) {
    rig.m.status = 0;
    const double r = b.builtin == 117 ? rig.call(117, {num(b.level), num(b.column), num(5), num(1)})
                                      : rig.call(118, {num(b.level), num(b.column), num(b.line), num(5), num(1)});
    EXPECT_EQ(r, 0);
    EXPECT_EQ(rig.m.status, b.status) << b.builtin << " " << b.level << " " << b.column << " " << b.line;
  }
  EXPECT_TRUE(rig.ports.sent.empty());
}

TEST(PrintBuiltins, HeadingsAndTheCurrentLineInFixedOrOwnWidths) {
  PrintRig rig;
  rig.openLevel();
  EXPECT_EQ(rig.call(119, {num(1), num(1), num(2)}), 0);
  EXPECT_EQ(rig.call(119, {num(2), num(0), num(1)}), 0);
  EXPECT_EQ(rig.call(119, {num(1), num(0), num(50)}), 0);  // the gap is 20 at most
  EXPECT_EQ(rig.ports.sent, "Kind  Diame  \r\nKi D \r\nKind of tree" + std::string(20, ' ') + "Diameter" +
                                std::string(20, ' ') + "\r\n");
  rig.ports.sent.clear();
  EXPECT_EQ(rig.call(120, {num(1), num(1)}), 0);
  EXPECT_EQ(rig.call(120, {num(0), num(0)}), 0);
  EXPECT_EQ(rig.ports.sent, "PIPO  12.5 \r\nPIPO12.5\r\n");
}

}  // namespace
