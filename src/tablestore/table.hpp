#pragma once
// An open table file: its header and fields, a record buffer of exactly one
// record (byte 0 the deletion flag), the current record and its changed flag.
// Tables are made and ended by their TableStore (openTable, createTable,
// closeTable); a Table* is a handle that stays valid until then.
//
// Every operation that acts returns 0 or a negative code (errors.hpp); it sets
// the store's error code and reports it, and while the store holds an error it
// returns that error at once and does nothing. Queries (recordCount, field
// lookups, the field reads) answer even then.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tablestore/errors.hpp"
#include "tablestore/field_list.hpp"
#include "tablestore/table_field.hpp"
#include "tablestore/table_file.hpp"
#include "tablestore/table_layout.hpp"

namespace tablestore {

class TableStore;

class Table {
 public:
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // The 8-bit path the table was opened or created with.
  const std::string& path() const { return path_; }

  // Records in the table, those marked deleted included.
  std::int64_t recordCount() const { return count_; }
  // The current record (1-based), or -1 when there is none.
  std::int64_t recordNumber() const { return current_; }
  // True when the buffer's deletion flag is '*'.
  bool deleted() const { return buffer_[0] == kDeleted; }

  // Writes a changed buffer back, then reads record n (1-based) and makes it
  // current. n outside 1..recordCount(): the buffer is blanked, no record is
  // current, kErrRead.
  int goRecord(std::int64_t n);
  // Reads record n (1..recordCount()) into out (recordWidth() bytes, byte 0
  // the deletion flag) without touching the record buffer, the current
  // record or its changed flag: scans of a level never write the line being
  // edited. For the current record out gets the buffer as it stands.
  // kErrRead for n outside 1..recordCount() (not raised) or a failed read.
  int peekRecord(std::int64_t n, std::string& out);
  // Writes a changed buffer back, then fills the buffer with blanks (a live,
  // empty record); no record is current until append.
  int appendStart();
  // Writes the buffer as a new last record and makes it current. The record is
  // in the file when this returns: a process that ends at any later moment
  // keeps it. The end marker and the header count follow at flush, pack or
  // closeTable (docs/tables.md). kErrWrite when it could not be written (no
  // part of it is left in the file).
  int append();
  // Appends count whole records (count × recordWidth() bytes, byte 0 of each
  // its deletion flag) in one write, for copying tables: the records are in
  // the file when this returns, and on kErrWrite none of them is. The last
  // becomes current. kErrParameter when records holds another number of
  // bytes; count 0 does nothing.
  int appendRecords(const std::string& records, std::int64_t count);
  // Writes the buffer to record n (1 <= n <= recordCount()) and makes it
  // current. kErrAppendPastEnd past the end, kErrParameter for n < 1.
  int writeRecord(std::int64_t n);
  // Marks the buffer's record deleted ('*') and the buffer changed.
  int deleteRecord();
  // Removes every record marked deleted, keeping the order of the others; no
  // record is current afterwards.
  int pack();
  // Inserts room before record n (1 <= n <= recordCount() + 1): a record is
  // added at the end and records n.. move one place towards it. Record n is
  // then current and holds a copy of the record after it (the caller clears
  // it). Records move through a block buffer of 32768 bytes, less while memory
  // cannot be had, never less than one record (kErrMemory).
  int openGap(std::int64_t n);
  // flag -1: only returns the changed flag; 0 or 1: sets it. Returns the
  // previous flag (or the store's error when setting is refused).
  int changed(int flag = -1);
  // Writes a changed buffer and the header (date, record count), then forces
  // the file to the storage device.
  int flush();

  // Direct access to the record buffer: recordWidth() bytes, byte 0 the
  // deletion flag. After writing into it, call changed(1).
  char* recordBuffer() { return reinterpret_cast<char*>(buffer_.data()); }
  int recordWidth() const { return layout_.recordLength; }

  int fieldCount() const { return static_cast<int>(fields_.size()); }
  // Case-insensitive match on the first 10 characters; nullptr when no field
  // has the name (a normal answer: no error is raised).
  TableField* fieldByName(std::string_view name);
  // j is 1-based; nullptr outside 1..fieldCount().
  TableField* fieldByNumber(int j);
  // The 1-based number of the named field, or kErrFieldName (not raised).
  int fieldNumber(std::string_view name) const;
  // Every field as a list for createTable.
  std::vector<FieldSpec> fieldInfo() const;

 private:
  friend class TableStore;
  friend class TableField;
  Table(TableStore& store, std::string path, TableFile file, const TableLayout& layout,
        std::int64_t count, bool headerStale, bool untidyTail);

  std::int64_t offsetOf(std::int64_t n) const {
    return layout_.headerLength + (n - 1) * static_cast<std::int64_t>(layout_.recordLength);
  }
  int fail(int code, Where where, int systemError = 0);
  int writeBufferAt(std::int64_t offset);
  int writeBack(Where where);
  int writeHeader(Where where);
  int writeEnd(Where where);
  int appendBuffer(Where where);
  int readRecord(std::int64_t n);
  int readInto(std::int64_t n, std::uint8_t* dest);
  void blankBuffer();
  void forgetReadAhead();
  void noteWritten(std::int64_t n, const std::uint8_t* record);
  int close();

  TableStore& store_;
  std::string path_;
  TableFile file_;
  TableLayout layout_;
  std::vector<TableField> fields_;
  std::int64_t count_ = 0;
  bool headerStale_ = false;          // the header on disk lacks today's date or the count
  bool untidyTail_ = false;           // bytes after the last record other than one 0x1A
  bool endPending_ = false;           // records appended since the 0x1A after the last was written
  std::vector<std::uint8_t> buffer_;  // exactly recordLength bytes
  std::int64_t current_ = -1;
  bool changed_ = false;
  std::string scratch_;  // the text() result

  // Read-ahead: records [aheadFirst_, aheadFirst_ + aheadCount_) as on disk,
  // filled when reading goes forwards or backwards one record at a time.
  std::vector<std::uint8_t> ahead_;
  std::int64_t aheadFirst_ = 0;
  std::int64_t aheadCount_ = 0;
  std::int64_t lastRead_ = -1;
};

}  // namespace tablestore
