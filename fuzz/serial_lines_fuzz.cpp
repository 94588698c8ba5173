// libFuzzer target for what a serial instrument sends: the bytes go through
// the line assembler (the terminator taken from the first byte), and every
// line it gives is filtered, cut and spread by a serial input definition
// whose numbers come from the input too (they are read from the
// application's .ser file, so they may be anything).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "apps/level_records.hpp"
#include "serial/line_assembler.hpp"
#include "serial/sensor_values.hpp"

namespace {

// The definition: the first bytes of the input laid over the image, the
// rest left as zeros.
apps::SerialDef definitionFrom(const std::uint8_t* data, std::size_t size) {
  apps::SerialDef def;
  std::memcpy(def.bytes().data(), data, size < def.bytes().size() ? size : def.bytes().size());
  return def;
}

void useLine(const apps::SerialDef& def, const std::string& line) {
  const std::string upper = serial::upperAscii(line);
  if (!serial::linePasses(def.matchKind(), def.matchPos(), def.matchText(), upper)) return;
  const serial::CutValue cut = serial::cutValue(serial::cutRulesOf(def), upper);
  if (cut.value.size() > serial::kValueChars) __builtin_trap();
  (void)serial::shownInField(cut.value, def.matchPos());
  const int targets = serial::targetCountOf(def.targetCount());
  for (int i = 0; i < targets; ++i)
    (void)serial::targetText(cut.tokens, def.targetToken(i), def.join(), def.targetSuffix(i));
  (void)serial::parityLetter(def.parity());
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  if (size < 2) return 0;
  // The first two bytes say how much of the rest is the definition.
  const std::size_t defBytes = (static_cast<std::size_t>(data[0]) << 2) % (size - 1);
  const apps::SerialDef def = definitionFrom(data + 2, defBytes > size - 2 ? size - 2 : defBytes);
  serial::LineAssembler lines(static_cast<std::uint8_t>(serial::terminatorOf(data[1])));
  for (std::size_t i = 2; i < size; ++i) {
    if (auto line = lines.push(data[i])) {
      if (line->size() > serial::kLineLimit) __builtin_trap();
      useLine(def, *line);
    }
  }
  return 0;
}
