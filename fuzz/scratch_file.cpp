#include "scratch_file.hpp"

#include <filesystem>
#include <random>

#include "platform/fileops.hpp"

namespace fuzz_support {

const std::string& scratchFolder() {
  static const std::string path = [] {
    auto p = std::filesystem::temp_directory_path() / ("tallyfin-fuzz-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return path;
}

std::string scratchPath(const std::string& name) { return scratchFolder() + "/" + name; }

bool writeScratch(const std::string& path, const std::uint8_t* data, std::size_t size) {
  platform::File f = platform::openFile(path, platform::Access::ReadWrite, platform::Disposition::CreateAlways);
  return f.isOpen() && (size == 0 || f.writeExact(data, size) == 0) && f.close() == 0;
}

}  // namespace fuzz_support
