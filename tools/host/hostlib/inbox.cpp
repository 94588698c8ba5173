#include "hostlib/inbox.hpp"

#include <vector>

#include "platform/errors.hpp"
#include "platform/folder_storage.hpp"

namespace host {

namespace {

// Names tried before a session gives up on finding a free one.
constexpr int kNameTries = 20;

}  // namespace

int InboxSession::open() {
  if (isOpen()) return 0;
  const std::string unitFolder = tree_.unitInbox(unit_);
  if (int rc = makeFolders(tree_.root, unitFolder)) return rc;
  for (int i = 0; i < kNameTries; ++i) {
    std::string session = namer_.next();
    if (platform::folderExists(join(unitFolder, session))) continue;
    std::string partial = join(unitFolder, kPartialPrefix + session);
    int rc = platform::makeFolderOnce(partial);
    if (rc == platform::kErrAlreadyExists) continue;
    if (rc != 0) return rc;
    session_ = std::move(session);
    partial_ = std::move(partial);
    return 0;
  }
  return platform::kErrAlreadyExists;
}

int InboxSession::create(const std::string& name, platform::File& out) {
  if (!isOpen()) return platform::kErrPathNotFound;
  out = platform::openFile(join(partial_, name), platform::Access::Write, platform::Disposition::CreateNew);
  return out.isOpen() ? 0 : out.error();
}

int InboxSession::commit(std::string& finalFolder) {
  if (!isOpen()) return platform::kErrPathNotFound;
  if (int rc = platform::flushFolder(partial_)) return rc;
  const std::string unitFolder = tree_.unitInbox(unit_);
  std::string session = session_;
  for (int i = 0; i < kNameTries; ++i) {
    const std::string target = join(unitFolder, session);
    int rc = platform::moveFile(partial_, target);
    if (rc == 0) {
      (void)platform::flushFolder(unitFolder);
      session_ = session;
      partial_.clear();
      finalFolder = target;
      return 0;
    }
    if (rc != platform::kErrAlreadyExists && rc != platform::kErrFileExists) return rc;
    session = namer_.next();
  }
  return platform::kErrAlreadyExists;
}

void InboxSession::abandon() {
  if (!isOpen()) return;
  (void)removeTree(partial_);
  partial_.clear();
}

int sweepPartials(const HostTree& tree) {
  int removed = 0;
  std::vector<platform::FindEntry> units;
  if (platform::findFiles(join(tree.inbox(), "*"), units) != 0) return 0;
  for (const auto& u : units) {
    if (!u.isFolder || u.isLink) continue;
    std::vector<platform::FindEntry> sessions;
    const std::string unitFolder = join(tree.inbox(), u.name);
    if (platform::findFiles(join(unitFolder, std::string(kPartialPrefix) + "*"), sessions) != 0) continue;
    for (const auto& s : sessions) {
      if (!s.isFolder || s.isLink) continue;
      if (removeTree(join(unitFolder, s.name)) == 0) ++removed;
    }
  }
  return removed;
}

}  // namespace host
