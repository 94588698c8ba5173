#pragma once
// The waypoint table: named positions in "Waypoints.dbf", one table for the
// whole installation in the settings folder (an application may carry its
// own in its folder). Names are 8-bit text in the table; latitude and
// longitude are decimal degrees, north and east positive.
#include <string>
#include <vector>

#include "tablestore/field_list.hpp"
#include "tablestore/table_store.hpp"

namespace gps {

inline constexpr const char* kWaypointFileName = "Waypoints.dbf";
inline constexpr const char* kCurrentPositionEntry = "-< Current Position >-";
inline constexpr int kWaypointNameChars = 25;

// settingsFolder + sep + "Waypoints.dbf".
std::string waypointTablePath(const std::string& settingsFolder, char sep);

// The fields a new waypoint table is made with: WayPoint C 25, Latitude
// N 13.8, Longitude N 13.8.
std::vector<tablestore::FieldSpec> waypointFields();

// One waypoint as stored: the name in 8-bit text.
struct WaypointRecord {
  std::string name;
  double latitude = 0, longitude = 0;
};

// One entry of the waypoint list: the name as UTF-8.
struct WaypointEntry {
  std::string name;
  double latitude = 0, longitude = 0;

  bool operator==(const WaypointEntry&) const = default;
};

// The list the navigation display chooses from: entry 0 stands for the live
// position ("-< Current Position >-", at 0, 0), then every record of the
// table at tablePath in table order, names with trailing blanks trimmed. A
// missing or unreadable file gives entry 0 alone; reading stops at the first
// record that cannot be read.
std::vector<WaypointEntry> loadWaypointList(const std::string& tablePath);

// An open waypoint table. It keeps its own table storage context (errors are
// recorded, never shown: callers show their own messages) and closes the
// table when it ends. Fields the file lacks are skipped when reading and
// writing. Records are numbered from 1.
class WaypointTable {
 public:
  enum class Opened { kFailed, kExisting, kCreated };

  WaypointTable() = default;
  ~WaypointTable();
  WaypointTable(const WaypointTable&) = delete;
  WaypointTable& operator=(const WaypointTable&) = delete;

  // Opens the table at path, creating it with waypointFields() when the file
  // does not exist. A table already open here is closed first.
  [[nodiscard]] Opened open(const std::string& path);
  bool isOpen() const { return table_ != nullptr; }
  const std::string& path() const { return path_; }
  // Records in the table; 0 when none is open.
  int count() const;

  // Reads record n into out. False (out untouched) for n outside 1..count()
  // or a failed read.
  [[nodiscard]] bool read(int n, WaypointRecord& out);
  // Appends r as the last record and flushes the table. False, with the
  // table as it was, when a position does not fit its field (or is not a
  // number) or the record could not be written.
  [[nodiscard]] bool append(const WaypointRecord& r);
  // Replaces record n (1..count()) with r, keeping bytes of fields this
  // table does not know, and flushes. False as for append, or for n out of range.
  [[nodiscard]] bool overwrite(int n, const WaypointRecord& r);
  // Deletes record n and packs the table: the records after it move up one.
  // False for n out of range or a failed pack (the flag is then taken back
  // when it can be).
  [[nodiscard]] bool remove(int n);
  // Writes what is pending and closes the table. False when the last write
  // failed; the table is closed either way. True when none was open.
  [[nodiscard]] bool close();

 private:
  bool fits(const WaypointRecord& r);
  void put(const WaypointRecord& r);
  bool finishWrite(bool ok);

  tablestore::TableStore store_;
  tablestore::Table* table_ = nullptr;
  std::string path_;
};

}  // namespace gps
