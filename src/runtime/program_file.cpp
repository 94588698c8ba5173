#include "runtime/program_file.hpp"

#include "base/le.hpp"
#include "runtime/instruction.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

namespace {

constexpr std::size_t kSegmentWordSize = 4;
constexpr const char* kRunErrorLine = "runtime error";
constexpr const char* kDataSizeLine = "runtime ds size error";
constexpr const char* kCodeSizeLine = "runtime cs size error";

int failWith(std::string& firstLine, const char* line, int code) {
  firstLine = line;
  return code;
}

bool hasSignature(const std::uint8_t* bytes, std::size_t size) {
  if (size < kHeaderSize) return false;
  auto upper = [](std::uint8_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
  return upper(bytes[0]) == 'T' && upper(bytes[1]) == 'F' && upper(bytes[2]) == 'C';
}

}  // namespace

int parseProgram(const std::uint8_t* bytes, std::size_t size, ProgramImage& out, std::string& firstLine) {
  firstLine = kRunErrorLine;
  if (size >= kFileLimit) return kErrTooLarge;
  if (bytes == nullptr && size != 0) return kErrFileRead;

  // A file too short to hold the header cannot carry one, so it is read as
  // the variant without: a 4-byte file with segment word 0 is an empty program.
  const bool withHeader = hasSignature(bytes, size);
  const std::size_t header = withHeader ? kHeaderSize : 0;
  if (size - header < kSegmentWordSize) return kErrFileRead;

  const std::uint32_t word = base::getU32(bytes + header);
  const std::size_t dataSize = word & 0xFFFFu;
  const std::uint16_t entry = static_cast<std::uint16_t>(word >> 16);
  if (dataSize == 0xFFFFu) return failWith(firstLine, kDataSizeLine, kErrTooLarge);

  const std::size_t afterWord = size - header - kSegmentWordSize;
  // A data segment longer than the rest of the file leaves a negative code size.
  if (dataSize > afterWord) return failWith(firstLine, kCodeSizeLine, kErrFileSize);
  const std::size_t codeSize = afterWord - dataSize;
  if (codeSize > kSegmentMax) return failWith(firstLine, kCodeSizeLine, kErrTooLarge);
  // Only whole instructions can be executed; a torn last one is a damaged file.
  if (codeSize % kInstructionSize != 0) return failWith(firstLine, kCodeSizeLine, kErrFileSize);

  // The entry must name an instruction. An empty program may only start at 0
  // (it then stops at once with "Unknown Command" when run).
  const std::size_t count = codeSize / kInstructionSize;
  if (count == 0 ? entry != 0 : entry >= count) return kErrFileSize;

  const std::uint8_t* data = bytes + header + kSegmentWordSize;
  out.withHeader = withHeader;
  out.data.assign(data, data + dataSize);
  out.code.assign(data + dataSize, data + dataSize + codeSize);
  out.entry = entry;
  return kNoError;
}

}  // namespace runtime
