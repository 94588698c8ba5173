#pragma once
// Reading one coordinate file (".GPF") of a data folder: its name taken
// apart, its records checked one by one.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datasets/data_names.hpp"
#include "gps/coordinate_file.hpp"

namespace gislib {

// One position record, texts converted to UTF-8 (keys as stored, blanks
// included).
struct CoordinateRecord {
  std::int64_t recordNumber = 0;  // 1-based, in the file
  std::vector<std::string> keys;  // L1_Key .. L<level>_Key
  std::string fType;
  std::string utcDate;
  std::string utcTime;
  std::string fix;
  double latitude = 0;
  double longitude = 0;
  std::optional<double> elevation;  // none when blank, '*' (too wide when stored) or missing
  std::optional<double> satellites;
  std::optional<double> dop;
};

struct CoordinateFile {
  std::string fileName;  // as found, shown as UTF-8 (nameText)
  datasets::RawName name;
  gps::LogShape shape = gps::LogShape::kPoint;
  std::vector<CoordinateRecord> records;  // the good live records, in file order
};

// The shape a coordinate file's GPS suffix names ("^GPS Point^", "^GPS Line^"
// with or without its blank, "^GPS Poly^" likewise), or nothing.
std::optional<gps::LogShape> shapeOfSuffix(std::string_view gpsSuffix);

// Takes a file name apart: true when it parses as a raw data name with the
// extension GPF (any case) and a shape suffix.
[[nodiscard]] bool parseCoordinateFileName(std::string_view fileName, datasets::RawName& name,
                                           gps::LogShape& shape);

// Files larger than this are not read (a position record is under 120 bytes).
inline constexpr std::int64_t kMaxCoordinateFileBytes = std::int64_t{256} << 20;

// Reads folder/fileName (a copy of it: the folder is never written). True
// with out filled when the file was read; records that fail a check
// (latitude outside ±90, longitude outside ±180, a number that does not read
// or is not finite, satellites not a whole number 0-99, a negative DOP) are
// left out, each with a line in notes. False, with the reason in notes, when
// the name does not parse, the file cannot be read or is too large, the table
// is damaged, or it lacks a key field of its level, LATITUDE or LONGITUDE
// (or holds them with a type other than C for keys, N or F for positions).
// Deleted records are passed over without a note.
[[nodiscard]] bool readCoordinateFile(const std::string& folder, const std::string& fileName, CoordinateFile& out,
                                      std::vector<std::string>& notes);

}  // namespace gislib
