#pragma once
// The required-files list of a package: the member "ReqFiles.dbf", a table
// naming, one per record in its first field, the members that make up the
// application.
#include <string>
#include <vector>

namespace apps {

inline constexpr const char* kRequiredFilesName = "ReqFiles.dbf";

// Reads the names (8-bit, blanks around them removed) from the table at the
// UTF-8 path tablePath, in record order; records marked deleted and blank
// names are left out. Returns the count; 0 when the table cannot be opened
// or read (the list counts as missing). The table is read through a table
// storage context of its own, so that a worker thread can call this and no
// error box is ever shown.
int readRequiredFiles(const std::string& tablePath, std::vector<std::string>& names);

}  // namespace apps
