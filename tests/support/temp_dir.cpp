#include "support/temp_dir.hpp"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/fileops.hpp"
#include "platform/files.hpp"

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("tallyfin-test-" + std::to_string(rd()) + "-" +
                                 std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate.string();
      break;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
  return path_ + platform::kSep + name;
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readBytes(const std::string& path) {
  std::ifstream in(fs::u8path(path), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> fileNamesIn(const std::string& folder) {
  // Through the program's own file layer: names stay UTF-8 on Windows too.
  std::vector<platform::FindEntry> found;
  std::vector<std::string> out;
  (void)platform::findFiles(folder + platform::kSep + "*", found);
  for (const auto& e : found)
    if (!e.isFolder) out.push_back(e.name);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace testing_support
