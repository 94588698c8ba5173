// The general reader thread of a port instance.
#include <chrono>
#include <optional>

#include "serial/line_assembler.hpp"
#include "serial/port_instance.hpp"

namespace serial {

namespace {

// How long one read waits for a byte: the device call waits, so an idle
// port costs no processor, and a stop request is seen within this time.
constexpr std::uint32_t kReadWaitMs = 5;
// Total limit for writing what was queued.
constexpr std::uint32_t kWriteLimitMs = 1500;
// The pause after a failed read, so a device that keeps failing (the
// instrument was unplugged) does not keep a core busy.
constexpr std::chrono::milliseconds kReadFailurePause{100};

void sendQueued(PortChannel& channel) {
  std::string out = channel.takeSend();
  if (out.empty()) return;
  std::size_t written = 0;
  const int result = channel.device->write(out.data(), out.size(), kWriteLimitMs, written);
  channel.sendDone(result);
}

}  // namespace

void runLineReader(PortChannel& channel) {
  LineAssembler assembler(channel.terminator);
  unsigned seenPurges = channel.purgeCount.load();
  bool wasTerminal = false;
  while (!channel.stop.load()) {
    sendQueued(channel);

    std::uint8_t byte = 0;
    const int result = channel.device->readByte(byte, kReadWaitMs);
    if (result == platform::kSerialTimeout) continue;
    if (result != platform::kSerialOk) {
      channel.recordError("ReadFile()", result);
      channel.pauseUnlessStopped(kReadFailurePause);
      continue;
    }

    if (channel.purgeCount.load() != seenPurges) {
      seenPurges = channel.purgeCount.load();
      assembler.reset();
    }
    if (channel.offerTerminalByte(byte)) {
      wasTerminal = true;
      continue;
    }
    if (wasTerminal) {
      // What came before terminal mode ended belongs to no line.
      wasTerminal = false;
      assembler.reset();
    }
    std::optional<std::string> line = assembler.push(byte);
    if (!line) continue;
    std::lock_guard<std::mutex> g(channel.lock);
    // A purge between the line's start and its end makes it stale.
    if (channel.purgeCount.load() != seenPurges) {
      seenPurges = channel.purgeCount.load();
      assembler.reset();
      continue;
    }
    channel.store.store(*line);
  }
  // The device is closed by whoever holds the channel last.
}

}  // namespace serial
