// The lookup tables of the application folder: 79 and 80.
//
// A lookup table is only read. It is opened for the call and closed again
// before the call returns, unless it is open already: as a program table of
// this run, or in the process's store (the engine's tables). Those are read
// where they are, record by record, without moving their current record, so
// a line being edited is never written behind the engine's back.
//
// Both give either kind: the text when the instruction asks for one, and the
// number in the result register either way; 0 or an empty text on failure.
#include <string>

#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/table_builtins.hpp"
#include "runtime/table_cells.hpp"
#include "tablestore/table_store.hpp"

namespace runtime {

namespace {

using tablestore::Table;
using tablestore::TableStore;

// One lookup table for the length of a call.
class LookupTable {
 public:
  explicit LookupTable(Call& c) : c_(c) {}
  ~LookupTable() {
    if (owned_) {
      own().clearError();
      (void)own().closeTable(table_);
      own().clearError();
    }
    if (borrowedFrom_ != nullptr && borrowedBefore_ == 0) borrowedFrom_->clearError();
  }
  LookupTable(const LookupTable&) = delete;
  LookupTable& operator=(const LookupTable&) = delete;

  // Finds or opens the table named by argument 0; false with status 18 (no
  // such file) or 19 (it would not open).
  bool open() {
    const std::string path = tablePath(c_.text(0), c_.ctx.appFolder);
    ProgramTables& pt = *c_.m.tables;
    if (int h = pt.handleOf(path); h >= 0) {
      table_ = pt.at(h);
      return true;
    }
    if (TableStore* process = processTables(c_.ctx)) {
      if (Table* t = process->findOpen(path)) {
        // Reading may raise an error in the engine's store; it is cleared
        // again when the engine had none.
        borrowedFrom_ = process;
        borrowedBefore_ = process->error();
        table_ = t;
        return true;
      }
    }
    if (!tableFileExists(path)) {
      c_.setStatus(kErrNoTable);
      return false;
    }
    own().clearError();
    table_ = own().openTable(path);
    own().clearError();
    if (table_ == nullptr) {
      c_.setStatus(kErrTableOpen);
      return false;
    }
    owned_ = true;
    return true;
  }

  Table& table() { return *table_; }

 private:
  TableStore& own() { return c_.m.tables->store; }

  Call& c_;
  Table* table_ = nullptr;
  bool owned_ = false;
  TableStore* borrowedFrom_ = nullptr;
  int borrowedBefore_ = 0;
};

void clearResult(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  if (c.wantsText()) c.setText("");
}

// Gives the cell (column, record) of the table as the result; false with
// status 17, 16 or 19.
bool giveCell(Call& c, Table& t, int column, std::int64_t record) {
  if (t.fieldByNumber(column) == nullptr) {
    c.setStatus(kErrColumnRange);
    return false;
  }
  if (record < 1 || record > t.recordCount()) {
    c.setStatus(kErrLineRange);
    return false;
  }
  CellValue v;
  if (!readCell(t, column, record, v)) {
    c.setStatus(kErrTableOpen);
    return false;
  }
  c.setNumber(v.number);
  if (c.wantsText()) c.setText(v.text);
  return true;
}

// 79: the value at (column y, record z) of table file x.
void tableValue(Call& c) {
  clearResult(c);
  LookupTable lookup(c);
  if (!lookup.open()) return;
  (void)giveCell(c, lookup.table(), c.integer(1), toInt64(c.num(2)));
}

// 80: the arguments are the table file x, the key y and the column z (the
// order of the table of built-ins). The key is converted to column 1's width
// and decimals and found by halving (column 1 sorted ascending); the result
// is column z of the first record holding it.
void tableLookup(Call& c) {
  clearResult(c);
  LookupTable lookup(c);
  if (!lookup.open()) return;
  Table& t = lookup.table();
  const int column = c.integer(2);
  if (t.fieldByNumber(column) == nullptr) {
    c.setStatus(kErrColumnRange);
    return;
  }
  const tablestore::TableField& keyField = *t.fieldByNumber(1);
  const SearchKey key =
      c.arg(1).isString() ? textKey(keyField, c.text(1)) : numberKey(keyField, c.num(1));
  const std::int64_t n = findSorted(t, 1, key);
  if (n == 0) {
    c.setStatus(kErrItemNotFound);
    return;
  }
  (void)giveCell(c, t, column, n);
}

}  // namespace

void addLookupTableBuiltins(BuiltinTable& t) {
  t[79] = tableValue;
  t[80] = tableLookup;
}

}  // namespace runtime
