#pragma once
// Cells of a table as programs see them: the value of one field of one record
// (read without touching the table's record buffer, so a table the engine is
// editing can be read safely), a program value turned into a search key for a
// field, and the two searches of the table built-ins.
#include <cstdint>
#include <string>
#include <string_view>

#include "tablestore/table.hpp"

namespace runtime {

struct CellValue {
  double number = 0;  // N, F, C: the text as a decimal number; D: its day number
  // The text as a program sees it (as the dataset built-ins give a cell): a
  // number without its alignment blanks, other fields without trailing blanks.
  std::string text;
};

// Reads field (1..fieldCount()) of record n (1..recordCount()). False when
// either is out of range or the record cannot be read.
[[nodiscard]] bool readCell(tablestore::Table& table, int field, std::int64_t n, CellValue& out);

// A program's value converted to a field's width and decimals, as it would
// be stored there.
struct SearchKey {
  bool valid = false;    // false: the value cannot be stored in the field (it matches nothing)
  bool numeric = false;  // N and F fields compare as numbers
  double number = 0;     // the stored value read back (rounded to the field's decimals)
  std::string bytes;     // other fields: exactly length() bytes
};

// A number key (x given as a number) or a text key (x given as a text): N and
// F fields take the number (a text is read as one); C, D and L fields take the
// text padded with blanks or cut to the width, and a number the way the table
// stores one there.
SearchKey numberKey(const tablestore::TableField& field, double value);
SearchKey textKey(const tablestore::TableField& field, std::string_view text);

// Compares a field's raw bytes with the key: negative, 0 or positive as the
// cell sorts before, equal to or after the key (bytes unsigned; numbers by value).
int compareCell(const tablestore::TableField& field, std::string_view cell, const SearchKey& key);

// The first record (1-based) whose field equals the key, going through every
// record in order; 0 when none does or a record cannot be read.
std::int64_t findLinear(tablestore::Table& table, int field, const SearchKey& key);
// The same by halving, for a field sorted in ascending order: the first of
// equal records is found. 0 when none.
std::int64_t findSorted(tablestore::Table& table, int field, const SearchKey& key);

}  // namespace runtime
