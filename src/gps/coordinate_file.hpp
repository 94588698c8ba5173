#pragma once
// Coordinate files (".GPF"): one table per record and shape beside the data
// tables, holding the positions logged for that record. The field list, the
// file name and the append of one position.
#include <string>
#include <string_view>
#include <vector>

#include "datasets/data_names.hpp"
#include "gps/gps_state.hpp"
#include "tablestore/field_list.hpp"

namespace tablestore {
class TableStore;
}

namespace gps {

enum class LogShape { kPoint = 1, kLine = 2, kPolygon = 3 };

// The shape word of a coordinate file name, nine characters each:
// "GPS Point", "GPS Line ", "GPS Poly ".
std::string_view shapeWord(LogShape shape);

// The fields a level-L coordinate file is created with, in order: L1_Key
// (C 15), L2_Key..L<L>_Key (C 10 each), GPSKey C 10, F_TYPE C 5, UTC_DOF
// C 10, UTC_TOF C 8, LATITUDE N 14.9, LONGITUDE N 14.9, ELEVATION N 6.1,
// FIX C 1, SV N 2, DOP N 5.1. Empty for a level outside 1-5.
std::vector<tablestore::FieldSpec> coordinateFields(int level);

// The name of the coordinate file of one record, made by the data-file name
// builder so that parseRawName reads it back and the branch listing
// ("NN LCODE[*.GPF") finds it: the parts of the level's data file name
// (dataset number, level, level code, dataset name, unit code; the other
// parts of levelTable are not used), the key path of the record's keys of
// levels 1..L joined by "-" (each as stored), the level name (trailing blanks
// trimmed) as the table name, the GPS suffix "^" + shape word + "^" and the
// extension "GPF". False (out untouched) when keys does not hold exactly one
// key per level, a key is blank or holds "~", or any part would not make a
// name that parses back (unsafe characters, "^" or "~" in the level name).
[[nodiscard]] bool coordinateFileName(const datasets::RawName& levelTable, const std::vector<std::string>& keys,
                                      std::string_view levelName, LogShape shape, std::string& out);

// Appends one position to the coordinate file at path, opening it or, when
// missing, creating it with coordinateFields(level). The record holds the
// keys of levels 1..L each in its own key field (cut to the field's width),
// GPSKey (the 9-character generated key of the platform clock's local
// time), F_TYPE, the fix's UTC date and time texts, latitude, longitude,
// height above the ellipsoid, fix character, satellites and HDOP. Fields a
// file lacks are skipped; a number too wide for its field is left as '*'
// and the rest of the record is still stored. The file is flushed and
// closed before returning; other tables of own stay open.
// True with recordCount the file's record count after the append. False
// (nothing stored, recordCount untouched) for a level outside 1-5, a file
// that cannot be opened or created (one open in own already included), or a
// record that could not be written.
// own's error code is cleared before and after.
[[nodiscard]] bool appendPosition(tablestore::TableStore& own, const std::string& path, int level,
                                  const std::vector<std::string>& keys, const GpsData& fix,
                                  const std::string& fType, int& recordCount);

}  // namespace gps
