#pragma once
// The bookkeeping fields that tie parent and child records together, looked
// up by name and written only where the tables have them:
//   "PARENT"    in the child's current record: the parent table's data file name;
//   "CHILD%d"   in the parent's current record: the child table's data file name;
//   "STATUS%d"  in the parent's current record: "1" or "0", the child level's
//               completion flag.
// %d is the child letter number (datasets/level_codes.hpp). "PARENT" and
// "CHILD%d" are kept only with the application's KeepChildFields,
// "STATUS%d" only with KeepStatusFields.
#include <string>
#include <string_view>

namespace tablestore {
class Table;
}

namespace datasets {

struct LinkOptions {
  bool keepChildFields = false;
  bool keepStatusFields = false;
};

// "CHILD%d" and "STATUS%d" of a child letter number.
std::string childFieldName(int childNumber);
std::string statusFieldName(int childNumber);

// After a child table was opened: with keepChildFields the child's current
// record gets parentFileName in "PARENT" and the parent's current record
// childFileName in "CHILD%d"; with keepStatusFields the parent's "STATUS%d"
// gets "1" when childStatus is set, else "0". A table without a current
// record, or without the field, is left alone; every record changed is
// written back at once. child may be nullptr (nothing goes to a child).
// Returns 0, or the table store's code of the first failed write.
int updateParentLinks(tablestore::Table& parent, tablestore::Table* child, int childNumber,
                      std::string_view parentFileName, std::string_view childFileName, bool childStatus,
                      const LinkOptions& options);

// Before a child level closes. When its lines were deleted (the level's
// linesDeleted flag) "CHILD%d" (keepChildFields) and "STATUS%d"
// (keepStatusFields) become empty; otherwise "STATUS%d" is refreshed from
// childStatus as above. The parent's record is written back at once. 0 or
// the first failed write's code.
int clearParentLinks(tablestore::Table& parent, int childNumber, bool linesDeleted, bool childStatus,
                     const LinkOptions& options);

}  // namespace datasets
