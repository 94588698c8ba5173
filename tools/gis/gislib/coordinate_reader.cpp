#include "gislib/coordinate_reader.hpp"

#include <charconv>
#include <cmath>

#include "base/text.hpp"
#include "gislib/json_text.hpp"
#include "gislib/snapshot_files.hpp"
#include "platform/codepage.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"

namespace gislib {

namespace {

// A number field's text: nothing for blanks, '*' (a value that was too wide
// when stored) or a missing field; false for text that is no finite number.
bool readNumber(tablestore::TableField* field, std::optional<double>& out) {
  out.reset();
  if (!field) return true;
  const std::string text = base::trim(field->text());
  if (text.empty() || text.find_first_not_of('*') == std::string::npos) return true;
  double value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(value)) return false;
  out = value;
  return true;
}

std::string readText(tablestore::TableField* field) {
  if (!field) return {};
  return platform::cp1252ToUtf8(field->text());
}

std::string fileNote(const std::string& fileName, const std::string& why) {
  return nameText(fileName) + ": skipped: " + why;
}

std::string recordNote(const std::string& fileName, std::int64_t n, const std::string& why) {
  return base::format("%s: record %lld left out: %s", nameText(fileName).c_str(), static_cast<long long>(n),
                      why.c_str());
}

// Fills everything but the record number; an empty text when the record is
// good, else why it is not.
std::string readRecord(tablestore::Table& t, int level, CoordinateRecord& r) {
  for (int k = 1; k <= level; ++k) r.keys.push_back(readText(t.fieldByName(base::format("L%d_Key", k))));
  r.fType = readText(t.fieldByName("F_TYPE"));
  r.utcDate = readText(t.fieldByName("UTC_DOF"));
  r.utcTime = readText(t.fieldByName("UTC_TOF"));
  r.fix = readText(t.fieldByName("FIX"));
  std::optional<double> lat, lon;
  if (!readNumber(t.fieldByName("LATITUDE"), lat)) return "LATITUDE is not a number";
  if (!readNumber(t.fieldByName("LONGITUDE"), lon)) return "LONGITUDE is not a number";
  if (!lat || !lon) return "no position";
  if (*lat < -90 || *lat > 90) return base::format("latitude %.9f outside -90 to 90", *lat);
  if (*lon < -180 || *lon > 180) return base::format("longitude %.9f outside -180 to 180", *lon);
  r.latitude = *lat;
  r.longitude = *lon;
  if (!readNumber(t.fieldByName("ELEVATION"), r.elevation)) return "ELEVATION is not a number";
  if (!readNumber(t.fieldByName("SV"), r.satellites)) return "SV is not a number";
  if (r.satellites && (*r.satellites < 0 || *r.satellites > 99 || std::floor(*r.satellites) != *r.satellites))
    return "SV is not a satellite count";
  if (!readNumber(t.fieldByName("DOP"), r.dop)) return "DOP is not a number";
  if (r.dop && *r.dop < 0) return "DOP is negative";
  return {};
}

// The first field the file cannot be read without that it lacks, with the
// type it needs; empty when all are there.
std::string missingField(tablestore::Table& t, int level) {
  for (int k = 1; k <= level; ++k) {
    const std::string name = base::format("L%d_Key", k);
    tablestore::TableField* f = t.fieldByName(name);
    if (!f || f->type() != 'C') return name + " (type C)";
  }
  for (const char* name : {"LATITUDE", "LONGITUDE"}) {
    tablestore::TableField* f = t.fieldByName(name);
    if (!f || (f->type() != 'N' && f->type() != 'F')) return std::string(name) + " (type N)";
  }
  return {};
}

bool readTable(tablestore::TableStore& store, const std::string& path, CoordinateFile& out,
               std::vector<std::string>& notes) {
  tablestore::Table* t = store.openTable(path);
  if (!t) {
    notes.push_back(fileNote(out.fileName, std::string("not a readable table (") +
                                               tablestore::errorText(store.error()) + ")"));
    return false;
  }
  bool ok = true;
  if (const std::string missing = missingField(*t, out.name.level); !missing.empty()) {
    notes.push_back(fileNote(out.fileName, "no field " + missing));
    ok = false;
  }
  for (std::int64_t n = 1; ok && n <= t->recordCount(); ++n) {
    if (t->goRecord(n) != 0) {
      notes.push_back(fileNote(out.fileName, base::format("record %lld cannot be read", static_cast<long long>(n))));
      ok = false;
      break;
    }
    if (t->deleted()) continue;
    CoordinateRecord r;
    r.recordNumber = n;
    if (const std::string why = readRecord(*t, out.name.level, r); !why.empty()) {
      notes.push_back(recordNote(out.fileName, n, why));
      continue;
    }
    out.records.push_back(std::move(r));
  }
  store.clearError();
  (void)store.closeTable(t);
  store.clearError();
  return ok;
}

}  // namespace

std::optional<gps::LogShape> shapeOfSuffix(std::string_view gpsSuffix) {
  if (gpsSuffix.size() < 2 || gpsSuffix.front() != '^' || gpsSuffix.back() != '^') return std::nullopt;
  const std::string word = base::trimRight(gpsSuffix.substr(1, gpsSuffix.size() - 2));
  for (gps::LogShape s : {gps::LogShape::kPoint, gps::LogShape::kLine, gps::LogShape::kPolygon})
    if (word == base::trimRight(gps::shapeWord(s))) return s;
  return std::nullopt;
}

bool parseCoordinateFileName(std::string_view fileName, datasets::RawName& name, gps::LogShape& shape) {
  datasets::RawName parts;
  if (!datasets::parseRawName(fileName, parts)) return false;
  if (!base::equalsNoCase(parts.extension, datasets::kCoordinateExtension)) return false;
  const std::optional<gps::LogShape> s = shapeOfSuffix(parts.gpsSuffix);
  if (!s) return false;
  name = std::move(parts);
  shape = *s;
  return true;
}

bool readCoordinateFile(const std::string& folder, const std::string& fileName, CoordinateFile& out,
                        std::vector<std::string>& notes) {
  out = CoordinateFile{};
  out.fileName = fileName;
  if (!parseCoordinateFileName(fileName, out.name, out.shape)) {
    notes.push_back(fileNote(fileName, "the name is not a coordinate file name"));
    return false;
  }
  std::string path = folder;
  if (!path.empty() && path.back() != '/' && path.back() != platform::kSep) path.push_back(platform::kSep);
  path += fileName;
  std::string bytes;
  if (const int rc = platform::readWholeFile(path, bytes, kMaxCoordinateFileBytes)) {
    notes.push_back(fileNote(fileName, rc == platform::kErrNotEnoughMemory
                                           ? "larger than a coordinate file can be"
                                           : base::format("cannot be read (system error %d)", rc)));
    return false;
  }
  SnapshotFileSystem copy(path, std::move(bytes));
  platform::ScopedFileSystem scope(copy);
  tablestore::TableStore store;
  store.setErrorDisplay(false);
  return readTable(store, path, out, notes);
}

}  // namespace gislib
