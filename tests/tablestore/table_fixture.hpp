#pragma once
// Shared pieces of the table storage tests: a store with a scripted host that
// fails the test on any box it does not expect, and a writer of raw table
// files built byte by byte (independent of the code under test).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace tablestore_test {

struct RawField {
  std::string name;  // written as given (up to 11 bytes), NUL-padded
  char type = 'C';
  int length = 1;
  int decimals = 0;
  char pad = '\0';  // the byte after the name
};

struct RawTable {
  std::vector<RawField> fields;
  std::vector<std::string> records;  // whole records: flag + fields
  std::int64_t count = -1;           // header count; -1: records.size()
  std::uint8_t version = 0x03;
  int headerLength = -1;   // -1: 32 + 32 * fields + 1
  int recordLength = -1;   // -1: 1 + sum of lengths
  bool terminator = true;  // 0x0D after the descriptors
  bool endMarker = true;   // 0x1A after the records
  std::string bytes() const;
};

// The 98-byte file of the create example: F_TYPE C 5, LATITUDE N 14.9.
std::vector<tablestore::FieldSpec> gpsFields();

class TableTest : public ::testing::Test {
 protected:
  TableTest() : store(&host) {}
  std::string path(const std::string& name) const { return dir.file(name); }
  tablestore::Table* create(const std::string& name,
                            const std::vector<tablestore::FieldSpec>& fields);
  tablestore::Table* open(const std::string& name);
  // Closes and reopens a table (error cleared before each, as callers do).
  tablestore::Table* reopen(tablestore::Table* table);
  // Appends one record whose fields are given as text, in field order.
  void appendTexts(tablestore::Table* table, const std::vector<std::string>& values);
  // Every record's raw bytes, read back with goRecord.
  std::vector<std::string> records(tablestore::Table* table);

  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  tablestore::TableStore store;
};

}  // namespace tablestore_test
