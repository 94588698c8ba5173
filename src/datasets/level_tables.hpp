#pragma once
// The data tables of the levels: naming the table about to be opened at a
// level from the open dataset and the current records of the levels above,
// opening it (or creating it from the level's field list), and closing it
// with its position kept.
#include <string>
#include <string_view>
#include <vector>

namespace apps {
struct AppContext;
struct HierarchyEntry;
}

namespace datasets {

struct DataSession;

// The number of levels of an application: the deepest level code its
// hierarchy lists (1-5); 5 when it lists no level code (an application
// without hierarchy.ctl is not held to fewer).
int applicationLevels(const std::vector<apps::HierarchyEntry>& hierarchy);

// The parent key path of a table about to be opened at level (1-5): nothing
// for level 1; field 1 of the current level-1 record for level 2; fields 1
// to level - 1 of the current record of level - 1 otherwise, each as stored
// (full field width). False when that level is not open, has no current
// record or lacks one of the fields.
bool parentKeys(const DataSession& session, int level, std::vector<std::string>& keys);

// The data file name of the table tableName (8-bit) about to be opened at
// level (1-5) with the level code codeText (trimmed and padded with "_"):
// the dataset's number, name and unit code, the parent keys and the table
// name (datasets/data_names.hpp). False for a level outside 1-5 or above
// the session's levelCount, a code
// that does not belong to the level, missing parent keys, or parts that
// cannot make a file name (a key holding "~" or a character no file name
// may hold).
bool buildDataFileName(const DataSession& session, int level, std::string_view codeText,
                       std::string_view tableName, std::string& out);

// Opens the data table of level (1-5) for the table named by the
// application record (RootTableName at level 1, TableName below), whose
// definition is loaded at that level: names it, opens it or creates it with
// the level's field list when there is no such file, and records it in the
// session, in the level's definition (DataFileName, data path, table-created
// flag) and in the application record (NextLevelCode before the name is
// built; CurLevel and the level's codes once it is open). With
// KeepPosition the position file is read back into the level's edit state.
// A table of that level still open is closed first. Returns 1; 0 when the
// name cannot be built, the level has no definition, or the table store
// could not open or create the table (it has shown why).
int openLevelTable(apps::AppContext& ctx, DataSession& session, int level, std::string_view codeText);

// Closes the data table of level (1-5): with KeepPosition its position is
// written first (a file that cannot be written whole is removed). The slot
// is forgotten. 0, or the table store's code of a failed close.
int closeLevelTable(apps::AppContext& ctx, DataSession& session, int level);

}  // namespace datasets
