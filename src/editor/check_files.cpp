#include "editor/check_files.hpp"

#include "apps/halving_search.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "editor/column_values.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "platform/files.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace editor {

namespace {

bool numericField(const tablestore::TableField& f) { return f.type() == 'N' || f.type() == 'F'; }

// key trimmed and padded to width; false when it cannot fit the field.
bool paddedKey(std::string_view key, int width, std::string& out) {
  out = base::trimRight(key);
  if (static_cast<int>(out.size()) > width) return false;
  out.append(static_cast<std::size_t>(width) - out.size(), ' ');
  return true;
}

template <class Matches>
std::int64_t firstMatch(tablestore::Table& table, Matches matches) {
  for (std::int64_t n = 1; n <= table.recordCount(); ++n) {
    if (table.goRecord(n) != 0) return 0;
    if (matches()) return n;
  }
  return 0;
}

const LevelState* openLevel(const Levels& levels, int level, int column) {
  if (level < 1 || level > 5) return nullptr;
  const LevelState& s = levels[static_cast<std::size_t>(level)];
  if (!s.open() || column < 1 || column > s.columnCount()) return nullptr;
  return &s;
}

}  // namespace

bool safeApplicationFileName(std::string_view name) {
  if (name.empty()) return false;
  if (name.find_first_of("\\/:*?") != std::string_view::npos) return false;
  return name.find("..") == std::string_view::npos;
}

std::string applicationFilePath(const std::string& appFolder, std::string_view name) {
  const std::string trimmed = base::trim(name);
  if (!safeApplicationFileName(trimmed)) return {};
  return base::joinPath(appFolder, platform::toWide(trimmed), platform::kSep);
}

CheckFileOpen CheckFile::open(const std::string& appFolder, std::string_view name) {
  close();
  const std::string path = applicationFilePath(appFolder, name);
  if (path.empty() || !platform::fileExists(path)) return CheckFileOpen::kNotFound;
  store_.clearError();
  table_ = store_.openTable(platform::toNarrow(path));
  if (table_ == nullptr) {
    store_.clearError();
    return CheckFileOpen::kCannotOpen;
  }
  return CheckFileOpen::kOpen;
}

void CheckFile::close() {
  if (table_ == nullptr) return;
  // A failed read leaves the store's error set; it must not keep the close
  // from ending the handle.
  store_.clearError();
  (void)store_.closeTable(table_);
  store_.clearError();
  table_ = nullptr;
}

std::int64_t findInCheckFile(tablestore::Table& table, int field, std::string_view key, bool sequential) {
  tablestore::TableField* f = table.fieldByNumber(field);
  if (f == nullptr) return 0;
  if (numericField(*f)) return findNumberInCheckFile(table, field, tablestore::parseNumber(key), sequential);
  std::string padded;
  if (!paddedKey(key, f->length(), padded)) return 0;
  if (!sequential) return apps::findTextByHalving(table, field, padded);
  return firstMatch(table, [&] { return f->text() == padded; });
}

std::int64_t findNumberInCheckFile(tablestore::Table& table, int field, double value, bool sequential) {
  tablestore::TableField* f = table.fieldByNumber(field);
  if (f == nullptr) return 0;
  if (!sequential) return apps::findNumberByHalving(table, field, value);
  return firstMatch(table, [&] { return f->number() == value; });
}

std::int64_t findRangeRow(tablestore::Table& table, double key) {
  tablestore::TableField* f1 = table.fieldByNumber(1);
  tablestore::TableField* f2 = table.fieldByNumber(2);
  if (f1 == nullptr || f2 == nullptr) return 0;
  return firstMatch(table, [&] { return f1->number() <= key && key <= f2->number(); });
}

std::int64_t findRangeRow(tablestore::Table& table, double key1, double key2) {
  if (table.fieldCount() < 4) return 0;
  tablestore::TableField* f[4];
  for (int j = 0; j < 4; ++j) f[j] = table.fieldByNumber(j + 1);
  return firstMatch(table, [&] {
    return f[0]->number() <= key1 && key1 <= f[1]->number() && f[2]->number() <= key2 &&
           key2 <= f[3]->number();
  });
}

std::int64_t findByKind(tablestore::Table& table, int kind, const MatchKey& key, bool tildeFallback,
                        bool sequential) {
  switch (kind) {
    case kMatchText: {
      std::int64_t n = findInCheckFile(table, 1, key.text, sequential);
      tablestore::TableField* f = table.fieldByNumber(1);
      if (n == 0 && tildeFallback && f != nullptr && !numericField(*f)) {
        n = findInCheckFile(table, 1, "~", sequential);
      }
      return n;
    }
    case kMatchNumber: return findNumberInCheckFile(table, 1, key.value, sequential);
    case kMatchRange: return findRangeRow(table, key.value);
    default: return 0;
  }
}

std::string fieldTextOf(tablestore::Table& table, std::int64_t n, int field, bool* ok) {
  if (ok) *ok = false;
  tablestore::TableField* f = table.fieldByNumber(field);
  if (f == nullptr || n < 1 || n > table.recordCount()) return {};
  if (table.recordNumber() != n && table.goRecord(n) != 0) return {};
  if (ok) *ok = true;
  return std::string(f->text());
}

bool fieldNumberOf(tablestore::Table& table, std::int64_t n, int field, double& out) {
  tablestore::TableField* f = table.fieldByNumber(field);
  if (f == nullptr || n < 1 || n > table.recordCount()) return false;
  if (table.recordNumber() != n && table.goRecord(n) != 0) return false;
  out = f->number();
  return true;
}

double levelColumnValue(const Levels& levels, int level, int column) {
  const LevelState* s = openLevel(levels, level, column);
  return s ? s->header().columnValue(column) : 0;
}

std::string levelColumnText(const Levels& levels, int level, int column) {
  const LevelState* s = openLevel(levels, level, column);
  return s ? base::trimRight(currentText(*s, column)) : std::string();
}

MatchKey levelColumnKey(const Levels& levels, int level, int column) {
  return {levelColumnText(levels, level, column), levelColumnValue(levels, level, column)};
}

RelationResult resolveRelation(tablestore::Table& relationFile, int kind, const Levels& levels, int level,
                               int column, std::string& nameOut) {
  return resolveRelation(relationFile, kind, levelColumnKey(levels, level, column), nameOut);
}

RelationResult resolveRelation(tablestore::Table& relationFile, int kind, const MatchKey& key,
                               std::string& nameOut) {
  nameOut.clear();
  const std::int64_t n = findByKind(relationFile, kind, key, true, false);
  if (n == 0) return RelationResult::kNotFound;
  bool ok = false;
  std::string last = fieldTextOf(relationFile, n, relationFile.fieldCount(), &ok);
  if (!ok) return RelationResult::kNotFound;
  if (last.size() > static_cast<std::size_t>(kRelationNameWidth)) last.resize(kRelationNameWidth);
  nameOut = base::trim(last);
  return nameOut.empty() ? RelationResult::kNotFound : RelationResult::kResolved;
}

}  // namespace editor
