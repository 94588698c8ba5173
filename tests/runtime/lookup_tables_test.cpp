// The lookup tables of the application folder: a value by column and record
// (79), a value by a key in the sorted first column (80), their statuses, and
// that a lookup leaves no table open and no engine table moved.
#include <gtest/gtest.h>

#include <string>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"
#include "support/scripted_host.hpp"
#include "table_calls.hpp"
#include "tablestore/table_store.hpp"

namespace runtime_test {
namespace {

using namespace runtime;
using testing_support::writeBytes;

// kinds.dbf: CODE C 4 (sorted), NAME C 12, FACTOR N 6.2;
// volumes.dbf: DBH N 5.1 (sorted), VOL N 8.3.
struct Lookups : TableCalls {
  Lookups() {
    makeTable(dir.file("kinds.dbf"),
              {{"CODE", 'C', 4, 0}, {"NAME", 'C', 12, 0}, {"FACTOR", 'N', 6, 2}},
              {{"AS", "Ash", "0.51"}, {"BI", "Birch", "0.62"}, {"DF", "Douglas fir", "1.05"},
               {"DF", "Duplicate", "9"}, {"WO", "White oak", "-0.5"}});
    makeTable(dir.file("volumes.dbf"), {{"DBH", 'N', 5, 1}, {"VOL", 'N', 8, 3}},
              {{"-2.5", "1"}, {"10", "0.125"}, {"12.5", "0.5"}, {"20", "2.25"}});
  }
  double value(const std::string& file, int column, double record, bool text = false) {
    return call(79, {str(file), num(column), num(record)}, text);
  }
  double lookup(const std::string& file, StackEntry key, int column, bool text = false) {
    return call(80, {str(file), key, num(column)}, text);
  }
};

TEST(LookupTableValue, ByColumnAndRecordAsNumberOrText) {
  Lookups t;
  EXPECT_DOUBLE_EQ(t.value("kinds.dbf", 3, 2), 0.62);
  EXPECT_EQ(t.text(), "");
  t.value("kinds.dbf", 2, 3, true);
  EXPECT_EQ(t.text(), "Douglas fir");
  EXPECT_DOUBLE_EQ(t.value("kinds.dbf", 3, 5, true), -0.5);
  EXPECT_EQ(t.text(), "-0.50");
  EXPECT_EQ(t.status(), 0);
  // A rooted name is taken as given.
  EXPECT_DOUBLE_EQ(t.value(t.dir.file("volumes.dbf"), 2, 4), 2.25);
}

TEST(LookupTableValue, Statuses) {
  Lookups t;
  writeBytes(t.dir.file("broken.dbf"), std::string(40, '\x03'));
  struct Case {
    const char* file;
    int column;
    double record;
    int status;
  } cases[] = {
      {"missing.dbf", 1, 1, kErrNoTable}, {"broken.dbf", 1, 1, kErrTableOpen},
      {"kinds.dbf", 1, 0, kErrLineRange}, {"kinds.dbf", 1, 6, kErrLineRange},
      {"kinds.dbf", 0, 1, kErrColumnRange}, {"kinds.dbf", 4, 1, kErrColumnRange},
      {"kinds.dbf", 1, 1e300, kErrLineRange},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(t.value(c.file, c.column, c.record, true), 0) << c.file << c.column << c.record;
    EXPECT_EQ(t.text(), "");
    EXPECT_EQ(t.status(), c.status) << c.file << " " << c.column << " " << c.record;
  }
}

TEST(LookupTableKey, FindsTheKeyInTheFirstColumnAndGivesTheColumnAsked) {
  Lookups t;
  t.lookup("kinds.dbf", t.str("BI"), 2, true);
  EXPECT_EQ(t.text(), "Birch");
  EXPECT_DOUBLE_EQ(t.lookup("kinds.dbf", t.str("WO"), 3), -0.5);
  EXPECT_DOUBLE_EQ(t.lookup("kinds.dbf", t.str("AS"), 3), 0.51);
  // The first of two equal keys.
  t.lookup("kinds.dbf", t.str("DF"), 2, true);
  EXPECT_EQ(t.text(), "Douglas fir");
  EXPECT_EQ(t.status(), 0);
  // A numeric key is converted to the key column's decimals: 12.54 is 12.5.
  EXPECT_DOUBLE_EQ(t.lookup("volumes.dbf", t.num(12.54), 2), 0.5);
  EXPECT_DOUBLE_EQ(t.lookup("volumes.dbf", t.num(-2.5), 2), 1);
  EXPECT_DOUBLE_EQ(t.lookup("volumes.dbf", t.str("20"), 2), 2.25);
}

TEST(LookupTableKey, Statuses) {
  Lookups t;
  EXPECT_EQ(t.lookup("kinds.dbf", t.str("XX"), 2, true), 0);
  EXPECT_EQ(t.text(), "");
  EXPECT_EQ(t.status(), kErrItemNotFound);
  EXPECT_EQ(t.lookup("kinds.dbf", t.str("B"), 2), 0);
  EXPECT_EQ(t.status(), kErrItemNotFound);
  EXPECT_EQ(t.lookup("volumes.dbf", t.num(11), 2), 0);
  EXPECT_EQ(t.status(), kErrItemNotFound);
  EXPECT_EQ(t.lookup("kinds.dbf", t.str("BI"), 4), 0);
  EXPECT_EQ(t.status(), kErrColumnRange);
  EXPECT_EQ(t.lookup("none.dbf", t.str("BI"), 1), 0);
  EXPECT_EQ(t.status(), kErrNoTable);
}

TEST(LookupTableKey, AnEngineTableIsReadWithoutMovingItsRecord) {
  Lookups t;
  testing_support::ScriptedHost host;
  config::ProcessValues values;
  tablestore::TableStore store{&host};
  apps::AppDefinition app;
  apps::AppContext appContext{host, app, values, store};
  t.ctx.app = &appContext;

  tablestore::Table* level = store.openTable(t.dir.file("kinds.dbf"));
  ASSERT_NE(level, nullptr);
  ASSERT_EQ(level->goRecord(2), 0);
  // The line being edited: changed in the buffer, not yet written.
  ASSERT_EQ(level->fieldByNumber(2)->assignText("Edited"), 0);
  t.lookup("kinds.dbf", t.str("BI"), 2, true);
  EXPECT_EQ(t.text(), "Edited");
  EXPECT_EQ(level->recordNumber(), 2);
  EXPECT_EQ(level->changed(), 1);
  EXPECT_EQ(t.value("kinds.dbf", 3, 5), -0.5);
  EXPECT_EQ(level->recordNumber(), 2);
  EXPECT_EQ(t.m.tables->store.openCount(), 0u);
  EXPECT_EQ(store.error(), 0);
  EXPECT_EQ(store.closeTable(level), 0);
  // A table the program holds open is read where it is, and stays open.
  ASSERT_EQ(t.open("kinds.dbf"), 0);
  EXPECT_DOUBLE_EQ(t.lookup("kinds.dbf", t.str("DF"), 3), 1.05);
  EXPECT_EQ(t.m.tables->store.openCount(), 1u);
}

}  // namespace
}  // namespace runtime_test
