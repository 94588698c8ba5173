#pragma once
// The child data files of one line of a level: every file of the dataset
// whose raw name says it lies below that line (child tables, grandchildren,
// their coordinate, deletion-log and position files). They are found by
// listing the data folder once and parsing each name (datasets/data_names),
// never by a wildcard mask, so a file of another dataset, another line or
// another branch is never taken.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "datasets/data_names.hpp"

namespace tablestore {
class TableStore;
}

namespace datasets {

// The line whose children are meant: the open dataset, the line's level and
// level code, and the key fields 1..level of its record as stored.
struct LineOwner {
  int datasetNumber = 0;
  std::string datasetName;  // 8-bit
  std::string unitCode;
  int level = 0;
  std::string levelCode;
  std::vector<std::string> keys;
};

// True when every key is blank (or there is none): such a line names no
// children, and nothing is ever deleted or renamed by it.
bool blankKeys(const std::vector<std::string>& keys);

// True when name lies below owner: same dataset number, name and unit code,
// a deeper level whose code begins with the owner's letters, and a key path
// equal to the owner's keys joined by "-" or beginning with it and "-".
bool belongsToLine(const RawName& name, const LineOwner& owner);

// The raw files of one dataset in a data folder, parsed once, looked up by
// key path. Renames made through it keep it current.
class DatasetFiles {
 public:
  // Lists folder (UTF-8) and keeps the names that parse as raw names of the
  // dataset. 0, also for an empty or missing folder's "nothing found"; the
  // platform's code when the folder cannot be listed.
  [[nodiscard]] int read(const std::string& folder, int datasetNumber, const std::string& datasetName,
                         const std::string& unitCode);

  // The file names (8-bit, no folder) that lie below owner, in listing order.
  std::vector<std::string> childrenOf(const LineOwner& owner) const;
  // Whether a file of that name (compared without regard to case) is known.
  bool has(const std::string& name) const;
  // Records that from now bears the name to.
  void renamed(const std::string& from, const std::string& to);
  std::size_t size() const { return live_; }
  const std::string& folder() const { return folder_; }

 private:
  struct Entry {
    std::string file;
    RawName parts;
    bool gone = false;
  };
  void add(const std::string& file, const RawName& parts);

  std::string folder_;
  std::vector<Entry> entries_;
  std::size_t live_ = 0;
  // Every key path and every prefix of it that ends before a "-".
  std::unordered_map<std::string, std::vector<std::size_t>> byPath_;
  std::unordered_map<std::string, std::size_t> byName_;  // upper-cased name
};

// What a deletion or renaming did.
struct ChildFileResult {
  int found = 0;    // files that lie below the line
  int done = 0;     // deleted or renamed
  int failed = 0;   // the platform refused (the file stays)
  bool refused = false;  // renaming refused: a target existed or a key was blank
};

// Deletes every file below owner from files' folder. A blank key deletes
// nothing. A failing deletion is counted and the rest go on.
ChildFileResult deleteLineChildren(DatasetFiles& files, const LineOwner& owner);

// Gives every file below owner the key path of newKeys in place of the
// owner's keys (grandchildren keep the rest of their path), then rewrites,
// in each renamed table, key fields 1..owner.level that hold an old key and
// the "PARENT" and "CHILD1".."CHILD26" fields that name a renamed table.
// Nothing moves when either key set is blank, when the keys are equal, when
// a new name cannot be built, or when a file of a new name exists already
// (refused). renamedTables receives {old, new} for each table file moved.
// Tables are opened through store (their errors shown as usual).
ChildFileResult moveLineChildren(tablestore::TableStore& store, DatasetFiles& files, const LineOwner& owner,
                                 const std::vector<std::string>& newKeys,
                                 std::vector<std::pair<std::string, std::string>>& renamedTables);

}  // namespace datasets
