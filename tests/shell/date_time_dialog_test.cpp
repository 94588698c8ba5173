#include <gtest/gtest.h>

#include <vector>

#include "platform/clock.hpp"
#include "platform/clock_set.hpp"
#include "platform/errors.hpp"
#include "shell/date_time_dialog.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"

namespace {

using testing_support::ScriptedHost;

// Records what it is asked to set; answers with a chosen error code.
class FakeClockSetter : public platform::ClockSetter {
 public:
  int setUtc(const platform::DateTime& t) override {
    utc.push_back(t);
    return answer;
  }
  int setLocal(const platform::DateTime& t) override {
    local.push_back(t);
    return answer;
  }
  int answer = 0;
  std::vector<platform::DateTime> utc, local;
};

class DateTimeDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::DateTime at;
    at.year = 2023, at.month = 7, at.day = 4;
    at.hour = 9, at.minute = 5, at.second = 30;
    clock.setLocalTime(at);
  }
  static void enterDate(ui::FormState& f, const char* m, const char* d, const char* y) {
    f.type(shell::kMonthEntry, m);
    f.type(shell::kDayEntry, d);
    f.type(shell::kYearEntry, y);
  }
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  ScriptedHost host;
  FakeClockSetter setter;
};

TEST(DateExists, MonthLengthsAndLeapYears) {
  EXPECT_TRUE(shell::dateExists(2024, 2, 29));
  EXPECT_TRUE(shell::dateExists(2000, 2, 29));  // divisible by 400
  EXPECT_FALSE(shell::dateExists(2023, 2, 29));
  EXPECT_FALSE(shell::dateExists(2023, 4, 31));
  EXPECT_TRUE(shell::dateExists(2023, 12, 31));
  EXPECT_FALSE(shell::dateExists(2023, 13, 1));
  EXPECT_FALSE(shell::dateExists(2023, 1, 0));
  EXPECT_FALSE(shell::dateExists(1969, 12, 31));
  EXPECT_FALSE(shell::dateExists(2100, 1, 1));
}

TEST_F(DateTimeDialog, ShowsTheLocalTimeAndSetsWhatIsEntered) {
  host.onForm(shell::kDateTimeDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Set Date - Time");
    EXPECT_EQ(f.text(shell::kMonthEntry), "07");
    EXPECT_EQ(f.text(shell::kDayEntry), "04");
    EXPECT_EQ(f.text(shell::kYearEntry), "2023");
    EXPECT_EQ(f.text(shell::kHourEntry), "09");
    EXPECT_EQ(f.text(shell::kMinuteEntry), "05");
    EXPECT_EQ(f.text(shell::kSecondEntry), "30");
    enterDate(f, "2", "29", "2024");
    f.type(shell::kHourEntry, "23");
    f.type(shell::kSecondEntry, "0");
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(shell::setDateTimeDialog(host, setter), 1);
  ASSERT_EQ(setter.local.size(), 1u);
  EXPECT_TRUE(setter.utc.empty());
  const platform::DateTime& t = setter.local[0];
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(t.dayOfWeek, 4);  // a Thursday
}

TEST_F(DateTimeDialog, DatesAndTimesThatDoNotExistAreRefusedAndNothingIsSet) {
  host.expect("Is Not a Valid Date", ui::kIdOk, "Set Date - Time");
  host.expect("Is Not a Valid Time", ui::kIdOk, "Set Date - Time");
  host.onForm(shell::kDateTimeDialog, [](ui::FormState& f) {
    enterDate(f, "2", "29", "2023");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    enterDate(f, "4", "31", "2023");
    f.press(ui::kIdOkButton);
    enterDate(f, "", "1", "2023");
    f.press(ui::kIdOkButton);
    enterDate(f, "1", "1", "2023");
    f.type(shell::kHourEntry, "24");
    f.press(ui::kIdOkButton);
    f.type(shell::kHourEntry, "12");
    f.type(shell::kMinuteEntry, "60");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(shell::setDateTimeDialog(host, setter), 0);
  EXPECT_TRUE(setter.local.empty());
  EXPECT_EQ(host.countText("Is Not a Valid Date"), 3);
  EXPECT_EQ(host.countText("Is Not a Valid Time"), 2);
  EXPECT_TRUE(host.sawText("2/29/2023 Is Not a Valid Date"));
}

TEST_F(DateTimeDialog, AClockThatMayNotBeSetIsSaidPlainlyAndTheDialogStays) {
  setter.answer = platform::kErrPrivilegeNotHeld;
  host.expect("May Not Set the Clock", ui::kIdOk, "Set Date - Time");
  host.onForm(shell::kDateTimeDialog, [this](ui::FormState& f) {
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    setter.answer = platform::kErrInvalidParameter;
    host.expectOnce("Date and Time Not Set", ui::kIdOk, "Set Date - Time");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(shell::setDateTimeDialog(host, setter), 0);
  ASSERT_EQ(host.shown().size(), 2u);
  EXPECT_NE(host.shown()[0].text.find(platform::errorText(platform::kErrPrivilegeNotHeld)), std::string::npos);
  EXPECT_NE(host.shown()[1].text.find("Error:87"), std::string::npos);
  EXPECT_EQ(setter.local.size(), 2u);
}

}  // namespace
