#include "apps/package_extract.hpp"

#include <algorithm>
#include <memory>

#include "apps/package_gzip.hpp"
#include "base/paths.hpp"
#include "platform/codepage.hpp"
#include "platform/files.hpp"

namespace apps {

namespace {

using platform::Access;
using platform::Disposition;

// Copies the member's gzip bytes into the scratch file.
int copyToScratch(Package& package, const PackageEntry& entry, platform::File& scratch,
                  std::uint8_t* buffer) {
  if (package.file().seek(entry.dataOffset()) != 0) return kPkgSeek;
  for (std::int64_t left = entry.dataSize(); left > 0;) {
    const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, kCopyChunk));
    if (package.file().readExact(buffer, n) != 0) return kPkgBadData;
    if (scratch.writeExact(buffer, n) != 0) return kPkgScratchWrite;
    left -= static_cast<std::int64_t>(n);
  }
  return kPkgOk;
}

// Inflates the scratch file (from its start) into output.
int inflateScratch(platform::File& scratch, platform::File& output, std::uint64_t limit,
                   std::uint8_t* buffer) {
  if (scratch.seek(0) != 0) return kPkgGzipOpen;
  GzipReader reader(scratch, limit, kGzipInputBlock);
  if (int rc = reader.open()) return rc;
  for (;;) {
    std::size_t got = 0;
    if (int rc = reader.read(buffer, kCopyChunk, got)) return rc;
    if (got == 0) break;
    if (output.writeExact(buffer, got) != 0) return kPkgOutputWrite;
  }
  return reader.close();
}

}  // namespace

int extractEntry(Package& package, const PackageEntry& entry, const std::string& folder) {
  if (!isSafeMemberName(entry.name)) return kPkgBadData;
  if (entry.dataSize() <= 0 || entry.next > package.fileSize()) return kPkgSeek;

  const std::string scratchPath = base::joinPath(folder, kScratchName, platform::kSep);
  const std::string partialPath = base::joinPath(folder, kPartialName, platform::kSep);
  const std::string finalPath = base::joinPath(folder, platform::toWide(entry.name), platform::kSep);

  // Whatever stands under the scratch names is removed and the files are made
  // anew, so a link left there is never written through nor renamed into place.
  platform::deleteFile(scratchPath);
  platform::deleteFile(partialPath);
  platform::File scratch = platform::openFile(scratchPath, Access::ReadWrite, Disposition::CreateNew);
  if (!scratch.isOpen()) return kPkgScratchCreate;

  auto buffer = std::make_unique<std::uint8_t[]>(kCopyChunk);
  int rc = copyToScratch(package, entry, scratch, buffer.get());
  bool partialMade = false;
  if (rc == kPkgOk) {
    platform::File output =
        platform::openFile(partialPath, Access::Write, Disposition::CreateNew);
    if (!output.isOpen()) {
      rc = kPkgOutputCreate;
    } else {
      partialMade = true;
      rc = inflateScratch(scratch, output, package.memberLimit(), buffer.get());
      // Closed before the time is set: closing a handle that wrote may stamp
      // the file again.
      if (output.close() != 0 && rc == kPkgOk) rc = kPkgOutputClose;
    }
  }
  if (rc == kPkgOk) {
    // A stored time of 0 means none, as Windows reads a zero FILETIME. A time
    // that cannot be set leaves the time of extraction; the contents are whole.
    if (entry.modified != 0) platform::setFileTime(partialPath, entry.modified);
    if (platform::replaceFile(partialPath, finalPath) != 0) rc = kPkgOutputCreate;
  }
  if (rc != kPkgOk && partialMade) platform::deleteFile(partialPath);
  scratch.close();
  platform::deleteFile(scratchPath);
  return rc;
}

int extractMember(Package& package, int i, const std::string& folder) {
  PackageEntry entry;
  if (int rc = memberEntry(package, i, entry)) return rc;
  return extractEntry(package, entry, folder);
}

int extractByName(Package& package, std::string_view name8, const std::string& folder) {
  PackageEntry entry;
  int index = 0;
  if (int rc = findMember(package, name8, entry, index)) return rc;
  return extractEntry(package, entry, folder);
}

}  // namespace apps
