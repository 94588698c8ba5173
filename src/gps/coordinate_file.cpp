#include "gps/coordinate_file.hpp"

#include "base/text.hpp"
#include "datasets/level_codes.hpp"
#include "datasets/record_key.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"

namespace gps {

namespace {

std::string keyFieldName(int level) { return base::format("L%d_Key", level); }

// Number fields: a value too wide leaves '*' in the field and a sticky store
// error; the error is cleared so that the rest of the position is still kept.
void putNumber(tablestore::TableStore& store, tablestore::Table& t, const char* name, double value) {
  if (tablestore::TableField* f = t.fieldByName(name))
    if (f->assignNumber(value) < 0) store.clearError();
}

void putText(tablestore::TableStore& store, tablestore::Table& t, std::string_view name, std::string_view text) {
  if (tablestore::TableField* f = t.fieldByName(name))
    if (f->assignText(text) < 0) store.clearError();
}

tablestore::Table* openOrCreate(tablestore::TableStore& store, const std::string& path, int level) {
  store.clearError();
  if (platform::fileExists(path)) return store.openTable(path);
  const std::vector<tablestore::FieldSpec> fields = coordinateFields(level);
  return store.createTable(path, fields);
}

}  // namespace

std::string_view shapeWord(LogShape shape) {
  switch (shape) {
    case LogShape::kPoint: return "GPS Point";
    case LogShape::kLine: return "GPS Line ";
    case LogShape::kPolygon: return "GPS Poly ";
  }
  return "GPS Point";
}

std::vector<tablestore::FieldSpec> coordinateFields(int level) {
  if (level < 1 || level > datasets::kMaxLevel) return {};
  std::vector<tablestore::FieldSpec> out;
  out.push_back({keyFieldName(1), 'C', 15, 0});
  for (int k = 2; k <= level; ++k) out.push_back({keyFieldName(k), 'C', 10, 0});
  out.push_back({"GPSKey", 'C', 10, 0});
  out.push_back({"F_TYPE", 'C', 5, 0});
  out.push_back({"UTC_DOF", 'C', 10, 0});
  out.push_back({"UTC_TOF", 'C', 8, 0});
  out.push_back({"LATITUDE", 'N', 14, 9});
  out.push_back({"LONGITUDE", 'N', 14, 9});
  out.push_back({"ELEVATION", 'N', 6, 1});
  out.push_back({"FIX", 'C', 1, 0});
  out.push_back({"SV", 'N', 2, 0});
  out.push_back({"DOP", 'N', 5, 1});
  return out;
}

bool coordinateFileName(const datasets::RawName& levelTable, const std::vector<std::string>& keys,
                        std::string_view levelName, LogShape shape, std::string& out) {
  if (levelTable.level < 1 || levelTable.level > datasets::kMaxLevel) return false;
  if (keys.size() != static_cast<std::size_t>(levelTable.level)) return false;
  // A blank key would leave "~~" or an empty step in the path: the file of
  // one record could not be told from another's.
  for (const std::string& key : keys)
    if (base::trim(key).empty() || key.find('~') != std::string::npos) return false;
  datasets::RawName parts = levelTable;
  parts.keyPath = datasets::joinKeys(keys);
  parts.tableName = base::trimRight(levelName);
  if (parts.tableName.find('^') != std::string::npos) return false;
  parts.gpsSuffix.assign(1, '^').append(shapeWord(shape)).push_back('^');
  parts.extension = datasets::kCoordinateExtension;
  std::string name;
  if (!datasets::buildRawName(parts, name)) return false;
  // Only a name that reads back as these parts is used.
  datasets::RawName again;
  if (!datasets::parseRawName(name, again) || again != parts) return false;
  out = std::move(name);
  return true;
}

bool appendPosition(tablestore::TableStore& own, const std::string& path, int level,
                    const std::vector<std::string>& keys, const GpsData& fix, const std::string& fType,
                    int& recordCount) {
  if (level < 1 || level > datasets::kMaxLevel) return false;
  tablestore::Table* t = openOrCreate(own, path, level);
  if (!t) {
    own.clearError();
    return false;
  }
  bool ok = t->appendStart() == 0;
  if (ok) {
    // Each key in its own field: a long key is cut at its field's end and
    // never runs into the next one.
    for (int k = 1; k <= level && k <= static_cast<int>(keys.size()); ++k)
      putText(own, *t, keyFieldName(k), keys[k - 1]);
    putText(own, *t, "GPSKey", datasets::makeRecordKey(false, {}));
    putText(own, *t, "F_TYPE", fType);
    const Position& p = fix.position;
    putText(own, *t, "UTC_DOF", p.utcDateText);
    putText(own, *t, "UTC_TOF", p.utcTimeText);
    putNumber(own, *t, "LATITUDE", p.latitude);
    putNumber(own, *t, "LONGITUDE", p.longitude);
    putNumber(own, *t, "ELEVATION", p.heightEllipsoid);
    putText(own, *t, "FIX", std::string(1, p.fixChar));
    putNumber(own, *t, "SV", p.satellites);
    putNumber(own, *t, "DOP", p.hdop);
    // Once appended the record is in the file; flush and close only bring
    // the header's count and the end marker up to date.
    ok = t->append() == 0;
    if (ok) (void)t->flush();
  }
  const std::int64_t count = t->recordCount();
  own.clearError();
  (void)own.closeTable(t);
  own.clearError();
  if (!ok) return false;
  recordCount = static_cast<int>(count);
  return true;
}

}  // namespace gps
