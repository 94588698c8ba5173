#pragma once
// Extracting one member of a package into a folder.
//
// The member's gzip bytes are copied into the scratch file "_extract.dat" in
// the folder, then inflated from it into "_extract.tmp", which is given the
// member's stored time and only then renamed to the member's name. So a
// failed extraction leaves neither scratch file behind and never a partial
// file under the member's name; a file of that name from before stays as it
// was. Both scratch files are removed first and created exclusively, so a
// file or link left under their names is never written through. Paths are
// UTF-8; member names are 8-bit as stored.
#include <string>
#include <string_view>

#include "apps/package_reader.hpp"

namespace apps {

// Extracts the member described by entry. 0 or a PackageCode:
// kPkgBadData for a name isSafeMemberName refuses (nothing is written), a
// package read that fails, bad gzip data or output past the member limit;
// kPkgSeek when the member's data cannot be reached; kPkgScratchCreate,
// kPkgScratchWrite, kPkgGzipOpen, kPkgOutputCreate (also when the finished
// file cannot be put in its place), kPkgOutputWrite, kPkgGzipClose,
// kPkgOutputClose as their names say.
int extractEntry(Package& package, const PackageEntry& entry, const std::string& folder);

// Extracts member i: 0, the codes of memberEntry, or those of extractEntry.
int extractMember(Package& package, int i, const std::string& folder);

// Extracts the first member whose name equals name8 without regard to case:
// 0; kPkgBadIndex when no member has the name; otherwise as extractMember.
int extractByName(Package& package, std::string_view name8, const std::string& folder);

}  // namespace apps
