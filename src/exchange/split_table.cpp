#include "exchange/split_table.hpp"

#include <cstring>
#include <unordered_set>

#include "base/device_names.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "exchange/dataset_files.hpp"
#include "platform/codepage.hpp"
#include "platform/files.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace exchange {

namespace {

bool endsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && base::equalsNoCase(text.substr(text.size() - tail.size()), tail);
}

// The level-2-5 hint for parseBundleName: what follows the known unit code
// between the level code and "+".
std::string tableHintFor(std::string_view name, std::string_view unitHint) {
  const std::size_t close = name.find(']');
  if (unitHint.empty() || close == std::string_view::npos) return {};
  const std::size_t rest = close + 7;
  const std::size_t plus = name.find('+', rest);
  if (rest > name.size() || plus == std::string_view::npos) return {};
  const std::string_view mid = name.substr(rest, plus - rest);
  if (mid.size() <= unitHint.size() || mid.substr(0, unitHint.size()) != unitHint) return {};
  return std::string(mid.substr(unitHint.size()));
}

bool isKeyField(const tablestore::TableField& field, int position, bool coordinate) {
  const std::string name = base::toUpper(field.name());
  if (coordinate) return name == base::format("L%d_KEY", position);
  return name.rfind("KEY_A", 0) == 0;
}

bool namesAKey(const tablestore::TableField& field, bool coordinate) {
  const std::string name = base::toUpper(field.name());
  if (coordinate) return name.size() == 6 && name[0] == 'L' && name.substr(2) == "_KEY";
  return name.rfind("KEY_A", 0) == 0;
}

// The key fields' positions: leading matching fields, at most five, never the
// last. A table that names no field as a key holds its key path by position,
// as the raw tables do (field k holds the level-k key): then the first
// `needed` fields are the keys, still never the last field.
std::vector<int> keyFields(tablestore::Table& table, bool coordinate, std::size_t needed) {
  std::vector<int> out;
  for (int j = 1; j < table.fieldCount() && static_cast<int>(out.size()) < kMaxKeyFields; ++j) {
    tablestore::TableField* field = table.fieldByNumber(j);
    if (field == nullptr || !isKeyField(*field, j, coordinate)) break;
    out.push_back(j);
  }
  if (!out.empty()) return out;
  for (int j = 1; j <= table.fieldCount(); ++j) {
    tablestore::TableField* field = table.fieldByNumber(j);
    if (field != nullptr && namesAKey(*field, coordinate)) return out;
  }
  for (int j = 1; j < table.fieldCount() && out.size() < needed && static_cast<int>(out.size()) < kMaxKeyFields; ++j)
    out.push_back(j);
  return out;
}

// The record's key in a field: the field's bytes, cut to kMaxKeyLength when
// only blanks follow; false when more than that is written.
bool keyOf(const std::string& record, const tablestore::TableField& field, std::string& out) {
  const std::size_t at = static_cast<std::size_t>(field.offset());
  const std::size_t length = static_cast<std::size_t>(field.length());
  if (at >= record.size()) return false;
  std::string key = record.substr(at, length);
  if (key.size() > kMaxKeyLength) {
    if (base::trimmedLength(key) > kMaxKeyLength) {
      out = key;
      return false;
    }
    key.resize(kMaxKeyLength);
  }
  out = std::move(key);
  return true;
}

// The one raw table open for writing; records of one parent usually follow
// each other, so it changes only when the keys do.
class TargetTables {
 public:
  TargetTables(tablestore::TableStore& store, const std::string& folder, SplitResult& result)
      : store_(store), folder_(folder), result_(result) {}
  ~TargetTables() { close(); }

  // Appends record (the bundle's whole buffer) to the staged table name (8-bit).
  bool append(const std::string& name, const std::vector<tablestore::FieldSpec>& fields, const std::string& record) {
    if (open_ == nullptr || name != openName_) {
      if (!close() || !openOrCreate(name, fields)) return false;
    }
    if (open_->recordWidth() != static_cast<int>(record.size())) {
      result_.failure = "Table " + name + " does not fit the bundle's records";
      return false;
    }
    store_.clearError();
    if (open_->appendStart() != 0) return fail("Cannot write to ", name);
    std::memcpy(open_->recordBuffer(), record.data(), record.size());
    (void)open_->changed(1);
    if (open_->append() != 0) return fail("Cannot write to ", name);
    return true;
  }

  bool close() {
    if (open_ == nullptr) return true;
    store_.clearError();
    const int rc = store_.closeTable(open_);
    open_ = nullptr;
    if (rc != 0) return fail("Cannot close ", openName_);
    return true;
  }

 private:
  bool openOrCreate(const std::string& name, const std::vector<tablestore::FieldSpec>& fields) {
    const std::string path = base::joinPath(folder_, name, platform::kSep);
    store_.clearError();
    if (made_.count(name) != 0) {
      open_ = store_.openTable(path);
    } else {
      // A staged table not made by this split is a stale one: never added to.
      open_ = store_.createTable(path, fields);
      if (open_ != nullptr) {
        made_.insert(name);
        result_.staged.push_back(platform::toWide(name));
      }
    }
    openName_ = name;
    if (open_ == nullptr) return fail("Cannot create ", name);
    return true;
  }

  bool fail(const char* what, const std::string& name) {
    if (result_.failure.empty())
      result_.failure = base::format("%s%s (error %d)", what, platform::toWide(name).c_str(), store_.error());
    return false;
  }

  tablestore::TableStore& store_;
  const std::string& folder_;  // 8-bit, as table paths are
  SplitResult& result_;
  tablestore::Table* open_ = nullptr;
  std::string openName_;
  std::unordered_set<std::string> made_;
};

// The staged raw table (8-bit name) the record's keys name; false with the
// offending key in refused when a key cannot name a file, or the name would
// be too long to be listed again.
bool targetOf(const std::string& record, tablestore::Table& source, const std::vector<int>& keys, std::size_t needed,
              const datasets::RawName& raw, std::string& name, std::string& refused) {
  std::vector<std::string> parts;
  for (std::size_t k = 0; k < needed; ++k) {
    std::string key;
    if (!keyOf(record, *source.fieldByNumber(keys[k]), key) || !keyNamesFile(key)) {
      refused = std::move(key);
      return false;
    }
    // A coordinate file's key fields are wider than the keys they hold: the
    // blanks after a key are the field's padding, not part of the name.
    if (!raw.gpsSuffix.empty()) key = base::trimRight(key);
    parts.push_back(std::move(key));
  }
  datasets::RawName target = raw;
  target.keyPath = datasets::joinKeys(parts);
  if (!datasets::buildRawName(target, name) || platform::toWide(name).size() >= kMaxListedNameBytes) {
    refused = target.keyPath;
    return false;
  }
  return true;
}

}  // namespace

bool keyNamesFile(std::string_view key) {
  if (!datasets::fileNameSafe(key) || key.find('~') != std::string_view::npos) return false;
  if (key.find("..") != std::string_view::npos) return false;
  if (base::trimmedLength(key) > kMaxKeyLength) return false;
  return !base::isDeviceName(key);
}

std::string stagedPartner(std::string_view liveName) {
  const std::string_view stem = liveName.substr(0, liveName.size() >= 3 ? liveName.size() - 3 : 0);
  if (endsWithNoCase(liveName, ".dbf")) return std::string(stem) + kStagedTableExtension;
  if (endsWithNoCase(liveName, ".GPF")) return std::string(stem) + kStagedCoordinateExtension;
  return {};
}

std::string livePartner(std::string_view stagedName) {
  const std::string_view stem = stagedName.substr(0, stagedName.size() >= 3 ? stagedName.size() - 3 : 0);
  if (endsWithNoCase(stagedName, std::string(".") + kStagedTableExtension))
    return std::string(stem) + datasets::kTableExtension;
  if (endsWithNoCase(stagedName, std::string(".") + kStagedCoordinateExtension))
    return std::string(stem) + datasets::kCoordinateExtension;
  return {};
}

SplitOutcome splitTable(tablestore::TableStore& store, const SplitRequest& request, SplitResult& result,
                        const std::function<bool(int, int)>& onRecord) {
  datasets::BundleName bundle;
  // Names on disk are UTF-8; table paths and the keys in records are 8-bit.
  const std::string bundle8 = platform::toNarrow(request.bundleName);
  const std::string folder8 = platform::toNarrow(request.folder);
  const std::string hint = tableHintFor(bundle8, platform::toNarrow(request.unitHint));
  if (!datasets::parseBundleName(bundle8, bundle, hint)) {
    result.failure = "Not a bundle table: " + request.bundleName;
    return SplitOutcome::kNoBundle;
  }
  const bool coordinate = base::equalsNoCase(bundle.extension, datasets::kCoordinateExtension);
  if (!coordinate && !base::equalsNoCase(bundle.extension, datasets::kTableExtension)) {
    result.failure = "Not a bundle table: " + request.bundleName;
    return SplitOutcome::kNoBundle;
  }
  datasets::RawName raw;
  raw.datasetNumber = request.datasetNumber;
  raw.level = bundle.level;
  raw.levelCode = bundle.levelCode;
  raw.datasetName = bundle.datasetName;
  raw.unitCode = bundle.unitCode == "000000" || bundle.unitCode.size() > 6 ? platform::toNarrow(request.thisUnitCode)
                                                                             : bundle.unitCode;
  raw.tableName = bundle.tableName;
  raw.gpsSuffix = bundle.gpsSuffix;
  raw.extension = coordinate ? kStagedCoordinateExtension : kStagedTableExtension;
  std::string probe;
  if (request.datasetNumber < 1 || request.datasetNumber > 99 || !datasets::buildRawName(raw, probe)) {
    result.failure = "No raw table name can be made from " + request.bundleName;
    return SplitOutcome::kNoBundle;
  }

  store.clearError();
  tablestore::Table* source = store.openTable(base::joinPath(folder8, bundle8, platform::kSep));
  if (source == nullptr) {
    result.failure = base::format("Cannot open %s (error %d)", request.bundleName.c_str(), store.error());
    return SplitOutcome::kFailed;
  }
  const std::vector<tablestore::FieldSpec> fields = source->fieldInfo();
  const std::size_t needed = static_cast<std::size_t>(coordinate ? bundle.level : bundle.level - 1);
  const std::vector<int> keys = keyFields(*source, coordinate, needed);
  const std::int64_t count = source->recordCount();
  result.records = static_cast<int>(count);
  SplitOutcome outcome = SplitOutcome::kSplit;
  if (keys.size() < needed) {
    result.failure = base::format("%s holds %d key fields where its level needs %d", request.bundleName.c_str(),
                                  static_cast<int>(keys.size()), static_cast<int>(needed));
    outcome = SplitOutcome::kFailed;
  }
  {
    TargetTables targets(store, folder8, result);
    std::string record;
    for (std::int64_t n = 1; outcome == SplitOutcome::kSplit && n <= count; ++n) {
      store.clearError();
      if (source->peekRecord(n, record) != 0) {
        result.failure = base::format("Cannot read record %d of %s", static_cast<int>(n), request.bundleName.c_str());
        outcome = SplitOutcome::kFailed;
        break;
      }
      std::string name, refused;
      const bool safe = targetOf(record, *source, keys, needed, raw, name, refused);
      if (!safe) {
        result.refusals.push_back(base::format("Record %d of %s: key \"%s\" cannot name a file", static_cast<int>(n),
                                               request.bundleName.c_str(),
                                               platform::toWide(base::trimRight(refused)).c_str()));
      } else if (targets.append(name, fields, record)) {
        ++result.written;
      } else {
        outcome = SplitOutcome::kFailed;
      }
      if (outcome == SplitOutcome::kSplit && onRecord && !onRecord(static_cast<int>(n), static_cast<int>(count)))
        outcome = SplitOutcome::kStopped;
    }
    if (!targets.close()) outcome = SplitOutcome::kFailed;
  }
  store.clearError();
  (void)store.closeTable(source);
  return outcome;
}

}  // namespace exchange
