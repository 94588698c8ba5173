#pragma once
// Opening the check file of a column: its own file, or the file a relation
// names for the current value of the relation column. The checks, the data
// limits (F2) and the choice lists all open it this one way.
#include <string>

#include "editor/check_files.hpp"
#include "editor/engine.hpp"

namespace editor {

enum class ColumnFileOpen {
  kOpen,          // file holds the column's check file
  kNotFound,      // no such file (or a name that may not be used): name says which
  kCannotOpen,    // the file is there but is no table: name says which
  kNoRelation,    // the relation file has no record for the relation column's value
};

// Opens the check file of column c of the current level into file. name
// receives the name of the file tried last (the relation file, or the file it
// named). With a relation (kinds 1-3) the relation file is opened first and
// the file named by its matching record's last field is opened instead.
[[nodiscard]] ColumnFileOpen openColumnCheckFile(Engine& e, const apps::ColumnCheck& c, CheckFile& file,
                                                 std::string& name);

// The same for F2 and the lists: when the file cannot be had the reason is
// shown for 2 s ("Can't Find Checkfile" or "Can't Open Checkfile" with the
// file name, "Can't Relate Data" "Can't get Checkfile") and false returned.
bool openColumnCheckFileOrSay(Engine& e, const apps::ColumnCheck& c, CheckFile& file);

// "Relate Sc:%1d Cl:%2d" for the relation of column c.
std::string relationLine(const apps::ColumnCheck& c);

}  // namespace editor
