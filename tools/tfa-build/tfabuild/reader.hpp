#pragma once
// Reading a description into the model: the shared state of the readers in
// read_*.cpp. Not part of the library's interface.
#include <string>
#include <string_view>

#include "tfabuild/diagnostics.hpp"
#include "tfabuild/json_node.hpp"
#include "tfabuild/model.hpp"

namespace tfabuild {

struct Reader {
  Diagnostics& diag;
  std::string baseDir;  // relative paths of the description start here
  AppModel& app;

  // Reads a file named by the description (relative to baseDir); false, with
  // the error reported at node, when it cannot be read.
  bool readFile(const Node& node, const std::string& path, std::string& bytes) const;

  // The level whose table is named name (case ignored), or -1.
  int levelByTable(std::string_view name) const;
  // A column reference "FIELD" (this level) or "TABLE.FIELD" (this level or
  // one above it). Reports at node and returns {} when it names nothing.
  ColumnRef column(const Node& node, int level) const;
  // The same but the column must belong to the level itself: 0 when not.
  int ownColumn(const Node& node, int level) const;
  // The column a reference made from level li names, or nullptr.
  const ColumnModel* columnOf(int li, ColumnRef ref) const;
  // The canonical name of a table or carried file named at node (case
  // ignored); reports and returns "" when there is none.
  std::string fileName(const Node& node) const;
  // The check, jump or look-up table of that canonical name, or nullptr
  // when the name is a carried file (its content is not known).
  const TableModel* table(std::string_view name) const;
  // A program named at node: it must be a carried file, name at most 35
  // characters. Returns its canonical name or "".
  std::string program(const Node& node) const;
};

void readApplication(Reader& r, const Node& root);
void readFiles(Reader& r, const Node& files);
// "programSources": each program file name with the path of its text; the
// assembled programs join the carried files (assembly errors are reported
// at the entry as "SOURCE:LINE: message").
void readProgramSources(Reader& r, const Node& sources);
void readTables(Reader& r, const Node& tables);
// Levels: their codes, tables and column fields first, so that every
// reference can be resolved when the rest is read.
void readLevelShapes(Reader& r, const Node& levels);
void readLevelDetails(Reader& r, const Node& levels);
void readColumn(Reader& r, const Node& node, int level, int index);
void readLevelExtras(Reader& r, const Node& node, int level);
// The content of the tables against their uses (sorting, field counts,
// column names and numbers they hold).
void checkTableUses(Reader& r, const Node& levels);

// Texts that become names of files: letters, digits, "_", "-" (and "." in
// file names); true when text is one.
bool plainName(std::string_view text, bool dotAllowed);
bool validFieldName(std::string_view text);

// The widest character field most dBase III readers take; a wider one has a
// two-byte width, which the table format and the runtime read but GDAL,
// shapelib and other readers take as one byte.
inline constexpr int kWidestPortableCharField = 254;
// Warns at width when a character field is wider than that.
void warnUnportableWidth(const Node& width, char type, int length);

}  // namespace tfabuild
