#include "tablestore/table_layout.hpp"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "base/le.hpp"
#include "tablestore/errors.hpp"

namespace tablestore {

namespace {

// Version bytes of the table files we can read: the dBase III family with and
// without memo flags, and the variants other database programs write with the
// same header. Level 7 (0x04) lays its descriptors out otherwise and is refused.
bool knownVersion(std::uint8_t v) {
  static constexpr std::uint8_t kVersions[] = {0x02, 0x03, 0x05, 0x30, 0x31, 0x32, 0x43,
                                               0x63, 0x83, 0x8B, 0xCB, 0xF5, 0xFB};
  return std::find(std::begin(kVersions), std::end(kVersions), v) != std::end(kVersions);
}

// Types other tools write. Those beyond C N F D L are carried as raw text.
bool knownType(char t) {
  return t != 0 && std::string_view("CNFDLMIBYTGP0@+OVWQ").find(t) != std::string_view::npos;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int readFixedHeader(const std::uint8_t* bytes, std::size_t count, std::int64_t fileSize,
                    TableLayout& out) {
  if (count < static_cast<std::size_t>(kHeaderSize)) return kErrData;
  if (!knownVersion(bytes[kAtVersion])) return kErrData;
  out.version = bytes[kAtVersion];
  out.storedCount = base::getU32(bytes + kAtCount);
  out.headerLength = base::getU16(bytes + kAtHeaderLength);
  out.recordLength = base::getU16(bytes + kAtRecordLength);
  if (out.headerLength < kHeaderSize + kDescriptorSize) return kErrData;
  if (out.headerLength > fileSize) return kErrData;
  if (out.recordLength < 2) return kErrData;
  return kOk;
}

int readDescriptors(const std::uint8_t* header, TableLayout& out) {
  out.fields.clear();
  int offset = 1;
  for (int at = kHeaderSize; at + kDescriptorSize <= out.headerLength && header[at] != kHeaderEnd;
       at += kDescriptorSize) {
    const std::uint8_t* d = header + at;
    FieldLayout f;
    std::size_t n = 0;
    while (n < 11 && d[n] != 0) ++n;
    while (n > 0 && d[n - 1] == ' ') --n;
    f.name.assign(reinterpret_cast<const char*>(d), n);
    f.type = upper(static_cast<char>(d[11]));
    if (!knownType(f.type)) return kErrFieldType;
    if (f.type == 'C') {
      f.length = base::getU16(d + 16);
    } else {
      f.length = d[16];
      f.decimals = d[17];
    }
    if (f.length == 0) return kErrData;
    f.offset = offset;
    offset += f.length;
    if (offset > out.recordLength) return kErrData;
    out.fields.push_back(std::move(f));
  }
  return out.fields.empty() ? kErrData : kOk;
}

void putDateAndCount(std::uint8_t* p, const platform::DateTime& today, std::uint32_t count) {
  int year = std::clamp(today.year - 1900, 0, 255);
  p[0] = static_cast<std::uint8_t>(year);
  p[1] = static_cast<std::uint8_t>(std::clamp(today.month, 1, 12));
  p[2] = static_cast<std::uint8_t>(std::clamp(today.day, 1, 31));
  base::putU32(p + 3, count);
}

int buildHeader(std::span<const FieldSpec> fields, const platform::DateTime& today,
                std::vector<std::uint8_t>& image, TableLayout& layout) {
  layout = TableLayout{};
  long recordLength = 1;
  for (const FieldSpec& desc : fields) {
    if (desc.name.empty()) break;
    FieldLayout f;
    for (char c : std::string_view(desc.name).substr(0, 10)) f.name.push_back(upper(c));
    f.type = upper(desc.type);
    switch (f.type) {
      case 'C':
        if (desc.length < 1) return kErrData;
        if (desc.length > kMaxLength) return kErrRecordLength;
        f.length = desc.length;
        break;
      case 'N':
      case 'F':
        if (desc.length < 1 || desc.length > 255 || desc.decimals < 0 || desc.decimals > 255)
          return kErrData;
        f.length = desc.length;
        f.decimals = desc.decimals;
        break;
      case 'D': f.length = 8; break;
      case 'L': f.length = 1; break;
      default: return kErrData;
    }
    f.offset = static_cast<int>(recordLength);
    recordLength += f.length;
    if (recordLength > kMaxLength) return kErrRecordLength;
    layout.fields.push_back(std::move(f));
  }
  if (layout.fields.empty()) return kErrNullParameter;
  long headerLength = kHeaderSize + kDescriptorSize * static_cast<long>(layout.fields.size()) + 1;
  if (headerLength > kMaxLength) return kErrRecordLength;
  layout.headerLength = static_cast<int>(headerLength);
  layout.recordLength = static_cast<int>(recordLength);

  image.assign(static_cast<std::size_t>(headerLength) + 1, 0);
  image[kAtVersion] = 0x03;
  putDateAndCount(&image[kAtDate], today, 0);
  base::putU16(&image[kAtHeaderLength], static_cast<std::uint16_t>(headerLength));
  base::putU16(&image[kAtRecordLength], static_cast<std::uint16_t>(recordLength));
  std::uint8_t* d = &image[kHeaderSize];
  for (const FieldLayout& f : layout.fields) {
    std::copy(f.name.begin(), f.name.end(), d);
    d[11] = static_cast<std::uint8_t>(f.type);
    base::putU32(d + 12, static_cast<std::uint32_t>(f.offset));
    if (f.type == 'C') {
      base::putU16(d + 16, static_cast<std::uint16_t>(f.length));
    } else {
      d[16] = static_cast<std::uint8_t>(f.length);
      d[17] = static_cast<std::uint8_t>(f.decimals);
    }
    d += kDescriptorSize;
  }
  image[static_cast<std::size_t>(headerLength) - 1] = kHeaderEnd;
  image[static_cast<std::size_t>(headerLength)] = kFileEnd;
  return kOk;
}

}  // namespace tablestore
