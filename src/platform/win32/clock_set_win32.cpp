#include <windows.h>

#include "platform/clock_set.hpp"
#include "platform/errors.hpp"

namespace platform {

namespace {

SYSTEMTIME toSystemTime(const DateTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wMilliseconds = 0;
  return st;
}

// Turns the system-time privilege on or off in the process token: an
// account that holds it has it disabled until asked. Returns the error code
// (0 when done; kErrPrivilegeNotHeld when the account lacks it).
int systemTimePrivilege(bool on) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return static_cast<int>(GetLastError());
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  int rc = 0;
  if (!LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &tp.Privileges[0].Luid)) {
    rc = static_cast<int>(GetLastError());
  } else {
    tp.Privileges[0].Attributes = on ? SE_PRIVILEGE_ENABLED : 0;
    // AdjustTokenPrivileges succeeds without assigning a privilege the
    // account lacks; GetLastError tells.
    if (!AdjustTokenPrivileges(token, FALSE, &tp, sizeof tp, nullptr, nullptr))
      rc = static_cast<int>(GetLastError());
    else if (GetLastError() == ERROR_NOT_ALL_ASSIGNED)
      rc = kErrPrivilegeNotHeld;
  }
  CloseHandle(token);
  return rc;
}

template <class Set>
int withPrivilege(const DateTime& t, Set set) {
  const int enabled = systemTimePrivilege(true);
  if (enabled != 0) return enabled;
  const SYSTEMTIME st = toSystemTime(t);
  const int rc = set(&st) ? 0 : static_cast<int>(GetLastError());
  (void)systemTimePrivilege(false);
  return rc;
}

class Win32ClockSetter : public ClockSetter {
 public:
  int setUtc(const DateTime& t) override {
    return withPrivilege(t, [](const SYSTEMTIME* st) { return SetSystemTime(st) != 0; });
  }
  int setLocal(const DateTime& t) override {
    return withPrivilege(t, [](const SYSTEMTIME* st) { return SetLocalTime(st) != 0; });
  }
  int setLocalFromHost(const DateTime& t) override {
    TIME_ZONE_INFORMATION zone{};
    if (GetTimeZoneInformation(&zone) != TIME_ZONE_ID_DAYLIGHT) return setLocal(t);
    TIME_ZONE_INFORMATION lowered = zone;
    lowered.Bias -= 1;
    // Changing the zone needs its own privilege; without it the time is set
    // with the zone as it stands.
    const bool shifted = SetTimeZoneInformation(&lowered) != 0;
    const int rc = setLocal(t);
    if (shifted) (void)SetTimeZoneInformation(&zone);
    return rc;
  }
};

}  // namespace

ClockSetter& nativeClockSetter() {
  static Win32ClockSetter setter;
  return setter;
}

}  // namespace platform
