// Terminal input: any byte stream, split anywhere, with time-outs anywhere,
// must decode without faults and give only key codes the program knows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "key_decoder.hpp"

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 1024;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  tui::KeyDecoder decoder;
  std::vector<tui::InputEvent> out;
  std::uint64_t now = 0;
  std::size_t i = 0;
  while (i < size) {
    // The first byte of each chunk says how long it is and whether a
    // time-out follows it, so the fuzzer explores every split.
    std::size_t len = (data[i] & 0x0F) + 1;
    bool timeout = (data[i] & 0x80) != 0;
    ++i;
    len = std::min(len, size - i);
    decoder.feed(std::string_view(reinterpret_cast<const char*>(data + i), len), now, out);
    i += len;
    now += 37;
    if (timeout && decoder.pending()) decoder.timeOut(out);
  }
  decoder.timeOut(out);
  if (decoder.pending()) __builtin_trap();  // a time-out always ends a sequence
  return 0;
}
