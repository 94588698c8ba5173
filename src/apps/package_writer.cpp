#include "apps/package_writer.hpp"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "apps/package_format.hpp"
#include "base/le.hpp"
#include "platform/fileops.hpp"

namespace apps {

namespace {

// FILETIME counts from 1601; the gzip header's time from 1970, in seconds.
constexpr std::uint64_t kUnixEpochIn100ns = 116444736000000000ull;

std::uint32_t unixSeconds(platform::FileTime t) {
  if (t <= kUnixEpochIn100ns) return 0;
  std::uint64_t s = (t - kUnixEpochIn100ns) / 10000000ull;
  return s > std::numeric_limits<std::uint32_t>::max() ? 0 : static_cast<std::uint32_t>(s);
}

// Appends member as one gzip stream whose header names it and its time.
bool appendGzip(const PackageMember& member, std::string& out) {
  z_stream s{};
  if (deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, MAX_WBITS + 16, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return false;
  }
  std::string name = member.name;  // zlib wants a NUL-terminated, writable name
  gz_header header{};
  header.time = unixSeconds(member.modified);
  header.os = 10;  // Win32, as zlib writes it there; readers ignore it
  header.name = reinterpret_cast<Bytef*>(name.data());
  bool ok = deflateSetHeader(&s, &header) == Z_OK;

  const std::size_t start = out.size();
  out.resize(start + deflateBound(&s, static_cast<uLong>(member.bytes.size())) + name.size() + 32);
  s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(member.bytes.data()));
  s.avail_in = static_cast<uInt>(member.bytes.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data() + start);
  s.avail_out = static_cast<uInt>(out.size() - start);
  ok = ok && deflate(&s, Z_FINISH) == Z_STREAM_END;
  out.resize(start + s.total_out);
  deflateEnd(&s);
  return ok;
}

}  // namespace

int writePackage(const std::string& packagePath, const TfaHeader& header,
                 const std::vector<PackageMember>& members) {
  for (const auto& member : members) {
    if (!isSafeMemberName(member.name)) return kPkgBadData;
    if (member.bytes.size() > std::numeric_limits<uInt>::max() / 2) return kPkgBadData;
  }
  std::string image(header.bytes().begin(), header.bytes().end());
  std::string directory(kDirectorySize, '\0');
  base::putU32(reinterpret_cast<std::uint8_t*>(directory.data()),
               static_cast<std::uint32_t>(members.size()));
  image += directory;

  for (const auto& member : members) {
    const std::size_t entryAt = image.size();
    image.append(kEntrySize, '\0');
    if (!appendGzip(member, image)) return kPkgBadData;
    if (image.size() > std::numeric_limits<std::uint32_t>::max()) return kPkgBadData;
    auto* entry = reinterpret_cast<std::uint8_t*>(image.data() + entryAt);
    std::copy(member.name.begin(), member.name.end(), entry);
    base::putU32(entry + kEntryNextOffset, static_cast<std::uint32_t>(image.size()));
    base::putU64(entry + kEntryTimeOffset, member.modified);
  }

  platform::SafeWriteStage stage = platform::SafeWriteStage::Done;
  if (platform::writeFileSafely(packagePath, image.data(), image.size(), stage) != 0) {
    return stage == platform::SafeWriteStage::Open ? kPkgOutputCreate : kPkgOutputWrite;
  }
  return kPkgOk;
}

}  // namespace apps
