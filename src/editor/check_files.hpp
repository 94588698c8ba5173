#pragma once
// Check files and jump files: small tables shipped in the application folder
// that list allowed codes, hold range tables, or name the file to use for a
// key (a relation). Everything here reads outside input, so field numbers and
// record sizes are checked before a field is read; a record with too few
// fields for what is asked counts as not found.
//
// One check file is open at a time, for one check: CheckFile closes it when
// the check ends, so no file stays open between cells.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "editor/level_state.hpp"

namespace tablestore {
class Table;
class TableStore;
}  // namespace tablestore

namespace editor {

// The open levels' edit states, index 1-5 (0 unused), as the engine keeps them.
using Levels = std::array<LevelState, 6>;

// The width of a file name held in a relation record's last field.
inline constexpr int kRelationNameWidth = 13;

// Look-up kinds of relations, jump files and range keys.
inline constexpr int kMatchText = 1;
inline constexpr int kMatchNumber = 2;
inline constexpr int kMatchRange = 3;

// True when name (already trimmed) may name a file of the application folder:
// not empty, and holding no '\\', '/', ':', no "..", and no wildcard ('*',
// '?', which the file search would expand).
bool safeApplicationFileName(std::string_view name);

// The path of the application file name: the name trimmed of blanks and
// joined to appFolder with the platform's separator. "" when the name is
// refused (blank, or holding a separator, a drive colon or "..").
std::string applicationFilePath(const std::string& appFolder, std::string_view name);

enum class CheckFileOpen { kNotFound, kCannotOpen, kOpen };

// An open check or jump file. The table is opened through the store and is
// never written; the destructor (or close) ends it.
class CheckFile {
 public:
  explicit CheckFile(tablestore::TableStore& store) : store_(store) {}
  ~CheckFile() { close(); }
  CheckFile(const CheckFile&) = delete;
  CheckFile& operator=(const CheckFile&) = delete;

  // Closes any file held, then opens the application file name. kNotFound
  // when the name is refused or no such file exists, kCannotOpen when the
  // file is there but is no table that can be opened, kOpen otherwise.
  [[nodiscard]] CheckFileOpen open(const std::string& appFolder, std::string_view name);
  // The open table, or nullptr.
  tablestore::Table* table() const { return table_; }
  void close();

 private:
  tablestore::TableStore& store_;
  tablestore::Table* table_ = nullptr;
};

// The record number (1-based) whose field (1-based) matches key, or 0 when
// none does, the field does not exist, or a record cannot be read. A numeric
// field ('N', 'F') is compared with the number key holds; any other field
// with key, trailing blanks ignored and padded to the field's width, exactly.
// By halving (the file must be sorted ascending on the field) unless
// sequential, which takes the first match in record order.
std::int64_t findInCheckFile(tablestore::Table& table, int field, std::string_view key, bool sequential);

// The same for a number key: the field's number compared with value.
std::int64_t findNumberInCheckFile(tablestore::Table& table, int field, double value, bool sequential);

// The first record with field1 <= key <= field2; 0 when none or the records
// have fewer than 2 fields.
std::int64_t findRangeRow(tablestore::Table& table, double key);
// The first record with field1 <= key1 <= field2 and field3 <= key2 <=
// field4; 0 when none or the records have fewer than 4 fields.
std::int64_t findRangeRow(tablestore::Table& table, double key1, double key2);

// A key read from a column: its text and its value.
struct MatchKey {
  std::string text;
  double value = 0;
};

// Looks key up in field 1 by kind: kMatchText by text (with tildeFallback and
// a character field 1, a key found nowhere takes the record whose field 1 is
// "~"), kMatchNumber by value, kMatchRange by value within fields 1-2. 0 for
// not found or an unknown kind.
std::int64_t findByKind(tablestore::Table& table, int kind, const MatchKey& key, bool tildeFallback,
                        bool sequential);

// The text of field (1-based) of record n, or "" when there is no such field
// or record; *ok (when given) says whether it could be read.
std::string fieldTextOf(tablestore::Table& table, std::int64_t n, int field, bool* ok = nullptr);
// The number of field of record n; false when there is no such field or record.
bool fieldNumberOf(tablestore::Table& table, std::int64_t n, int field, double& out);

// The current value (number) and text (trailing blanks trimmed) of column of
// level 1-5. A level that is not open, or a column outside it, counts as
// empty: 0 and "".
double levelColumnValue(const Levels& levels, int level, int column);
std::string levelColumnText(const Levels& levels, int level, int column);
// The key a relation or jump reads from column of level.
MatchKey levelColumnKey(const Levels& levels, int level, int column);

enum class RelationResult { kResolved, kNotFound };

// Resolves a relation in the open relation file: the value of column of level
// is looked up by kind (kMatchText with the "~" fallback); the first
// kRelationNameWidth characters of the matching record's last field, trimmed,
// become nameOut. kNotFound when no record matches or its last field is
// blank. The name is not checked here: opening it refuses an unsafe one.
[[nodiscard]] RelationResult resolveRelation(tablestore::Table& relationFile, int kind, const Levels& levels,
                                             int level, int column, std::string& nameOut);
// The same for a key already read.
[[nodiscard]] RelationResult resolveRelation(tablestore::Table& relationFile, int kind, const MatchKey& key,
                                             std::string& nameOut);

}  // namespace editor
