#include "exchange/extract.hpp"

#include <algorithm>
#include <cctype>
#include <optional>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "datasets/dataset_list.hpp"
#include "exchange/dataset_files.hpp"
#include "exchange/split_table.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/progress.hpp"

namespace exchange {

namespace {

constexpr std::int64_t kMaxNoteBytes = 1 << 20;

std::string pathOf(const std::string& folder, std::string_view name) {
  return base::joinPath(folder, name, platform::kSep);
}

// Names (no folders) matching pattern inside folder, sorted.
std::vector<std::string> listNames(const std::string& folder, const std::string& pattern) {
  std::vector<platform::FindEntry> found;
  std::vector<std::string> out;
  if (platform::findFiles(pathOf(folder, pattern), found) != 0) return out;
  for (const platform::FindEntry& entry : found)
    if (!entry.isFolder) out.push_back(entry.name);
  std::sort(out.begin(), out.end());
  return out;
}

bool endsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && base::equalsNoCase(text.substr(text.size() - tail.size()), tail);
}

// The dataset's bundle tables: tables, then coordinate bundles; version tables left out.
std::vector<std::string> listBundles(const std::string& folder, const std::string& name) {
  std::vector<std::string> out;
  for (const char* ext : {datasets::kTableExtension, datasets::kCoordinateExtension}) {
    FileLists lists = listDataFiles(folder, "[" + name + "]*." + ext);
    for (std::vector<std::string>* list : {&lists.tables, &lists.coordinates})
      out.insert(out.end(), list->begin(), list->end());
  }
  return out;
}

// The dataset name a raw file name carries ("NN ...[name]..."), "" when none.
std::string datasetOf(std::string_view file) {
  const std::size_t open = file.find('[');
  const std::size_t close = file.find(']', open == std::string_view::npos ? 0 : open);
  if (open != 9 || close == std::string_view::npos) return {};
  return std::string(file.substr(open + 1, close - open - 1));
}

struct Note {
  int number = 0;
  std::vector<std::string> committed;  // bundles whose staged tables are complete
  std::vector<std::string> keep;       // committed bundles with refused records (kept, not marked)
};

constexpr char kKeepMark = '!';

std::string notePath(const ExtractRequest& r) { return pathOf(r.folder, "[" + r.datasetName + "]" + kExtractNoteSuffix); }

// The note of a killed run; nothing when there is none or it is not one.
std::optional<Note> readNote(const ExtractRequest& r) {
  std::string text;
  if (platform::readWholeFile(notePath(r), text, kMaxNoteBytes) != 0) return std::nullopt;
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  if (lines.empty() || lines[0].size() != 2 || !std::isdigit(static_cast<unsigned char>(lines[0][0])) ||
      !std::isdigit(static_cast<unsigned char>(lines[0][1])))
    return std::nullopt;
  Note note;
  note.number = (lines[0][0] - '0') * 10 + (lines[0][1] - '0');
  if (note.number < 1) return std::nullopt;
  const std::string prefix = "[" + r.datasetName + "]";
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const bool keep = !lines[i].empty() && lines[i][0] == kKeepMark;
    const std::string name = keep ? lines[i].substr(1) : lines[i];
    if (name.rfind(prefix, 0) != 0 || !datasets::fileNameSafe(name)) continue;
    note.committed.push_back(name);
    if (keep) note.keep.push_back(name);
  }
  return note;
}

bool writeNote(const ExtractRequest& r, const Note& note) {
  std::string text = base::format("%02d\n", note.number);
  for (const std::string& name : note.committed) {
    if (std::find(note.keep.begin(), note.keep.end(), name) != note.keep.end()) text += kKeepMark;
    text += name + "\n";
  }
  platform::SafeWriteStage stage;
  return platform::writeFileSafely(notePath(r), text.data(), text.size(), stage) == 0;
}

// The note's number while this dataset holds live tables under it or a
// committed split, or no other dataset uses it; else the first free number.
std::optional<int> chooseNumber(const ExtractRequest& r, const std::optional<Note>& note) {
  if (note) {
    bool ours = !note->committed.empty(), others = false;
    for (const std::string& file : listNames(r.folder, base::format("%02d *", note->number))) {
      const bool table = endsWithNoCase(file, ".dbf") || endsWithNoCase(file, ".GPF");
      if (!base::equalsNoCase(datasetOf(file), r.datasetName)) others = others || endsWithNoCase(file, ".dbf");
      else if (table && file.find(datasets::kVersionTableSuffix) == std::string::npos) ours = true;
    }
    if (ours || !others) return note->number;
  }
  return datasets::freeDatasetNumber(r.folder, platform::kSep);
}

// Leaves a number a killed run had taken before any of its tables were
// live: staged tables go, the version table follows to the new number.
bool leaveNumber(const ExtractRequest& r, int from, int to, std::string& failure) {
  for (const std::string& file : listNames(r.folder, base::format("%02d *", from))) {
    if (!base::equalsNoCase(datasetOf(file), r.datasetName)) continue;
    int rc = 0;
    if (!livePartner(file).empty()) {
      rc = platform::deleteFile(pathOf(r.folder, file));
    } else if (file.find(datasets::kVersionTableSuffix) != std::string::npos) {
      rc = platform::moveFile(pathOf(r.folder, file), pathOf(r.folder, base::format("%02d", to) + file.substr(2)));
    }
    if (rc != 0) {
      failure = "Cannot move " + file;
      return false;
    }
  }
  return true;
}

// This dataset's staged tables under number.
std::vector<std::string> stagedTables(const ExtractRequest& r, int number) {
  std::vector<std::string> out;
  for (const char* ext : {kStagedTableExtension, kStagedCoordinateExtension})
    for (std::string& file : listNames(r.folder, base::format("%02d *.", number) + ext))
      if (base::equalsNoCase(datasetOf(file), r.datasetName)) out.push_back(std::move(file));
  return out;
}

// The bundle's name once done: marked extracted, or kept for its refused records.
std::string doneName(std::string_view bundle, bool refused) {
  if (!refused) return markedName(bundle);
  const bool coordinate = endsWithNoCase(bundle, ".GPF");
  return std::string(bundle.substr(0, bundle.size() - 3)) +
         (coordinate ? kRefusedCoordinateExtension : kRefusedTableExtension);
}

class Run {
 public:
  Run(tablestore::TableStore& store, const ExtractRequest& request, ExtractResult& result, ui::Progress* progress)
      : store_(store), r_(request), result_(result), progress_(progress) {}

  ExtractOutcome go() {
    if (!datasets::validDatasetName(r_.datasetName)) return fail(kNoBundlesText);
    const std::optional<Note> previous = readNote(r_);
    const std::vector<std::string> bundles = listBundles(r_.folder, r_.datasetName);
    if (bundles.empty() && !previous) return fail(kNoBundlesText);
    const std::optional<int> number = chooseNumber(r_, previous);
    if (!number) return fail(kNoFreeNumberText);
    note_.number = *number;
    result_.datasetNumber = *number;
    if (previous && previous->number == *number) note_ = *previous;
    if (previous && previous->number != *number && !leaveNumber(r_, previous->number, *number, result_.failure))
      return ExtractOutcome::kFailed;
    if (!writeNote(r_, note_)) return fail("Cannot write " + notePath(r_));
    unitHint_ = level1Unit(bundles);

    const int total = static_cast<int>(bundles.size());
    for (int i = 0; i < total; ++i) {
      const std::string& bundle = bundles[i];
      report(i, total);
      const ExtractOutcome outcome = extractOne(bundle);
      if (outcome != ExtractOutcome::kDone) return outcome;
    }
    report(total, total);
    sweep();
    (void)platform::deleteFile(notePath(r_));
    return ExtractOutcome::kDone;
  }

 private:
  ExtractOutcome fail(std::string text) {
    result_.failure = std::move(text);
    return ExtractOutcome::kFailed;
  }
  bool stop() const { return r_.stopHere && r_.stopHere(); }

  void report(int done, int total) {
    if (progress_ != nullptr)
      progress_->report(total > 0 ? done * 100 / total : 100, base::format(kExtractingLine, done, total));
  }

  // The unit code of the level-1 bundle: it tells the unit code from the
  // table name in the deeper bundles' names.
  std::string level1Unit(const std::vector<std::string>& bundles) const {
    for (const std::string& name : bundles) {
      datasets::BundleName parts;
      if (datasets::parseBundleName(name, parts) && parts.level == 1) return parts.unitCode;
    }
    return {};
  }

  std::string unitFor(const std::string& bundleUnit) const {
    return bundleUnit == "000000" || bundleUnit.size() > 6 ? r_.thisUnitCode : bundleUnit;
  }

  void renameVersionTable(const datasets::BundleName& level1) {
    std::string bundled, raw;
    if (!datasets::bundledVersionTableName(r_.datasetName, level1.unitCode, bundled)) return;
    if (!platform::fileExists(pathOf(r_.folder, bundled))) return;
    datasets::RawName parts{note_.number, 1, level1.levelCode, level1.datasetName, unitFor(level1.unitCode), "",
                            level1.tableName, "", datasets::kTableExtension};
    if (!datasets::rawVersionTableName(parts, raw) ||
        platform::moveFile(pathOf(r_.folder, bundled), pathOf(r_.folder, raw)) != 0)
      result_.messages.push_back("Version table " + bundled + " not renamed");
  }

  // Renames this dataset's staged tables to their live names.
  bool makeLive() {
    for (const std::string& staged : stagedTables(r_, note_.number)) {
      const std::string live = livePartner(staged);
      if (live.empty() || platform::moveFile(pathOf(r_.folder, staged), pathOf(r_.folder, live)) != 0) {
        result_.failure = "Cannot rename " + staged + " to " + live;
        return false;
      }
      if (stop()) return false;
    }
    return true;
  }

  ExtractOutcome extractOne(const std::string& bundle) {
    const bool committed =
        std::find(note_.committed.begin(), note_.committed.end(), bundle) != note_.committed.end();
    bool refused = std::find(note_.keep.begin(), note_.keep.end(), bundle) != note_.keep.end();
    if (!committed) {
      // A killed split's staged tables are incomplete: start this bundle afresh.
      for (const std::string& staged : stagedTables(r_, note_.number))
        if (platform::deleteFile(pathOf(r_.folder, staged)) != 0) return fail("Cannot remove " + staged);
      datasets::BundleName parts;
      if (datasets::parseBundleName(bundle, parts) && parts.level == 1 &&
          base::equalsNoCase(parts.extension, datasets::kTableExtension))
        renameVersionTable(parts);
      SplitRequest split{r_.folder, bundle, unitHint_, note_.number, r_.thisUnitCode};
      SplitResult out;
      const SplitOutcome outcome = splitTable(store_, split, out, [this](int n, int count) {
        if (progress_ != nullptr)
          progress_->report(count > 0 ? n * 100 / count : 100, base::format(kExtractingLine, n, count));
        return !stop();
      });
      if (outcome == SplitOutcome::kStopped) return ExtractOutcome::kStopped;
      if (outcome == SplitOutcome::kNoBundle) {
        // A table that only looks like one of the dataset's is none of its data: left alone.
        result_.messages.push_back(out.failure + " (left as it is)");
        return ExtractOutcome::kDone;
      }
      if (outcome != SplitOutcome::kSplit) return fail(out.failure);
      result_.records += out.written;
      refused = !out.refusals.empty();
      for (std::string& text : out.refusals) result_.messages.push_back(std::move(text));
      note_.committed.push_back(bundle);
      if (refused) note_.keep.push_back(bundle);
      if (!writeNote(r_, note_)) return fail("Cannot write " + notePath(r_));
      if (stop()) return ExtractOutcome::kStopped;
    }
    if (!makeLive()) return result_.failure.empty() ? ExtractOutcome::kStopped : ExtractOutcome::kFailed;
    const std::string marked = doneName(bundle, refused);
    if (platform::replaceFile(pathOf(r_.folder, bundle), pathOf(r_.folder, marked)) != 0)
      return fail("Cannot rename " + bundle + " to " + marked);
    if (refused) result_.messages.push_back(bundle + " kept as " + marked);
    ++result_.bundles;
    if (stop()) return ExtractOutcome::kStopped;
    return ExtractOutcome::kDone;
  }

  // Deletes this dataset's marked bundles, and no one else's.
  void sweep() {
    for (const std::string& name : sweepDataset(r_.folder, note_.number, r_.datasetName).failed)
      result_.messages.push_back("Cannot delete " + name);
  }

  tablestore::TableStore& store_;
  const ExtractRequest& r_;
  ExtractResult& result_;
  ui::Progress* progress_;
  Note note_;
  std::string unitHint_;
};

}  // namespace

ExtractOutcome extractDataset(tablestore::TableStore& store, const ExtractRequest& request, ExtractResult& result,
                              ui::Progress* progress) {
  return Run(store, request, result, progress).go();
}

ui::ProgressSpec extractProgressTexts(std::string_view datasetName) {
  ui::ProgressSpec desc;
  desc.title = kExtractTitle;
  desc.line1 = std::string(kExtractDatasetLine) + std::string(datasetName);
  desc.line2 = base::format(kExtractingLine, 0, 0);
  return desc;
}

}  // namespace exchange
