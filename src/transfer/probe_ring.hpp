#pragma once
// The connection monitor's record of its last ten probes and the statistics
// drawn from them. A reply of 0 is a lost probe; any other value is the
// answered probe's reply time.
#include <array>
#include <cstdint>

namespace transfer {

struct MonitorStats {
  std::uint32_t averageReply = 0;  // over answered probes; 0 when none answered
  std::uint32_t lossPercent = 0;   // lost × 100 ÷ used
  std::uint32_t runLength = 0;     // answered probes in a row, latest first (at most 10)
};

class ProbeRing {
 public:
  static constexpr int kSlots = 10;

  // Stores reply in the next slot (wrapping after ten) and returns the
  // statistics of the used slots. A loss of 100 percent empties the ring, so
  // the next probe starts a fresh count.
  MonitorStats record(std::uint32_t reply);

 private:
  struct Slot {
    bool used = false;
    std::uint32_t reply = 0;
  };
  std::array<Slot, kSlots> slots_{};
  int next_ = 0;
};

}  // namespace transfer
