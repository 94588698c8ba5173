#include "gislib/export.hpp"

#include <algorithm>
#include <charconv>

#include "base/text.hpp"
#include "gislib/coordinate_reader.hpp"
#include "gislib/geojson_layers.hpp"
#include "gislib/json_text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"

namespace gislib {

namespace {

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/' || folder.back() == platform::kSep) return folder + name;
  return folder + platform::kSep + name;
}

bool readDataset(const std::string& text, int& out) {
  int value = -1;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || value < 0 || value > 99)
    return false;
  out = value;
  return true;
}

bool writeLayer(const std::string& folder, const char* name, const std::string& text,
                std::vector<std::string>& notes) {
  platform::SafeWriteStage stage;
  const std::string path = joinPath(folder, name);
  if (const int rc = platform::writeFileSafely(path, text.data(), text.size(), stage)) {
    notes.push_back(base::format("%s: cannot be written (system error %d)", nameText(path).c_str(), rc));
    return false;
  }
  return true;
}

}  // namespace

bool parseArguments(const std::vector<std::string>& args, ExportOptions& out, std::string& why) {
  ExportOptions o;
  bool haveFolder = false, haveDataset = false, haveOut = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--dataset" || a == "--out") {
      bool& seen = a == "--dataset" ? haveDataset : haveOut;
      if (seen) {
        why = a + " given twice";
        return false;
      }
      seen = true;
      if (i + 1 >= args.size()) {
        why = a + " needs a value";
        return false;
      }
      const std::string& v = args[++i];
      if (a == "--dataset") {
        int n = 0;
        if (!readDataset(v, n)) {
          why = "--dataset needs a dataset number 0-99, not \"" + v + "\"";
          return false;
        }
        o.dataset = n;
      } else {
        if (v.empty()) {
          why = "--out needs a folder";
          return false;
        }
        o.outFolder = v;
      }
    } else if (a.size() > 1 && a[0] == '-') {
      why = "unknown option " + a;
      return false;
    } else if (haveFolder) {
      why = "one data folder only";
      return false;
    } else {
      if (a.empty()) {
        why = "the data folder is empty";
        return false;
      }
      o.dataFolder = a;
      haveFolder = true;
    }
  }
  if (!haveFolder) {
    why = "no data folder given";
    return false;
  }
  out = std::move(o);
  return true;
}

int exportLayers(const ExportOptions& options, std::vector<std::string>& notes) {
  if (!platform::folderExists(options.dataFolder)) {
    notes.push_back(nameText(options.dataFolder) + ": not a folder");
    return kExitUsage;
  }
  std::vector<platform::FindEntry> found;
  const int rc = platform::findFiles(joinPath(options.dataFolder, "*.GPF"), found);
  if (rc != 0 && rc != platform::kErrFileNotFound) {
    notes.push_back(base::format("%s: cannot be listed (system error %d)", nameText(options.dataFolder).c_str(), rc));
    return kExitSkipped;
  }
  std::vector<std::string> names;
  for (const platform::FindEntry& e : found)
    if (!e.isFolder) names.push_back(e.name);
  std::sort(names.begin(), names.end());

  int status = kExitDone;
  std::vector<CoordinateFile> files;
  for (const std::string& name : names) {
    datasets::RawName parts;
    gps::LogShape shape;
    // Another dataset's file is passed over before it is read.
    if (options.dataset && parseCoordinateFileName(name, parts, shape) && parts.datasetNumber != *options.dataset)
      continue;
    CoordinateFile f;
    if (!readCoordinateFile(options.dataFolder, name, f, notes)) {
      status = kExitSkipped;
      continue;
    }
    files.push_back(std::move(f));
  }

  if (!platform::makeFolder(options.outFolder)) {
    notes.push_back(nameText(options.outFolder) + ": the output folder cannot be made");
    return kExitSkipped;
  }
  bool written = writeLayer(options.outFolder, "points.geojson", pointsLayer(files), notes);
  written = writeLayer(options.outFolder, "lines.geojson", linesLayer(files, notes), notes) && written;
  written = writeLayer(options.outFolder, "polygons.geojson", polygonsLayer(files, notes), notes) && written;
  return written ? status : kExitSkipped;
}

}  // namespace gislib
