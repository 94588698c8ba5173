#pragma once
// The rows of the two choice lists, built from an open check-file table
// without any screen: the plain pick list (F2) and the type-ahead list
// (Alt+E and code lists checked in list mode). Both show up to the first
// three fields of each live record joined by "|"; records marked deleted
// are no codes and are left out. Field texts are taken as stored (padded to
// their widths), so the columns of the rows line up.
#include <cstdint>
#include <string>
#include <vector>

namespace tablestore {
class Table;
}

namespace editor {

inline constexpr int kPickRowLimit = 3048;    // rows of the plain list
inline constexpr int kPickRowText = 70;       // a field that would pass this is left out
inline constexpr int kPickTitleText = 78;     // the field-name row stays within this
inline constexpr int kKeyInRowLimit = 3026;   // rows of the type-ahead list
inline constexpr int kKeyInFirstField = 80;   // the first field is cut to this
inline constexpr int kKeyInRestText = 66;     // what follows the first field stays within this
inline constexpr int kUnlimitedMemory = -1;

struct PickRows {
  std::string title;                  // the shown fields' names, each padded to its width
  std::vector<std::string> rows;      // one per record shown
  std::vector<std::int64_t> records;  // the record number of each row
  bool noTitle = false;  // not even the title row could be had: no list at all
  bool partial = false;  // memory ran out before every row was made
};

// The plain pick list of table: a field is shown when the fields before it
// and it, joined, stay within 70 characters (one that would not is left
// out, the next ones still tried); the title names the same fields, stopping
// before the one that would take it past 78. Every row and the title are cut
// to rowWidth (the screen width − 4; at least 1). At most 3,048 rows.
// memoryRows says how many row texts can be had (the title first);
// kUnlimitedMemory means as many as the allocator gives. Running out sets
// noTitle or partial and keeps the rows made so far.
PickRows buildPickRows(tablestore::Table& table, int rowWidth, int memoryRows = kUnlimitedMemory);

struct KeyInRows {
  std::vector<std::string> rows;   // "field1|field2|field3", fields as stored
  std::vector<std::string> codes;  // field 1 of each row, as stored (cut to 80)
  std::string heading;             // the first three field names, padded to their widths, joined by "|"
};

// The type-ahead list of table: field 1 cut to 80 characters, then fields 2
// and 3 each when what follows field 1 stays within 66 characters. At most
// 3,026 rows.
KeyInRows buildKeyInRows(tablestore::Table& table);

}  // namespace editor
