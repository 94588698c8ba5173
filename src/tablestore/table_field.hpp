#pragma once
// A handle to one field of an open table. It stays valid while its table is
// open. Reads and writes go to the table's record buffer; nothing reaches the
// file until the buffer is written (goRecord, flush, closeTable, writeRecord,
// append).
#include <cstdint>
#include <string>
#include <string_view>

#include "tablestore/table_layout.hpp"

namespace tablestore {

class Table;

class TableField {
 public:
  TableField(const TableField&) = delete;
  TableField& operator=(const TableField&) = delete;
  TableField(TableField&&) = default;

  const std::string& name() const { return layout_.name; }
  char type() const { return layout_.type; }
  int length() const { return layout_.length; }
  int decimals() const { return layout_.decimals; }
  // Displacement of the field inside the record buffer (the first field is at 1).
  int offset() const { return layout_.offset; }
  Table& table() const { return *table_; }

  // Each assign marks the record buffer changed and returns 0 or an error code;
  // while the store holds an error it returns that error and does nothing.

  // Copies at most length() bytes and pads the rest with blanks, for any type.
  int assignText(std::string_view text);
  // N, F, C: the number formatted to the field (C with no decimals); kErrOverflow
  // with the field all '*' when it does not fit. D: the day number as CCYYMMDD
  // (0 or less: blanks; kErrOverflow outside the years 1-9999). Others:
  // kErrParameter.
  int assignNumber(double value);
  // N, F, C: with decimals as assignNumber, else the integer right-aligned;
  // kErrOverflow as above. D, L and others: kErrParameter.
  int assignInteger(std::int64_t value);
  // C, L: the first byte of the field becomes c. Others: kErrParameter.
  int assignChar(char c);

  // The field's raw bytes. The view is NUL-terminated and stays valid until the
  // next text() call on any field of the same table.
  std::string_view text();
  // N, F, C: the text as a decimal number (blank or '*' text gives 0 and no
  // error). D: the day number of the stored date (0 for none). Others: 0, and
  // kErrParameter is raised.
  double number();
  // N, F, C: the text as an integer. D, L and others: 0, and kErrParameter is
  // raised.
  std::int64_t integer();

 private:
  friend class Table;
  TableField(Table& table, FieldLayout layout) : table_(&table), layout_(std::move(layout)) {}
  char* bytes();
  bool numeric() const { return type() == 'N' || type() == 'F' || type() == 'C'; }
  int refuse();    // raises kErrParameter
  int overflow();  // raises kErrOverflow

  Table* table_;
  FieldLayout layout_;
};

}  // namespace tablestore
