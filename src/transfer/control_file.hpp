#pragma once
// The control files of a host transfer. The PC sends one describing itself
// and the files it lists; the host answers with one in the same layout
// ("XferFromPC.bin") whose entries say what it sends, optionally followed by
// a date and time for the PC's clock (clock_trailer.hpp).
//
// File: a 608-byte header, N entries of 456 bytes (N at header offset 430),
// then nothing or the 16-byte date and time.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_record.hpp"
#include "base/le.hpp"
#include "transfer/clock_trailer.hpp"
#include "transfer/wire_parse.hpp"

namespace transfer {

inline constexpr const char* kHostControlFileName = "XferFromPC.bin";
inline constexpr const char* kControlProgramName = "Tallyfin PC  ";  // two blanks
inline constexpr const char* kControlFormatText = "1.00";

// Type letters of the host's entries.
inline constexpr std::uint8_t kEntryApplication = 'A';
inline constexpr std::uint8_t kEntryDataset = 'D';
inline constexpr std::uint8_t kEntryUpdate = 'E';
inline constexpr std::uint8_t kEntryMessage = 'M';

class ControlHeader : public base::FixedRecord<608> {
 public:
  static constexpr std::size_t kKind = 0;
  static constexpr std::size_t kProgram = 1, kProgramSize = 14;
  static constexpr std::size_t kVersion = 129, kVersionSize = 121;
  static constexpr std::size_t kFormat = 250, kFormatSize = 5;
  static constexpr std::size_t kUnitId = 371, kUnitIdSize = 51;
  static constexpr std::size_t kDatasetCount = 422, kAppCount = 424, kMessageCount = 426;
  static constexpr std::size_t kEntryCount = 430, kTotalBytes = 432;
  static constexpr std::size_t kRequestUpdate = 436, kListCount = 440;

  // 'A', the program name, the version text, "1.00" and the identifier in
  // a cleared header; false (header untouched) when the version text or the
  // identifier does not fit its field whole.
  [[nodiscard]] bool stamp(std::string_view versionText, std::string_view unitId);

  std::uint8_t kind() const { return u8(kKind); }
  std::string programName() const { return text8(kProgram, kProgramSize); }
  std::string versionText() const { return text8(kVersion, kVersionSize); }
  std::string formatText() const { return text8(kFormat, kFormatSize); }
  std::string unitId() const { return text8(kUnitId, kUnitIdSize); }

  // Dataset files tagged for sending; in the host's file, how many it received.
  std::uint16_t datasetCount() const { return count(kDatasetCount); }
  void setDatasetCount(std::uint16_t n) { setCount(kDatasetCount, n); }
  std::uint16_t appCount() const { return count(kAppCount); }
  void setAppCount(std::uint16_t n) { setCount(kAppCount, n); }
  std::uint16_t messageCount() const { return count(kMessageCount); }
  void setMessageCount(std::uint16_t n) { setCount(kMessageCount, n); }
  std::uint16_t entryCount() const { return count(kEntryCount); }
  void setEntryCount(std::uint16_t n) { setCount(kEntryCount, n); }
  std::uint32_t totalBytes() const { return u32(kTotalBytes); }
  void setTotalBytes(std::uint32_t n) { setU32(kTotalBytes, n); }
  bool requestUpdate() const { return u32(kRequestUpdate) == 1; }
  void setRequestUpdate(bool on) { setU32(kRequestUpdate, on ? 1 : 0); }
  std::uint32_t listCount() const { return u32(kListCount); }
  void setListCount(std::uint32_t n) { setU32(kListCount, n); }

 private:
  std::uint16_t count(std::size_t off) const { return base::getU16(&bytes()[off]); }
  void setCount(std::size_t off, std::uint16_t n) { base::putU16(&bytes()[off], n); }
};
static_assert(ControlHeader::kSize == 608);

class ControlEntry : public base::FixedRecord<456> {
 public:
  static constexpr std::size_t kName = 0, kNameSize = 260;
  static constexpr std::size_t kWriteTime = 260, kCreateTime = 268, kFileSize = 276, kType = 280;
  static constexpr std::size_t kFolder = 304, kFolderSize = 152;

  std::string name() const { return text8(kName, kNameSize); }
  // False (entry untouched) when the name is empty, holds a NUL or has 260
  // bytes or more.
  [[nodiscard]] bool setName(std::string_view name);
  // Win32 file times (100 ns since 1601), low 32 bits first.
  std::uint64_t writeTime() const { return base::getU64(&bytes()[kWriteTime]); }
  void setWriteTime(std::uint64_t t) { base::putU64(&bytes()[kWriteTime], t); }
  std::uint64_t createTime() const { return base::getU64(&bytes()[kCreateTime]); }
  void setCreateTime(std::uint64_t t) { base::putU64(&bytes()[kCreateTime], t); }
  std::uint32_t fileSize() const { return u32(kFileSize); }
  void setFileSize(std::uint32_t n) { setU32(kFileSize, n); }
  std::uint8_t type() const { return u8(kType); }
  void setType(std::uint8_t letter) { setU8(kType, letter); }
  // The folder the file was listed from (for datasets: the application name).
  std::string folder() const { return text8(kFolder, kFolderSize); }
  // False (entry untouched) when the text holds a NUL or has 152 bytes or more.
  [[nodiscard]] bool setFolder(std::string_view folder);
};
static_assert(ControlEntry::kSize == 456);

struct ControlFile {
  ControlHeader header;
  std::vector<ControlEntry> entries;
  std::optional<HostClock> clock;  // the trailing date and time, as sent (not yet checked)
};

// The file's bytes: the header with its entry count set to the number of
// entries, the entries, and the date and time when there is one. False (out
// untouched) when there are more than 65535 entries.
[[nodiscard]] bool buildControlFile(const ControlFile& file, std::vector<std::uint8_t>& out);

// Reads a control file of size bytes, checking in this order:
//   kShort             size is below the 608-byte header;
//   kEntriesPastEnd    the header's entry count needs more bytes than follow;
//   kUnterminatedName  an entry's name (bytes 0-259) or folder (304-455) holds no NUL;
//   kTrailingBytes     after the entries follow neither 0 nor exactly 16 bytes.
// On kOk out holds the header, the entries and the date and time when 16
// bytes follow (any values: clockToSet judges them); otherwise out is untouched.
[[nodiscard]] WireParse parseControlFile(const std::uint8_t* bytes, std::size_t size, ControlFile& out);

}  // namespace transfer
