// The date and time checks and the stored formats of dates and times.
#include "editor/date_time_check.hpp"

#include <gtest/gtest.h>

#include "editor/field_formats.hpp"
#include "editor_rig.hpp"

namespace editor_tests {
namespace {

using namespace editor;

struct DateCase {
  const char* text;
  int type;
  bool numeric;
  const char* message;  // null: accepted
  int badPos;
};

TEST(CheckDate, LeapYearsFollowTheGregorianRule) {
  const DateCase cases[] = {
      {"02/29/23", kTypeDateMdy, false, kBadDay, 3},
      {"02/29/24", kTypeDateMdy, false, nullptr, 0},
      {"02/29/00", kTypeDateMdy, false, nullptr, 0},
      {"02/28/23", kTypeDateMdy, false, nullptr, 0},
      {"23/02/29", kTypeDateYmd, false, kBadDay, 6},
      {"000229", kTypeDateYmd, true, nullptr, 0},
      {"02/29/1900", kTypeDateMdyyyy, false, kBadDay, 3},
      {"02/29/2100", kTypeDateMdyyyy, false, kBadDay, 3},
      {"02/29/2000", kTypeDateMdyyyy, false, nullptr, 0},
      {"02/29/2024", kTypeDateMdyyyy, false, nullptr, 0},
      {"1900/02/29", kTypeDateYyyymd, false, kBadDay, 8},
      {"19000229", kTypeDateYyyymd, true, kBadDay, 6},
      {"20000229", kTypeDateYyyymd, true, nullptr, 0},
  };
  for (const DateCase& c : cases) {
    EditorRig rig;
    int bad = -1;
    bool good = checkDate(rig.ctx, c.text, c.type, c.numeric, bad);
    EXPECT_EQ(good, c.message == nullptr) << c.text;
    if (c.message) {
      EXPECT_EQ(bad, c.badPos) << c.text;
      ASSERT_EQ(rig.warnings.size(), 1u) << c.text;
      EXPECT_EQ(rig.warnings[0].lines, std::vector<std::string>{c.message}) << c.text;
      EXPECT_EQ(rig.warnings[0].ticks, 150);
    } else {
      EXPECT_TRUE(rig.warnings.empty()) << c.text;
    }
  }
}

TEST(CheckDate, MonthsAndMonthLengths) {
  const DateCase cases[] = {
      {"13/01/24", kTypeDateMdy, false, kBadMonth, 0},
      {"00/01/24", kTypeDateMdy, false, kBadMonth, 0},
      {"24/13/01", kTypeDateYmd, false, kBadMonth, 3},
      {"2024/13/01", kTypeDateYyyymd, false, kBadMonth, 5},
      {"04/31/24", kTypeDateMdy, false, kBadDay, 3},
      {"11/30/24", kTypeDateMdy, false, nullptr, 0},
      {"12/32/24", kTypeDateMdy, false, kBadDay, 3},
      {"01/00/24", kTypeDateMdy, false, kBadDay, 3},
      {"013124", kTypeDateMdy, true, nullptr, 0},
      {" 22924", kTypeDateMdy, true, nullptr, 0},  // a number field's 02/29/24
      {"  /  /  ", kTypeDateMdy, false, nullptr, 0},  // empty: nothing to check
      {"1 /  /  ", kTypeDateMdy, false, kBadDay, 3},
  };
  for (const DateCase& c : cases) {
    EditorRig rig;
    int bad = -1;
    EXPECT_EQ(checkDate(rig.ctx, c.text, c.type, c.numeric, bad), c.message == nullptr) << c.text;
    if (c.message) {
      EXPECT_EQ(bad, c.badPos) << c.text;
      ASSERT_EQ(rig.warnings.size(), 1u);
      EXPECT_EQ(rig.warnings[0].lines[0], c.message) << c.text;
    }
  }
}

TEST(CheckTime, HoursMinutesAndSeconds) {
  struct Case {
    const char* text;
    bool numeric;
    const char* message;
    int badPos;
  };
  const Case cases[] = {
      {"24:00:00", false, kBadHour, 0},  {"23:59:59", false, nullptr, 0},
      {"00:00:00", false, nullptr, 0},   {"12:60:00", false, kBadMinute, 3},
      {"12:00:60", false, kBadSecond, 6}, {"126000", true, kBadMinute, 2},
      {"120060", true, kBadSecond, 4},   {"235959", true, nullptr, 0},
  };
  for (const Case& c : cases) {
    EditorRig rig;
    int bad = -1;
    EXPECT_EQ(checkTime(rig.ctx, c.text, c.numeric, bad), c.message == nullptr) << c.text;
    if (c.message) {
      EXPECT_EQ(bad, c.badPos) << c.text;
      ASSERT_EQ(rig.warnings.size(), 1u);
      EXPECT_EQ(rig.warnings[0].lines[0], c.message) << c.text;
      EXPECT_EQ(rig.warnings[0].ticks, 150);
    }
  }
}

TEST(FieldFormats, DatesAndTimesAsStored) {
  platform::DateTime at;
  at.year = 2024;
  at.month = 3;
  at.day = 7;
  at.hour = 9;
  at.minute = 5;
  at.second = 1;
  at.millisecond = 42;
  EXPECT_EQ(formatDate(at, kTypeDateMdy, false), "03/07/24");
  EXPECT_EQ(formatDate(at, kTypeDateYmd, false), "24/03/07");
  EXPECT_EQ(formatDate(at, kTypeDateMdyyyy, false), "03/07/2024");
  EXPECT_EQ(formatDate(at, kTypeDateYyyymd, false), "2024/03/07");
  EXPECT_EQ(formatDate(at, kTypeDateYmd, true), "240307");
  EXPECT_EQ(formatDate(at, kTypeDateYyyymd, true), "20240307");
  EXPECT_EQ(formatDate(at, kTypeTime, false), "");
  EXPECT_EQ(formatTime(at, kTypeTime, false, 8), "09:05:01");
  EXPECT_EQ(formatTime(at, kTypeTime, true, 6), "090501");
  EXPECT_EQ(formatTime(at, kTypeTimeMs, false, 12), "09:05:01.042");
  EXPECT_EQ(formatTime(at, kTypeTimeMs, true, 8), "090501.0");
  EXPECT_EQ(formatTime(at, kTypeTimeMs, true, 10), "090501.042");
}

}  // namespace
}  // namespace editor_tests
