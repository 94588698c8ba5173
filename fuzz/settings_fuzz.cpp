// The registry store and message files come from disk as they are: any bytes
// must parse, or be refused, without faults.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/registry.hpp"
#include "shell/messages.hpp"

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);

  char path[] = "/tmp/tallyfin-registry-fuzz-XXXXXX";
  int fd = ::mkstemp(path);
  if (fd < 0) return 0;
  if (::write(fd, data, size) != static_cast<ssize_t>(size)) {
    ::close(fd);
    ::unlink(path);
    return 0;
  }
  ::close(fd);
  {
    auto store = platform::makeFileRegistry(path);
    std::string out;
    store->readString(platform::RegRoot::CurrentUser, platform::kAppKey, "CurAppName", out);
    std::uint32_t v = 0;
    store->readDword(platform::RegRoot::CurrentUser, platform::kAppKey, "AutoXfer", v);
    store->writeString(platform::RegRoot::CurrentUser, platform::kAppKey, "CurAppName", text.substr(0, 64));
    if (store->readString(platform::RegRoot::CurrentUser, platform::kAppKey, "CurAppName", out) != 0 ||
        out != text.substr(0, 64))
      __builtin_trap();  // what was written must read back
  }
  ::unlink(path);

  auto lines = shell::messageLines(text, static_cast<int>(size % 300));
  if (lines.size() > shell::kMessageMaxLines + 3) __builtin_trap();
  for (const auto& l : lines)
    if (l.size() > static_cast<std::size_t>(shell::kMessageMaxWidth)) __builtin_trap();
  return 0;
}
