#include "exchange/dataset_files.hpp"

#include <algorithm>
#include <cctype>

#include "datasets/data_names.hpp"
#include "platform/errors.hpp"
#include "base/paths.hpp"
#include "platform/fileops.hpp"
#include "platform/wildcard.hpp"

namespace exchange {

std::string dataFilePath(const std::string& dataFolder, std::string_view name) {
  return base::joinPath(dataFolder, name, platform::kSep);
}

namespace {


char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return lowerAscii(x) < lowerAscii(y); });
}

bool containsNoCase(std::string_view text, std::string_view part) {
  auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                        [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
  return it != text.end();
}

// The extension after the last "." ("" when none).
std::string_view extensionOf(std::string_view name) {
  auto dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

bool isOneOf(std::string_view ext, std::initializer_list<const char*> options) {
  for (const char* o : options)
    if (platform::namesEqual(ext, o)) return true;
  return false;
}

}  // namespace

FileLists listDataFiles(const std::string& dataFolder, std::string_view pattern) {
  FileLists lists;
  std::vector<platform::FindEntry> found;
  if (platform::findFiles(dataFilePath(dataFolder, pattern), found) != 0) return lists;
  for (const auto& entry : found) {
    if (entry.isFolder || entry.name.empty() || entry.name.size() >= kMaxListedNameBytes) continue;
    if (containsNoCase(entry.name, datasets::kVersionTableSuffix)) continue;
    auto& list = entry.name.find(kGpsMarker) != std::string::npos ? lists.coordinates : lists.tables;
    list.push_back(entry.name);
  }
  for (auto* list : {&lists.tables, &lists.coordinates}) {
    std::sort(list->begin(), list->end(), lessNoCase);
    if (list->size() > kMaxListedFiles) list->resize(kMaxListedFiles);
  }
  return lists;
}

std::string markedName(std::string_view name) {
  std::string_view ext = extensionOf(name);
  const char* mark = nullptr;
  if (platform::namesEqual(ext, datasets::kTableExtension)) mark = kMarkedTableExtension;
  else if (platform::namesEqual(ext, datasets::kCoordinateExtension)) mark = kMarkedCoordinateExtension;
  if (mark == nullptr || ext.size() == name.size()) return {};
  std::string out(name.substr(0, name.size() - ext.size()));
  out += mark;
  return out;
}

int markProcessed(const std::string& dataFolder, std::string_view name) {
  std::string marked = markedName(name);
  if (marked.empty()) return platform::kErrInvalidName;
  return platform::moveFile(dataFilePath(dataFolder, name), dataFilePath(dataFolder, marked));
}

SweepResult sweepDataset(const std::string& dataFolder, int datasetNumber,
                         std::string_view datasetName) {
  SweepResult result;
  std::vector<platform::FindEntry> found;
  if (platform::findFiles(dataFilePath(dataFolder, "*"), found) != 0) return result;
  std::string bundlePrefix;
  if (!datasetName.empty()) bundlePrefix = "[" + std::string(datasetName) + "]";
  for (const auto& entry : found) {
    if (entry.isFolder) continue;
    std::string_view ext = extensionOf(entry.name);
    bool ours = false;
    datasets::RawName raw;
    if (datasets::parseRawName(entry.name, raw)) {
      ours = raw.datasetNumber == datasetNumber &&
             (datasetName.empty() || raw.datasetName == datasetName) &&
             isOneOf(ext, {kMarkedTableExtension, kMarkedCoordinateExtension, kTwinExtension});
    } else if (!bundlePrefix.empty() && entry.name.starts_with(bundlePrefix)) {
      datasets::BundleName bundle;
      ours = datasets::parseBundleName(entry.name, bundle) && bundle.datasetName == datasetName &&
             isOneOf(ext, {kMarkedTableExtension, kMarkedCoordinateExtension});
    }
    if (!ours) continue;
    if (platform::deleteFile(dataFilePath(dataFolder, entry.name)) == 0) {
      ++result.deleted;
    } else {
      result.failed.push_back(entry.name);
    }
  }
  return result;
}

}  // namespace exchange
