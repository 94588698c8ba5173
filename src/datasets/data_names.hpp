#pragma once
// The names of a dataset's files, built and parsed by one piece of code so
// that a name made when data is collected is byte for byte the name bundling
// and extraction take apart again.
//
// Raw table (one per parent record and branch):
//   "%02d %d%s[%s]%s~%s~%s%s.%s": dataset number, a blank, level digit and
//   level code, "[" dataset name "]", unit code, "~", the parent key path
//   (keys joined by "-"; empty for level 1, so level-1 names hold "~~"),
//   "~", the table name, the GPS suffix (coordinate files only), "." and
//   the extension. Example: "07 1A____[North Block]ABC___~~TREES.dbf".
// Bundle table (one per branch):
//   "[" dataset name "]", level digit and level code, unit code, then for
//   levels 2-5 the branch's table name, "+", then for level 1 the root
//   table name, the GPS suffix, "." and the extension.
//   Examples: "[North Block]1A____ABC___+TREES.dbf",
//             "[North Block]2AA___ABC___PLOTS+.dbf".
// Version tables: the raw level-1 stem (up to the unit code) or the bundle
// stem "[name]1A____unit", followed by "#$$DataAppVer.dbf".
//
// Parsers take any bytes (names found on disk) and never read outside the
// text; they accept only what the builders could have made of some parts.
#include <string>
#include <string_view>
#include <vector>

namespace datasets {

inline constexpr const char* kVersionTableSuffix = "#$$DataAppVer.dbf";
inline constexpr const char* kTableExtension = "dbf";
inline constexpr const char* kCoordinateExtension = "GPF";

// The parts of a raw table name.
struct RawName {
  int datasetNumber = 0;    // 0-99, written as two digits
  int level = 0;            // 1-5
  std::string levelCode;    // five characters whose letters say the level
  std::string datasetName;
  std::string unitCode;
  std::string keyPath;      // the parent keys joined by "-"; "" at level 1
  std::string tableName;
  std::string gpsSuffix;    // "" or text beginning with "^" (coordinate files)
  std::string extension;    // without the dot: "dbf", "GPF", "del", "db$", "~~~"

  bool operator==(const RawName&) const = default;
};

// The parts of a bundle table name.
struct BundleName {
  std::string datasetName;
  int level = 0;
  std::string levelCode;
  std::string unitCode;
  std::string tableName;    // level 1: the root table; 2-5: the branch's hierarchy name
  std::string gpsSuffix;
  std::string extension;

  bool operator==(const BundleName&) const = default;
};

// The keys joined by "-", each as given (full field width).
std::string joinKeys(const std::vector<std::string>& keys);

// True when text can stand inside a file name on every platform: no
// character below the blank and none of \ / : * ? " < > |.
bool fileNameSafe(std::string_view text);

// Builds the raw name; false (out untouched) when a part cannot be placed so
// that the name parses back into the same parts: number outside 0-99, a
// level code that does not belong to the level, an empty dataset name or one
// holding "[", "]" or "~", an empty unit code or one holding "~", "[", "]",
// "+" or "^", a key path holding "~", a table name that is empty after
// trimming or holds "~" or "^", a GPS suffix not beginning with "^" or
// holding "~", an empty extension or one holding ".", any part not
// fileNameSafe. The table name (or, with a GPS suffix, the suffix) loses its
// trailing blanks.
bool buildRawName(const RawName& parts, std::string& out);

// Takes a raw name apart; false (out untouched) when the text is not exactly
// what buildRawName makes of the parts found.
bool parseRawName(std::string_view name, RawName& out);

// The same for bundle names. Between the level code and "+" a level-2-5
// bundle holds the unit code and the table name run together: when
// tableHint (the hierarchy's name of that level code) ends that text, the
// rest is the unit code; otherwise the unit code is taken as six characters.
// A level-2-5 table name may not hold "+".
bool buildBundleName(const BundleName& parts, std::string& out);
bool parseBundleName(std::string_view name, BundleName& out, std::string_view tableHint = {});

// The dataset version table of a level-1 raw name: its stem up to the unit
// code followed by "#$$DataAppVer.dbf". False when parts is not a level-1
// table name (level 1, empty key path) that builds.
bool rawVersionTableName(const RawName& level1, std::string& out);
// The same from the file name itself (parsed first).
bool rawVersionTableNameOf(std::string_view level1Name, std::string& out);
// "[name]1A____" + unit code + "#$$DataAppVer.dbf"; false for an unsafe
// name or unit code.
bool bundledVersionTableName(std::string_view datasetName, std::string_view unitCode, std::string& out);

// The wildcard of the raw tables of one branch: "%02d %d%s[*." + extension
// ("07 2AB___[*.dbf").
std::string rawBranchPattern(int datasetNumber, std::string_view levelCode, std::string_view extension);

}  // namespace datasets
