// Generated record keys and their base-36 digits.
#include <gtest/gtest.h>

#include "apps/app_ctl.hpp"
#include "datasets/record_key.hpp"
#include "support/fake_clock.hpp"

namespace {

platform::DateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  platform::DateTime t;
  t.year = year, t.month = month, t.day = day, t.hour = hour, t.minute = minute, t.second = second;
  return t;
}

TEST(Base36, DigitsPaddingAndOverflow) {
  EXPECT_EQ(datasets::toBase36(35, 2), "0z");
  EXPECT_EQ(datasets::toBase36(36, 2), "10");
  EXPECT_EQ(datasets::toBase36(0, 3), "000");
  EXPECT_EQ(datasets::toBase36(0, 0), "0");
  // A value wider than asked is written in full.
  EXPECT_EQ(datasets::toBase36(36 * 36, 2), "100");
  EXPECT_EQ(datasets::toBase36(0xFFFFFFFFu, 2), "1z141z3");
}

TEST(RecordKey, TheFirstMomentOf2005) {
  EXPECT_EQ(datasets::recordKeyAt(at(2005, 1, 1), 0, false, ""), "001" "0000" "00");
  EXPECT_EQ(datasets::recordKeyAt(at(2005, 1, 1), 0, true, "ABC___"), "ABC___001000000");
}

TEST(RecordKey, DaysCountQuarterDaysAndLeapYears) {
  // 2008 is divisible by 4: March starts after 60 days.
  EXPECT_EQ(datasets::keyDayNumber(2008, 3, 1), 1095u + 60u + 1u);
  EXPECT_EQ(datasets::keyDayNumber(2007, 3, 1), 730u + 59u + 1u);
  EXPECT_EQ(datasets::keyDayNumber(2005, 12, 31), 334u + 31u);
  // Before 2005 the year part counts by its size.
  EXPECT_EQ(datasets::keyDayNumber(2004, 1, 1), 365u + 1u);
  // A month out of range never reads outside the table.
  EXPECT_EQ(datasets::keyDayNumber(2005, 13, 1), datasets::keyDayNumber(2005, 12, 1));
}

TEST(RecordKey, SecondsAndTicks) {
  // 23:59:59 is second 86399 = "1unz"; tick 1999 counts as 999 = "rr".
  EXPECT_EQ(datasets::recordKeyAt(at(2005, 1, 1, 23, 59, 59), 1999, false, ""), "0011unzrr");
}

TEST(RecordKey, MadeFromThePlatformClock) {
  testing_support::FakeClock clock;
  platform::ScopedClock use(clock);
  clock.setLocalTime(at(2005, 1, 2, 0, 0, 1));
  clock.advance(37);
  // One day and one second after the first moment, 37 ms later.
  EXPECT_EQ(datasets::makeRecordKey(false, ""), "002" "0001" "11");
}

TEST(RecordKey, TheLettersOfTheLevelCodesAreRecordedForTheCaller) {
  testing_support::FakeClock clock;
  platform::ScopedClock use(clock);
  clock.setLocalTime(at(2005, 1, 1));
  apps::AppCtl app;
  app.setLevelCode(1, "A____");
  app.setLevelCode(2, "AB___");
  app.setLevelCode(3, "ABC");   // short: the "_" are implied
  app.setLevelCode(4, "___");   // as opening data leaves a level with no table
  app.setLevelCode(5, "aB___");  // no level code
  app.setCurLevelCode("ABC__");
  datasets::KeyLetters letters;
  letters.current = "stale";
  EXPECT_EQ(datasets::makeRecordKey(true, "ABC___", app, letters), "ABC___001000000");
  EXPECT_EQ(letters.level[1], "A");
  EXPECT_EQ(letters.level[2], "AB");
  EXPECT_EQ(letters.level[3], "ABC");
  EXPECT_EQ(letters.level[4], "");
  EXPECT_EQ(letters.level[5], "");
  EXPECT_EQ(letters.current, "ABC");
  EXPECT_EQ(datasets::codeLetters(" AA_B_"), "");  // a letter after "_" makes no code
}

}  // namespace
