// libFuzzer target for what a TSIP receiver sends: the bytes go through the
// packet assembler and every packet it gives is handled on one position
// state, whose display settings come from the first byte of the input.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "gps/tsip.hpp"

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  if (size < 1) return 0;
  gps::GpsData d;
  d.parms.setVelocityUnit(data[0] & 0x07);
  d.parms.setBearingRef(data[0] & 0x08 ? gps::kMagneticBearing : gps::kTrueBearing);
  d.parms.setCoordinateFormat(data[0] >> 4 & 0x07);
  d.parms.setMagneticVariation(data[0] & 0x80 ? -725.5 : 12.5);
  gps::DecodeInput in;
  in.utcNow = {2024, 12, 31, 23, 59, 58, 0, 2};
  gps::TsipAssembler packets;
  for (std::size_t i = 1; i < size; ++i) {
    if (!packets.feed(data[i])) continue;
    if (packets.data().size() + 1 >= gps::kTsipBufferLimit) __builtin_trap();
    const gps::DecodeEffects fx = gps::handleTsipPacket(d, packets.id(), packets.data(), in);
    const gps::Position& p = d.position;
    if (!fx.handled && (!fx.reply.empty() || fx.setClock)) __builtin_trap();
    if (!(std::fabs(p.latitude) <= 90) || !(std::fabs(p.longitude) <= 180)) __builtin_trap();
    if (!std::isfinite(d.quality.speed) || !(d.quality.course >= 0 && d.quality.course < 360)) __builtin_trap();
    if (fx.setClock && (fx.clockUtc.hour > 23 || fx.clockUtc.minute > 59 || fx.clockUtc.second > 59 ||
                        fx.clockUtc.month < 1 || fx.clockUtc.month > 12 || fx.clockUtc.day < 1))
      __builtin_trap();
  }
  return 0;
}
