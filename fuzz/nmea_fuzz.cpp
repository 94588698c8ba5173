// libFuzzer target for what a GPS receiver sends in NMEA mode: the bytes go
// through the sentence assembler, the kept ones through the five-slot queue,
// and each one taken is handled on one position state, as the receiver's
// reader does. The first byte picks the settings that change the handlers'
// paths (units, bearing reference, coordinate format, a queue drained every
// n sentences so that it also fills up).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "gps/nmea.hpp"

namespace {

void checkState(const gps::GpsData& d) {
  const gps::Position& p = d.position;
  if (!(p.latitude >= -90 && p.latitude <= 90 && p.longitude >= -180 && p.longitude <= 180)) __builtin_trap();
  if (!std::isfinite(p.heightEllipsoid) || !std::isfinite(d.quality.course)) __builtin_trap();
  if (d.quality.course < 0 || d.quality.course >= 360) __builtin_trap();
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 16384;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput || size < 1) return 0;
  const std::uint8_t settings = data[0];
  gps::GpsData d;
  d.parms.setVelocityUnit(1 + settings % 5);
  d.parms.setBearingRef(settings & 0x08 ? gps::kMagneticBearing : gps::kTrueBearing);
  d.parms.setCoordinateFormat((settings >> 4) % 7);
  d.parms.setUnitOfMeasure(settings & 0x80 ? gps::kMetric : gps::kStandard);
  const std::size_t drainEvery = 1 + (settings >> 5) % 7;
  gps::DecodeInput in;
  in.utcNow = {2024, 3, 5, 10, 20, 30, 0, 2};
  in.landscape = settings & 0x04;

  gps::SentenceAssembler assembler;
  gps::SentenceQueue queue;
  std::string taken;
  std::size_t complete = 0;
  auto drain = [&] {
    while (queue.take(taken)) {
      if (taken.size() > gps::kSlotText) __builtin_trap();
      const gps::DecodeEffects e = gps::handleSentence(d, taken, in);
      if (e.setClock && (e.clockUtc.month < 1 || e.clockUtc.month > 12 || e.clockUtc.second > 59)) __builtin_trap();
      checkState(d);
      in.utcNow.second = (in.utcNow.second + 7) % 60;
    }
  };
  for (std::size_t i = 1; i < size; ++i) {
    if (!assembler.feed(data[i])) continue;
    const std::string& s = assembler.sentence();
    if (s.size() > gps::kSentenceLimit || s.empty() || s[0] != '$') __builtin_trap();
    // Whole sentences go to the handlers too, past the slot's cut.
    (void)gps::handleSentence(d, s, in);
    checkState(d);
    if (gps::keptSentence(s)) (void)queue.put(s);
    if (++complete % drainEvery == 0) drain();
  }
  drain();
  return 0;
}
