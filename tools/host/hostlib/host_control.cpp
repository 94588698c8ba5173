#include "hostlib/host_control.hpp"

#include "transfer/control_file.hpp"

namespace host {

transfer::HostClock trailerFor(const platform::DateTime& t) {
  transfer::HostClock c;
  c.year = static_cast<std::uint16_t>(t.year);
  c.month = static_cast<std::uint16_t>(t.month);
  c.dayOfWeek = static_cast<std::uint16_t>(t.dayOfWeek + 1);
  c.day = static_cast<std::uint16_t>(t.day);
  c.hour = static_cast<std::uint16_t>(t.hour);
  c.minute = static_cast<std::uint16_t>(t.minute);
  c.second = static_cast<std::uint16_t>(t.second);
  c.milliseconds = static_cast<std::uint16_t>(t.millisecond);
  return c;
}

bool buildHostControl(const std::string& unit, std::uint16_t datasetsReceived,
                      const std::vector<OfferedFile>& offer,
                      const std::optional<transfer::HostClock>& clock, std::vector<std::uint8_t>& out) {
  transfer::ControlFile file;
  if (!file.header.stamp(kHostVersionText, unit)) return false;
  std::uint16_t apps = 0, messages = 0;
  std::uint32_t total = 0;
  for (const auto& f : offer) {
    transfer::ControlEntry e;
    if (!e.setName(f.name) || !e.setFolder(f.folder)) return false;
    e.setFileSize(f.size);
    e.setWriteTime(f.writeTime);
    e.setCreateTime(f.writeTime);
    e.setType(f.type);
    if (f.type == transfer::kEntryApplication) ++apps;
    if (f.type == transfer::kEntryMessage) ++messages;
    total += f.size;
    file.entries.push_back(e);
  }
  file.header.setDatasetCount(datasetsReceived);
  file.header.setAppCount(apps);
  file.header.setMessageCount(messages);
  file.header.setTotalBytes(total);
  file.clock = clock;
  return transfer::buildControlFile(file, out);
}

std::string completionText(const std::string& unit, const std::string& session) {
  return "Transfer complete\r\nUnit: " + unit + "\r\nSession: " + session + "\r\n";
}

}  // namespace host
