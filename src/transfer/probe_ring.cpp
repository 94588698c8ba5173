#include "transfer/probe_ring.hpp"

namespace transfer {

MonitorStats ProbeRing::record(std::uint32_t reply) {
  const int latest = next_;
  slots_[latest] = Slot{true, reply};
  next_ = (next_ + 1) % kSlots;

  std::uint32_t used = 0, lost = 0;
  std::uint64_t sum = 0;
  for (const Slot& s : slots_) {
    if (!s.used) continue;
    ++used;
    if (s.reply == 0) ++lost;
    sum += s.reply;
  }
  MonitorStats stats;
  if (used > lost) stats.averageReply = static_cast<std::uint32_t>(sum / (used - lost));
  stats.lossPercent = lost * 100 / used;  // used >= 1: this probe
  for (int i = 0; i < kSlots; ++i) {
    const Slot& s = slots_[(latest - i + kSlots) % kSlots];
    if (!s.used || s.reply == 0) break;
    ++stats.runLength;
  }
  if (stats.lossPercent == 100) {
    slots_ = {};
    next_ = 0;
  }
  return stats;
}

}  // namespace transfer
