#include "hostlib/host_tree.hpp"

#include <vector>

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/received_names.hpp"

namespace host {

std::string join(std::string_view a, std::string_view b) {
  std::string out(a);
  if (!out.empty() && out.back() != platform::kSep) out += platform::kSep;
  out += b;
  return out;
}

std::string HostTree::inbox() const { return join(root, "inbox"); }
std::string HostTree::unitInbox(std::string_view unit) const { return join(inbox(), unit); }
std::string HostTree::outbox() const { return join(root, "outbox"); }
std::string HostTree::unitOutbox(std::string_view unit) const { return join(outbox(), unit); }
std::string HostTree::log() const { return join(root, "log"); }

bool unitFolderAllowed(std::string_view unit) {
  return transfer::plainReceivedName(unit) && !base::equalsNoCase(unit, kSharedOutbox) &&
         unit.front() != '.';
}

int makeFolders(const std::string& root, const std::string& path) {
  if (!platform::makeFolder(root)) return platform::kErrAccessDenied;
  if (path.size() <= root.size()) return 0;
  std::size_t at = root.size() + 1;
  while (at <= path.size()) {
    std::size_t cut = path.find(platform::kSep, at);
    if (cut == std::string::npos) cut = path.size();
    if (!platform::makeFolder(path.substr(0, cut))) return platform::kErrAccessDenied;
    at = cut + 1;
  }
  return 0;
}

int removeTree(const std::string& path) {
  int first = 0;
  std::vector<platform::FindEntry> entries;
  if (platform::findFiles(join(path, "*"), entries) == 0) {
    for (const auto& e : entries) {
      const std::string full = join(path, e.name);
      int rc = e.isFolder && !e.isLink ? removeTree(full) : platform::deleteFile(full);
      if (rc != 0 && first == 0) first = rc;
    }
  }
  int rc = platform::removeFolder(path);
  if (rc != 0 && first == 0) first = rc;
  return first;
}

}  // namespace host
