#pragma once
// "Set Date - Time": shows the PC's local date and time and sets them.
namespace platform { class ClockSetter; }
namespace ui { class Host; }

namespace shell {

inline constexpr int kDateTimeDialog = 140;
inline constexpr int kMonthEntry = 1401, kDayEntry = 1402, kYearEntry = 1403;
inline constexpr int kHourEntry = 1404, kMinuteEntry = 1405, kSecondEntry = 1406;
// The years the dialog takes.
inline constexpr int kFirstYear = 1970, kLastYear = 2099;

// Whether the date exists (the Gregorian leap-year rule; years kFirstYear to
// kLastYear only).
bool dateExists(int year, int month, int day);

// Shows platform::clock().localTime() (month/day/year, hour:minute:second)
// for the user to change. OK with a date or time that does not exist says
// so and the dialog stays; otherwise the local time is set through setter
// (the program passes platform::nativeClockSetter()); a failure shows the
// system's text of the error (plainly that the user may not set the clock
// for kErrPrivilegeNotHeld) and the dialog stays. Returns 1 when the clock
// was set, 0 on Cancel.
int setDateTimeDialog(ui::Host& host, platform::ClockSetter& setter);

}  // namespace shell
