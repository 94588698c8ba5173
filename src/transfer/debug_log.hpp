#pragma once
// The host link's debug log: an 8-bit text file to which each step appends
// one line, opening and closing the file for every line so that the log
// survives a crash. A log that cannot be opened is skipped silently. The file
// is bounded: once it has grown past the limit it becomes "<path>.old"
// (replacing an older one) and a new file is started. Thread-safe.
#include <cstdint>
#include <mutex>
#include <string>

namespace transfer {

inline constexpr std::uint64_t kDebugLogLimit = 1024 * 1024;

class DebugLog {
 public:
  // An empty path switches the log off.
  explicit DebugLog(std::string path = {}, std::uint64_t limitBytes = kDebugLogLimit);

  void setPath(std::string path);
  std::string path() const;
  void setLimit(std::uint64_t bytes);

  // Appends text and a line break.
  void line(const std::string& text);
  // Appends a printf-formatted line (at most 511 characters; longer is cut).
  void linef(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

 private:
  mutable std::mutex lock_;
  std::string path_;
  std::uint64_t limit_;
};

}  // namespace transfer
