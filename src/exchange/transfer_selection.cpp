#include "exchange/transfer_selection.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "datasets/dataset_list.hpp"
#include "exchange/dataset_files.hpp"
#include "platform/fileops.hpp"

namespace exchange {

namespace {

bool holdsTwinMark(std::string_view name) {
  const std::string upper = base::toUpper(name);
  return upper.find(".DB$") != std::string::npos;
}

}  // namespace

std::string datasetPattern(const DatasetRef& ref) {
  if (ref.bundled) return "[" + ref.name + "]*.*";
  return base::format("%02d ??????[", ref.number) + ref.name + "]*.*";
}

std::string datasetEntryText(const DatasetRef& ref) {
  if (ref.bundled) return "[" + ref.name + "]";
  return base::format("%02d [", ref.number) + ref.name + "]";
}

bool safeTransferName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:*?") == std::string_view::npos;
}

FileSelection selectDatasetFiles(const std::string& folder, const DatasetRef& ref) {
  FileSelection out;
  std::vector<platform::FindEntry> found;
  if (platform::findFiles(dataFilePath(folder, datasetPattern(ref)), found) != 0) return out;
  out.matchedAny = !found.empty();
  for (const auto& e : found) {
    if (e.isFolder || holdsTwinMark(e.name) || !safeTransferName(e.name)) continue;
    out.files.push_back({e.name, e.size});
  }
  std::sort(out.files.begin(), out.files.end(),
            [](const SelectedFile& a, const SelectedFile& b) { return a.name < b.name; });
  return out;
}

std::vector<DatasetRef> datasetsIn(const std::string& folder, bool withRaw) {
  std::vector<DatasetRef> out;
  if (withRaw)
    for (const auto& e : datasets::findDatasets(folder, platform::kSep)) {
      DatasetRef r{false, e.number, e.name};
      if (std::find(out.begin(), out.end(), r) == out.end()) out.push_back(r);
    }
  std::vector<DatasetRef> bundled;
  for (const std::string& file : listDataFiles(folder, "[*]1A____*.dbf").tables) {
    datasets::BundleName b;
    if (!datasets::parseBundleName(file, b) || b.level != 1) continue;
    DatasetRef r{true, 0, b.datasetName};
    if (std::find(bundled.begin(), bundled.end(), r) == bundled.end()) bundled.push_back(r);
  }
  std::sort(bundled.begin(), bundled.end(), [](const DatasetRef& a, const DatasetRef& b) { return a.name < b.name; });
  out.insert(out.end(), bundled.begin(), bundled.end());
  return out;
}

std::vector<std::string> subfoldersOf(const std::string& folder) {
  std::vector<platform::FindEntry> found;
  std::vector<std::string> out;
  if (platform::findFiles(dataFilePath(folder, "*.*"), found) != 0) return out;
  for (const auto& e : found)
    if (e.isFolder && e.name != "." && e.name != "..") out.push_back(e.name);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace exchange
