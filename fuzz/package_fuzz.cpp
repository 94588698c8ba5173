// libFuzzer target for the package reader: any bytes are written to a file
// and opened as a package; the member count and every entry are read, every
// member is extracted into a folder of its own, and the package is described.
// Nothing may appear outside that folder, no folder may appear inside it,
// and the scratch files never stay.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "apps/package_describe.hpp"
#include "apps/package_extract.hpp"
#include "apps/package_reader.hpp"
#include "platform/fileops.hpp"

namespace {

namespace fs = std::filesystem;

const fs::path& workFolder() {
  static const fs::path path = [] {
    fs::path p =
        fs::temp_directory_path() / ("tallyfin-pkgfuzz-" + std::to_string(std::random_device{}()));
    fs::create_directories(p / "out");
    return p;
  }();
  return path;
}

bool writeInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  platform::File f =
      platform::openFile(path, platform::Access::Write, platform::Disposition::CreateAlways);
  return f.isOpen() && f.writeExact(data, size) == 0 && f.close() == 0;
}

// The work folder holds the package and "out"; "out" holds plain files only,
// none of them a scratch file. Empties "out" for the next input.
void checkAndClear() {
  for (const auto& e : fs::directory_iterator(workFolder())) {
    const std::string name = e.path().filename().string();
    if (name != "pkg.tfa" && name != "out") __builtin_trap();
  }
  for (const auto& e : fs::directory_iterator(workFolder() / "out")) {
    const std::string name = e.path().filename().string();
    if (!e.is_regular_file() || name == apps::kScratchName || name == apps::kPartialName)
      __builtin_trap();
    fs::remove(e.path());
  }
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 8192;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const std::string packagePath = (workFolder() / "pkg.tfa").string();
  const std::string out = (workFolder() / "out").string();
  if (!writeInput(packagePath, data, size)) return 0;

  apps::TfaHeader header;
  apps::Package package = apps::openPackage(packagePath, header);
  if (package.isOpen()) {
    package.setMemberLimit(1 << 20);  // keeps each run small; the limit itself is under test
    const int count = apps::memberCount(package);
    if (count < 0 && count != apps::kPkgBadIndex) __builtin_trap();
    for (int i = 0; i < count; ++i) {
      apps::PackageEntry entry;
      const int rc = apps::memberEntry(package, i, entry);
      if (rc != 0) break;  // the rest of the directory lies behind the fault
      if (entry.dataSize() <= 0 || entry.next > package.fileSize()) __builtin_trap();
      apps::extractMember(package, i, out);
    }
    apps::PackageEntry entry;
    int index = 0;
    apps::findMember(package, "ReqFiles.dbf", entry, index);
    package.close();
  }
  std::string text;
  apps::describePackage(packagePath, text);
  checkAndClear();
  return 0;
}
