#pragma once
// The layout of an application package (".tfa") and the result codes of
// reading one. All integers are 32-bit little-endian.
//
//   0     1560  TFA_HDR (tfa_header.hpp)
//   1560   333  directory block: member count, then bytes nobody reads
//   1893    72  entry of member 0 {name[60], next, FILETIME modified}
//   1965        member 0 as a gzip stream, up to `next`
//   next    72  entry of member 1, and so on
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.hpp"

namespace apps {

inline constexpr std::int64_t kPackageHeaderSize = 1560;
inline constexpr std::int64_t kDirectoryOffset = 1560;
inline constexpr std::int64_t kDirectorySize = 333;
inline constexpr std::int64_t kFirstEntryOffset = kDirectoryOffset + kDirectorySize;  // 1893
inline constexpr std::int64_t kEntrySize = 72;
inline constexpr std::size_t kEntryNameSize = 60;
inline constexpr std::size_t kEntryNextOffset = 60;
inline constexpr std::size_t kEntryTimeOffset = 64;
static_assert(kFirstEntryOffset == 1893);
static_assert(kEntryTimeOffset + 8 == kEntrySize);

// Copying and inflating move 32768-byte chunks; the gzip reader takes its
// input in 16384-byte blocks. No member is ever held in memory whole.
inline constexpr std::size_t kCopyChunk = 32768;
inline constexpr std::size_t kGzipInputBlock = 16384;

// Scratch files in the target folder while a member is extracted. Members
// may not carry these names.
inline constexpr const char* kScratchName = "_extract.dat";
inline constexpr const char* kPartialName = "_extract.tmp";

// The largest member the runtime inflates: a member that would inflate to
// more is refused as bad data (a crafted stream can inflate 1000-fold).
inline constexpr std::uint64_t kDefaultMemberLimit = std::uint64_t{1} << 30;

// Results of one member's extraction (0 is success).
enum PackageCode : int {
  kPkgOk = 0,
  kPkgOutputCreate = -1,    // the output file cannot be created (or put in place)
  kPkgGzipOpen = -2,        // the gzip reader cannot be started on the scratch file
  kPkgBadData = -3,         // reading the package fails; bad gzip data; an unsafe
                            // member name; a member inflating past the limit
  kPkgOutputWrite = -4,     // writing the output file fails or writes short
  kPkgGzipClose = -5,       // ending the gzip reader reports an error
  kPkgOutputClose = -6,     // closing the output file fails
  kPkgSeek = -7,            // walking the directory fails: a seek or entry read
                            // fails, or an entry's `next` is not past the entry
                            // or lies past the end of the file
  kPkgBadIndex = -15,       // the member index is outside the directory, the
                            // member count is more than the file can hold, or
                            // no member has the name asked for
  kPkgScratchCreate = -17,  // "_extract.dat" cannot be created
  kPkgScratchWrite = -18,   // writing "_extract.dat" fails
};

// One directory entry as read, with where it stands in the package.
struct PackageEntry {
  std::string name;                 // 8-bit, as stored
  std::uint32_t next = 0;           // offset just past this member's data
  platform::FileTime modified = 0;  // last-write time for the extracted file
  std::int64_t offset = 0;          // where this entry starts

  std::int64_t dataOffset() const { return offset + kEntrySize; }
  std::int64_t dataSize() const { return static_cast<std::int64_t>(next) - dataOffset(); }
};

// True when an 8-bit member name may become a file of the target folder: not
// empty, no path separator ('\\' or '/'), no drive colon or other character
// Windows refuses in names, no control character (nor 81 8D 8F 90 9D, which
// Windows turns into control characters), not "." or "..", no ".." anywhere,
// not a device name (CON, NUL, COM1, COM followed by a superscript 1-3, ...),
// not ending in a dot or blank, and not one of the scratch names.
bool isSafeMemberName(std::string_view name8);

}  // namespace apps
