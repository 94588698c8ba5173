// tallyfin-gis: a data folder's coordinate files as GeoJSON layers.
//
//   tallyfin-gis DATA_FOLDER [--dataset N] [--out DIR]
#include <cstdio>
#include <string>
#include <vector>

#include "gislib/export.hpp"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  gislib::ExportOptions options;
  std::string why;
  if (!gislib::parseArguments(args, options, why)) {
    std::fprintf(stderr, "tallyfin-gis: %s\n%s", why.c_str(), gislib::kUsage);
    return gislib::kExitUsage;
  }
  std::vector<std::string> notes;
  const int status = gislib::exportLayers(options, notes);
  for (const std::string& note : notes) std::fprintf(stderr, "tallyfin-gis: %s\n", note.c_str());
  if (status == gislib::kExitUsage) std::fputs(gislib::kUsage, stderr);
  return status;
}
