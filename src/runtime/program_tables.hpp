#pragma once
// The program's own tables (built-ins 128-138 and 161): ten handles, each an
// open table with its file name, closed when the run ends.
//
// Program tables live in a table store of their own, with error display off:
// a program learns of failures through its status code, a failing table
// operation never shows the "TBLSTORE ERROR" box in the middle of a run, and
// the sticky error of a program's table can never block the engine's level
// tables. A file the engine holds open in the process store is not opened a
// second time (two handles on one file would overwrite each other's records).
#include <array>
#include <string>
#include <string_view>

#include "runtime/machine.hpp"
#include "tablestore/table_store.hpp"

namespace runtime {

struct ProgramTable {
  tablestore::Table* table = nullptr;  // null: the handle is free
  std::string fileName;                // the path it was opened or created with
};

struct ProgramTables {
  ProgramTables();
  ProgramTables(const ProgramTables&) = delete;
  ProgramTables& operator=(const ProgramTables&) = delete;

  tablestore::TableStore store;
  std::array<ProgramTable, kProgramTables> handles;

  // The open table of handle h, or null when h is outside 0-9 or free.
  tablestore::Table* at(int h);
  // The first free handle, or -1 when all ten are in use.
  int freeHandle() const;
  // The handle whose table has the path (compared without regard to case), or -1.
  int handleOf(std::string_view path) const;
  // Closes handle h (writing its changed record and header). 0 or the table
  // store's error; the handle is free afterwards either way.
  [[nodiscard]] int close(int h);
};

// Writes every open program table's changed record and header to its file.
void flushProgramTables(ProgramTables& tables);

// Where a table name from a program points: a rooted name (a leading
// separator or a drive letter) as given, any other name inside folder
// (unchanged when folder is empty). Blanks around the name are dropped.
std::string tablePath(std::string_view name, std::string_view folder);

// True when name (blanks around it dropped) is a rooted path.
bool isRootedPath(std::string_view name);

}  // namespace runtime

namespace runtime {

// True when path names an existing file (not a folder). A name with the
// wildcard characters '*' or '?' names no file: it is never taken as a pattern.
bool tableFileExists(const std::string& path);

}  // namespace runtime
