#pragma once
// The in-memory definition of one level table: its .bct and .ctl records and
// the optional arrays, as loaded, plus the field list its data table is
// created with. The per-column screen and check records live in fixed arrays
// of 252; the field array and the optional arrays are sized to what was read.
#include <array>
#include <vector>

#include "apps/layout.hpp"
#include "apps/level_records.hpp"
#include "tablestore/field_list.hpp"

namespace apps {

struct LevelDefinition {
  LevelBct bct;
  LevelHeader header;
  LevelInfo info;
  std::vector<ColumnField> fields;                   // entries 0..c
  std::array<ColumnDef, layout::kMaxColumns> defs;     // entries 0..c used
  std::array<ColumnCheck, layout::kMaxColumns> checks; // entries 0..c used
  std::vector<SerialDef> serial;                     // SerCount + 1 entries, or none
  std::vector<RndEntry> random;                      // RndCount + 1 entries, or none
  std::vector<JumpEntry> jumps;                      // JptCount + 1 entries, or none
  std::vector<BcfEntry> conditions;                  // BcfCount rows, or none
  // Entries for fields 1..c and a terminating unnamed entry (createTable
  // stops at it).
  std::vector<tablestore::FieldSpec> fieldList;

  // c: the level's columns are 1..c (column 0 is no table field).
  int lastColumn() const { return static_cast<int>(fields.size()) - 1; }

  // Entry n of an optional array, or nullptr when n is outside it (numbers
  // come from column records, so they are never trusted).
  const SerialDef* serialDef(int n) const { return at(serial, n); }
  const RndEntry* rndEntry(int n) const { return at(random, n); }
  const JumpEntry* jumpEntry(int n) const { return at(jumps, n); }
  // Column k 1..c, or nullptr.
  const ColumnField* field(int k) const { return k >= 1 ? at(fields, k) : nullptr; }
  const ColumnCheck* check(int k) const {
    return k >= 1 && k <= lastColumn() ? &checks[static_cast<std::size_t>(k)] : nullptr;
  }
  const ColumnDef* def(int k) const {
    return k >= 1 && k <= lastColumn() ? &defs[static_cast<std::size_t>(k)] : nullptr;
  }
  // The number (1..c) of the column whose field is named name (compared
  // without regard to case, trailing blanks ignored), or 0.
  int columnNamed(std::string_view name) const;

 private:
  template <class T>
  static const T* at(const std::vector<T>& v, int n) {
    return n >= 0 && static_cast<std::size_t>(n) < v.size() ? &v[static_cast<std::size_t>(n)] : nullptr;
  }
};

// The field list of a level from its ColumnField entries 1..c: {name, type
// letter, width, decimals}, then one unnamed entry.
std::vector<tablestore::FieldSpec> buildFieldList(const std::vector<ColumnField>& fields);

}  // namespace apps
