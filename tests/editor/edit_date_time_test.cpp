// The date and time editors: the templates, the separators, moving out of
// the field, the clock fills and refused values.
#include "editor/edit_date_time.hpp"

#include <gtest/gtest.h>

#include "editor/field_formats.hpp"
#include "editor_rig.hpp"

namespace editor_tests {
namespace {

namespace k = ui::key;
using editor::edit_key::kCtrlD;
using editor::edit_key::kCtrlT;

editor::FieldOptions dateField(int type, bool numeric) {
  editor::FieldOptions opts;
  opts.fieldType = type;
  opts.numericField = numeric;
  opts.width = static_cast<int>(editor::dateTemplate(type, numeric).size());
  return opts;
}

editor::FieldOptions timeField(bool numeric) {
  editor::FieldOptions opts;
  opts.fieldType = editor::kTypeTime;
  opts.numericField = numeric;
  opts.width = numeric ? 6 : 8;
  return opts;
}

platform::DateTime at(int year, int month, int day, int hour, int minute, int second) {
  platform::DateTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  return t;
}

TEST(EditDate, DigitsFillTheTemplateAndTheLastOneChecksAndReturnsEnter) {
  EditorRig rig;
  std::string buffer = "12/31/99";
  rig.type("02").then([&] {
    EXPECT_EQ(rig.cellText(8), "02/  /  ");  // the first digit cleared the date
    EXPECT_EQ(rig.cursorOffset(), 3);
  });
  rig.type("2924");
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateMdy, false), buffer), k::kEnter);
  EXPECT_EQ(buffer, "02/29/24");
  EXPECT_TRUE(rig.changed);
  EXPECT_TRUE(rig.warnings.empty());
}

TEST(EditDate, ARefusedDatePutsThePositionOnTheBadPart) {
  EditorRig rig;
  std::string buffer;
  rig.type("022923").then([&] {
    ASSERT_EQ(rig.warnings.size(), 1u);
    EXPECT_EQ(rig.warnings[0].lines[0], "Bad Day  ");
    EXPECT_EQ(rig.cursorOffset(), 3);
  });
  rig.type("28").key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateMdy, false), buffer), k::kEnter);
  EXPECT_EQ(buffer, "02/28/23");
}

TEST(EditDate, MonthThirteenIsRefusedAndLeavingNeedsAGoodDate) {
  EditorRig rig;
  std::string buffer;
  rig.type("1301").key(k::kTab).then([&] {
    ASSERT_EQ(rig.warnings.size(), 1u);
    EXPECT_EQ(rig.warnings[0].lines[0], "Bad Month");
    EXPECT_EQ(rig.cursorOffset(), 0);
  });
  rig.type("0").key(k::kTab);
  // The year was never typed: a blank year passes as 00.
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateMdy, false), buffer), k::kTab);
  EXPECT_EQ(buffer, "03/01/  ");
}

TEST(EditDate, SlashJumpsToTheNextPartAndPadsThePartLeft) {
  EditorRig rig;
  std::string buffer;
  rig.type("1/5/").then([&] {
    EXPECT_EQ(rig.cellText(10), "01/05/    ");
    EXPECT_EQ(rig.cursorOffset(), 6);
  });
  rig.type("2024");
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateMdyyyy, false), buffer), k::kEnter);
  EXPECT_EQ(buffer, "01/05/2024");

  // Typed with its separators after full parts, a date comes out as typed.
  EditorRig typed;
  std::string date;
  typed.type("12/25/24");
  EXPECT_EQ(typed.run(editor::editDate, dateField(editor::kTypeDateMdy, false), date), k::kEnter);
  EXPECT_EQ(date, "12/25/24");

  // Moved onto a part, '/' only jumps: the digits there stay as they are.
  EditorRig moved;
  std::string kept = "12/25/24";
  moved.key(k::kRight).type("/").then([&] { EXPECT_EQ(moved.cursorOffset(), 3); }).key(k::kEnter);
  EXPECT_EQ(moved.run(editor::editDate, dateField(editor::kTypeDateMdy, false), kept), k::kEnter);
  EXPECT_EQ(kept, "12/25/24");
  EXPECT_FALSE(moved.changed);
}

TEST(EditDate, SlashInANumericFieldChecksAndReturnsRight) {
  EditorRig rig;
  // The record gives the number 22924 back as " 22924": it is 02/29/24.
  std::string buffer = " 22924";
  rig.key(k::kRefresh).then([&] { EXPECT_EQ(rig.cellText(6), "022924"); }).type("/");
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateMdy, true), buffer), k::kRight);
  EXPECT_EQ(buffer, " 22924");  // not edited, not rewritten
  EXPECT_FALSE(rig.changed);

  EditorRig bad;
  std::string wrong = "133124";
  bad.type("/").then([&] { EXPECT_EQ(bad.warnings.size(), 1u); }).key(k::kEscape);
  EXPECT_EQ(bad.run(editor::editDate, dateField(editor::kTypeDateMdy, true), wrong), k::kEscape);
}

TEST(EditDate, LeftAtTheFirstPositionAndRightPastTheEndCheckAndLeave) {
  EditorRig rig;
  std::string buffer = "2024/02/29";
  rig.key(k::kRight).then([&] { EXPECT_EQ(rig.cursorOffset(), 1); });
  rig.key(k::kLeft).key(k::kBackspace);
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateYyyymd, false), buffer), k::kLeft);
  EXPECT_FALSE(rig.changed);

  EditorRig right;
  std::string date = "02/29/24";
  for (int i = 0; i < 6; ++i) right.key(k::kRight);
  EXPECT_EQ(right.run(editor::editDate, dateField(editor::kTypeDateMdy, false), date), k::kRight);
  EXPECT_EQ(right.keysLeft(), 0);

  EditorRig stuck;
  std::string wrong = "02/30/24";
  stuck.key(k::kLeft).then([&] {
    ASSERT_EQ(stuck.warnings.size(), 1u);
    EXPECT_EQ(stuck.cursorOffset(), 3);
  });
  stuck.type("1").key(k::kEnter);
  EXPECT_EQ(stuck.run(editor::editDate, dateField(editor::kTypeDateMdy, false), wrong), k::kEnter);
  EXPECT_EQ(wrong, "02/10/24");
}

TEST(EditDate, CtrlDFillsTodayAndReturnsRight) {
  EditorRig rig;
  rig.clock.setLocalTime(at(2024, 2, 29, 13, 5, 9));
  std::string buffer;
  rig.key(kCtrlD);
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateYyyymd, false), buffer), k::kRight);
  EXPECT_EQ(buffer, "2024/02/29");
  EXPECT_TRUE(rig.changed);

  EditorRig numeric;
  numeric.clock.setLocalTime(at(2024, 2, 29, 13, 5, 9));
  std::string digits;
  numeric.key(kCtrlD);
  EXPECT_EQ(numeric.run(editor::editDate, dateField(editor::kTypeDateYmd, true), digits), k::kRight);
  EXPECT_EQ(digits, "240229");
}

TEST(EditDate, PasteTakesTheDigitsWhenTheyFillTheTemplate) {
  EditorRig rig;
  rig.copy.set("02/29/24", 2);
  std::string buffer;
  rig.key(editor::edit_key::kCtrlV);
  EXPECT_EQ(rig.run(editor::editDate, dateField(editor::kTypeDateMdy, true), buffer), k::kEnter);
  EXPECT_EQ(buffer, "022924");

  EditorRig shorter;
  shorter.copy.set("02/29/24", 2);
  std::string kept = "01/01/2024";
  shorter.key(editor::edit_key::kCtrlV).key(k::kEnter);
  EXPECT_EQ(shorter.run(editor::editDate, dateField(editor::kTypeDateMdyyyy, false), kept), k::kEnter);
  EXPECT_EQ(kept, "01/01/2024");
  EXPECT_EQ(shorter.host.beeps(), 1);
}

TEST(EditTime, AnEmptyValueStartsAtZeroAndHour24IsRefused) {
  EditorRig rig;
  std::string buffer = "        ";
  rig.key(k::kRefresh).then([&] { EXPECT_EQ(rig.cellText(8), "00:00:00"); });
  rig.type("240000").then([&] {
    ASSERT_EQ(rig.warnings.size(), 1u);
    EXPECT_EQ(rig.warnings[0].lines[0], "Bad Hour");
    EXPECT_EQ(rig.cursorOffset(), 0);
  });
  rig.type("23").key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editTime, timeField(false), buffer), k::kEnter);
  EXPECT_EQ(buffer, "23:00:00");
}

TEST(EditTime, TheLastSecondOfTheDayIsAcceptedAndANumericZeroStartsAs000000) {
  EditorRig rig;
  std::string buffer = "     0";
  rig.key(k::kRefresh).then([&] { EXPECT_EQ(rig.cellText(6), "000000"); }).type("235959");
  EXPECT_EQ(rig.run(editor::editTime, timeField(true), buffer), k::kEnter);
  EXPECT_EQ(buffer, "235959");
  EXPECT_TRUE(rig.warnings.empty());
}

TEST(EditTime, ColonJumpsAndCtrlTFillsTheTimeNow) {
  EditorRig rig;
  std::string buffer;
  rig.type("7:3:").then([&] { EXPECT_EQ(rig.cellText(8), "07:03:00"); }).key(k::kEnter);
  EXPECT_EQ(rig.run(editor::editTime, timeField(false), buffer), k::kEnter);
  EXPECT_EQ(buffer, "07:03:00");

  EditorRig now;
  now.clock.setLocalTime(at(2024, 2, 29, 13, 5, 9));
  std::string time;
  now.key(kCtrlT);
  EXPECT_EQ(now.run(editor::editTime, timeField(false), time), k::kRight);
  EXPECT_EQ(time, "13:05:09");
}

TEST(EditTime, AbortEndsAtOnceWithoutStoring) {
  EditorRig rig;
  std::string buffer = "12:00:00";
  rig.type("0945");
  EXPECT_EQ(rig.run(editor::editTime, timeField(false), buffer), k::kAbort);
  EXPECT_EQ(buffer, "12:00:00");
  EXPECT_FALSE(rig.changed);
}

}  // namespace
}  // namespace editor_tests
