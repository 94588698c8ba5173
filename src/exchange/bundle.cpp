#include "exchange/bundle.hpp"

#include <algorithm>
#include <map>

#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "exchange/dataset_files.hpp"
#include "exchange/merge_tables.hpp"
#include "platform/fileops.hpp"
#include "platform/wildcard.hpp"
#include "tablestore/table_store.hpp"

namespace exchange {

namespace {

constexpr const char* kTempExtension = "tmp";
constexpr const char* kSetAsideExtension = "~~~";


std::string levelCodeOf(const std::string& letters) {
  std::string code = "A" + letters;
  code.resize(5, '_');
  return code;
}

enum class Branch { kNoTables, kDone, kFailed };

class Run {
 public:
  Run(tablestore::TableStore& store, const BundleJob& job, int number)
      : store_(store), job_(job), number_(number) {}

  BundleOutcome out;

  bool start() {
    auto level1 = listDataFiles(job_.dataFolder, datasets::rawBranchPattern(number_, "A____", "dbf")).tables;
    for (const auto& name : level1) {
      if (datasets::parseRawName(name, level1_) && level1_.level == 1 && level1_.keyPath.empty() &&
          level1_.datasetNumber == number_) {
        level1Name_ = name;
        listBranchFiles();
        return true;
      }
    }
    return false;
  }

  const std::string& datasetName() const { return level1_.datasetName; }

  void dropTemporaryBundles() {
    auto temps = listDataFiles(job_.dataFolder, "[" + level1_.datasetName + "]*." + kTempExtension);
    for (auto* list : {&temps.tables, &temps.coordinates}) {
      for (const auto& name : *list) {
        datasets::BundleName parts;
        if (datasets::parseBundleName(name, parts) && parts.datasetName == level1_.datasetName)
          (void)platform::deleteFile(path(name));
      }
    }
  }

  // Levels 2-5 below the level-1 table, every letter A-Z of each level.
  bool bundleDeeperLevels() {
    for (char c = 'A'; c <= 'Z'; ++c)
      if (bundleBranch(std::string(1, c)) == Branch::kFailed) return false;
    return true;
  }

  bool bundleLevel1() {
    if (!bundleCoordinates(1, "A____", level1_.tableName)) {
      if (!stopped_) fail(kBundleLevel1Failed, "Failed to Bundle Level 1 GPS File",
                          "Failed to Bundle Level 1 GPS File!", "debug 2");
      return false;
    }
    std::string rawVersion, bundledVersion;
    if (datasets::rawVersionTableName(level1_, rawVersion) &&
        platform::fileExists(path(rawVersion))) {
      if (!datasets::bundledVersionTableName(level1_.datasetName, level1_.unitCode, bundledVersion) ||
          platform::replaceFile(path(rawVersion), path(bundledVersion)) != 0) {
        out.code = kBundleVersionFailed;
        out.text = "Failed to Bundle AppVer File";
      }
    }
    datasets::BundleName parts{level1_.datasetName, 1, "A____", level1_.unitCode,
                               level1_.tableName, "", level1_.extension};
    datasets::RawName asideParts = level1_;
    asideParts.extension = kSetAsideExtension;
    std::string bundle, aside;
    if (!datasets::buildBundleName(parts, bundle) || !datasets::buildRawName(asideParts, aside)) {
      fail(kBundleLevel1Failed, "Failed to Bundle Level 1 File", "Failed to Bundle Level 1 File!", "debug 2");
      return false;
    }
    if (!setAside(bundle, aside)) return false;
    if (platform::moveFile(path(level1Name_), path(bundle)) != 0) {
      fail(kBundleLevel1Failed, "Failed to Bundle Level 1 File", "Failed to Bundle Level 1 File!", "debug 2");
      return false;
    }
    return !stop(BundleStep::kLevel1Renamed);
  }

  bool stopped() const { return stopped_; }

 private:
  std::string path(std::string_view name) const { return dataFilePath(job_.dataFolder, name); }

  bool stop(BundleStep step) {
    if (!stopped_ && job_.stopAt && job_.stopAt(step)) stopped_ = true;
    return stopped_;
  }

  void fail(int code, std::string text, std::string message, std::string caption) {
    out.code = code;
    out.text = std::move(text);
    out.messages.push_back({std::move(message), std::move(caption)});
  }

  void message(std::string text, std::string caption) {
    out.messages.push_back({std::move(text), std::move(caption)});
  }

  std::string tableNameOf(const std::string& code) const {
    for (const auto& e : job_.hierarchy)
      if (e.code == code) return base::trim(e.name);
    return {};
  }

  void report(int level, const std::string& letters) {
    if (job_.progress == nullptr) return;
    int value = level;
    for (char c : letters.substr(1)) value += c - 'A' + 1;
    const int count = std::max<int>(1, static_cast<int>(job_.hierarchy.size()));
    job_.progress->report(value * 100 / count,
                          base::format("   Hierarchy:%d of %d", value, static_cast<int>(job_.hierarchy.size())));
  }

  // The raw files of one branch of this dataset: still to be merged
  // (".dbf"/".GPF") and already marked by a killed run (".del"/".gel").
  std::vector<std::string> sources(const std::string& code, bool coordinates) const {
    std::vector<std::string> names;
    static constexpr const char* kTableKinds[] = {"dbf", "del"};
    static constexpr const char* kCoordinateKinds[] = {"GPF", "gel"};
    for (const char* ext : coordinates ? kCoordinateKinds : kTableKinds) {
      const auto found = branchFiles_.find(base::toUpper(code) + "." + base::toUpper(ext));
      if (found == branchFiles_.end()) continue;
      const std::vector<std::string>& listed = found->second;
      names.insert(names.end(), listed.begin(),
                   listed.begin() + static_cast<std::ptrdiff_t>(std::min(listed.size(), kMaxListedFiles)));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return base::toUpper(a) < base::toUpper(b);
    });
    return names;
  }

  // One listing of the dataset's raw files for the whole run, filed by level
  // code and extension: a listing per branch letter made bundling a large
  // dataset slow. The run only renames files of branches it has listed.
  void listBranchFiles() {
    std::vector<platform::FindEntry> found;
    if (platform::findFiles(path(base::format("%02d *", number_)), found) != 0) return;
    for (const auto& entry : found) {
      if (entry.isFolder || entry.name.size() >= kMaxListedNameBytes) continue;
      if (base::toUpper(entry.name).find(base::toUpper(datasets::kVersionTableSuffix)) != std::string::npos) continue;
      datasets::RawName raw;
      if (!datasets::parseRawName(entry.name, raw) || raw.datasetNumber != number_ ||
          raw.datasetName != level1_.datasetName)
        continue;
      const bool coordinate = entry.name.find(kGpsMarker) != std::string::npos;
      const std::string ext = base::toUpper(raw.extension);
      if (coordinate ? (ext != "GPF" && ext != "GEL") : (ext != "DBF" && ext != "DEL")) continue;
      branchFiles_[base::toUpper(raw.levelCode) + "." + ext].push_back(entry.name);
    }
  }

  // Moves bundle (when present) to aside, deleting an older aside first.
  bool setAside(const std::string& bundle, const std::string& aside) {
    if (!platform::fileExists(path(bundle))) return true;
    if (platform::fileExists(path(aside))) (void)platform::deleteFile(path(aside));
    if (platform::moveFile(path(bundle), path(aside)) != 0) {
      fail(kBundleSetAsideFailed, "", path(bundle), "debug");
      return false;
    }
    return true;
  }

  // Steps a-d of one bundle (see the header).
  bool buildBundle(datasets::BundleName parts, const std::vector<std::string>& names, bool coordinates) {
    std::string bundle, temp, aside;
    bool named = datasets::buildBundleName(parts, bundle);
    parts.extension = kTempExtension;
    named = named && datasets::buildBundleName(parts, temp);
    parts.extension = kSetAsideExtension;
    named = named && datasets::buildBundleName(parts, aside);
    if (!named) return false;

    if (platform::fileExists(path(temp))) (void)platform::deleteFile(path(temp));
    for (std::size_t at = 0; at < names.size(); at += kMaxMergeNames) {
      std::vector<std::string> pass(names.begin() + static_cast<std::ptrdiff_t>(at),
                                    names.begin() + static_cast<std::ptrdiff_t>(std::min(names.size(), at + kMaxMergeNames)));
      if (mergeTables(store_, job_.dataFolder, temp, pass, coordinates) != kMergeDone) {
        (void)platform::deleteFile(path(temp));
        return false;
      }
    }
    if (stop(BundleStep::kBranchBuilt)) return false;
    if (!setAside(bundle, aside)) return false;
    if (stop(BundleStep::kBranchSetAside)) return false;
    if (platform::moveFile(path(temp), path(bundle)) != 0) return false;
    if (stop(BundleStep::kBranchRenamed)) return false;
    for (const auto& name : names) {
      if (markMergedSources(job_.dataFolder, {name}) != 0) return false;
      if (stop(BundleStep::kSourceMarked)) return false;
    }
    return true;
  }

  // The coordinate bundles of a branch: one per kind of coordinate file.
  bool bundleCoordinates(int level, const std::string& code, const std::string& tableName) {
    std::map<std::string, std::vector<std::string>> byKind;
    for (const auto& name : sources(code, true)) {
      datasets::RawName raw;
      if (datasets::parseRawName(name, raw)) byKind[raw.gpsSuffix].push_back(name);
    }
    for (const auto& [suffix, names] : byKind) {
      datasets::BundleName parts{level1_.datasetName, level, code, level1_.unitCode, tableName, suffix,
                                 datasets::kCoordinateExtension};
      if (!buildBundle(parts, names, true)) return false;
    }
    return true;
  }

  Branch bundleBranch(const std::string& letters) {
    const int level = static_cast<int>(letters.size()) + 1;
    const std::string code = levelCodeOf(letters);
    auto tables = sources(code, false);
    if (tables.empty()) return Branch::kNoTables;
    report(level, "A" + letters);
    const std::string tableName = tableNameOf(code);
    if (tableName.empty()) {
      message("!get_branch_name ", "debug");
      return Branch::kFailed;
    }
    datasets::BundleName parts{level1_.datasetName, level, code, level1_.unitCode, tableName, "",
                               datasets::kTableExtension};
    if (!buildBundle(parts, tables, false)) {
      if (!stopped_) message("!!bundle_files  ", "debug 2");
      return Branch::kFailed;
    }
    if (!bundleCoordinates(level, code, tableName)) {
      if (!stopped_) message("!!bundle_files GPS  ", level <= 2 ? "debug 2 GPS" : "debug 3 GPS");
      return Branch::kFailed;
    }
    if (level < 5) {
      for (char c = 'A'; c <= 'Z'; ++c)
        if (bundleBranch(letters + c) == Branch::kFailed) return Branch::kFailed;
    }
    return Branch::kDone;
  }

  tablestore::TableStore& store_;
  const BundleJob& job_;
  const int number_;
  datasets::RawName level1_;
  std::string level1Name_;
  std::map<std::string, std::vector<std::string>> branchFiles_;  // "AB___.DBF" -> names
  bool stopped_ = false;
};

}  // namespace

BundleOutcome bundleDataset(tablestore::TableStore& store, const BundleJob& job) {
  const int number = std::clamp(job.datasetNumber, 1, 99);
  Run run(store, job, number);
  if (job.hierarchy.empty()) return run.out;
  if (!run.start()) {
    // Nothing raw left: only what a killed run marked is swept.
    run.out.unerased = sweepDataset(job.dataFolder, number, "").failed;
    run.out.result = 1;
    return run.out;
  }
  run.dropTemporaryBundles();
  if (!run.bundleDeeperLevels() || !run.bundleLevel1()) {
    if (run.stopped()) run.out = {};
    return run.out;
  }
  run.out.unerased = sweepDataset(job.dataFolder, number, run.datasetName()).failed;
  run.out.result = 1;
  if (job.progress != nullptr) job.progress->report(100, "");
  return run.out;
}

ui::ProgressSpec bundleProgressTexts(const std::string& datasetEntry) {
  ui::ProgressSpec desc;
  desc.title = kBundleTitle;
  desc.line1 = std::string(kBundleDatasetLine) + datasetEntry;
  return desc;
}

}  // namespace exchange
