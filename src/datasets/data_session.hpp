#pragma once
// The open dataset: its number, name and unit code, the data folder, and per
// level 1-5 the table open there with its data file name. openData starts it
// afresh; the edit window and the level changes keep it current.
#include <array>
#include <string>

#include "datasets/level_codes.hpp"

namespace tablestore {
class Table;
}

namespace datasets {

struct LevelSlot {
  tablestore::Table* table = nullptr;  // owned by the table store
  std::string fileName;                // 8-bit data file name (no folder)
  std::string path;                    // 8-bit full path
  std::string code;                    // the table's level code
  std::string tableName;               // 8-bit, the level table's name
  bool created = false;                // the table was made when it was opened
};

struct DataSession {
  int datasetNumber = 0;
  std::string datasetName;  // 8-bit
  std::string unitCode;     // the six characters the dataset's file names carry
  std::string dataFolder;   // UTF-8, the application's data folder
  // The number of levels of the application (1-5): no table is named below it.
  int levelCount = kMaxLevel;

  // Levels 1-5 (index 0 unused).
  std::array<LevelSlot, kMaxLevel + 1> levels;
  // The table name last chosen at each level (child and sibling lists
  // preselect it).
  std::array<std::string, kMaxLevel + 1> chosenTable;

  // The slot of level 1-5, or nullptr.
  LevelSlot* level(int n) { return n >= 1 && n <= kMaxLevel ? &levels[static_cast<std::size_t>(n)] : nullptr; }
  const LevelSlot* level(int n) const {
    return n >= 1 && n <= kMaxLevel ? &levels[static_cast<std::size_t>(n)] : nullptr;
  }
  // Forgets every level's table (closing them is the table store's).
  void forgetLevels() { levels = {}; }
};

}  // namespace datasets
