#include "datasets/erase_files.hpp"

#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/prompts.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"
#include "ui/progress.hpp"

namespace datasets {

namespace {

constexpr char kSep = platform::kSep;
// Deeper trees are left for the removal of their top to report.
constexpr int kMaxTreeDepth = 64;

bool safeName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
}

std::vector<platform::FindEntry> entriesOf(const std::string& pattern) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(pattern, found);
  return found;
}

// A link is removed as what it is: a folder link by the folder call (Win32),
// a symbolic link by the file call (POSIX).
int removeLink(const std::string& path, bool toFolder) {
  if (toFolder && platform::removeFolder(path) == 0) return 0;
  return platform::deleteFile(path);
}

int removeTree(const std::string& folder, int depth) {
  if (depth < kMaxTreeDepth) {
    for (const platform::FindEntry& e : entriesOf(base::joinPath(folder, "*", kSep))) {
      if (!safeName(e.name)) continue;
      const std::string path = base::joinPath(folder, e.name, kSep);
      // What stays makes the removal of folder fail below, which reports it.
      if (e.isLink) (void)removeLink(path, e.isFolder);
      else if (e.isFolder) (void)removeTree(path, depth + 1);
      else (void)platform::deleteFile(path);
    }
  }
  return platform::removeFolder(folder);
}

}  // namespace

bool splitPattern(const std::string& pattern, PatternParts& out) {
  const std::size_t cut = pattern.rfind(kSep);
  if (cut == std::string::npos || cut + 1 >= pattern.size()) return false;
  out.folder = pattern.substr(0, cut);
  out.wildcard = pattern.substr(cut + 1);
  // A root folder keeps its separator ("/" rather than "").
  if (out.folder.empty() || out.folder.back() == ':') out.folder += kSep;
  return true;
}

std::vector<std::string> matchingFiles(const std::string& pattern) {
  PatternParts parts;
  std::vector<std::string> names;
  if (!splitPattern(pattern, parts)) return names;
  for (const platform::FindEntry& e : entriesOf(base::joinPath(parts.folder, parts.wildcard, kSep)))
    if (!e.isFolder && safeName(e.name)) names.push_back(e.name);
  return names;
}

EraseCount eraseMatching(ui::Host& host, const std::string& pattern, const std::string& caption) {
  EraseCount count;
  const std::vector<std::string> names = matchingFiles(pattern);
  count.matched = static_cast<int>(names.size());
  if (names.empty()) return count;
  PatternParts parts;
  (void)splitPattern(pattern, parts);  // it split when matchingFiles found anything

  ui::ProgressSpec desc;
  desc.title = caption;
  desc.line1 = parts.folder;
  const int failed = ui::runWithProgress(host, desc, [&](ui::Progress& progress) {
    int left = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
      progress.report(static_cast<int>(100 * i / names.size()), names[i]);
      if (platform::deleteFile(base::joinPath(parts.folder, names[i], kSep)) != 0) ++left;
    }
    progress.report(100, "");
    return left;
  });
  // No worker: nothing was deleted.
  count.failed = failed < 0 ? count.matched : failed;
  return count;
}

int eraseFilesWithProgress(ui::Host& host, const std::string& pattern, const std::string& caption) {
  return eraseMatching(host, pattern, caption).failed == 0 ? 1 : 0;
}

int eraseWithSecondTry(ui::Host& host, const std::string& pattern, const std::string& caption,
                       const std::string& question, const std::string& secondTryFailed) {
  if (eraseFilesWithProgress(host, pattern, caption) == 1) return kErasedAll;
  const int answer = host.messageBox(question, "Error", ui::kMbAbortRetryIgnore | ui::kMbIconQuestion | ui::kMbTopmost);
  if (answer == ui::kIdAbort) return kEraseAborted;
  if (answer != ui::kIdRetry) return kErasedPart;
  if (eraseFilesWithProgress(host, pattern, caption) == 1) return kErasedAll;
  ui::inform(host, secondTryFailed, "Error");
  return kErasedPart;
}

int eraseFilesQuietly(ui::Host& host, const std::string& pattern) {
  const std::vector<std::string> names = matchingFiles(pattern);
  if (names.empty()) {
    (void)config::warn(host, "Files", "Cannot be Erased", 0, false, false);
    return 0;
  }
  PatternParts parts;
  (void)splitPattern(pattern, parts);
  int failed = 0;
  for (const std::string& name : names)
    if (platform::deleteFile(base::joinPath(parts.folder, name, kSep)) != 0) ++failed;
  return failed == 0 ? 1 : 0;
}

int removeFolderTree(const std::string& folderIn) {
  const std::string folder = base::setTrailingSlash(folderIn, false, kSep);
  const std::size_t cut = folder.rfind(kSep);
  const std::string last = cut == std::string::npos ? folder : folder.substr(cut + 1);
  // A root or a drive is no folder to empty.
  if (last.empty() || last.back() == ':') return platform::kErrInvalidName;
  for (const platform::FindEntry& e : entriesOf(folder))
    if (e.isLink && base::equalsNoCase(e.name, last)) return platform::removeFolder(folder);
  return removeTree(folder, 0);
}

}  // namespace datasets
