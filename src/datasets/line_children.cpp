#include "datasets/line_children.hpp"

#include <algorithm>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/level_codes.hpp"
#include "datasets/parent_links.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace datasets {

namespace {

constexpr int kMaxChildFields = 26;

std::string pathOf(const std::string& folder, const std::string& name8) {
  return base::joinPath(folder, platform::toWide(name8), platform::kSep);
}

// The key path of a name below owner, with the owner's part replaced.
std::string movedPath(const std::string& path, std::size_t ownerLength, const std::string& newPath) {
  return newPath + path.substr(ownerLength);
}

bool isTable(const RawName& n) { return base::equalsNoCase(n.extension, kTableExtension) && n.gpsSuffix.empty(); }

// Rewrites one renamed table's records: key fields 1..level that hold the
// old keys, and link fields that name a table renamed meanwhile.
int rewriteTable(tablestore::TableStore& store, const std::string& path8, const std::vector<std::string>& oldKeys,
                 const std::vector<std::string>& newKeys,
                 const std::vector<std::pair<std::string, std::string>>& renamed) {
  store.clearError();
  tablestore::Table* t = store.openTable(path8);
  if (!t) return store.error();
  std::vector<tablestore::TableField*> links;
  if (auto* f = t->fieldByName("PARENT")) links.push_back(f);
  for (int c = 1; c <= kMaxChildFields; ++c) {
    if (auto* f = t->fieldByName(childFieldName(c))) links.push_back(f);
  }
  int rc = 0;
  for (std::int64_t r = 1; r <= t->recordCount() && rc == 0; ++r) {
    if ((rc = t->goRecord(r)) != 0) break;
    bool changed = false;
    for (std::size_t j = 0; j < oldKeys.size() && j < newKeys.size(); ++j) {
      tablestore::TableField* f = t->fieldByNumber(static_cast<int>(j) + 1);
      if (!f || oldKeys[j] == newKeys[j] || std::string(f->text()) != oldKeys[j]) continue;
      if ((rc = f->assignText(newKeys[j])) != 0) break;
      changed = true;
    }
    for (tablestore::TableField* f : links) {
      const std::string now = base::trim(f->text());
      for (const auto& [from, to] : renamed) {
        if (!now.empty() && base::equalsNoCase(now, from)) {
          if ((rc = f->assignText(to)) != 0) break;
          changed = true;
          break;
        }
      }
    }
    if (changed && rc == 0) rc = t->changed(1) < 0 ? store.error() : 0;
  }
  store.clearError();
  int closed = store.closeTable(t);
  return rc != 0 ? rc : closed;
}

}  // namespace

bool blankKeys(const std::vector<std::string>& keys) {
  return std::all_of(keys.begin(), keys.end(), [](const std::string& k) { return base::trim(k).empty(); });
}

bool belongsToLine(const RawName& name, const LineOwner& owner) {
  if (name.datasetNumber != owner.datasetNumber || name.datasetName != owner.datasetName ||
      name.unitCode != owner.unitCode || name.level <= owner.level || owner.level < 1)
    return false;
  const std::string ownCode = normalLevelCode(owner.levelCode);
  const std::size_t letters = static_cast<std::size_t>(owner.level);
  if (ownCode.size() < letters || name.levelCode.size() < letters ||
      name.levelCode.compare(0, letters, ownCode, 0, letters) != 0)
    return false;
  const std::string path = joinKeys(owner.keys);
  if (name.keyPath.size() < path.size() || name.keyPath.compare(0, path.size(), path) != 0) return false;
  return name.keyPath.size() == path.size() || name.keyPath[path.size()] == '-';
}

int DatasetFiles::read(const std::string& folder, int datasetNumber, const std::string& datasetName,
                       const std::string& unitCode) {
  folder_ = folder;
  entries_.clear();
  byPath_.clear();
  byName_.clear();
  live_ = 0;
  std::vector<platform::FindEntry> found;
  const int rc = platform::findFiles(base::joinPath(folder, "*.*", platform::kSep), found);
  if (rc == platform::kErrFileNotFound || rc == platform::kErrPathNotFound) return 0;
  if (rc != 0) return rc;
  for (const platform::FindEntry& f : found) {
    if (f.isFolder) continue;
    const std::string name8 = platform::toNarrow(f.name);
    RawName parts;
    if (!parseRawName(name8, parts)) continue;
    if (parts.datasetNumber != datasetNumber || parts.datasetName != datasetName || parts.unitCode != unitCode)
      continue;
    add(name8, parts);
  }
  return 0;
}

void DatasetFiles::add(const std::string& file, const RawName& parts) {
  const std::size_t i = entries_.size();
  entries_.push_back({file, parts, false});
  ++live_;
  byName_[base::toUpper(file)] = i;
  const std::string& path = parts.keyPath;
  byPath_[path].push_back(i);
  for (std::size_t p = 0; p < path.size(); ++p) {
    if (path[p] == '-') byPath_[path.substr(0, p)].push_back(i);
  }
}

std::vector<std::string> DatasetFiles::childrenOf(const LineOwner& owner) const {
  std::vector<std::string> out;
  auto it = byPath_.find(joinKeys(owner.keys));
  if (it == byPath_.end()) return out;
  for (std::size_t i : it->second) {
    const Entry& e = entries_[i];
    if (!e.gone && belongsToLine(e.parts, owner)) out.push_back(e.file);
  }
  return out;
}

bool DatasetFiles::has(const std::string& name) const {
  auto it = byName_.find(base::toUpper(name));
  return it != byName_.end() && !entries_[it->second].gone;
}

void DatasetFiles::renamed(const std::string& from, const std::string& to) {
  auto it = byName_.find(base::toUpper(from));
  if (it == byName_.end() || entries_[it->second].gone) return;
  entries_[it->second].gone = true;
  --live_;
  byName_.erase(it);
  RawName parts;
  if (!to.empty() && parseRawName(to, parts)) add(to, parts);
}

ChildFileResult deleteLineChildren(DatasetFiles& files, const LineOwner& owner) {
  ChildFileResult r;
  // A blank key would name the children of every blank-keyed line at once.
  if (blankKeys(owner.keys)) return r;
  for (const std::string& name : files.childrenOf(owner)) {
    ++r.found;
    if (platform::deleteFile(pathOf(files.folder(), name)) == 0) {
      ++r.done;
      files.renamed(name, "");
    } else {
      ++r.failed;
    }
  }
  return r;
}

ChildFileResult moveLineChildren(tablestore::TableStore& store, DatasetFiles& files, const LineOwner& owner,
                                 const std::vector<std::string>& newKeys,
                                 std::vector<std::pair<std::string, std::string>>& renamedTables) {
  ChildFileResult r;
  renamedTables.clear();
  if (owner.keys == newKeys) return r;
  const std::vector<std::string> names = files.childrenOf(owner);
  r.found = static_cast<int>(names.size());
  if (names.empty()) return r;
  if (blankKeys(owner.keys) || blankKeys(newKeys) || newKeys.size() != owner.keys.size()) {
    r.refused = true;
    return r;
  }
  const std::string oldPath = joinKeys(owner.keys);
  const std::string newPath = joinKeys(newKeys);
  // Every new name is made and checked before anything moves, so a refusal
  // leaves the line's files as they were.
  std::vector<std::pair<std::string, std::string>> plan;
  std::vector<RawName> planParts;
  for (const std::string& name : names) {
    RawName parts;
    if (!parseRawName(name, parts)) continue;
    parts.keyPath = movedPath(parts.keyPath, oldPath.size(), newPath);
    std::string to;
    if (!buildRawName(parts, to) || files.has(to)) {
      r.refused = true;
      return r;
    }
    plan.emplace_back(name, to);
    planParts.push_back(parts);
  }
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const auto& [from, to] = plan[i];
    // The move itself never replaces a file either (a name made meanwhile).
    if (platform::moveFile(pathOf(files.folder(), from), pathOf(files.folder(), to)) != 0) {
      ++r.failed;
      continue;
    }
    ++r.done;
    files.renamed(from, to);
    if (isTable(planParts[i])) renamedTables.emplace_back(from, to);
  }
  const std::string folder8 = platform::toNarrow(files.folder());
  for (const auto& [from, to] : renamedTables) {
    (void)from;
    const std::string path8 = base::joinPath(folder8, to, platform::kSep);
    if (rewriteTable(store, path8, owner.keys, newKeys, renamedTables) != 0) ++r.failed;
  }
  return r;
}

}  // namespace datasets
