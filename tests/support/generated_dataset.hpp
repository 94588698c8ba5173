#pragma once
// A raw dataset written straight into a data folder, as the edit window would
// leave it: one level-1 table, one table per parent record and branch below
// it, the key path by position (field k of a level-n record holds the level-k
// key), and a line coordinate file beside some level-1 records. Used by the
// round trip of bundling and extraction, its kill test and its benchmark.
#include <string>
#include <vector>

#include "apps/hierarchy.hpp"

namespace testing_support {

struct GeneratedDataset {
  std::string folder;               // the data folder (UTF-8), created when missing
  int datasetNumber = 1;
  std::string datasetName = "Generated";
  std::string unitCode = "ABC___";
  int levels = 5;                   // 1-5, the level codes A____, AA___, AAA__ ...
  int plots = 200;                  // level-1 records
  int perParent = 20;               // level-2 records (trees) below each plot
  int deeperPerParent = 2;          // records below each parent at levels 3-5
  int deeperParents = 1;            // how many records of a level have children below them
  bool regeneration = true;         // a second level-2 branch (AB___) below every fifth plot
  int coordinateEvery = 10;         // every n-th plot gets a coordinate file (0: none)
};

// The hierarchy the dataset's level codes name.
std::vector<apps::HierarchyEntry> generatedHierarchy(const GeneratedDataset& d);

// Writes the dataset. Returns the number of tables written, or -1 when a
// table could not be created or written (the reason on stderr).
int writeGeneratedDataset(const GeneratedDataset& d);

}  // namespace testing_support
