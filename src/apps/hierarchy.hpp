#pragma once
// hierarchy.ctl: the table that lists every level table of an application as
// {level code, table name}, in the order of the design.
#include <string>
#include <vector>

namespace ui {
class Host;
}
namespace tablestore {
class TableStore;
}

namespace apps {

inline constexpr const char* kHierarchyName = "hierarchy.ctl";
inline constexpr const char* kHierarchyCaption = "load_hier_info ERROR";
// The table name is the base name of the level's control files; only this
// many characters of field 2 are used.
inline constexpr std::size_t kHierarchyNameChars = 12;
// More records than an application can have tables are not read.
inline constexpr int kMaxHierarchyEntries = 4096;

// 8-bit texts, trailing blanks trimmed.
struct HierarchyEntry {
  std::string code;  // the level code, five characters ("A____", "AB___")
  std::string name;  // the table name
};

// Reads appFolder (UTF-8) + separator + "hierarchy.ctl" through store into
// out (cleared first; records marked deleted are skipped; at most
// kMaxHierarchyEntries). Returns the number of entries. 0 when the table is
// missing ("!file_exists(hierarchy_file)"), cannot be opened or has fewer
// than two fields ("Can't Open hierarchy.ctl"), both boxes with the caption
// "load_hier_info ERROR".
int loadHierarchy(ui::Host& host, tablestore::TableStore& store, const std::string& appFolder,
                  std::vector<HierarchyEntry>& out);

}  // namespace apps
