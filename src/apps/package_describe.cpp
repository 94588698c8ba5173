#include "apps/package_describe.hpp"

#include <array>

#include "apps/package_reader.hpp"
#include "base/le.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "tablestore/day_number.hpp"

namespace apps {

namespace {

// The day number (day_number.hpp) of 1601-01-01, where FILETIME starts.
constexpr std::int64_t kFileTimeEpochDay = 2305814;

// "YYYY-MM-DD hh:mm:ss UTC", or "none" for a zero time.
std::string formatFileTime(platform::FileTime t) {
  if (t == 0) return "none";
  const std::uint64_t seconds = t / 10000000ull;
  const std::int64_t days = static_cast<std::int64_t>(seconds / 86400);
  const auto inDay = static_cast<int>(seconds % 86400);
  int year = 0, month = 0, day = 0;
  tablestore::civilDate(kFileTimeEpochDay + days, year, month, day);
  return base::format("%04d-%02d-%02d %02d:%02d:%02d UTC", year, month, day, inDay / 3600,
                      inDay / 60 % 60, inDay % 60);
}

// The inflated size as the member's last gzip trailer gives it (ISIZE), or
// -1 when it cannot be read.
std::int64_t storedInflatedSize(Package& package, const PackageEntry& entry) {
  if (entry.dataSize() < 8) return -1;
  std::array<std::uint8_t, 4> isize{};
  if (package.file().seek(entry.next - 4) != 0 || package.file().readExact(isize.data(), 4) != 0) {
    return -1;
  }
  return base::getU32(isize.data());
}

}  // namespace

int describePackage(const std::string& packagePath, std::string& out) {
  out.clear();
  TfaHeader h;
  Package package = openPackage(packagePath, h);
  if (!package.isOpen()) return -1;
  auto text = [](const std::string& s8) { return platform::toWide(s8); };
  out += base::format("Package      %s (%lld bytes)\n", packagePath.c_str(),
                      static_cast<long long>(package.fileSize()));
  out += "APP_NAME     " + text(h.appName()) + "\n";
  out += base::format("Version      %03d.%03d build %d%s\n", h.appVMajor(), h.appVMinor(),
                      h.appBuild(), h.hasVersion() ? "" : " (no version data)");
  out += "APP_DATE     " + text(h.appDate()) + "\n";
  out += base::format("HIER_VER     %d\n", h.hierVer());
  out += "HIER_DATE    " + text(h.hierDate()) + "\n";
  out += "HIER_TIME    " + text(h.hierTime()) + "\n";
  out += std::string("Password     ") + (h.hasAppPassword() ? "set" : "none") + "\n";

  const int count = memberCount(package);
  if (count < 0) {
    out += "Members      count does not fit the file\n";
    return count;
  }
  out += base::format("Members      %d\n", count);
  PackageEntry entry;
  for (int i = 0; i < count; ++i) {
    int rc = memberEntry(package, i, entry);
    if (rc != 0) {
      out += base::format("  #%d: directory damaged here (code %d)\n", i, rc);
      return rc;
    }
    const std::int64_t inflated = storedInflatedSize(package, entry);
    out += base::format("  %-60s stored %10lld  inflated %10lld  %s%s\n", text(entry.name).c_str(),
                        static_cast<long long>(entry.dataSize()), static_cast<long long>(inflated),
                        formatFileTime(entry.modified).c_str(),
                        isSafeMemberName(entry.name) ? "" : "  (name refused)");
  }
  return 0;
}

}  // namespace apps
