#pragma once
// Reading an application package: its header and its directory of members.
// Nothing read from the package is trusted: the member count and every
// entry's `next` are checked against the file's size before they are used.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "apps/package_format.hpp"
#include "apps/tfa_header.hpp"
#include "platform/fileops.hpp"

namespace apps {

// An open package. Only one thread uses a Package at a time. The directory
// is read once per opening: the entries walked are kept, in order, so later
// look-ups neither read nor walk them again.
class Package {
 public:
  bool isOpen() const { return file_.isOpen(); }
  const std::string& path() const { return path_; }
  // The file's size when it was opened.
  std::int64_t fileSize() const { return size_; }
  platform::File& file() { return file_; }

  // The most bytes one member may inflate to (kDefaultMemberLimit).
  std::uint64_t memberLimit() const { return memberLimit_; }
  void setMemberLimit(std::uint64_t bytes) { memberLimit_ = bytes; }

  int close() { return file_.close(); }

 private:
  friend Package openPackage(const std::string& path, TfaHeader& header);
  friend int memberCount(Package& package);
  friend int memberEntry(Package& package, int i, PackageEntry& out);
  friend int findMember(Package& package, std::string_view name8, PackageEntry& entry, int& index);
  // Reads entries until entry i is known: 0, or the code of the fault met.
  int walkTo(std::size_t i);

  platform::File file_;
  std::string path_;
  std::int64_t size_ = 0;
  std::uint64_t memberLimit_ = kDefaultMemberLimit;
  // The member count (or kPkgBadIndex) once the directory block was read.
  int count_ = 0;
  bool countRead_ = false;
  // Entries 0 .. n-1, each checked when it was read.
  std::vector<PackageEntry> entries_;
  // The first of those entries for each name, by the name in upper case.
  std::unordered_map<std::string, int> firstByName_;
};

// Opens an existing package for reading and reads its 1560-byte header.
// The result is not open when the file cannot be opened, its size cannot be
// had, or the header cannot be read whole.
Package openPackage(const std::string& path, TfaHeader& header);

// The member count from the directory block: n >= 0; 0 when the block cannot
// be read; kPkgBadIndex (-15) when the count is negative or more than the
// file could hold (each member takes a 72-byte entry and some data).
int memberCount(Package& package);

// Walks the entries from offset 1893 by their `next` offsets and fills out
// with entry i, leaving the file just behind it. 0; kPkgBadIndex for i < 0,
// i >= memberCount() or a count memberCount refuses; kPkgSeek when a seek or
// an entry's read fails, or an entry's `next` is not past the entry itself or
// lies past the end of the file.
int memberEntry(Package& package, int i, PackageEntry& out);

// The first member whose name equals name8 without regard to case: 0 with
// entry and index filled; kPkgBadIndex when there is none; otherwise the
// code of the directory fault met on the way (as memberEntry).
int findMember(Package& package, std::string_view name8, PackageEntry& entry, int& index);

}  // namespace apps
