// libFuzzer target for the host server's side of a session: the input is
// everything a unit sends on one connection (login block, command bytes,
// headers, file data), fed to the session through a socket that replays it
// in pieces whose sizes the input's first byte varies. Whatever arrives, the
// session must end, write nothing outside its root, and leave no partial
// folder behind.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "scratch_file.hpp"
#include "hostlib/host_log.hpp"
#include "hostlib/unit_session.hpp"
#include "platform/socket.hpp"

namespace {

class ReplaySocket : public platform::TcpSocket {
 public:
  ReplaySocket(const std::uint8_t* data, std::size_t size, std::size_t piece)
      : data_(data), size_(size), piece_(piece) {}
  int wait(platform::SocketWait, std::uint32_t) override { return 0; }
  int send(const void*, std::size_t size, std::size_t& sent) override {
    sent = size;
    return 0;
  }
  int receive(void* out, std::size_t size, std::size_t& received) override {
    received = std::min({size, size_ - at_, piece_});
    std::memcpy(out, data_ + at_, received);
    at_ += received;
    return 0;  // 0 bytes at the end: the unit closed
  }
  int shutdownBoth() override { return 0; }
  int close() override { return 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_, at_ = 0, piece_;
};

constexpr std::size_t kMaxInput = 16384;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  namespace fs = std::filesystem;
  static const std::string root = fuzz_support::scratchPath("host");
  static host::HostLog log("", false);
  static host::SessionNamer namer;
  static host::ActiveUnits units;
  static std::atomic<bool> stopping{false};
  std::error_code ec;
  fs::remove_all(root, ec);
  fs::create_directories(fs::path(root) / "outbox" / "all", ec);
  host::HostContext context{host::HostTree{root}, host::SessionLimits{}, namer, units, log, stopping};
  context.limits.idleMs = 50;
  context.limits.maxFileBytes = 1u << 16;
  ReplaySocket socket(data + 1, size - 1, 1 + data[0] % 64);
  (void)host::serveUnit(socket, "fuzz", context);
  // A session that failed keeps nothing: no partial folder may be left.
  for (const auto& unit : fs::directory_iterator(fs::path(root) / "inbox", ec))
    for (const auto& entry : fs::directory_iterator(unit.path(), ec))
      if (entry.path().filename().string().rfind(host::kPartialPrefix, 0) == 0) __builtin_trap();
  return 0;
}
