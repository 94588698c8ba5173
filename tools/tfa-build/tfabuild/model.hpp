#pragma once
// An application description after reading: every name resolved to the
// numbers the control files hold (levels 1-5, columns 1..c, entry numbers).
// Texts are UTF-8 here; the images convert them to 8-bit.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "apps/layout.hpp"
#include "tablestore/field_list.hpp"

namespace tfabuild {

// A column of the level itself or of a level above it: level 1-5 (the depth
// of that level's table), column 1..c. {0, 0} is none.
struct ColumnRef {
  int level = 0;
  int column = 0;
  bool set() const { return level != 0; }
};

struct CheckModel {
  int type = 0;  // 0-9
  double minimum = 0, maximum = 0;
  int minLength = 0;
  std::string file;  // the check file's canonical name
  bool replace = false, sequential = false;
  int relationKind = 0;  // 1 text, 2 number, 3 range
  ColumnRef relation;
  ColumnRef low, high;  // relative bounds, and the keys of range tables
  bool warn = false;
  double warnMinimum = 0, warnMaximum = 0;
  bool override = false, overrideEmpty = false;
};

struct ColumnModel {
  // ColumnField
  std::string field;
  char type = 'C';
  int width = 1, decimals = 0;
  std::string title;
  // ColumnDef
  int screen = 1;  // 1-based
  bool hidden = false;
  int displayWidth = 0;
  std::optional<std::array<int, 2>> titleAt, valueAt;
  std::string title2, prompt, heading;
  // ColumnCheck
  int fieldType = 0, fillKind = 0;
  bool fillOnEntry = false;
  int editKind = 0;
  bool upperCase = false, waitWhenFull = false, unique = false, noEdit = false;
  bool required = false, requiredBeforeChild = false, listEntry = false;
  std::string text;  // picture or default text
  double start = 0, step = 0;
  int cycle = 0;
  int randomIndex = 0, serialIndex = 0, jumpIndex = 0;
  ColumnRef parent;
  int lookupKind = 0;
  std::string lookupFile;
  CheckModel check;
  // Movement pairs given in the description (the rest are worked out).
  std::array<std::optional<std::array<int, 2>>, apps::layout::column_check::kMoveCount> moves;
  bool goToOnLineChange = false;
  int goToTarget = 0;
  std::array<std::string, apps::layout::column_check::kColumnEventCount> programs;
};

struct HeadingModel {
  std::string label;
  ColumnRef column;
  int row = 0, col = 0, width = 0;
};

struct ScreenModel {
  int displayType = 0;  // 0 VirtualDisplay, 1 and 2 LineDisplay
  int dataText = 15, dataBack = 7;
  int promptRow = 0;
  bool lineNumbers = true;
  std::string lineLabel = "Line";
  bool twoLineTitles = false;
  int firstGridRow = 0, lastGridRow = 0;  // 0: worked out
  std::vector<HeadingModel> headings;
};

struct RandomModel {
  std::string name;
  bool deferred = false;
  int mode = 0;  // 0 fixed, 4 low from a column, 5 high, 6 both
  std::int32_t low = 1, high = 1;
  ColumnRef lowFrom, highFrom;
};

struct JumpModel {
  std::string name;
  int match = 1;  // 1 text, 2 number, 3 range
  ColumnRef source;
  int relationKind = 0;
  ColumnRef relation;
  std::string file;
};

struct SerialTarget {
  int column = 0, token = 0, suffix = 0;
};

struct SerialModel {
  std::string name;
  bool closePort = false;
  int port = 1;
  std::int32_t baud = 9600;
  int parity = 0, dataBits = 8, stopBits = 1, flow = 0, terminator = 13, mode = 0;
  std::string request;
  int matchKind = 0, matchPos = 0;
  std::string matchText;
  int source = 0, start = 0, length = 0;
  std::string delimiters;
  int valueToken = 0;
  std::vector<int> showTokens;
  std::string showSeparator;
  std::string program;
  bool multiColumn = false, validateEach = false;
  std::vector<SerialTarget> targets;
  std::string join;
};

struct ConditionValue {
  int kind = 0;  // 0 equal, 1 range
  std::string text;
  double low = 0, high = 0;
};

struct ConditionRow {
  std::vector<ConditionValue> when;  // one per condition column
  std::array<int, apps::layout::bcf_entry::kActionCount> actions{};
};

struct LevelModel {
  std::string code;   // "AB___"
  std::string table;  // base name of the control files
  std::string name, description;
  int depth = 1;      // 1-5
  int parent = -1;    // index into AppModel::levels
  std::vector<int> children;
  bool blocked = false;
  // Settings.
  bool insertAllowed = true, deleteAllowed = true, autoNewLine = true;
  int checkOnLineChange = 0;
  bool checkOnLeave = true, checkOnSibling = false, revalidate = false, removeEmptyLines = false;
  bool checkLineBeforeChild = false;
  std::int32_t maxLines = 0, firstLine = 1;
  int firstEnterable = 0, lastEnterable = 0;  // 0: worked out
  std::vector<ScreenModel> screens;
  std::vector<ColumnModel> columns;  // columns 1..c
  std::array<std::string, apps::layout::level_header::kEventCount> events;
  std::vector<std::string> programs;  // F8 list
  std::vector<RandomModel> random;
  std::vector<JumpModel> jumps;
  std::vector<SerialModel> serial;
  std::vector<ColumnRef> conditionColumns;
  std::vector<ConditionRow> conditionRows;
  // GPS.
  int gpsPointMode = 0, gpsAverage = 0;
  bool gpsAllowUnfinished = false;
  int gpsLat = 0, gpsLon = 0, gpsElev = 0;
  bool gpsLines = false, gpsPolygons = false;
  int gpsLineInterval = 0, gpsPolygonInterval = 0;
};

// A check, jump or look-up table written as a .dbf file.
struct TableModel {
  std::string name;  // file name with extension
  std::vector<tablestore::FieldSpec> fields;
  std::vector<std::vector<std::string>> rows;  // texts, one per field (UTF-8)
  std::string path;  // JSON path of its entry, for messages about its use
};

// A file carried into the package as it is (programs, pictures, ready tables).
struct FileModel {
  std::string name;
  std::string bytes;
  std::string path;  // JSON path of its entry
};

struct VersionModel {
  bool present = false;
  int major = 1, minor = 0, build = 0;
  std::string date;
  int structure = 1;
  std::string structureDate, structureTime;
  std::string password;
};

struct AppModel {
  std::string name;
  bool compiled = true;
  bool useDatasets = true, keepChildFields = false, keepStatusFields = false, keepPosition = false;
  bool clearCoordFiles = false;
  std::vector<std::pair<std::size_t, int>> options;  // AppCtl offset, 16-bit value
  std::array<int, 5> gpsLimits{};
  std::vector<std::string> programs;  // F7 list
  std::array<double, 4> storedValues{};
  VersionModel version;
  std::vector<LevelModel> levels;  // levels[0] is the root table
  std::vector<TableModel> tables;
  std::vector<FileModel> files;
};

}  // namespace tfabuild
