#include "transfer/control_file.hpp"

#include <algorithm>
#include <limits>

#include "transfer/wire_text.hpp"

namespace transfer {

bool ControlHeader::stamp(std::string_view versionText, std::string_view unitId) {
  if (!fitsField(versionText, kVersionSize) || !fitsField(unitId, kUnitIdSize)) return false;
  clear();
  setU8(kKind, 'A');
  setText8(kProgram, kProgramSize, kControlProgramName);
  setText8(kVersion, kVersionSize, versionText);
  setText8(kFormat, kFormatSize, kControlFormatText);
  setText8(kUnitId, kUnitIdSize, unitId);
  return true;
}

bool ControlEntry::setName(std::string_view name) {
  if (name.empty() || !fitsField(name, kNameSize)) return false;
  setText8(kName, kNameSize, name);
  return true;
}

bool ControlEntry::setFolder(std::string_view folder) {
  if (!fitsField(folder, kFolderSize)) return false;
  setText8(kFolder, kFolderSize, folder);
  return true;
}

bool buildControlFile(const ControlFile& file, std::vector<std::uint8_t>& out) {
  if (file.entries.size() > std::numeric_limits<std::uint16_t>::max()) return false;
  ControlHeader header = file.header;
  header.setEntryCount(static_cast<std::uint16_t>(file.entries.size()));
  std::vector<std::uint8_t> bytes(header.bytes().begin(), header.bytes().end());
  bytes.reserve(ControlHeader::kSize + file.entries.size() * ControlEntry::kSize + kClockTrailerSize);
  for (const ControlEntry& entry : file.entries)
    bytes.insert(bytes.end(), entry.bytes().begin(), entry.bytes().end());
  if (file.clock) {
    const auto trailer = clockTrailerBytes(*file.clock);
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
  }
  out = std::move(bytes);
  return true;
}

WireParse parseControlFile(const std::uint8_t* bytes, std::size_t size, ControlFile& out) {
  if (bytes == nullptr || size < ControlHeader::kSize) return WireParse::kShort;
  ControlFile file;
  std::copy(bytes, bytes + ControlHeader::kSize, file.header.bytes().begin());
  const std::size_t count = file.header.entryCount();
  // Division, not multiplication, so that no count can overflow the check.
  const std::size_t room = size - ControlHeader::kSize;
  if (count > room / ControlEntry::kSize) return WireParse::kEntriesPastEnd;
  const std::size_t rest = room - count * ControlEntry::kSize;
  file.entries.resize(count);
  const std::uint8_t* p = bytes + ControlHeader::kSize;
  for (ControlEntry& entry : file.entries) {
    if (!terminated(p, ControlEntry::kName, ControlEntry::kNameSize) ||
        !terminated(p, ControlEntry::kFolder, ControlEntry::kFolderSize))
      return WireParse::kUnterminatedName;
    std::copy(p, p + ControlEntry::kSize, entry.bytes().begin());
    p += ControlEntry::kSize;
  }
  if (rest != 0 && rest != kClockTrailerSize) return WireParse::kTrailingBytes;
  if (rest == kClockTrailerSize) file.clock = readClockTrailer(p);
  out = std::move(file);
  return WireParse::kOk;
}

}  // namespace transfer
