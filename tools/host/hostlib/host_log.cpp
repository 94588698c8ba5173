#include "hostlib/host_log.hpp"

#include <cstdio>

#include "base/text.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"

namespace host {

std::string sessionLine(const SessionRecord& r) {
  return base::format("session unit=%s peer=%s id=%s in=%d/%llu out=%d/%llu %s result=%s",
                      r.unit.empty() ? "?" : r.unit.c_str(), r.peer.c_str(),
                      r.session.empty() ? "-" : r.session.c_str(), r.filesIn,
                      static_cast<unsigned long long>(r.bytesIn), r.filesOut,
                      static_cast<unsigned long long>(r.bytesOut), r.ok ? "ok" : "FAILED",
                      r.result.c_str());
}

void HostLog::line(std::string_view text) {
  const platform::DateTime t = platform::clock().systemTime();
  std::string full = base::format("%04d-%02d-%02dT%02d:%02d:%02dZ ", t.year, t.month, t.day, t.hour,
                                  t.minute, t.second);
  full.append(text);
  // Outside text (unit identifiers, names) never breaks a line in two.
  for (char& c : full) {
    if (static_cast<unsigned char>(c) < ' ') c = '?';
  }
  std::lock_guard<std::mutex> hold(lock_);
  if (keep_) kept_.push_back(full);
  full += '\n';
  if (stderr_) {
    std::fputs(full.c_str(), stderr);
    std::fflush(stderr);
  }
  if (path_.empty()) return;
  platform::File f = platform::openFile(path_, platform::Access::Write, platform::Disposition::OpenAlways);
  if (!f.isOpen()) return;
  std::int64_t end = 0;
  if (f.seek(0, platform::SeekFrom::End, end) == 0) (void)f.writeExact(full.data(), full.size());
  (void)f.close();
}

void HostLog::keep(bool on) {
  std::lock_guard<std::mutex> hold(lock_);
  keep_ = on;
}

std::vector<std::string> HostLog::kept() {
  std::lock_guard<std::mutex> hold(lock_);
  return kept_;
}

}  // namespace host
