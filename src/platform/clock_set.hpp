#pragma once
// Setting the PC's clock: from GPS time (UTC) and from the date and time
// dialog (local time). Tests replace the setter; the program uses the
// native one.
#include "platform/clock.hpp"

namespace platform {

class ClockSetter {
 public:
  virtual ~ClockSetter() = default;
  // Sets the system clock to t (UTC; millisecond and dayOfWeek ignored):
  // 0, or an error code (kErrPrivilegeNotHeld where the user may not set the
  // clock, kErrInvalidParameter for a date or time that does not exist).
  virtual int setUtc(const DateTime& t) = 0;
  // The same for local time (the time zone's rules turn it into UTC).
  virtual int setLocal(const DateTime& t) = 0;
  // setLocal for a time a transfer host sent. Windows: while daylight saving
  // time is in force the time zone's bias is lowered by one minute around
  // the setting and restored after it, even when setting fails (the host's
  // clock rule); elsewhere, and in test setters, plain setLocal.
  virtual int setLocalFromHost(const DateTime& t) { return setLocal(t); }
};

// Windows: SetSystemTime / SetLocalTime (with the system-time privilege
// enabled first). POSIX: clock_settime, which needs the right to set the time.
ClockSetter& nativeClockSetter();

}  // namespace platform
