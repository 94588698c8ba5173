#pragma once
// The datasets of an application's data folder, found from their level-1
// table files, and the dataset numbers still free there.
#include <optional>
#include <string>
#include <vector>

namespace datasets {

// At most this many datasets are listed.
inline constexpr std::size_t kMaxListedDatasets = 100;

struct DatasetEntry {
  int number = 0;        // 0-99, the first two characters of the file name
  std::string name;      // between the first "[" and the following "]"
  std::string unitCode;  // the unit code the file name carries ("" when it is no full raw name)
  std::string fileName;  // the level-1 table's file name (UTF-8)
};

// True for a name a dataset may have: 1-25 characters, each an ASCII letter,
// a digit, a blank, "-" or "_".
bool validDatasetName(const std::string& name);

// The entries of dataFolder (UTF-8) that match "?? 1A____[*.dbf", are no
// folders, contain " 1A____[" and ".dbf", do not contain "#$$DataAppVer.dbf"
// and do not end in "$". A name whose first two characters are not digits,
// that has no "]" after its "[", or whose dataset name is not a valid
// dataset name (it could not be opened under that name) is passed over; a
// dataset found twice (same number and name, another unit code) appears
// once. Sorted by number, then file name; at most kMaxListedDatasets.
std::vector<DatasetEntry> findDatasets(const std::string& dataFolder, char sep);

// The list entry of a dataset: "%02d [%s]", e.g. "03 [North Block]".
std::string datasetListEntry(const DatasetEntry& entry);

// The smallest n in 1..99 for which dataFolder holds no file matching the
// two digits of n followed by " *.dbf", or nothing when all are taken.
std::optional<int> freeDatasetNumber(const std::string& dataFolder, char sep);
// The same, 1 when all 99 are taken.
int firstFreeDatasetNumber(const std::string& dataFolder, char sep);

}  // namespace datasets
