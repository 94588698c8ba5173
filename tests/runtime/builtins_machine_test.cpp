// The machine's built-ins: the number format as assignment uses it, the text
// colour, the clock's ticks and seconds count, the system command, the status
// and its text and the string list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/clock.hpp"
#include "runtime/program_rig.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/utc_seconds.hpp"
#include "session_rig.hpp"
#include "support/fake_clock.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table.hpp"

namespace {

using runtime_test::ProgramRun;
using runtime_test::runProgram;

ProgramRun run(runtime::Machine& m, const std::string& source) { return runProgram(source, m); }

using runtime_test::numberCall;

// 2.5 assigned to a string variable after the settings lines.
std::string formatted(const std::string& settings) {
  const auto r = runProgram("str t[64]\n" + settings + "\n svar t\n push 2.5\n op =\n push 0\n end\n");
  EXPECT_EQ(r.error(), 0);
  return r.text("t");
}

TEST(MachineBuiltins, NumberFormatSettingsShapeAssignmentToAString) {
  EXPECT_EQ(formatted(""), "      2.5000000");  // width 15, 7 decimals
  EXPECT_EQ(formatted("push 5\n call setWidth\n push 1\n call setDecimals"), "  2.5");
  EXPECT_EQ(formatted("push 1\n call setFormatFlag\n push 2\n call setDecimals"), "2.50");
  // Each run starts with the format of 15 and 7 again.
  runtime::Machine m;
  ASSERT_EQ(run(m, "push 3\n call setWidth\n push 0\n end\n").error(), 0);
  const auto r = run(m, "str t[64]\n svar t\n push 2.5\n op =\n push 0\n end\n");
  EXPECT_EQ(r.text("t"), "      2.5000000");
}

TEST(MachineBuiltins, TextColourIsAPaletteIndexOrTheEnginesOwn) {
  runtime::Machine m;
  EXPECT_EQ(run(m, numberCall("push 12", "setColours")).number("r"), 12);
  EXPECT_EQ(m.textColour, 12);
  ASSERT_EQ(run(m, numberCall("push 20", "setColours")).error(), 0);
  EXPECT_EQ(m.textColour, 4);
  ASSERT_EQ(run(m, numberCall("push -5", "setColours")).error(), 0);
  EXPECT_EQ(m.textColour, -1);
}

TEST(MachineBuiltins, TicksAreUnsigned32Bits) {
  testing_support::FakeClock fake;
  platform::ScopedClock scoped(fake);
  fake.advance((1ull << 32) + 5);
  runtime::Machine m;
  EXPECT_EQ(run(m, numberCall("", "ticks")).number("r"), 5);
  fake.advance((1ull << 32) - 10);
  EXPECT_EQ(run(m, numberCall("", "ticks")).number("r"), 4294967291.0);
}

platform::DateTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  platform::DateTime t;
  t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute, t.second = second;
  return t;
}

TEST(MachineBuiltins, SecondsCountFollowsTheSystemsFormula) {
  constexpr std::int64_t kDay = 86400;
  EXPECT_EQ(runtime::systemSeconds(utc(1971, 1, 1)), 0);
  // 1972 is leap for the months after February; 1973's count adds nothing for it yet.
  EXPECT_EQ(runtime::systemSeconds(utc(1972, 3, 1)), (365 + 60) * kDay);
  EXPECT_EQ(runtime::systemSeconds(utc(1973, 1, 1)), 730 * kDay);
  EXPECT_EQ(runtime::systemSeconds(utc(1977, 1, 1)), (365 * 6 + 1) * kDay);
  EXPECT_EQ(runtime::systemSeconds(utc(2024, 2, 29, 10, 0, 0)), (19345 + 12 + 31 + 28) * kDay + 36000);
  EXPECT_EQ(runtime::systemSeconds(utc(2024, 3, 1)), (19345 + 12 + 60) * kDay);
  EXPECT_EQ(runtime::systemSeconds(utc(2023, 12, 31, 23, 59, 59)),
            (365 * 52 + 12 + 334 + 30) * kDay + 86399);
  // (1970 − 1973) ÷ 4 rounds toward zero to 0; (1969 − 1973) ÷ 4 is −1.
  EXPECT_EQ(runtime::systemSeconds(utc(1970, 1, 1)), -365 * kDay);
  EXPECT_EQ(runtime::systemSeconds(utc(1969, 12, 31, 23, 59, 59)), (-731 + 334 + 30) * kDay + 86399);

  // The built-in reads the system's UTC time.
  testing_support::FakeClock fake;
  fake.setLocalTime(utc(2024, 2, 29, 10, 0, 0));
  platform::ScopedClock scoped(fake);
  runtime::Machine m;
  EXPECT_EQ(run(m, numberCall("", "utcSeconds")).number("r"),
            static_cast<double>((19345 + 12 + 31 + 28) * kDay + 36000));
}

TEST(MachineBuiltins, SystemCommandGivesItsExitStatus) {
  runtime::Machine m;
  EXPECT_EQ(run(m, numberCall("push \"exit 3\"", "system")).number("r"), 3);
#ifndef _WIN32
  testing_support::TempDir dir;
  const std::string file = dir.file("out.txt");
  const auto r = run(m, numberCall("push \"echo field crew > '" + file + "'\"", "system"));
  EXPECT_EQ(r.number("r"), 0);
  EXPECT_EQ(r.error(), 0);
  EXPECT_EQ(m.status, 0);
  EXPECT_EQ(testing_support::readBytes(file), "field crew\n");
#endif
}

#ifndef _WIN32
TEST(MachineBuiltins, SystemCommandSeesTheLevelTablesAsTheyStand) {
  runtime_test::SessionRig rig;
  rig.openLevel();
  tablestore::Table* table = rig.e.levels[1].table;
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->goRecord(1), 0);
  // A change still in the record buffer only.
  std::memcpy(table->recordBuffer() + 1, "QQQQ", 4);
  (void)table->changed(1);
  ASSERT_EQ(testing_support::readBytes(table->path()).find("QQQQ"), std::string::npos);

  const std::string copy = rig.dir.file("copy.dbf");
  const double status = rig.call(116, {rig.text("cp '" + table->path() + "' '" + copy + "'")});
  EXPECT_EQ(status, 0);
  EXPECT_NE(testing_support::readBytes(copy).find("QQQQ"), std::string::npos);
}
#endif

TEST(MachineBuiltins, StatusAndItsTextOf25Characters) {
  const auto r = runProgram(
      "num st\nstr t[64]\nstr u[64]\n"
      " svar u\n call statusText\n op =\n"                         // before: "No Error"
      " push \"x\"\n push \"y\"\n call strcpy\n"                   // not a variable: status 13
      " ref st\n call status\n op =\n"
      " svar t\n call statusText\n op =\n push 0\n end\n");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("st"), runtime::kErrBadDataSource);
  EXPECT_EQ(r.text("t"), "Bad Data Source          ");
  EXPECT_EQ(r.text("t").size(), 25u);
  EXPECT_EQ(r.text("u"), "No Error                 ");
}

TEST(MachineBuiltins, StringListAddsCopiesAndClears) {
  runtime::Machine m;
  const auto r = run(m,
                     "num i\nnum j\nnum k\nstr s[16] = \"first\"\n"
                     " ref i\n svar s\n call addItem\n op =\n"
                     " svar s\n push \"changed\"\n call strcpy\n"
                     " push 7\n push \"entry seven\"\n call setStrings\n"
                     " ref j\n push 7\n call addArrayItem\n op =\n"
                     " push 519\n push \"half\"\n call setHalfString\n"
                     " ref k\n push 519\n call addHalfItem\n op =\n push 0\n end\n");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("i"), 0);
  EXPECT_EQ(r.number("j"), 1);
  EXPECT_EQ(r.number("k"), 2);
  ASSERT_EQ(m.stringList.size(), 3u);
  EXPECT_EQ(m.stringList[0], "first");  // a copy: the variable changed afterwards
  EXPECT_EQ(m.stringList[1], "entry seven");
  EXPECT_EQ(m.stringList[2], "half");

  // The list survives the run; 142 clears it and indexes start at 0 again.
  EXPECT_EQ(run(m, numberCall("call clearItems\n push \"a\"", "addItem")).number("r"), 0);
  EXPECT_EQ(m.stringList.size(), 1u);

  EXPECT_EQ(run(m, "push 512\n call addArrayItem\n push 1\n end\n").error(), runtime::kErrIndexRange);
  EXPECT_EQ(run(m, "push 1024\n call addHalfItem\n push 1\n end\n").error(), runtime::kErrIndexRange);
}

TEST(MachineBuiltins, FullStringListGivesMinusOneAndStatus22) {
  runtime::Machine m;
  const auto r = run(m,
                     "num i\nnum last\nnum over\nnum st\n"
                     " while\n get i\n push 500\n op <\n do\n"
                     "  ref last\n push \"item\"\n call addItem\n op =\n ref i\n op ++\n loop\n"
                     " ref over\n push \"one too many\"\n call addItem\n op =\n"
                     " ref st\n call status\n op =\n push 0\n end\n");
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.number("last"), 499);
  EXPECT_EQ(r.number("over"), -1);
  EXPECT_EQ(r.number("st"), runtime::kErrIndexRange);
  EXPECT_EQ(m.stringList.size(), 500u);
}

}  // namespace
