#pragma once
// The tool's work: the command line, and the coordinate files of a data
// folder written out as three GeoJSON files.
#include <optional>
#include <string>
#include <vector>

namespace gislib {

struct ExportOptions {
  std::string dataFolder;
  std::optional<int> dataset;  // 0-99; none: every dataset
  std::string outFolder = ".";
};

inline constexpr int kExitDone = 0;
inline constexpr int kExitSkipped = 1;
inline constexpr int kExitUsage = 2;

inline constexpr const char* kUsage =
    "usage: tallyfin-gis DATA_FOLDER [--dataset N] [--out DIR]\n"
    "  Writes the coordinate files (.GPF) of DATA_FOLDER as points.geojson,\n"
    "  lines.geojson and polygons.geojson into DIR (default: the current folder).\n"
    "  --dataset N   only the files of dataset N (0-99)\n";

// Reads the arguments after the program name. False with why set for an
// unknown option, a missing or second folder, a value missing or not a
// dataset number 0-99, an empty --out, or an option given twice.
[[nodiscard]] bool parseArguments(const std::vector<std::string>& args, ExportOptions& out, std::string& why);

// Reads every coordinate file of the data folder (of options.dataset only,
// when set; a name that does not parse is skipped whatever the filter) and
// writes points.geojson, lines.geojson and polygons.geojson into the out
// folder, made when missing. Notes (skipped files and records, shapes left
// out) go to notes. kExitDone when every file was read and all three files
// written; kExitSkipped when a file was skipped or an output could not be
// written; kExitUsage when the data folder is not a folder.
[[nodiscard]] int exportLayers(const ExportOptions& options, std::vector<std::string>& notes);

}  // namespace gislib
