// The program's own tables: field definitions, open and create, the handles,
// reads and writes with their range checks, the searches, append, delete, and
// what the files hold for another reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"
#include "support/dbfread.hpp"
#include "support/scripted_host.hpp"
#include "table_calls.hpp"
#include "tablestore/table_store.hpp"

namespace runtime_test {
namespace {

using namespace runtime;
using testing_support::readBytes;
using testing_support::writeBytes;

// A program's trees table, handle 0: NAME C 10, DBH N 6.1.
struct TreesTable : TableCalls {
  TreesTable() {
    EXPECT_EQ(define("Name", "C", 10, 0), 1);
    EXPECT_EQ(define("dbh", "N", 6, 1), 2);
    EXPECT_EQ(open("trees.dbf"), 0);
  }
  void add(const std::string& name, double dbh) {
    double n = call(138, {num(0)});
    ASSERT_EQ(put(0, 1, n, str(name)), 0);
    ASSERT_EQ(put(0, 2, n, num(dbh)), 0);
  }
  double find(StackEntry x, int column, bool halving) {
    return call(133, {x, num(0), num(column), num(halving ? 1 : 0)});
  }
};

TEST(ProgramTableFields, DefinitionsAreCheckedAndNumbered) {
  TableCalls t;
  EXPECT_EQ(t.define("KINDS_CODE_LONG", "C", 4, 0), 1);
  EXPECT_EQ(t.m.fieldDefinitions.back().name, "KINDS_CODE");
  for (const char* type : {"X", "", "CN"}) {
    EXPECT_EQ(t.define("Bad", type, 4, 0), 0);
    EXPECT_EQ(t.status(), kErrBadFieldType) << type;
  }
  // An unnamed field would cut the list short at create.
  EXPECT_EQ(t.define("  ", "C", 4, 0), 0);
  EXPECT_EQ(t.status(), kErrBadColumnName);
  for (int i = 2; i <= kFieldDefinitions; ++i) ASSERT_EQ(t.define("F", "n", 3, 0), i);
  EXPECT_EQ(t.status(), 0);
  EXPECT_EQ(t.define("F101", "N", 3, 0), 0);
  EXPECT_EQ(t.status(), kErrIndexRange);
  EXPECT_EQ(t.m.fieldDefinitions.size(), 100u);
}

TEST(ProgramTableOpen, CreateThenReopenAndReadBack) {
  TreesTable t;
  EXPECT_TRUE(t.m.fieldDefinitions.empty());
  EXPECT_EQ(t.call(136, {t.num(0)}), 2);
  EXPECT_EQ(t.call(137, {t.num(0)}), 1);  // the blank record, already on disk
  EXPECT_EQ(readBytes(t.dir.file("trees.dbf")).size(), 32u + 64 + 1 + 17 + 1);
  EXPECT_EQ(t.getText(0, 2, 1), "0.0");
  ASSERT_EQ(t.put(0, 1, 1, t.str("Oak")), 0);
  ASSERT_EQ(t.put(0, 2, 1, t.num(12.34)), 0);
  ASSERT_EQ(t.call(131, {t.num(0)}), 0);
  EXPECT_EQ(t.call(136, {t.num(0)}), 0);
  EXPECT_EQ(t.status(), kErrDataNotOpen);

  ASSERT_EQ(t.open("trees.dbf"), 0);
  EXPECT_EQ(t.getText(0, 1, 1), "Oak");
  EXPECT_EQ(t.getText(0, 2, 1), "12.3");
  EXPECT_DOUBLE_EQ(t.m.result, 12.3);  // the number comes with the text
  ASSERT_EQ(t.put(0, 1, 1, t.num(42)), 0);
  EXPECT_EQ(t.get(0, 1, 1), 42);
}

TEST(ProgramTableOpen, FailedOpensTakeNoHandle) {
  TableCalls t;
  EXPECT_EQ(t.open("none.dbf"), -1);  // missing, and no fields defined
  EXPECT_EQ(t.status(), kErrTableOpen);
  writeBytes(t.dir.file("junk.dbf"), "not a table at all, not at all");
  EXPECT_EQ(t.open("junk.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  ASSERT_EQ(t.define("X", "N", 0, 0), 1);  // a length the table refuses
  EXPECT_EQ(t.open("new.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  EXPECT_TRUE(t.m.fieldDefinitions.empty());
  EXPECT_EQ(t.m.tables->freeHandle(), 0);
  // The same file twice is refused.
  ASSERT_EQ(t.define("X", "N", 3, 0), 1);
  ASSERT_EQ(t.open("new.dbf"), 0);
  EXPECT_EQ(t.open("NEW.DBF"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
}

TEST(ProgramTableCells, EveryIndexIsChecked) {
  TreesTable t;
  struct Case {
    double handle, column, record;
    int status;
  } cases[] = {
      {0, 1, 0, kErrLineRange},   {0, 1, 2, kErrLineRange},   {0, 1, -5, kErrLineRange},
      {0, 0, 1, kErrColumnRange}, {0, 3, 1, kErrColumnRange}, {1, 1, 1, kErrDataNotOpen},
      {10, 1, 1, kErrHandle},     {-1, 1, 1, kErrHandle},     {1e30, 1, 1, kErrHandle},
  };
  for (const Case& c : cases) {
    std::string at = std::to_string(c.handle) + "/" + std::to_string(c.column) + "/" + std::to_string(c.record);
    EXPECT_EQ(t.getText(c.handle, static_cast<int>(c.column), c.record), "") << at;
    EXPECT_EQ(t.status(), c.status) << at;
    EXPECT_EQ(t.put(c.handle, static_cast<int>(c.column), c.record, t.num(1)), -1) << at;
    EXPECT_EQ(t.status(), c.status) << at;
  }
  for (double h : {10.0, -1.0, 1.0}) {
    EXPECT_EQ(t.call(131, {t.num(h)}), -1) << h;
    EXPECT_EQ(t.status(), kErrHandle) << h;
  }
  EXPECT_EQ(t.call(138, {t.num(12)}), -1);
  EXPECT_EQ(t.status(), kErrHandle);
  EXPECT_EQ(t.get(0, 2, 1), 0);
  EXPECT_EQ(t.status(), 0);  // a good call clears the status
}

TEST(ProgramTableCells, ANumberTooWideIsStoredAsAsterisksWithAStatus) {
  TreesTable t;
  EXPECT_EQ(t.put(0, 2, 1, t.num(123456)), -1);
  EXPECT_EQ(t.status(), kErrCantProcess);
  EXPECT_EQ(t.getText(0, 2, 1), "******");
  EXPECT_EQ(t.put(0, 2, 1, t.num(-1.25)), 0);
  EXPECT_EQ(t.getText(0, 2, 1), "-1.3");
}

TEST(ProgramTableCells, AppendIsFlushedAndFieldsAreFoundByName) {
  TreesTable t;
  ASSERT_EQ(t.put(0, 2, 1, t.num(7)), 0);
  EXPECT_EQ(t.call(138, {t.num(0)}), 2);
  EXPECT_EQ(t.getText(0, 2, 2), "0.0");
  // A copy of the file taken while the table is open holds both records.
  writeBytes(t.dir.file("copy.dbf"), readBytes(t.dir.file("trees.dbf")));
  tablestore::TableStore other;
  tablestore::Table* c = other.openTable(t.dir.file("copy.dbf"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->recordCount(), 2);
  ASSERT_EQ(c->goRecord(1), 0);
  EXPECT_EQ(c->fieldByNumber(2)->number(), 7);

  EXPECT_EQ(t.call(161, {t.num(0), t.str("DBH  ")}), 2);
  EXPECT_EQ(t.call(161, {t.num(0), t.str("height")}), 0);
  EXPECT_EQ(t.status(), kErrBadColumnName);
}

TEST(ProgramTableFind, LinearAndHalvingSearches) {
  TreesTable t;  // dbh: 0 (the blank record), 5, 3, 8, 3
  t.add("Oak", 5);
  t.add("Ash", 3);
  t.add("Elm", 8);
  t.add("Ash", 3);
  EXPECT_EQ(t.find(t.num(3), 2, false), 3);
  EXPECT_EQ(t.find(t.str("Elm"), 1, false), 4);
  EXPECT_EQ(t.find(t.num(4), 2, false), 0);
  EXPECT_EQ(t.find(t.num(3.04), 2, false), 3);  // converted with the column's decimals
  EXPECT_EQ(t.find(t.str("8"), 2, false), 4);
  // The flag asks for halving, which the unsorted column defeats.
  EXPECT_EQ(t.find(t.num(5), 2, true), 0);
  // A value too wide for the column does not match a field of asterisks.
  ASSERT_EQ(t.put(0, 2, 1, t.num(1e9)), -1);
  EXPECT_EQ(t.find(t.num(2e9), 2, false), 0);
  EXPECT_EQ(t.find(t.num(3), 3, false), 0);
  EXPECT_EQ(t.status(), kErrColumnRange);
}

TEST(ProgramTableFind, HalvingFindsTheFirstOfEqualRecords) {
  TreesTable t;  // dbh: 0 in the blank record, then ascending; names blank, then b-h
  const double dbh[] = {-2, 0, 2, 2, 2, 4, 11};
  ASSERT_EQ(t.put(0, 2, 1, t.num(-7)), 0);
  for (int i = 0; i < 7; ++i) t.add(std::string(1, static_cast<char>('b' + i)), dbh[i]);
  const std::pair<double, double> cases[] = {{2, 4}, {-7, 1}, {11, 8}, {-2, 2}, {3, 0}, {12, 0}, {-8, 0}};
  for (auto [x, record] : cases) EXPECT_EQ(t.find(t.num(x), 2, true), record) << x;
  EXPECT_EQ(t.find(t.str("e"), 1, true), 5);
  EXPECT_EQ(t.find(t.str("ee"), 1, true), 0);
}

TEST(ProgramTableFiles, DeleteClosesFirstAndExistsLooksInTheApplicationFolder) {
  TreesTable t;
  EXPECT_EQ(t.call(128, {t.str("trees.dbf")}), 1);
  EXPECT_EQ(t.call(128, {t.str(t.dir.file("trees.dbf"))}), 1);
  EXPECT_EQ(t.call(132, {t.str("trees.dbf")}), 0);
  EXPECT_EQ(t.call(128, {t.str("trees.dbf")}), 0);
  EXPECT_EQ(t.call(136, {t.num(0)}), 0);
  EXPECT_EQ(t.status(), kErrDataNotOpen);
  EXPECT_EQ(t.call(132, {t.str("trees.dbf")}), -1);
  writeBytes(t.dir.file("x.dbf"), "x");
  EXPECT_EQ(t.call(128, {t.str("*.dbf")}), 0);  // a name, never a pattern
  EXPECT_EQ(t.call(132, {t.str("*.dbf")}), -1);
  EXPECT_EQ(t.call(128, {t.str(t.dir.path())}), 0);  // a folder is no file
}

TEST(ProgramTableFiles, AnotherReaderReadsTheTableAProgramWrote) {
  std::string python = testing_support::pythonWithDbfread();
  if (python.empty()) GTEST_SKIP() << "python3 with dbfread is not installed";
  TreesTable t;
  t.add("Oak", 12.5);
  t.add("Ash", -3);
  closeProgramTables(*t.m.tables);
  writeBytes(t.dir.file("read.py"),
             "import sys, dbfread\nt = dbfread.DBF(sys.argv[1])\n"
             "print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in t.fields))\n"
             "for r in t: print('%r|%r' % (r['NAME'], r['DBH']))\n");
  std::string out = t.dir.file("out.txt");
  std::string cmd = python + " '" + t.dir.file("read.py") + "' '" + t.dir.file("trees.dbf") + "' >'" + out + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << readBytes(out);
  EXPECT_EQ(readBytes(out), "NAME:C:10:0 DBH:N:6:1\n''|0.0\n'Oak'|12.5\n'Ash'|-3.0\n");
}

TEST(ProgramTableFiles, ATableTheEngineHoldsIsNeitherOpenedNorDeleted) {
  TableCalls t;
  testing_support::ScriptedHost host;
  config::ProcessValues values;
  tablestore::TableStore store{&host};
  apps::AppDefinition app;
  apps::AppContext appContext{host, app, values, store};
  t.ctx.app = &appContext;
  makeTable(t.dir.file("level1.dbf"), {{"PLOT", 'N', 4, 0}}, {{"7"}});
  tablestore::Table* level = store.openTable(t.dir.file("level1.dbf"));
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(t.open("level1.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  EXPECT_EQ(t.call(132, {t.str("level1.dbf")}), -1);
  EXPECT_EQ(store.closeTable(level), 0);
  EXPECT_EQ(t.open("level1.dbf"), 0);
}

}  // namespace
}  // namespace runtime_test
