#pragma once
// Which files make up a dataset when it is copied between folders: one
// wildcard search built from the dataset's identifying name prefix, with
// folders and tables being rewritten (".db$") left out. Also the datasets a
// folder holds, raw and bundled, as the transfer dialogs list them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace exchange {

// A dataset as the transfer operations name it: a raw dataset by its number
// and name, a bundled one by its name alone.
struct DatasetRef {
  bool bundled = false;
  int number = 0;  // raw datasets: 0-99
  std::string name;

  bool operator==(const DatasetRef&) const = default;
};

// The search of a dataset's files: raw "%02d ??????[name]*.*" (number, level
// digit and five-character level code, the name in brackets), bundled
// "[name]*.*". The "[" is an ordinary character of the wildcard.
std::string datasetPattern(const DatasetRef& ref);

// The list entry of a dataset: raw "%02d [%s]", bundled "[%s]".
std::string datasetEntryText(const DatasetRef& ref);

struct SelectedFile {
  std::string name;  // file name only
  std::uint64_t size = 0;
};

struct FileSelection {
  bool matchedAny = false;          // the search found entries (before the filters)
  std::vector<SelectedFile> files;  // what survived them, sorted by name
};

// True for a name the copies may write into a target folder: not empty, not
// "." or "..", no separator, drive colon or wildcard character. Names come
// from a directory listing; this keeps a strange one from leading a copy
// out of its folder.
bool safeTransferName(std::string_view name);

// The files of ref in folder: entries matching datasetPattern, folders,
// names holding ".db$" (any case) and names that are not safeTransferName
// left out.
FileSelection selectDatasetFiles(const std::string& folder, const DatasetRef& ref);

// The datasets of a folder: with withRaw, the raw ones first (as
// datasets::findDatasets finds them), then the bundled ones (names of the
// level-1 bundle tables "[name]1A____....dbf"), each once, sorted by name.
std::vector<DatasetRef> datasetsIn(const std::string& folder, bool withRaw);

// The sub-folders of folder (names only, sorted); "." and ".." left out.
std::vector<std::string> subfoldersOf(const std::string& folder);

}  // namespace exchange
