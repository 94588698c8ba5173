#include "transfer/file_header.hpp"

#include <algorithm>
#include <cstring>

#include "transfer/wire_text.hpp"

namespace transfer {

bool FileHeader::setName(std::string_view name) {
  if (name.empty() || !fitsField(name, kNameSize)) return false;
  setText8(kName, kNameSize, name);
  return true;
}

bool buildFileHeader(std::string_view name, std::uint32_t length, FileHeader& out) {
  FileHeader header;
  if (!header.setName(name)) return false;
  header.setLength(length);
  out = header;
  return true;
}

WireParse parseFileHeader(const std::uint8_t* bytes, std::size_t size, std::uint32_t maxLength,
                          FileHeader& out) {
  if (bytes == nullptr || size < FileHeader::kSize) return WireParse::kShort;
  if (!terminated(bytes, FileHeader::kName, FileHeader::kNameSize))
    return WireParse::kUnterminatedName;
  FileHeader header;
  std::copy(bytes, bytes + FileHeader::kSize, header.bytes().begin());
  if (header.length() > maxLength) return WireParse::kLengthAboveMax;
  out = header;
  return WireParse::kOk;
}

}  // namespace transfer
