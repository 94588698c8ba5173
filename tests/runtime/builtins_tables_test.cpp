// The program's own tables: field definitions, open and create, the ten
// handles, reads and writes with their range checks, the searches, append,
// delete, and what the files hold for another reader.
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

// A program's trees table: NAME C 10, DBH N 6.1, made by define + open.
struct TreesTable : TableCalls {
  double handle = -1;
  TreesTable() {
    EXPECT_EQ(define("Name", "C", 10, 0), 1);
    EXPECT_EQ(define("dbh", "N", 6, 1), 2);
    handle = open("trees.dbf");
  }
  // Appends records with the values (name, dbh).
  void add(const std::string& name, double dbh) {
    double n = call(138, {num(handle)});
    ASSERT_GT(n, 0);
    ASSERT_EQ(put(handle, 1, n, str(name)), 0);
    ASSERT_EQ(put(handle, 2, n, num(dbh)), 0);
  }
};

TEST(ProgramTableFields, DefinitionsAreCheckedAndNumbered) {
  TableCalls t;
  EXPECT_EQ(t.define("KINDS_CODE_LONG", "C", 4, 0), 1);
  EXPECT_EQ(t.m.fieldDefinitions.back().name, "KINDS_CODE");
  EXPECT_EQ(t.define("Dbh", "n", 6, 1), 2);
  EXPECT_EQ(t.m.fieldDefinitions.back().type, 'N');

  EXPECT_EQ(t.define("Bad", "X", 4, 0), 0);
  EXPECT_EQ(t.status(), kErrBadFieldType);
  EXPECT_EQ(t.define("Bad", "", 4, 0), 0);
  EXPECT_EQ(t.status(), kErrBadFieldType);
  EXPECT_EQ(t.define("Bad", "CN", 4, 0), 0);
  EXPECT_EQ(t.status(), kErrBadFieldType);
  // An unnamed field would cut the list short at create.
  EXPECT_EQ(t.define("   ", "C", 4, 0), 0);
  EXPECT_EQ(t.status(), kErrBadColumnName);
  EXPECT_EQ(t.m.fieldDefinitions.size(), 2u);

  EXPECT_EQ(t.define("OK", "C", 1, 0), 3);
  EXPECT_EQ(t.status(), 0);
}

TEST(ProgramTableFields, TheHundredAndFirstIsRefused) {
  TableCalls t;
  for (int i = 1; i <= kFieldDefinitions; ++i)
    ASSERT_EQ(t.define("F" + std::to_string(i), "N", 3, 0), i);
  EXPECT_EQ(t.define("F101", "N", 3, 0), 0);
  EXPECT_EQ(t.status(), kErrIndexRange);
  EXPECT_EQ(t.m.fieldDefinitions.size(), 100u);
}

TEST(ProgramTableOpen, CreateGivesOneBlankRecordAndClearsTheDefinitions) {
  TreesTable t;
  ASSERT_EQ(t.handle, 0);
  EXPECT_TRUE(t.m.fieldDefinitions.empty());
  EXPECT_EQ(t.call(136, {t.num(0)}), 2);
  EXPECT_EQ(t.call(137, {t.num(0)}), 1);
  EXPECT_EQ(t.getText(0, 1, 1), "");
  EXPECT_EQ(t.getText(0, 2, 1), "0.0");
  // The file is in the application folder, the record already on disk.
  EXPECT_EQ(readBytes(t.dir.file("trees.dbf")).size(), 32u + 64 + 1 + 17 + 1);
}

TEST(ProgramTableOpen, WrittenValuesReadBackAfterReopen) {
  TreesTable t;
  ASSERT_EQ(t.put(0, 1, 1, t.str("Oak")), 0);
  ASSERT_EQ(t.put(0, 2, 1, t.num(12.34)), 0);
  ASSERT_EQ(t.call(131, {t.num(0)}), 0);
  EXPECT_EQ(t.call(136, {t.num(0)}), 0);
  EXPECT_EQ(t.status(), kErrDataNotOpen);

  // Reopening finds the file; the definitions are not needed any more.
  double h = t.open("trees.dbf");
  ASSERT_EQ(h, 0);
  EXPECT_EQ(t.getText(h, 1, 1), "Oak");
  EXPECT_DOUBLE_EQ(t.get(h, 2, 1), 12.3);
  EXPECT_EQ(t.getText(h, 2, 1), "12.3");
  // A number asked for as text also leaves the number.
  EXPECT_DOUBLE_EQ(t.m.result, 12.3);
  // A text read as a number is its value.
  ASSERT_EQ(t.put(h, 1, 1, t.num(42)), 0);
  EXPECT_EQ(t.get(h, 1, 1), 42);
}

TEST(ProgramTableOpen, MissingFileWithoutFieldsOrUnreadableFileFails) {
  TableCalls t;
  EXPECT_EQ(t.open("none.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  writeBytes(t.dir.file("junk.dbf"), "not a table at all, not at all");
  EXPECT_EQ(t.open("junk.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  // A bad length is refused at create; the definitions are gone afterwards.
  ASSERT_EQ(t.define("X", "N", 0, 0), 1);
  EXPECT_EQ(t.open("new.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  EXPECT_TRUE(t.m.fieldDefinitions.empty());
  // Nothing took a handle.
  EXPECT_EQ(t.m.tables->freeHandle(), 0);
}

TEST(ProgramTableOpen, TheEleventhGetsNoHandle) {
  TableCalls t;
  for (int i = 0; i < kProgramTables; ++i) {
    ASSERT_EQ(t.define("V", "N", 3, 0), 1);
    ASSERT_EQ(t.open("t" + std::to_string(i) + ".dbf"), i);
  }
  ASSERT_EQ(t.define("V", "N", 3, 0), 1);
  EXPECT_EQ(t.open("t10.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTooManyTables);
  // A closed handle is the next one given.
  ASSERT_EQ(t.call(131, {t.num(3)}), 0);
  EXPECT_EQ(t.open("t10.dbf"), 3);
  // The same file twice is refused.
  EXPECT_EQ(t.call(131, {t.num(4)}), 0);
  EXPECT_EQ(t.open("T10.DBF"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
}

TEST(ProgramTableOpen, CloseChecksTheHandle) {
  TreesTable t;
  for (double h : {10.0, -1.0, 1.0, 1e30}) {
    EXPECT_EQ(t.call(131, {t.num(h)}), -1) << h;
    EXPECT_EQ(t.status(), kErrHandle) << h;
  }
  EXPECT_EQ(t.call(131, {t.num(0)}), 0);
  EXPECT_EQ(t.status(), 0);
  EXPECT_EQ(t.call(131, {t.num(0)}), -1);
}

TEST(ProgramTableCells, EveryIndexIsChecked) {
  TreesTable t;
  struct Case {
    double handle, column, record;
    int status;
  } cases[] = {
      {0, 1, 0, kErrLineRange},  {0, 1, 2, kErrLineRange},   {0, 1, -5, kErrLineRange},
      {0, 0, 1, kErrColumnRange}, {0, 3, 1, kErrColumnRange}, {1, 1, 1, kErrDataNotOpen},
      {10, 1, 1, kErrHandle},     {-1, 1, 1, kErrHandle},
  };
  for (const Case& c : cases) {
    std::string where = std::to_string(c.handle) + "/" + std::to_string(c.column) + "/" +
                        std::to_string(c.record);
    EXPECT_EQ(t.getText(c.handle, static_cast<int>(c.column), c.record), "") << where;
    EXPECT_EQ(t.status(), c.status) << where;
    EXPECT_EQ(t.put(c.handle, static_cast<int>(c.column), c.record, t.num(1)), -1) << where;
    EXPECT_EQ(t.status(), c.status) << where;
  }
  EXPECT_EQ(t.call(137, {t.num(1)}), 0);
  EXPECT_EQ(t.status(), kErrDataNotOpen);
  EXPECT_EQ(t.call(138, {t.num(12)}), -1);
  EXPECT_EQ(t.status(), kErrHandle);
  // A good call clears the status.
  EXPECT_EQ(t.get(0, 2, 1), 0);
  EXPECT_EQ(t.status(), 0);
}

TEST(ProgramTableCells, ANumberTooWideIsStoredAsAsterisksWithAStatus) {
  TreesTable t;
  EXPECT_EQ(t.put(0, 2, 1, t.num(123456)), -1);
  EXPECT_EQ(t.status(), kErrTableRange);
  EXPECT_EQ(t.getText(0, 2, 1), "******");
  // The table still works afterwards.
  EXPECT_EQ(t.put(0, 2, 1, t.num(-1.25)), 0);
  EXPECT_EQ(t.getText(0, 2, 1), "-1.3");
}

TEST(ProgramTableCells, AppendAddsABlankRecordThatIsOnDiskAtOnce) {
  TreesTable t;
  ASSERT_EQ(t.put(0, 2, 1, t.num(7)), 0);
  EXPECT_EQ(t.call(138, {t.num(0)}), 2);
  EXPECT_EQ(t.call(137, {t.num(0)}), 2);
  EXPECT_EQ(t.getText(0, 1, 2), "");
  EXPECT_EQ(t.getText(0, 2, 2), "0.0");
  EXPECT_EQ(t.get(0, 2, 1), 7);

  // Another reader sees both records while the table is still open.
  tablestore::TableStore other;
  other.setErrorDisplay(false);
  std::string bytes = readBytes(t.dir.file("trees.dbf"));
  writeBytes(t.dir.file("copy.dbf"), bytes);
  tablestore::Table* c = other.openTable(t.dir.file("copy.dbf"));
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->recordCount(), 2);
  ASSERT_EQ(c->goRecord(1), 0);
  EXPECT_EQ(c->fieldByNumber(2)->number(), 7);
}

TEST(ProgramTableCells, FieldNumberByName) {
  TreesTable t;
  EXPECT_EQ(t.call(161, {t.num(0), t.str("dbh")}), 2);
  EXPECT_EQ(t.call(161, {t.num(0), t.str("NAME  ")}), 1);
  EXPECT_EQ(t.status(), 0);
  EXPECT_EQ(t.call(161, {t.num(0), t.str("height")}), 0);
  EXPECT_EQ(t.status(), kErrBadColumnName);
  EXPECT_EQ(t.call(161, {t.num(0), t.str("")}), 0);
  EXPECT_EQ(t.status(), kErrBadColumnName);
}

TEST(ProgramTableFind, LinearAndHalvingSearches) {
  TreesTable t;
  // Record 1 is the blank one (dbh 0); then 5, 3, 8, 3.
  t.add("Oak", 5);
  t.add("Ash", 3);
  t.add("Elm", 8);
  t.add("Ash", 3);
  auto find = [&](StackEntry x, int column, bool halving) {
    return t.call(133, {x, t.num(0), t.num(column), t.num(halving ? 1 : 0)});
  };
  EXPECT_EQ(find(t.num(3), 2, false), 3);
  EXPECT_EQ(find(t.str("Ash"), 1, false), 3);
  EXPECT_EQ(find(t.str("Elm"), 1, false), 4);
  EXPECT_EQ(find(t.num(4), 2, false), 0);
  EXPECT_EQ(t.status(), 0);
  // x is converted with the column's decimals: 3.04 is stored as 3.0.
  EXPECT_EQ(find(t.num(3.04), 2, false), 3);
  EXPECT_EQ(find(t.str("8"), 2, false), 4);
  // The unsorted column defeats the halving search that the flag asks for.
  EXPECT_EQ(find(t.num(5), 2, true), 0);
  EXPECT_EQ(find(t.num(5), 2, false), 2);
  // A value too wide for the column matches nothing (not the asterisks).
  ASSERT_EQ(t.put(0, 2, 1, t.num(1e9)), -1);
  EXPECT_EQ(find(t.num(2e9), 2, false), 0);

  EXPECT_EQ(find(t.num(3), 3, false), 0);
  EXPECT_EQ(t.status(), kErrColumnRange);
  EXPECT_EQ(t.call(133, {t.num(3), t.num(2), t.num(2), t.num(0)}), 0);
  EXPECT_EQ(t.status(), kErrDataNotOpen);
}

TEST(ProgramTableFind, HalvingFindsTheFirstOfEqualRecordsInASortedColumn) {
  TableCalls t;
  ASSERT_EQ(t.define("K", "N", 5, 0), 1);
  ASSERT_EQ(t.define("S", "C", 3, 0), 2);
  ASSERT_EQ(t.open("sorted.dbf"), 0);
  // -7, -2, 0 (the blank first record has K 0, so it goes in the middle)...
  const double keys[] = {-7, -2, 0, 2, 2, 2, 4, 11};
  ASSERT_EQ(t.put(0, 1, 1, t.num(keys[0])), 0);
  for (int i = 1; i < 8; ++i) {
    double n = t.call(138, {t.num(0)});
    ASSERT_EQ(t.put(0, 1, n, t.num(keys[i])), 0);
    ASSERT_EQ(t.put(0, 2, n, t.str(std::string(1, static_cast<char>('a' + i)))), 0);
  }
  auto halve = [&](double x) { return t.call(133, {t.num(x), t.num(0), t.num(1), t.num(1)}); };
  EXPECT_EQ(halve(2), 4);
  EXPECT_EQ(halve(-7), 1);
  EXPECT_EQ(halve(11), 8);
  EXPECT_EQ(halve(-2), 2);
  EXPECT_EQ(halve(3), 0);
  EXPECT_EQ(halve(12), 0);
  EXPECT_EQ(halve(-8), 0);
  // Texts by their bytes: blanks, then b ... h.
  EXPECT_EQ(t.call(133, {t.str("e"), t.num(0), t.num(2), t.num(1)}), 5);
  EXPECT_EQ(t.call(133, {t.str("ee"), t.num(0), t.num(2), t.num(1)}), 0);
}

TEST(ProgramTableDelete, ClosesFirstThenRemovesTheFile) {
  TreesTable t;
  EXPECT_EQ(t.call(132, {t.str("trees.dbf")}), 0);
  EXPECT_EQ(t.call(128, {t.str(t.dir.file("trees.dbf"))}), 0);
  EXPECT_EQ(t.call(136, {t.num(0)}), 0);
  EXPECT_EQ(t.status(), kErrDataNotOpen);
  EXPECT_EQ(t.call(132, {t.str("trees.dbf")}), -1);
  EXPECT_EQ(t.call(132, {t.str("*.dbf")}), -1);
}

TEST(ProgramTableFiles, ExistsAsGivenOrInTheApplicationFolder) {
  TableCalls t;
  writeBytes(t.dir.file("here.dbf"), "x");
  EXPECT_EQ(t.call(128, {t.str("here.dbf")}), 1);
  EXPECT_EQ(t.call(128, {t.str(t.dir.file("here.dbf"))}), 1);
  EXPECT_EQ(t.call(128, {t.str("gone.dbf")}), 0);
  EXPECT_EQ(t.call(128, {t.str("*.dbf")}), 0);
  EXPECT_EQ(t.call(128, {t.str("")}), 0);
  EXPECT_EQ(t.call(128, {t.str(t.dir.path())}), 0);  // a folder is no file
}

TEST(ProgramTableFiles, ClosingAtTheEndOfARunKeepsEveryWrite) {
  std::string path;
  {
    TreesTable t;
    path = t.dir.file("trees.dbf");
    t.add("Birch", 21.5);
    closeProgramTables(*t.m.tables);
    EXPECT_EQ(t.m.tables->freeHandle(), 0);
    tablestore::TableStore other;
    tablestore::Table* c = other.openTable(path);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->recordCount(), 2);
    ASSERT_EQ(c->goRecord(2), 0);
    EXPECT_EQ(c->fieldByName("name")->text(), "Birch     ");
    EXPECT_EQ(c->fieldByName("dbh")->number(), 21.5);
    EXPECT_EQ(other.closeTable(c), 0);
  }
}

TEST(ProgramTableFiles, AnotherReaderReadsTheTableAProgramWrote) {
  std::string python = testing_support::pythonWithDbfread();
  if (python.empty()) GTEST_SKIP() << "python3 with dbfread is not installed";
  TreesTable t;
  t.add("Oak", 12.5);
  t.add("Ash", -3);
  closeProgramTables(*t.m.tables);
  writeBytes(t.dir.file("read.py"),
             "import sys, dbfread\n"
             "t = dbfread.DBF(sys.argv[1])\n"
             "print(' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) "
             "for f in t.fields))\n"
             "for r in t: print('%r|%r' % (r['NAME'], r['DBH']))\n");
  std::string out = t.dir.file("out.txt");
  std::string cmd = python + " '" + t.dir.file("read.py") + "' '" + t.dir.file("trees.dbf") +
                    "' >'" + out + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << readBytes(out);
  EXPECT_EQ(readBytes(out),
            "NAME:C:10:0 DBH:N:6:1\n"
            "''|0.0\n"
            "'Oak'|12.5\n"
            "'Ash'|-3.0\n");
}

// The engine's tables live in the process's store.
struct WithEngineTables : TableCalls {
  testing_support::ScriptedHost host;
  config::ProcessValues values;
  tablestore::TableStore store{&host};
  apps::AppDefinition app;
  apps::AppContext appContext{host, app, values, store};
  WithEngineTables() {
    store.setErrorDisplay(false);
    ctx.app = &appContext;
  }
};

TEST(ProgramTableFiles, ATableTheEngineHoldsIsNeitherOpenedNorDeleted) {
  WithEngineTables t;
  makeTable(t.dir.file("level1.dbf"), {{"PLOT", 'N', 4, 0}}, {{"7"}});
  tablestore::Table* level = t.store.openTable(t.dir.file("level1.dbf"));
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(t.open("level1.dbf"), -1);
  EXPECT_EQ(t.status(), kErrTableOpen);
  EXPECT_EQ(t.call(132, {t.str("level1.dbf")}), -1);
  EXPECT_EQ(t.call(128, {t.str("level1.dbf")}), 1);
  EXPECT_EQ(t.store.closeTable(level), 0);
  EXPECT_EQ(t.open("level1.dbf"), 0);
}

}  // namespace
}  // namespace runtime_test
