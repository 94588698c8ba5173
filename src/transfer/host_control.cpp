#include "transfer/host_control.hpp"

#include "platform/clock_set.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"

namespace transfer {

bool readHostControl(const std::string& path, ControlFile& out, std::uint32_t& fileBytes) {
  std::string bytes;
  if (platform::readWholeFile(path, bytes, kMaxHostControlBytes) != platform::kOk) return false;
  ControlFile file;
  if (parseControlFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), file) !=
      WireParse::kOk)
    return false;
  out = std::move(file);
  fileBytes = static_cast<std::uint32_t>(bytes.size());
  return true;
}

bool applyHostClock(const ControlFile& file, platform::ClockSetter* clock) {
  if (clock == nullptr || !file.clock) return false;
  const auto at = clockToSet(*file.clock);
  if (!at) return false;
  platform::DateTime t;
  t.year = at->year;
  t.month = at->month;
  t.day = at->day;
  t.dayOfWeek = at->dayOfWeek % 7;
  t.hour = at->hour;
  t.minute = at->minute;
  t.second = at->second;
  t.millisecond = at->milliseconds;
  return clock->setLocalFromHost(t) == platform::kOk;
}

}  // namespace transfer
