#include "shell/date_time_dialog.hpp"

#include <optional>
#include <string>

#include "base/text.hpp"
#include "platform/clock.hpp"
#include "platform/clock_set.hpp"
#include "platform/errors.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

constexpr const char* kCaption = "Set Date - Time";
constexpr int kFieldH = 12, kLabelH = 10;
// Columns: two-digit field, separator, two-digit field, separator, wide field.
constexpr int kCol1 = 36, kCol2 = 56, kCol3 = 76, kSepW = 6, kNarrowW = 14, kWideW = 22, kNoteX = 102;

ui::Control field(int id, int x, int y, int width, int limit) {
  ui::Control c{id, ui::ControlKind::Edit, "", {x, y, width, kFieldH}};
  c.limit = limit;
  c.numberOnly = true;
  return c;
}

ui::Control text(int id, const char* t, int x, int y, int width) {
  return {id, ui::ControlKind::Static, t, {x, y, width, kLabelH}};
}

ui::Form dateTimeForm() {
  ui::Form f;
  f.resource = kDateTimeDialog;
  f.caption = kCaption;
  f.size = {0, 0, 176, 58};
  const int y1 = 8, y2 = 24;
  f.controls = {text(1410, "Date:", 8, y1, 26),
                field(kMonthEntry, kCol1, y1, kNarrowW, 2),
                text(1411, "/", kCol1 + kNarrowW, y1, kSepW),
                field(kDayEntry, kCol2, y1, kNarrowW, 2),
                text(1412, "/", kCol2 + kNarrowW, y1, kSepW),
                field(kYearEntry, kCol3, y1, kWideW, 4),
                text(1413, "month/day/year", kNoteX, y1, 66),
                text(1414, "Time:", 8, y2, 26),
                field(kHourEntry, kCol1, y2, kNarrowW, 2),
                text(1415, ":", kCol1 + kNarrowW, y2, kSepW),
                field(kMinuteEntry, kCol2, y2, kNarrowW, 2),
                text(1416, ":", kCol2 + kNarrowW, y2, kSepW),
                field(kSecondEntry, kCol3, y2, kNarrowW, 2),
                text(1417, "24-hour clock", kNoteX, y2, 66),
                ui::defaultButton(ui::kIdOkButton, "OK", {30, 40, 50, 14}),
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {96, 40, 50, 14})};
  f.firstFocus = kMonthEntry;
  return f;
}

// The field's digits as a number; nothing for an empty or foreign text.
std::optional<int> number(const ui::FormView& view, int id) {
  const std::string t = base::trim(view.text(id));
  if (t.empty() || t.size() > 4) return std::nullopt;
  int v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

// 0 = Sunday, for a date that exists (Sakamoto's method).
int dayOfWeek(int y, int m, int d) {
  static constexpr int t[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + t[m - 1] + d) % 7;
}

class DateTimeController : public ui::FormController {
 public:
  DateTimeController(ui::Host& host, platform::ClockSetter& setter) : host_(host), setter_(setter) {}

  void onInit(ui::FormView& view) override {
    const platform::DateTime now = platform::clock().localTime();
    view.setText(kMonthEntry, base::format("%02d", now.month));
    view.setText(kDayEntry, base::format("%02d", now.day));
    view.setText(kYearEntry, base::format("%04d", now.year));
    view.setText(kHourEntry, base::format("%02d", now.hour));
    view.setText(kMinuteEntry, base::format("%02d", now.minute));
    view.setText(kSecondEntry, base::format("%02d", now.second));
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != ui::kIdOkButton) return;
    const auto month = number(view, kMonthEntry), day = number(view, kDayEntry), year = number(view, kYearEntry);
    if (!month || !day || !year || !dateExists(*year, *month, *day)) {
      ui::inform(host_,
                 base::format("%s/%s/%s Is Not a Valid Date\nEnter Month/Day/Year, Year %d to %d",
                              view.text(kMonthEntry).c_str(), view.text(kDayEntry).c_str(),
                              view.text(kYearEntry).c_str(), kFirstYear, kLastYear),
                 kCaption);
      view.setFocus(kMonthEntry);
      return;
    }
    const auto hour = number(view, kHourEntry), minute = number(view, kMinuteEntry),
               second = number(view, kSecondEntry);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59) {
      ui::inform(host_,
                 base::format("%s:%s:%s Is Not a Valid Time\nEnter Hour (0-23):Minute:Second",
                              view.text(kHourEntry).c_str(), view.text(kMinuteEntry).c_str(),
                              view.text(kSecondEntry).c_str()),
                 kCaption);
      view.setFocus(kHourEntry);
      return;
    }
    platform::DateTime t;
    t.year = *year, t.month = *month, t.day = *day;
    t.hour = *hour, t.minute = *minute, t.second = *second;
    t.dayOfWeek = dayOfWeek(t.year, t.month, t.day);
    const int error = setter_.setLocal(t);
    if (error == 0) return view.end(1);
    if (error == platform::kErrPrivilegeNotHeld)
      ui::inform(host_,
                 base::format("This User May Not Set the Clock of This PC.\n%s",
                              platform::errorText(error).c_str()),
                 kCaption);
    else
      ui::inform(host_,
                 base::format("Date and Time Not Set\n%s\nError:%d", platform::errorText(error).c_str(), error),
                 kCaption);
  }

 private:
  ui::Host& host_;
  platform::ClockSetter& setter_;
};

}  // namespace

bool dateExists(int year, int month, int day) {
  if (year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

int setDateTimeDialog(ui::Host& host, platform::ClockSetter& setter) {
  DateTimeController controller(host, setter);
  return host.runForm(dateTimeForm(), controller);
}

}  // namespace shell
