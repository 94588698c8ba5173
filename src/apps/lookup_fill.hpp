#pragma once
// The look-up fill of a column: a value entered into column k looks up a
// record of the column's look-up table whose fields name columns of the level
// and the values to put into them.
#include <string>
#include <string_view>

namespace tablestore {
class Table;
class TableStore;
}

namespace apps {

struct LevelDefinition;

inline constexpr int kLookupNone = 0;
inline constexpr int kLookupTextKey = 1;
inline constexpr int kLookupNumberKey = 2;

// Runs the look-up fill of column k (1..c) of level for the text entered
// there (8-bit), writing into the current record of record (the level's
// open table, whose field j is column j):
//   - look-up kind 0, a column outside 1..c, or a look-up table (appFolder,
//     separator, the file name of ColumnCheck offset 88 with trailing blanks
//     trimmed) that is missing or cannot be opened: nothing is filled;
//   - kind 1: the entered text, padded with blanks to the width of field 1,
//     is found in field 1 by the halving search; when it is not found and
//     field 1 is a character field, the record whose key is "~" is used; the
//     name/value pairs start at field 2;
//   - kind 2: the number of the entered text is found in field 2 by the
//     halving search; the pairs start at field 3;
//   - walking the pairs (field j a column name, field j + 1 its value) to the
//     last field, each non-blank name that names a column of the level
//     assigns the value to that column's field: as a number for numeric
//     fields ('N', 'F'), as text (trailing blanks trimmed) otherwise.
// The record is marked changed; the caller writes it. The look-up table is
// closed again. Returns the number of columns filled.
int lookupFill(tablestore::TableStore& store, const std::string& appFolder, const LevelDefinition& level,
               int column, std::string_view entered8, tablestore::Table& record);

}  // namespace apps
