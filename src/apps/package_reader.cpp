#include "apps/package_reader.hpp"

#include <array>

#include "base/le.hpp"
#include "base/text.hpp"

namespace apps {

namespace {

// The least a member can take: its entry and one byte of data.
constexpr std::int64_t kLeastMemberSize = kEntrySize + 1;

}  // namespace

Package openPackage(const std::string& path, TfaHeader& header) {
  Package package;
  package.path_ = path;
  // Read access is all extraction needs, and it lets a package on write-
  // protected storage or a read-only file be installed.
  package.file_ =
      platform::openFile(path, platform::Access::Read, platform::Disposition::OpenExisting);
  if (!package.file_.isOpen()) return package;
  package.size_ = package.file_.size();
  if (package.size_ < kPackageHeaderSize ||
      package.file_.readExact(header.bytes().data(), TfaHeader::kSize) != 0) {
    package.file_.close();
  }
  return package;
}

int memberCount(Package& package) {
  if (package.countRead_) return package.count_;
  std::array<std::uint8_t, kDirectorySize> block{};
  if (!package.isOpen() || package.file().seek(kDirectoryOffset) != 0 ||
      package.file().readExact(block.data(), block.size()) != 0) {
    return 0;  // not kept: a read that failed may succeed later
  }
  const std::int32_t count = base::getI32(block.data());
  const std::int64_t room = package.fileSize() - kFirstEntryOffset;
  package.count_ = (count < 0 || count > room / kLeastMemberSize) ? kPkgBadIndex : count;
  package.countRead_ = true;
  return package.count_;
}

namespace {

// Reads the entry at offset, checking that it lies whole inside the file and
// that its data follows it.
int readEntryAt(Package& package, std::int64_t offset, PackageEntry& out) {
  std::array<std::uint8_t, kEntrySize> raw{};
  if (offset + kEntrySize > package.fileSize()) return kPkgSeek;
  if (package.file().seek(offset) != 0) return kPkgSeek;
  if (package.file().readExact(raw.data(), raw.size()) != 0) return kPkgSeek;
  const std::uint32_t next = base::getU32(raw.data() + kEntryNextOffset);
  if (static_cast<std::int64_t>(next) <= offset + kEntrySize ||
      static_cast<std::int64_t>(next) > package.fileSize()) {
    return kPkgSeek;
  }
  std::size_t length = 0;
  while (length < kEntryNameSize && raw[length] != 0) ++length;
  // A name that fills its field has no terminator; it is kept whole and left
  // for isSafeMemberName to refuse.
  out.name.assign(reinterpret_cast<const char*>(raw.data()), length);
  out.next = next;
  out.modified = base::getU64(raw.data() + kEntryTimeOffset);
  out.offset = offset;
  return kPkgOk;
}

}  // namespace

// A fault is not kept: a later look-up reads the failed entry again.
int Package::walkTo(std::size_t i) {
  while (entries_.size() <= i) {
    const std::int64_t offset = entries_.empty() ? kFirstEntryOffset : entries_.back().next;
    PackageEntry entry;
    if (int rc = readEntryAt(*this, offset, entry)) return rc;
    firstByName_.emplace(base::toUpper(entry.name), static_cast<int>(entries_.size()));
    entries_.push_back(std::move(entry));
  }
  return kPkgOk;
}

int memberEntry(Package& package, int i, PackageEntry& out) {
  const int count = memberCount(package);
  if (count < 0) return count;
  if (i < 0 || i >= count) return kPkgBadIndex;
  const auto at = static_cast<std::size_t>(i);
  if (int rc = package.walkTo(at)) return rc;
  out = package.entries_[at];
  return package.file().seek(out.dataOffset()) == 0 ? kPkgOk : kPkgSeek;
}

int findMember(Package& package, std::string_view name8, PackageEntry& entry, int& index) {
  const int count = memberCount(package);
  if (count < 0) return count;
  const std::string key = base::toUpper(name8);
  auto found = package.firstByName_.find(key);
  // Names not met yet may stand in the part of the directory not yet read.
  while (found == package.firstByName_.end() &&
         package.entries_.size() < static_cast<std::size_t>(count)) {
    if (int rc = package.walkTo(package.entries_.size())) return rc;
    found = package.firstByName_.find(key);
  }
  if (found == package.firstByName_.end()) return kPkgBadIndex;
  index = found->second;
  entry = package.entries_[static_cast<std::size_t>(index)];
  return kPkgOk;
}

}  // namespace apps
