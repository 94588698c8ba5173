#pragma once
// Bundle tables written directly for the exchange tests, and the folder's
// tables read back as text.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/fileops.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace exchange_test {

using Row = std::vector<std::string>;

// Creates folder/name with the fields and rows (each row one text per field).
inline void writeTable(tablestore::TableStore& store, const testing_support::TempDir& dir, const std::string& name,
                       const std::vector<tablestore::FieldSpec>& fields, const std::vector<Row>& rows) {
  store.clearError();
  tablestore::Table* t = store.createTable(dir.file(name), fields);
  ASSERT_NE(t, nullptr) << name;
  for (const Row& row : rows) {
    ASSERT_EQ(t->appendStart(), 0);
    for (std::size_t j = 0; j < row.size(); ++j) ASSERT_EQ(t->fieldByNumber(static_cast<int>(j) + 1)->assignText(row[j]), 0);
    ASSERT_EQ(t->append(), 0);
  }
  ASSERT_EQ(store.closeTable(t), 0);
}

// Every record of a table, its fields run together (deletion flag left out).
inline std::vector<std::string> records(tablestore::TableStore& store, const std::string& path) {
  std::vector<std::string> out;
  store.clearError();
  tablestore::Table* t = store.openTable(path);
  if (t == nullptr) return {"<cannot open " + path + ">"};
  std::string record;
  for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
    if (t->peekRecord(n, record) != 0) out.push_back("<unreadable>");
    else out.push_back(record.substr(1));
  }
  (void)store.closeTable(t);
  return out;
}

// The names in the folder, sorted.
inline std::vector<std::string> namesIn(const testing_support::TempDir& dir) {
  std::vector<platform::FindEntry> found;
  std::vector<std::string> out;
  (void)platform::findFiles(dir.file("*"), found);
  for (const auto& e : found) out.push_back(e.name);
  std::sort(out.begin(), out.end());
  return out;
}

// Every ".dbf"/".GPF" table of the folder with its records.
inline std::map<std::string, std::vector<std::string>> liveTables(tablestore::TableStore& store,
                                                                   const testing_support::TempDir& dir) {
  std::map<std::string, std::vector<std::string>> out;
  for (const std::string& name : namesIn(dir)) {
    const std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
    if (ext == ".dbf" || ext == ".GPF") out[name] = records(store, dir.file(name));
  }
  return out;
}

}  // namespace exchange_test
