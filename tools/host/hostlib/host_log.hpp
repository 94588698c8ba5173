#pragma once
// The host's log: lines to standard error and, when a file is given, appended
// to it (log/host.log). Each line starts with the UTC time. Thread-safe.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// What one session did, for its log line.
struct SessionRecord {
  std::string unit;     // "?" before the login block was read
  std::string peer;     // "a.b.c.d:port"
  std::string session;  // the session's name ("" before it had one)
  int filesIn = 0, filesOut = 0;
  std::uint64_t bytesIn = 0, bytesOut = 0;
  bool ok = false;      // the session ended with 'Z' and was kept
  std::string result;   // "complete", or why it failed
};

// "session unit=U peer=P id=S in=2/1234 out=5/6789 result=..." (no time).
std::string sessionLine(const SessionRecord& r);

class HostLog {
 public:
  // filePath empty: standard error only. toStderr false: the file only.
  HostLog(std::string filePath, bool toStderr) : path_(std::move(filePath)), stderr_(toStderr) {}

  void line(std::string_view text);
  void session(const SessionRecord& r) { line(sessionLine(r)); }

  // The lines written so far, kept when keep(true) (tests read them).
  void keep(bool on);
  std::vector<std::string> kept();

 private:
  std::mutex lock_;
  std::string path_;
  bool stderr_;
  bool keep_ = false;
  std::vector<std::string> kept_;
};

}  // namespace host
