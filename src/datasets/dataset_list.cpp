#include "datasets/dataset_list.hpp"

#include <algorithm>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "platform/fileops.hpp"

namespace datasets {

namespace {

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The entry a found file stands for, or false.
bool entryOf(const platform::FindEntry& found, DatasetEntry& out) {
  const std::string& n = found.name;
  if (found.isFolder || !contains(n, " 1A____[") || !contains(n, ".dbf") || contains(n, kVersionTableSuffix)) return false;
  if (n.size() < 2 || n.back() == '$' || !isDigit(n[0]) || !isDigit(n[1])) return false;
  const std::size_t open = n.find('[');
  const std::size_t close = n.find(']', open + 1);
  if (open == std::string::npos || close == std::string::npos) return false;
  out.number = (n[0] - '0') * 10 + (n[1] - '0');
  out.name = n.substr(open + 1, close - open - 1);
  if (!validDatasetName(out.name)) return false;
  RawName raw;
  out.unitCode = parseRawName(n, raw) ? raw.unitCode : std::string();
  out.fileName = n;
  return true;
}

}  // namespace

bool validDatasetName(const std::string& name) {
  if (name.empty() || name.size() > 25) return false;
  for (char c : name) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) || c == ' ' || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::vector<DatasetEntry> findDatasets(const std::string& dataFolder, char sep) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(base::trimRight(dataFolder), "?? 1A____[*.dbf", sep), found);
  std::vector<DatasetEntry> out;
  for (const auto& f : found) {
    DatasetEntry e;
    if (entryOf(f, e)) out.push_back(std::move(e));
  }
  std::sort(out.begin(), out.end(), [](const DatasetEntry& a, const DatasetEntry& b) {
    return a.number != b.number ? a.number < b.number : a.fileName < b.fileName;
  });
  out.erase(std::unique(out.begin(), out.end(),
                        [](const DatasetEntry& a, const DatasetEntry& b) { return a.number == b.number && a.name == b.name; }),
            out.end());
  if (out.size() > kMaxListedDatasets) out.resize(kMaxListedDatasets);
  return out;
}

std::string datasetListEntry(const DatasetEntry& entry) {
  return base::format("%02d [%s]", entry.number, entry.name.c_str());
}

std::optional<int> freeDatasetNumber(const std::string& dataFolder, char sep) {
  const std::string folder = base::trimRight(dataFolder);
  for (int n = 1; n <= 99; ++n)
    if (!platform::fileExists(base::joinPath(folder, base::format("%02d *.dbf", n), sep))) return n;
  return std::nullopt;
}

int firstFreeDatasetNumber(const std::string& dataFolder, char sep) {
  return freeDatasetNumber(dataFolder, sep).value_or(1);
}

}  // namespace datasets
