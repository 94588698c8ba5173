#pragma once
// Coordinate files made the way the program makes them, for the tool's tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gps/coordinate_file.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace gis_fixture {

inline datasets::RawName levelTable(int dataset, int level, const char* code) {
  datasets::RawName n;
  n.datasetNumber = dataset;
  n.level = level;
  n.levelCode = code;
  n.datasetName = "North Block";
  n.unitCode = "ABC___";
  return n;
}

inline gps::GpsData fixAt(double lat, double lon, int second = 0) {
  gps::GpsData d;
  d.position.latitude = lat;
  d.position.longitude = lon;
  d.position.heightEllipsoid = 1140.2;
  d.position.utcDateText = "06/15/2030";
  d.position.utcTimeText = "12:34:" + std::string(second < 10 ? "0" : "") + std::to_string(second);
  d.position.fixChar = 'D';
  d.position.satellites = 9;
  d.position.hdop = 1.3;
  return d;
}

// Appends the positions to the coordinate file of keys in folder and returns
// its file name (empty on failure, with a test failure).
inline std::string makeCoordinateFile(const std::string& folder, const datasets::RawName& table,
                                      const std::vector<std::string>& keys, const char* levelName,
                                      gps::LogShape shape, const std::vector<gps::GpsData>& fixes,
                                      const char* fType) {
  std::string name;
  if (!gps::coordinateFileName(table, keys, levelName, shape, name)) {
    ADD_FAILURE() << "no coordinate file name";
    return {};
  }
  tablestore::TableStore store;
  for (const gps::GpsData& fix : fixes) {
    int count = 0;
    if (!gps::appendPosition(store, folder + platform::kSep + name, table.level, keys, fix, fType, count)) {
      ADD_FAILURE() << "position not appended to " << name;
      return {};
    }
  }
  return name;
}

}  // namespace gis_fixture
