#include "gps/waypoint_table.hpp"

#include <cmath>

#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/number_text.hpp"

namespace gps {

namespace {
constexpr const char* kNameField = "WAYPOINT";
constexpr const char* kLatitudeField = "LATITUDE";
constexpr const char* kLongitudeField = "LONGITUDE";
}  // namespace

std::string waypointTablePath(const std::string& settingsFolder, char sep) {
  std::string path = settingsFolder;
  path.push_back(sep);
  path += kWaypointFileName;
  return path;
}

std::vector<tablestore::FieldSpec> waypointFields() {
  return {{"WayPoint", 'C', kWaypointNameChars, 0}, {"Latitude", 'N', 13, 8}, {"Longitude", 'N', 13, 8}};
}

std::vector<WaypointEntry> loadWaypointList(const std::string& tablePath) {
  std::vector<WaypointEntry> list{{kCurrentPositionEntry, 0, 0}};
  if (!platform::fileExists(tablePath)) return list;
  WaypointTable table;
  if (table.open(tablePath) != WaypointTable::Opened::kExisting) return list;
  const int count = table.count();
  for (int n = 1; n <= count; ++n) {
    WaypointRecord r;
    if (!table.read(n, r)) break;
    list.push_back({platform::toWide(base::trimRight(r.name)), r.latitude, r.longitude});
  }
  (void)table.close();
  return list;
}

WaypointTable::~WaypointTable() { (void)close(); }

WaypointTable::Opened WaypointTable::open(const std::string& path) {
  (void)close();
  store_.clearError();
  Opened how = Opened::kExisting;
  if (platform::fileExists(path)) {
    table_ = store_.openTable(path);
  } else {
    const std::vector<tablestore::FieldSpec> fields = waypointFields();
    table_ = store_.createTable(path, fields);
    how = Opened::kCreated;
  }
  store_.clearError();
  if (!table_) return Opened::kFailed;
  path_ = path;
  return how;
}

int WaypointTable::count() const { return table_ ? static_cast<int>(table_->recordCount()) : 0; }

bool WaypointTable::read(int n, WaypointRecord& out) {
  if (!table_ || n < 1 || n > count()) return false;
  store_.clearError();
  if (table_->goRecord(n) != 0) {
    store_.clearError();
    return false;
  }
  WaypointRecord r;
  if (tablestore::TableField* f = table_->fieldByName(kNameField)) r.name = base::trimRight(f->text());
  if (tablestore::TableField* f = table_->fieldByName(kLatitudeField)) r.latitude = f->number();
  if (tablestore::TableField* f = table_->fieldByName(kLongitudeField)) r.longitude = f->number();
  // A field of another type (a 'D' named so) raises on reading as a number.
  if (store_.error() != 0) {
    store_.clearError();
    return false;
  }
  out = std::move(r);
  return true;
}

// A number that would not fit is stored as asterisks and reads back as 0:
// it is refused before the record is touched.
bool WaypointTable::fits(const WaypointRecord& r) {
  const std::pair<const char*, double> values[] = {{kLatitudeField, r.latitude}, {kLongitudeField, r.longitude}};
  for (const auto& [name, value] : values) {
    tablestore::TableField* f = table_->fieldByName(name);
    if (!f) continue;
    if (!std::isfinite(value)) return false;
    if (f->type() != 'N' && f->type() != 'F' && f->type() != 'C') return false;
    std::string scratch(static_cast<std::size_t>(f->length()), ' ');
    if (!tablestore::formatNumber(value, f->decimals(), scratch.data(), f->length())) return false;
  }
  return true;
}

void WaypointTable::put(const WaypointRecord& r) {
  if (tablestore::TableField* f = table_->fieldByName(kNameField)) (void)f->assignText(r.name);
  if (tablestore::TableField* f = table_->fieldByName(kLatitudeField)) (void)f->assignNumber(r.latitude);
  if (tablestore::TableField* f = table_->fieldByName(kLongitudeField)) (void)f->assignNumber(r.longitude);
}

bool WaypointTable::finishWrite(bool ok) {
  if (ok) ok = table_->flush() == 0;
  store_.clearError();
  return ok;
}

bool WaypointTable::append(const WaypointRecord& r) {
  if (!table_) return false;
  store_.clearError();
  if (!fits(r) || table_->appendStart() != 0) return finishWrite(false);
  put(r);
  return finishWrite(store_.error() == 0 && table_->append() == 0);
}

bool WaypointTable::overwrite(int n, const WaypointRecord& r) {
  if (!table_ || n < 1 || n > count()) return false;
  store_.clearError();
  if (!fits(r) || table_->goRecord(n) != 0) return finishWrite(false);
  put(r);
  if (store_.error() != 0) {
    // Nothing of a half-made record reaches the file.
    store_.clearError();
    (void)table_->changed(0);
    return finishWrite(false);
  }
  return finishWrite(table_->writeRecord(n) == 0);
}

bool WaypointTable::remove(int n) {
  if (!table_ || n < 1 || n > count()) return false;
  store_.clearError();
  if (table_->goRecord(n) != 0 || table_->deleteRecord() != 0) {
    store_.clearError();
    (void)table_->changed(0);
    return false;
  }
  if (table_->pack() == 0) return finishWrite(true);
  // The record keeps its place: its flag is set live again.
  store_.clearError();
  if (table_->goRecord(n) == 0 && table_->deleted()) {
    table_->recordBuffer()[0] = ' ';
    (void)table_->changed(1);
  }
  (void)finishWrite(true);
  return false;
}

bool WaypointTable::close() {
  if (!table_) return true;
  store_.clearError();
  const bool ok = store_.closeTable(table_) == 0;
  store_.clearError();
  table_ = nullptr;
  path_.clear();
  return ok;
}

}  // namespace gps
