#pragma once
// The table file's header and field descriptors: reading them defensively from
// bytes of unknown origin, and building them for a new table. Pure functions on
// byte images; no file access.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/clock.hpp"
#include "tablestore/field_list.hpp"

namespace tablestore {

inline constexpr int kHeaderSize = 32;      // the fixed part
inline constexpr int kDescriptorSize = 32;  // one per field
inline constexpr int kMaxLength = 65534;    // longest record and longest header
inline constexpr std::uint8_t kHeaderEnd = 0x0D;
inline constexpr std::uint8_t kFileEnd = 0x1A;
inline constexpr char kLive = ' ';
inline constexpr char kDeleted = '*';

// Offsets inside the fixed header.
inline constexpr int kAtVersion = 0, kAtDate = 1, kAtCount = 4, kAtHeaderLength = 8,
                     kAtRecordLength = 10;

struct FieldLayout {
  std::string name;  // as stored: up to the first NUL, trailing blanks dropped
  char type = 'C';
  int length = 0;
  int decimals = 0;  // 0 for C (whose decimals byte is the length's high byte)
  int offset = 0;    // from the start of the record; the first field is at 1
};

struct TableLayout {
  std::uint8_t version = 0x03;
  int headerLength = 0;           // records start here
  int recordLength = 0;           // deletion flag + fields (+ any padding another tool left)
  std::uint32_t storedCount = 0;  // the record count the header claims
  std::vector<FieldLayout> fields;
};

// Reads the fixed 32-byte header. 0, or kErrData when the bytes are too few,
// the version byte is not one of a table file, or the lengths cannot describe a
// table of fileSize bytes (header longer than the file, room for no field).
int readFixedHeader(const std::uint8_t* bytes, std::size_t count, std::int64_t fileSize,
                    TableLayout& out);

// Reads the descriptors from the whole header image (out.headerLength bytes),
// stopping at the terminator or at the end of the header. Offsets are worked out
// from the lengths in order (other tools leave the stored displacement zero or
// stale). 0; kErrData when there is no field, a field has length 0, or the
// fields do not fit in the record length; kErrFieldType for an unknown type.
int readDescriptors(const std::uint8_t* header, TableLayout& out);

// Builds the header image of a new table (header, descriptors, 0x0D, 0x1A) from
// a field list ended by its first unnamed entry (or by its end). 0;
// kErrNullParameter for an empty list, kErrData for a type other than C, N, F,
// D, L or a length that type cannot hold, kErrRecordLength when the record or
// the header would exceed 65534 bytes.
int buildHeader(std::span<const FieldSpec> fields, const platform::DateTime& today,
                std::vector<std::uint8_t>& image, TableLayout& layout);

// Writes the date of last update and the record count: header bytes 1-7.
void putDateAndCount(std::uint8_t* bytes1to7, const platform::DateTime& today, std::uint32_t count);

}  // namespace tablestore
