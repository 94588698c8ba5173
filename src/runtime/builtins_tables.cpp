// The program's own tables: 128-138 and 161.
//
// Results: a built-in that acts (130 open, 131 close, 132 delete, 134 write,
// 138 append) gives -1 when it could not act; one that answers (133, 135-137,
// 161) gives 0 or an empty text. Each sets the status code to 0 when it
// succeeds and to the failure's code otherwise, so built-in 124 always tells
// of the last table built-in. Handle numbers outside 0-9 are status 9 ("RPF
// handle Error"), a free handle status 12 ("Data File Not Open").
#include <cctype>
#include <string>
#include <vector>

#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "runtime/builtin_table.hpp"
#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/table_builtins.hpp"
#include "runtime/table_cells.hpp"
#include "tablestore/table_store.hpp"

namespace runtime {

namespace {

using tablestore::Table;
using tablestore::TableField;

constexpr int kFieldNameMax = 10;

ProgramTables& tables(Call& c) { return *c.m.tables; }

// The table of the handle in argument i, or null with status 9 or 12.
Table* handleArg(Call& c, int i) {
  const std::int32_t h = c.integer(i);
  if (h < 0 || h >= kProgramTables) {
    c.setStatus(kErrHandle);
    return nullptr;
  }
  Table* t = tables(c).at(h);
  if (t == nullptr) c.setStatus(kErrDataNotOpen);
  return t;
}

// Field (1-based) of argument i, or null with status 17.
TableField* columnArg(Call& c, Table& t, int i) {
  TableField* f = t.fieldByNumber(c.integer(i));
  if (f == nullptr) c.setStatus(kErrColumnRange);
  return f;
}

// Record number of argument i when it lies in 1..recordCount(), else 0 with status 16.
std::int64_t recordArg(Call& c, Table& t, int i) {
  const std::int64_t n = toInt64(c.num(i));
  if (n < 1 || n > t.recordCount()) {
    c.setStatus(kErrLineRange);
    return 0;
  }
  return n;
}

// True when the engine holds the file open in the process's store.
bool openByEngine(Call& c, const std::string& path) {
  tablestore::TableStore* process = processTables(c.ctx);
  return process != nullptr && process->findOpen(path) != nullptr;
}

// Fills the buffer with a blank record (text blank, numbers 0) and appends
// it; 0 or the table store's error.
int appendBlank(Table& t) {
  if (int rc = t.appendStart()) return rc;
  for (int j = 1; j <= t.fieldCount(); ++j) {
    TableField* f = t.fieldByNumber(j);
    if (f->type() == 'N' || f->type() == 'F') {
      if (int rc = f->assignNumber(0)) return rc;
    }
  }
  return t.append();
}

// 128: 1 when the file exists as given, or else in the application folder.
void fileExistsBuiltin(Call& c) {
  c.setStatus(0);
  const std::string name = base::trim(c.text(0));
  bool found = tableFileExists(name);
  if (!found && !c.ctx.appFolder.empty() && !isRootedPath(name))
    found = tableFileExists(tablePath(name, c.ctx.appFolder));
  c.setNumber(found ? 1 : 0);
}

// 129: adds a field (name, type letter, length, decimals) for the next create.
void defineField(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  std::vector<FieldDefinition>& defs = c.m.fieldDefinitions;
  if (defs.size() >= static_cast<std::size_t>(kFieldDefinitions)) {
    c.setStatus(kErrIndexRange);
    return;
  }
  // An empty name would end the field list at create and lose every field
  // defined after it.
  std::string name = base::trim(c.text(0)).substr(0, kFieldNameMax);
  if (name.empty()) {
    c.setStatus(kErrBadColumnName);
    return;
  }
  const std::string type = base::trim(c.text(1));
  const char letter = type.empty() ? '\0' : static_cast<char>(std::toupper(
                                                static_cast<unsigned char>(type[0])));
  if (type.size() != 1 || (letter != 'N' && letter != 'C')) {
    c.setStatus(kErrBadFieldType);
    return;
  }
  FieldDefinition d;
  d.name = std::move(name);
  d.type = letter;
  d.length = c.integer(2);
  d.decimals = letter == 'N' ? c.integer(3) : 0;
  defs.push_back(std::move(d));
  c.setNumber(static_cast<double>(defs.size()));
}

// Creates the file with the defined fields and one blank record; clears the
// definitions whatever the outcome. Null when it could not be made whole.
Table* createWithDefinitions(Call& c, const std::string& path) {
  std::vector<tablestore::FieldSpec> fields;
  for (const FieldDefinition& d : c.m.fieldDefinitions)
    fields.push_back(tablestore::FieldSpec{d.name, d.type, d.length, d.decimals});
  c.m.fieldDefinitions.clear();
  tablestore::TableStore& store = tables(c).store;
  store.clearError();
  Table* t = store.createTable(path, fields);
  if (t == nullptr) return nullptr;
  if (appendBlank(*t) != 0 || t->flush() != 0) {
    store.clearError();
    (void)store.closeTable(t);
    store.clearError();
    return nullptr;
  }
  return t;
}

// 130: opens the file, or creates it; the handle 0-9 or -1.
void openTableBuiltin(Call& c) {
  c.setStatus(0);
  c.setNumber(-1);
  ProgramTables& pt = tables(c);
  const std::string name = base::trim(c.text(0));
  const int h = pt.freeHandle();
  if (h < 0) {
    c.setStatus(kErrTooManyTables);
    return;
  }
  const std::string path = tablePath(name, c.ctx.appFolder);
  if (name.empty() || pt.handleOf(path) >= 0 || openByEngine(c, path)) {
    c.setStatus(kErrTableOpen);
    return;
  }
  Table* t = nullptr;
  if (tableFileExists(path)) {
    pt.store.clearError();
    t = pt.store.openTable(path);
  } else if (!c.m.fieldDefinitions.empty()) {
    t = createWithDefinitions(c, path);
  }
  pt.store.clearError();
  if (t == nullptr) {
    c.setStatus(kErrTableOpen);
    return;
  }
  pt.handles[static_cast<std::size_t>(h)] = ProgramTable{t, path};
  c.setNumber(h);
}

// 131: closes handle x; 0, or -1.
void closeTableBuiltin(Call& c) {
  c.setStatus(0);
  c.setNumber(-1);
  const std::int32_t h = c.integer(0);
  if (tables(c).at(h) == nullptr) {
    c.setStatus(kErrHandle);
    return;
  }
  if (tables(c).close(h) != 0) {
    c.setStatus(kErrTableOpen);
    return;
  }
  c.setNumber(0);
}

// 132: deletes file x (closing its handle first); 0 when deleted, else -1.
void deleteTableBuiltin(Call& c) {
  c.setStatus(0);
  c.setNumber(-1);
  const std::string name = base::trim(c.text(0));
  if (name.empty() || name.find_first_of("*?") != std::string::npos) return;
  const std::string path = tablePath(name, c.ctx.appFolder);
  if (openByEngine(c, path)) return;  // the engine's table stays where it is
  const int h = tables(c).handleOf(path);
  if (h >= 0) (void)tables(c).close(h);
  if (tableFileExists(path) && platform::deleteFile(path) == 0) c.setNumber(0);
}

// The program's value in argument i as a key for field f.
SearchKey keyArg(Call& c, const TableField& f, int i) {
  const StackEntry& e = c.arg(i);
  return e.isString() ? textKey(f, c.text(i)) : numberKey(f, c.num(i));
}

// 133: the record of handle y whose column z equals x (halving when the
// fourth argument is non-zero); 0 when none.
void findRecord(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  Table* t = handleArg(c, 1);
  if (t == nullptr) return;
  TableField* f = columnArg(c, *t, 2);
  if (f == nullptr) return;
  const SearchKey key = keyArg(c, *f, 0);
  const int column = c.integer(2);
  const std::int64_t n = c.num(3) != 0 ? findSorted(*t, column, key) : findLinear(*t, column, key);
  c.setNumber(static_cast<double>(n));
}

// Stores argument 0 into field f of the record buffer: numbers with the
// table's number formatting, texts as they are.
int assignArg(Call& c, TableField& f) {
  const bool isText = c.arg(0).isString();
  switch (f.type()) {
    case 'N':
    case 'F': return f.assignNumber(c.num(0));
    case 'L': {
      std::string s = c.text(0);
      return f.assignChar(isText ? (s.empty() ? ' ' : s[0]) : (c.num(0) != 0 ? 'T' : 'F'));
    }
    default: return isText ? f.assignText(c.text(0)) : f.assignNumber(c.num(0));
  }
}

// 134: writes x into (handle y, column z, record w) and writes the record.
void putRecord(Call& c) {
  c.setStatus(0);
  c.setNumber(-1);
  Table* t = handleArg(c, 1);
  if (t == nullptr) return;
  TableField* f = columnArg(c, *t, 2);
  if (f == nullptr) return;
  const std::int64_t n = recordArg(c, *t, 3);
  if (n == 0) return;
  tablestore::TableStore& store = tables(c).store;
  store.clearError();
  if (t->goRecord(n) != 0) {
    store.clearError();
    c.setStatus(kErrTableOpen);
    return;
  }
  // A number too wide for the field is stored as asterisks, as the table
  // does it; the program hears of it as status 27, as with the dataset cells.
  const int assigned = assignArg(c, *f);
  store.clearError();
  const int written = t->writeRecord(n);
  store.clearError();
  if (written != 0) {
    c.setStatus(kErrTableOpen);
    return;
  }
  if (assigned != 0) {
    c.setStatus(kErrCantProcess);
    return;
  }
  c.setNumber(0);
}

// 135: the value of (handle x, column y, record z): the text when a text is
// asked for, and the number in the result register either way.
void getRecord(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  if (c.wantsText()) c.setText("");
  Table* t = handleArg(c, 0);
  if (t == nullptr) return;
  TableField* f = columnArg(c, *t, 1);
  if (f == nullptr) return;
  const std::int64_t n = recordArg(c, *t, 2);
  if (n == 0) return;
  CellValue v;
  const bool read = readCell(*t, c.integer(1), n, v);
  tables(c).store.clearError();
  if (!read) {
    c.setStatus(kErrTableOpen);
    return;
  }
  c.setNumber(v.number);
  if (c.wantsText()) c.setText(v.text);
}

// 136: number of fields of handle x's table.
void fieldCountBuiltin(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  if (Table* t = handleArg(c, 0)) c.setNumber(t->fieldCount());
}

// 137: number of records (those marked deleted included).
void recordCountBuiltin(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  if (Table* t = handleArg(c, 0)) c.setNumber(static_cast<double>(t->recordCount()));
}

// 138: appends a blank record, flushes and makes it current; its number or -1.
void appendRecord(Call& c) {
  c.setStatus(0);
  c.setNumber(-1);
  Table* t = handleArg(c, 0);
  if (t == nullptr) return;
  tablestore::TableStore& store = tables(c).store;
  store.clearError();
  const bool ok = appendBlank(*t) == 0 && t->flush() == 0;
  store.clearError();
  if (!ok) {
    c.setStatus(kErrTableOpen);
    return;
  }
  c.setNumber(static_cast<double>(t->recordNumber()));
}

// 161: the field number (1-based) of name y in handle x's table; 0 when none.
void fieldNumberBuiltin(Call& c) {
  c.setStatus(0);
  c.setNumber(0);
  Table* t = handleArg(c, 0);
  if (t == nullptr) return;
  const std::string name = base::trim(c.text(1));
  const int j = name.empty() ? tablestore::kErrFieldName : t->fieldNumber(name);
  if (j < 1) {
    c.setStatus(kErrBadColumnName);
    return;
  }
  c.setNumber(j);
}

}  // namespace

tablestore::TableStore* processTables(const RunContext& ctx) {
  return ctx.app != nullptr ? &ctx.app->tables : nullptr;
}

void addTableBuiltins(BuiltinTable& t) {
  t[128] = fileExistsBuiltin;
  t[129] = defineField;
  t[130] = openTableBuiltin;
  t[131] = closeTableBuiltin;
  t[132] = deleteTableBuiltin;
  t[133] = findRecord;
  t[134] = putRecord;
  t[135] = getRecord;
  t[136] = fieldCountBuiltin;
  t[137] = recordCountBuiltin;
  t[138] = appendRecord;
  t[161] = fieldNumberBuiltin;
  addLookupTableBuiltins(t);
}

}  // namespace runtime
