#pragma once
// The files of a dataset in an application's data folder, as bundling and
// extraction see them: the name lists of a wildcard search, the marks that
// say a file has been merged or split (".dbf" -> ".del", ".GPF" -> ".gel"),
// and the sweep that removes the marked files of one dataset at the end of
// a run.
//
// Names are file names only (UTF-8, no folder); the folder is passed apart
// and joined with platform::kSep.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

// A name list holds at most this many names, each shorter than 260 bytes.
inline constexpr std::size_t kMaxListedFiles = 3028;
inline constexpr std::size_t kMaxListedNameBytes = 259;
// Coordinate files carry this character in their names (the GPS suffix).
inline constexpr char kGpsMarker = '^';
// Extensions of the marks.
inline constexpr const char* kMarkedTableExtension = "del";
inline constexpr const char* kMarkedCoordinateExtension = "gel";
// The twin a table may leave beside itself (the ".db$" copy).
inline constexpr const char* kTwinExtension = "db$";

// dataFolder + separator + name (no second separator when the folder ends in one).
std::string dataFilePath(const std::string& dataFolder, std::string_view name);

struct FileLists {
  std::vector<std::string> tables;       // names without the GPS marker
  std::vector<std::string> coordinates;  // names holding it
};

// The entries of dataFolder matching pattern (Windows wildcard rules),
// folders and names holding "#$$DataAppVer.dbf" (any case) left out, and
// names of kMaxListedNameBytes or more passed over (they cannot be held).
// Each list is sorted case-insensitively and cut at kMaxListedFiles.
// No match (or a folder that cannot be searched) gives two empty lists.
FileLists listDataFiles(const std::string& dataFolder, std::string_view pattern);

// The name a file gets when it is marked: ".dbf" -> ".del", ".GPF" ->
// ".gel" (extension compared without regard to case); "" for any other name.
std::string markedName(std::string_view name);

// Renames dataFolder/name to its marked name. 0 on success;
// platform::kErrInvalidName when the name carries neither extension;
// otherwise the error of the rename (the file is left as it was).
[[nodiscard]] int markProcessed(const std::string& dataFolder, std::string_view name);

struct SweepResult {
  int deleted = 0;
  std::vector<std::string> failed;  // names that could not be deleted
};

// The final sweep of a run, touching only one dataset's files:
//  - raw names (they parse as raw table names) with this dataset number and,
//    when datasetName is not empty, this dataset name, whose extension is
//    "del", "gel" or "db$";
//  - bundle names of this dataset name (when not empty) whose extension is
//    "del" or "gel".
// A name that parses as neither is left alone, as is every other dataset's
// file. Folders are never touched.
SweepResult sweepDataset(const std::string& dataFolder, int datasetNumber,
                         std::string_view datasetName);

}  // namespace exchange
