#include "runtime/table_cells.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/text.hpp"
#include "tablestore/day_number.hpp"
#include "tablestore/number_text.hpp"

namespace runtime {

namespace {

using tablestore::Table;
using tablestore::TableField;

bool numericField(const TableField& f) { return f.type() == 'N' || f.type() == 'F'; }

// The field's bytes inside a whole record, or false when the record is
// shorter than the field's place claims.
bool fieldBytes(const TableField& f, const std::string& record, std::string_view& out) {
  const std::size_t at = static_cast<std::size_t>(f.offset());
  const std::size_t len = static_cast<std::size_t>(f.length());
  if (f.offset() < 1 || at > record.size() || len > record.size() - at) return false;
  out = std::string_view(record).substr(at, len);
  return true;
}

double cellNumber(const TableField& f, std::string_view bytes) {
  if (f.type() == 'D') {
    if (bytes.size() < 8) return 0;
    return static_cast<double>(tablestore::readDate(bytes.data()));
  }
  if (f.type() == 'L') return 0;
  return tablestore::parseNumber(bytes);
}

// Reads field of record n as its raw bytes; false when it cannot be read.
bool cellBytes(Table& table, const TableField& f, std::int64_t n, std::string& record,
               std::string_view& out) {
  if (table.peekRecord(n, record) != 0) return false;
  return fieldBytes(f, record, out);
}

}  // namespace

bool readCell(Table& table, int field, std::int64_t n, CellValue& out) {
  TableField* f = table.fieldByNumber(field);
  if (f == nullptr || n < 1 || n > table.recordCount()) return false;
  std::string record;
  std::string_view bytes;
  if (!cellBytes(table, *f, n, record, bytes)) return false;
  out.number = cellNumber(*f, bytes);
  const std::string_view raw = bytes.substr(0, std::min(bytes.size(), bytes.find('\0')));
  out.text = numericField(*f) ? base::trim(raw) : base::trimRight(raw);
  return true;
}

SearchKey numberKey(const TableField& f, double value) {
  SearchKey key;
  std::string bytes(static_cast<std::size_t>(f.length()), ' ');
  if (f.type() == 'D') {
    key.valid = f.length() == 8 && std::isfinite(value) && std::fabs(value) < 1e15 &&
                tablestore::writeDate(static_cast<std::int64_t>(std::floor(value)), bytes.data());
  } else if (f.type() == 'L') {
    bytes[0] = value != 0 ? 'T' : 'F';
    key.valid = true;
  } else {
    key.valid = tablestore::formatNumber(value, f.type() == 'C' ? 0 : f.decimals(), bytes.data(),
                                         f.length());
  }
  if (numericField(f)) {
    key.numeric = true;
    key.number = tablestore::parseNumber(bytes);
  }
  key.bytes = std::move(bytes);
  return key;
}

SearchKey textKey(const TableField& f, std::string_view text) {
  if (numericField(f)) return numberKey(f, tablestore::parseNumber(text));
  SearchKey key;
  key.valid = true;
  key.bytes.assign(text.substr(0, static_cast<std::size_t>(f.length())));
  key.bytes.resize(static_cast<std::size_t>(f.length()), ' ');
  return key;
}

int compareCell(const TableField& f, std::string_view cell, const SearchKey& key) {
  if (key.numeric) {
    double v = cellNumber(f, cell);
    return v < key.number ? -1 : (v > key.number ? 1 : 0);
  }
  const std::size_t n = std::min(cell.size(), key.bytes.size());
  int c = std::memcmp(cell.data(), key.bytes.data(), n);
  if (c != 0) return c < 0 ? -1 : 1;
  return cell.size() < key.bytes.size() ? -1 : (cell.size() > key.bytes.size() ? 1 : 0);
}

std::int64_t findLinear(Table& table, int field, const SearchKey& key) {
  TableField* f = table.fieldByNumber(field);
  if (f == nullptr || !key.valid) return 0;
  std::string record;
  std::string_view cell;
  for (std::int64_t n = 1; n <= table.recordCount(); ++n) {
    if (!cellBytes(table, *f, n, record, cell)) return 0;
    if (compareCell(*f, cell, key) == 0) return n;
  }
  return 0;
}

std::int64_t findSorted(Table& table, int field, const SearchKey& key) {
  TableField* f = table.fieldByNumber(field);
  if (f == nullptr || !key.valid) return 0;
  std::string record;
  std::string_view cell;
  // The first record not before the key: lo is always such a candidate's bound.
  std::int64_t lo = 1, hi = table.recordCount() + 1;
  while (lo < hi) {
    std::int64_t mid = lo + (hi - lo) / 2;
    if (!cellBytes(table, *f, mid, record, cell)) return 0;
    if (compareCell(*f, cell, key) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo > table.recordCount()) return 0;
  if (!cellBytes(table, *f, lo, record, cell)) return 0;
  return compareCell(*f, cell, key) == 0 ? lo : 0;
}

}  // namespace runtime
