#include "exchange/whole_copy.hpp"

#include "base/paths.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"

namespace exchange {

namespace {

// Checks the copy's size and makes its bytes durable before the caller may
// delete the source: a card pulled after a move must still hold the file.
int settle(const std::string& path, std::uint64_t expectedSize) {
  platform::File file = platform::openFile(path, platform::Access::Write, platform::Disposition::OpenExisting);
  if (!file.isOpen()) return file.error() != 0 ? file.error() : platform::kErrIoDevice;
  const std::int64_t size = file.size();
  if (size < 0 || static_cast<std::uint64_t>(size) != expectedSize) return platform::kErrIoDevice;
  if (int rc = file.flush()) return rc;
  return file.close();
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
  rc = settle(temp, expectedSize);
  if (rc != 0) {
    (void)platform::deleteFile(temp);
    return rc;
  }
  rc = platform::replaceFile(temp, to);
  if (rc != 0) (void)platform::deleteFile(temp);
  return rc;
}

}  // namespace exchange
