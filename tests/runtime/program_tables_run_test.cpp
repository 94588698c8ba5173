// Programs that keep tables of their own, assembled from text and run: what
// they write is in the file after the run, the eleventh open gives no handle,
// and a lookup inside a loop leaves nothing open.
#include <gtest/gtest.h>

#include <string>

#include "program_rig.hpp"
#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"
#include "support/temp_dir.hpp"
#include "table_calls.hpp"
#include "tablestore/table_store.hpp"

namespace runtime_test {
namespace {

// "ref VAR" + the call's lines + "op =": the call's result into VAR.
std::string into(const std::string& var, const std::string& call) {
  return "ref " + var + "\n" + call + "\nop =\n";
}

TEST(ProgramTablesRun, AProgramCreatesFillsAndReadsItsTable) {
  testing_support::TempDir dir;
  runtime::Machine m;
  runtime::RunContext ctx;
  ctx.appFolder = dir.path();
  std::string src =
      "num junk\nnum h\nnum rec\nnum found\nstr name[20]\n" +
      into("junk", "push \"NAME\"\npush \"C\"\npush 12\npush 0\ncall defineField") +
      into("junk", "push \"DBH\"\npush \"N\"\npush 6\npush 1\ncall defineField") +
      into("h", "push \"trees.dbf\"\ncall openTable") +
      into("rec", "get h\ncall appendRecord") +
      into("junk", "push \"Spruce\"\nget h\npush 1\nget rec\ncall putRecord") +
      into("junk", "push 31.25\nget h\npush 2\nget rec\ncall putRecord") +
      "svar name\nget h\npush 1\nget rec\ncall getRecord text\nop =\n" +
      into("found", "push \"Spruce\"\nget h\npush 1\npush 0\ncall findRecord") +
      "push 1\nend\n";
  ProgramRun r = runProgram(src, m, ctx);
  ASSERT_EQ(r.error(), 0);
  ASSERT_TRUE(r.outcome.ended);
  EXPECT_EQ(m.status, 0);  // the status of the last table built-in
  EXPECT_EQ(r.number("h"), 0);
  EXPECT_EQ(r.number("rec"), 2);
  EXPECT_EQ(r.text("name"), "Spruce");
  EXPECT_EQ(r.number("found"), 2);

  // The end of the run closes the table with every write in it.
  runtime::closeProgramTables(*m.tables);
  tablestore::TableStore store;
  tablestore::Table* t = store.openTable(dir.file("trees.dbf"));
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->recordCount(), 2);
  ASSERT_EQ(t->goRecord(2), 0);
  EXPECT_EQ(t->fieldByName("name")->text(), "Spruce      ");
  EXPECT_EQ(t->fieldByName("dbh")->text(), "  31.3");
  EXPECT_EQ(store.closeTable(t), 0);
}

TEST(ProgramTablesRun, TheEleventhOpenSetsStatus26AndGivesNoHandle) {
  testing_support::TempDir dir;
  runtime::Machine m;
  runtime::RunContext ctx;
  ctx.appFolder = dir.path();
  std::string src = "num junk\nnum h\n";
  for (int i = 0; i <= runtime::kProgramTables; ++i) {
    src += into("junk", "push \"V\"\npush \"N\"\npush 3\npush 0\ncall defineField");
    src += into("h", "push \"t" + std::to_string(i) + ".dbf\"\ncall openTable");
  }
  src += "push 1\nend\n";
  ProgramRun r = runProgram(src, m, ctx);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(m.status, runtime::kErrTooManyTables);
  EXPECT_EQ(r.number("h"), -1);
  // The run is not stopped by a status: the ten tables are there and open.
  EXPECT_EQ(m.tables->freeHandle(), -1);
}

TEST(ProgramTablesRun, LookupsInALoopLeaveNothingOpen) {
  TableCalls t;  // the folder and a machine with an application folder
  makeTable(t.dir.file("codes.dbf"), {{"CODE", 'N', 3, 0}, {"FACTOR", 'N', 5, 2}},
            {{"1", "0.5"}, {"2", "1.25"}, {"3", "2"}});
  std::string src =
      "num i = 1\nnum sum\n"
      "while\nget i\npush 4\nop <\ndo\n"
      "ref sum\nget sum\npush \"codes.dbf\"\nget i\npush 2\ncall tableLookup\nop +\nop =\n"
      "ref i\nop ++\nloop\n"
      "get sum\npush 100\nop *\nend\n";
  ProgramRun r = runProgram(src, t.m, t.ctx);
  ASSERT_EQ(r.error(), 0);
  EXPECT_EQ(r.outcome.value, 375);
  EXPECT_EQ(t.m.tables->store.openCount(), 0u);
}

}  // namespace
}  // namespace runtime_test
