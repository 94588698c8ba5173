// libFuzzer target for what a host sends in a transfer session: the first
// byte picks the reader (control file, file header, login block), the rest is
// its input. Whatever a reader accepts must build back into the same bytes,
// and the names and the date and time it yields go through their rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "transfer/clock_trailer.hpp"
#include "transfer/control_file.hpp"
#include "transfer/file_header.hpp"
#include "transfer/login_block.hpp"
#include "transfer/received_names.hpp"

namespace {

void controlFile(const std::uint8_t* data, std::size_t size) {
  transfer::ControlFile file;
  if (transfer::parseControlFile(data, size, file) != transfer::WireParse::kOk) return;
  if (file.entries.size() != file.header.entryCount()) __builtin_trap();
  std::vector<std::uint8_t> again;
  if (!transfer::buildControlFile(file, again) || again.size() != size ||
      !std::equal(again.begin(), again.end(), data))
    __builtin_trap();
  for (const transfer::ControlEntry& entry : file.entries) {
    if (entry.name().size() >= transfer::ControlEntry::kNameSize) __builtin_trap();
    (void)transfer::updateMayReplace(entry.name());
  }
  if (file.clock) {
    const auto set = transfer::clockToSet(*file.clock);
    if (set && (!transfer::clockValid(*set) || set->day != file.clock->day)) __builtin_trap();
  }
}

void fileHeader(const std::uint8_t* data, std::size_t size) {
  transfer::FileHeader header;
  const std::uint32_t max = 1u << 20;
  if (transfer::parseFileHeader(data, size, max, header) != transfer::WireParse::kOk) return;
  if (header.length() > max || header.name().size() >= transfer::FileHeader::kNameSize ||
      !std::equal(header.bytes().begin(), header.bytes().end(), data))
    __builtin_trap();
  (void)transfer::plainReceivedName(header.name());
}

void loginBlock(const std::uint8_t* data, std::size_t size) {
  transfer::LoginBlock block;
  if (transfer::parseLoginBlock(data, size, block) != transfer::WireParse::kOk) return;
  if (block.unitId().size() >= transfer::LoginBlock::kUnitIdSize) __builtin_trap();
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 16384;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  switch (data[0] % 3) {
    case 0: controlFile(data + 1, size - 1); break;
    case 1: fileHeader(data + 1, size - 1); break;
    default: loginBlock(data + 1, size - 1); break;
  }
  return 0;
}
