#include "exchange/merge_tables.hpp"

#include <cstring>
#include <string_view>

#include "datasets/data_names.hpp"
#include "exchange/dataset_files.hpp"
#include "platform/fileops.hpp"
#include "platform/wildcard.hpp"
#include "tablestore/table_store.hpp"

namespace exchange {

namespace {


std::string_view extensionOf(std::string_view name) {
  auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

bool extensionFits(std::string_view name, bool coordinates) {
  std::string_view ext = extensionOf(name);
  if (coordinates)
    return platform::namesEqual(ext, datasets::kCoordinateExtension) ||
           platform::namesEqual(ext, kMarkedCoordinateExtension);
  return platform::namesEqual(ext, datasets::kTableExtension) ||
         platform::namesEqual(ext, kMarkedTableExtension);
}

bool sameFields(const std::vector<tablestore::FieldSpec>& a, const std::vector<tablestore::FieldSpec>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!platform::namesEqual(a[i].name, b[i].name) || a[i].type != b[i].type ||
        a[i].length != b[i].length || a[i].decimals != b[i].decimals)
      return false;
  }
  return true;
}

// Appends every record of source to target, in runs of about 256 KiB (a
// write per record made bundling slow); false when one could not be.
bool appendAll(tablestore::Table& source, tablestore::Table& target) {
  constexpr std::size_t kRunBytes = 256 * 1024;
  std::string record, run;
  const auto width = static_cast<std::size_t>(target.recordWidth());
  std::int64_t inRun = 0;
  for (std::int64_t n = 1; n <= source.recordCount(); ++n) {
    if (source.peekRecord(n, record) != 0 || record.size() != width) return false;
    run += record;
    if (++inRun * static_cast<std::int64_t>(width) >= static_cast<std::int64_t>(kRunBytes)) {
      if (target.appendRecords(run, inRun) != 0) return false;
      run.clear();
      inRun = 0;
    }
  }
  return target.appendRecords(run, inRun) == 0;
}

void closeQuietly(tablestore::TableStore& store, tablestore::Table* table) {
  store.clearError();
  (void)store.closeTable(table);
  store.clearError();
}

}  // namespace

int mergeTables(tablestore::TableStore& store, const std::string& dataFolder, const std::string& target,
                const std::vector<std::string>& names, bool coordinates, const MergeStep& onStep) {
  if (names.size() > kMaxMergeNames) return -static_cast<int>(kMaxMergeNames + 1);
  if (names.empty() || !extensionFits(names.front(), coordinates)) return kMergeFirstMissing;
  const int count = static_cast<int>(names.size());
  if (onStep) onStep(1, count, names.front());

  store.clearError();
  tablestore::Table* first = store.openTable(dataFilePath(dataFolder, names.front()));
  if (first == nullptr) {
    store.clearError();
    return kMergeFirstMissing;
  }
  const std::string targetPath = dataFilePath(dataFolder, target);
  store.clearError();
  tablestore::Table* out = platform::fileExists(targetPath) ? store.openTable(targetPath)
                                                            : store.createTable(targetPath, first->fieldInfo());
  if (out == nullptr) {
    closeQuietly(store, first);
    return kMergeTargetFailed;
  }
  const auto fields = out->fieldInfo();

  int result = kMergeDone;
  for (int i = 0; i < count && result == kMergeDone; ++i) {
    tablestore::Table* source = first;
    if (i > 0) {
      if (onStep) onStep(i + 1, count, names[i]);
      if (!extensionFits(names[i], coordinates)) {
        result = -(i + 1);
        break;
      }
      store.clearError();
      source = store.openTable(dataFilePath(dataFolder, names[i]));
      if (source == nullptr) {
        store.clearError();
        result = -(i + 1);
        break;
      }
    }
    if (!sameFields(source->fieldInfo(), fields) || !appendAll(*source, *out))
      result = i == 0 ? kMergeFirstMissing : -(i + 1);
    closeQuietly(store, source);
  }

  store.clearError();
  bool whole = out->flush() == 0;
  store.clearError();
  whole = store.closeTable(out) == 0 && whole;
  store.clearError();
  if (result == kMergeDone && !whole) result = kMergeTargetFailed;
  return result;
}

int markMergedSources(const std::string& dataFolder, const std::vector<std::string>& names) {
  int first = 0;
  for (const auto& name : names) {
    std::string marked = markedName(name);
    if (marked.empty()) continue;  // marked already (or not a table)
    if (int rc = markProcessed(dataFolder, name); rc != 0) {
      if (first == 0) first = rc;
      continue;
    }
  }
  return first;
}

}  // namespace exchange
