#pragma once
// The three GeoJSON layers (RFC 7946: WGS-84, longitude before latitude) made
// from the coordinate files read: points, lines and polygons.
#include <string>
#include <vector>

#include "gislib/coordinate_reader.hpp"

namespace gislib {

// A FeatureCollection with one Point per record of the point files. Each
// feature's properties: FILE, DATASET, LEVEL, LEVEL_NAME, the keys L1_Key ..
// L<level>_Key, F_TYPE, UTC_DOF, UTC_TOF, FIX, SV, DOP, ELEVATION (null when
// not stored).
std::string pointsLayer(const std::vector<CoordinateFile>& files);

// A FeatureCollection with one LineString per line file, its vertices in
// record order. Properties: FILE, DATASET, LEVEL, LEVEL_NAME, the keys and
// F_TYPE of the first record, VERTICES, FIRST_DOF, FIRST_TOF, LAST_DOF,
// LAST_TOF, and per vertex the arrays UTC_TOF, FIX, SV, DOP. A file with
// fewer than 2 records is left out with a line in notes.
std::string linesLayer(const std::vector<CoordinateFile>& files, std::vector<std::string>& notes);

// The same with one Polygon per polygon file: one ring of the records in
// order, closed by repeating the first vertex (unless the last record is
// already at it). A file with fewer than 3 distinct vertices is left out
// with a line in notes.
std::string polygonsLayer(const std::vector<CoordinateFile>& files, std::vector<std::string>& notes);

}  // namespace gislib
