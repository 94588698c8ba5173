#include "base/le.hpp"
#include "runtime/program_image.hpp"
#include "tfabuild/disassembler.hpp"

namespace tfabuild {

bool splitProgramFile(const std::vector<std::uint8_t>& bytes, ProgramFileParts& out, std::string& why) {
  out = ProgramFileParts{};
  auto lower = [](std::uint8_t c) { return static_cast<std::uint8_t>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
  std::size_t at = 0;
  if (bytes.size() >= runtime::kHeaderSize && lower(bytes[0]) == 't' && lower(bytes[1]) == 'f' &&
      lower(bytes[2]) == 'c') {
    out.withHeader = true;
    at = runtime::kHeaderSize;
  }
  if (bytes.size() - at < 4) {
    why = "the file of " + std::to_string(bytes.size()) + " bytes has no segment word";
    return false;
  }
  out.dataSize = base::getU16(bytes.data() + at);
  out.entry = base::getU16(bytes.data() + at + 2);
  at += 4;
  if (bytes.size() - at < out.dataSize) {
    why = "the data segment of " + std::to_string(out.dataSize) + " bytes runs past the file's end";
    return false;
  }
  out.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                  bytes.begin() + static_cast<std::ptrdiff_t>(at + out.dataSize));
  at += out.dataSize;
  std::size_t whole = (bytes.size() - at) / 14 * 14;
  out.code.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                  bytes.begin() + static_cast<std::ptrdiff_t>(at + whole));
  out.tail.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + whole), bytes.end());
  return true;
}

}  // namespace tfabuild
