#include "exchange/whole_copy.hpp"

#include <vector>

#include "base/paths.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"

namespace exchange {

namespace {

// The size of the file at path, from a search of its own name; false when it
// cannot be found.
bool sizeOf(const std::string& path, std::uint64_t& size) {
  std::vector<platform::FindEntry> found;
  if (platform::findFiles(path, found) != 0) return false;
  for (const auto& e : found)
    if (!e.isFolder) {
      size = e.size;
      return true;
    }
  return false;
}

}  // namespace

std::string temporaryCopyName(const std::string& name) { return "~" + name + ".tfc"; }

int copyWholeFile(const std::string& from, std::uint64_t expectedSize, const std::string& to) {
  const std::string folder = base::folderPart(to, platform::kSep);
  const std::string name = to.substr(folder.empty() ? 0 : folder.size() + 1);
  const std::string temp = folder.empty() ? temporaryCopyName(name)
                                          : base::joinPath(folder, temporaryCopyName(name), platform::kSep);
  int rc = platform::copyFile(from, temp, false);
  if (rc != 0) {
    (void)platform::deleteFile(temp);
    return rc;
  }
  std::uint64_t copied = 0;
  if (!sizeOf(temp, copied) || copied != expectedSize) {
    (void)platform::deleteFile(temp);
    return platform::kErrIoDevice;
  }
  rc = platform::replaceFile(temp, to);
  if (rc != 0) (void)platform::deleteFile(temp);
  return rc;
}

}  // namespace exchange
