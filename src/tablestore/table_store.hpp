#pragma once
// The table storage context: one per process, made by the program at start-up
// and handed to whoever opens tables. It owns every open Table, the default
// date picture and the sticky error code.
//
// The error rule: an operation that fails sets the code (negative) and, when
// error display is on and a host is set, shows the box "TBLSTORE ERROR". While
// the code is negative every acting operation returns it at once and does
// nothing; callers clear it (clearError) before each open, create and close.
//
// Table paths are 8-bit (ANSI code page) text.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tablestore/errors.hpp"
#include "tablestore/field_list.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_field.hpp"

namespace ui {
class Host;
}

namespace tablestore {

inline constexpr const char* kErrorCaption = "TBLSTORE ERROR";
inline constexpr const char* kDefaultDatePicture = "MM/DD/YY";

class TableStore {
 public:
  // host may be null: errors are then only recorded, never shown.
  explicit TableStore(ui::Host* host = nullptr);
  // Closes every table still open, without showing errors.
  ~TableStore();
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  // Prepares the context: error code 0, the default date picture. Open tables
  // stay open. Always 0.
  int init();
  // Closes every open table (clearing the error code before each, so that a
  // pending error cannot keep a table's last record from the file). 0, or the
  // first error met.
  int closeAll();

  // Opens an existing table file read/write; nullptr on failure (error set):
  // kErrOpenDuplicate when it is open already, an open error (-60 to -64),
  // kErrData for a file whose header or descriptors do not describe a table
  // that fits the file, kErrFieldType for a field type no tool writes.
  // A header whose record count disagrees with the file is mended: the table
  // holds the records that are whole on disk (see docs/tables.md), and the
  // count is written back on the next write.
  Table* openTable(std::string_view path);
  // Creates a table file with the fields (the list ends at its first unnamed
  // entry) and 0 records, and returns it open; nullptr on failure: kErrCreate
  // when a table of that name is open or the file exists already (an existing
  // file is never replaced), the codes of buildHeader for a bad field list,
  // kErrWrite when the header could not be written (the file is removed).
  Table* createTable(std::string_view path, std::span<const FieldSpec> fields);
  // Writes a changed record buffer and the header, closes the file and ends
  // the handle (even when writing failed). 0 or the first error.
  int closeTable(Table* table);

  int error() const { return error_.load(); }
  void clearError() { error_.store(0); }

  void setHost(ui::Host* host) { host_ = host; }
  void setErrorDisplay(bool on) { display_ = on; }
  bool errorDisplay() const { return display_; }
  // Called when the error box could not be shown (the host answered 0): the
  // program ends with "Memory Error" there. Unset, nothing more happens.
  void setFatalHandler(std::function<void()> handler) { fatal_ = std::move(handler); }

  const std::string& datePicture() const { return datePicture_; }
  void setDatePicture(std::string picture) { datePicture_ = std::move(picture); }

  std::size_t openCount() const;
  // The open table of that path (compared without regard to case), or nullptr.
  Table* findOpen(std::string_view path) const;

 private:
  friend class Table;
  friend class TableField;
  // Sets the error code and shows the box; returns code.
  int raise(int code, int where, std::string_view a = {}, std::string_view b = {},
            std::string_view c = {});
  int blocked() const {
    int e = error_.load();
    return e < 0 ? e : 0;
  }
  Table* findOpenLocked(std::string_view path) const;
  Table* adopt(std::unique_ptr<Table> table);

  ui::Host* host_ = nullptr;
  bool display_ = true;
  std::function<void()> fatal_;
  std::atomic<int> error_{0};
  std::string datePicture_ = kDefaultDatePicture;
  mutable std::mutex lock_;  // guards tables_
  std::vector<std::unique_ptr<Table>> tables_;
};

}  // namespace tablestore
