#include "transfer/debug_log.hpp"

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "platform/files.hpp"

namespace transfer {

DebugLog::DebugLog(std::string path, std::uint64_t limitBytes)
    : path_(std::move(path)), limit_(limitBytes) {}

void DebugLog::setPath(std::string path) {
  std::lock_guard<std::mutex> guard(lock_);
  path_ = std::move(path);
}

std::string DebugLog::path() const {
  std::lock_guard<std::mutex> guard(lock_);
  return path_;
}

void DebugLog::setLimit(std::uint64_t bytes) {
  std::lock_guard<std::mutex> guard(lock_);
  limit_ = bytes;
}

void DebugLog::line(const std::string& text) {
  std::lock_guard<std::mutex> guard(lock_);
  if (path_.empty()) return;
  auto& fs = platform::fileSystem();
  std::unique_ptr<platform::FileHandle> file;
  if (fs.open(path_, platform::Access::Write, platform::Disposition::OpenAlways, file) != 0) return;
  std::int64_t size = 0;
  if (file->size(size) != 0) return;
  if (size > 0 && static_cast<std::uint64_t>(size) >= limit_) {
    // Keep the last full log beside the new one rather than grow without end.
    file->close();
    file.reset();
    if (fs.replace(path_, path_ + ".old") != 0) (void)fs.remove(path_);
    if (fs.open(path_, platform::Access::Write, platform::Disposition::CreateAlways, file) != 0) return;
  }
  std::int64_t end = 0;
  if (file->seek(0, platform::SeekFrom::End, end) != 0) return;
  std::string out = text;
  out += '\n';
  std::size_t done = 0;
  (void)file->write(out.data(), out.size(), done);
  (void)file->close();
}

void DebugLog::linef(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return;
  line(buffer);
}

}  // namespace transfer
