// The child files of a line: which files of a data folder lie below it, and
// deleting and renaming them by the line's key.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "datasets/data_names.hpp"
#include "datasets/line_children.hpp"
#include "platform/fileops.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

using datasets::LineOwner;
using datasets::RawName;

RawName raw(int level, const std::string& code, const std::string& keys, const std::string& table,
            const std::string& ext = "dbf", int number = 1, const std::string& name = "Test") {
  RawName r;
  r.datasetNumber = number;
  r.level = level;
  r.levelCode = code;
  r.datasetName = name;
  r.unitCode = "UNIT01";
  r.keyPath = keys;
  r.tableName = table;
  r.extension = ext;
  return r;
}

std::string nameOf(const RawName& r) {
  std::string out;
  EXPECT_TRUE(datasets::buildRawName(r, out));
  return out;
}

LineOwner plotLine(const std::string& key) {
  LineOwner o;
  o.datasetNumber = 1;
  o.datasetName = "Test";
  o.unitCode = "UNIT01";
  o.level = 1;
  o.levelCode = "A____";
  o.keys = {key};
  return o;
}

class LineChildren : public ::testing::Test {
 protected:
  void touch(const RawName& r) {
    const std::string n = nameOf(r);
    ASSERT_EQ(platform::writeWholeFile(dir.file(n), "x", 1), 0);
  }
  // A table below a plot line: field 1 the plot key, field 2 its own key,
  // PARENT naming the table above.
  void table(const RawName& r, const std::vector<std::vector<std::string>>& records) {
    tablestore::TableStore store;
    std::vector<tablestore::FieldSpec> fields = {
        {"PLOT", 'C', 4, 0}, {"TREE", 'C', 3, 0}, {"PARENT", 'C', 80, 0}, {}};
    tablestore::Table* t = store.createTable(dir.file(nameOf(r)), fields);
    ASSERT_NE(t, nullptr);
    for (const auto& rec : records) {
      ASSERT_EQ(t->appendStart(), 0);
      for (std::size_t j = 0; j < rec.size(); ++j) ASSERT_EQ(t->fieldByNumber(int(j) + 1)->assignText(rec[j]), 0);
      ASSERT_EQ(t->append(), 0);
    }
    ASSERT_EQ(store.closeTable(t), 0);
  }
  std::vector<std::vector<std::string>> records(const std::string& name) {
    tablestore::TableStore store;
    std::vector<std::vector<std::string>> out;
    tablestore::Table* t = store.openTable(dir.file(name));
    EXPECT_NE(t, nullptr);
    if (!t) return out;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      EXPECT_EQ(t->goRecord(n), 0);
      std::vector<std::string> rec;
      for (int j = 1; j <= t->fieldCount(); ++j) rec.emplace_back(t->fieldByNumber(j)->text());
      out.push_back(rec);
    }
    (void)store.closeTable(t);
    return out;
  }
  bool exists(const RawName& r) { return platform::fileExists(dir.file(nameOf(r))); }
  datasets::DatasetFiles listing() {
    datasets::DatasetFiles f;
    EXPECT_EQ(f.read(dir.path(), 1, "Test", "UNIT01"), 0);
    return f;
  }

  testing_support::TempDir dir;
  tablestore::TableStore store;
};

TEST_F(LineChildren, ALineOwnsItsChildrenAndGrandchildrenOnly) {
  const LineOwner line = plotLine("  10");
  EXPECT_TRUE(datasets::belongsToLine(raw(2, "AA___", "  10", "TREES"), line));
  EXPECT_TRUE(datasets::belongsToLine(raw(3, "AAA__", "  10-  1", "LOGS"), line));
  EXPECT_TRUE(datasets::belongsToLine(raw(2, "AB___", "  10", "REGEN", "del"), line));
  // Another line whose key begins alike, another dataset, the line's own level.
  EXPECT_FALSE(datasets::belongsToLine(raw(2, "AA___", "  100", "TREES"), line));
  EXPECT_FALSE(datasets::belongsToLine(raw(3, "AAA__", "  100-  1", "LOGS"), line));
  EXPECT_FALSE(datasets::belongsToLine(raw(2, "AA___", "  10", "TREES", "dbf", 2), line));
  EXPECT_FALSE(datasets::belongsToLine(raw(2, "AA___", "  10", "TREES", "dbf", 1, "Other"), line));
  EXPECT_FALSE(datasets::belongsToLine(raw(1, "A____", "", "PLOTS"), line));
  // A level-2 line owns only what lies below its own branch letter.
  LineOwner tree = plotLine("  10");
  tree.level = 2;
  tree.levelCode = "AA___";
  tree.keys = {"  10", "  1"};
  EXPECT_TRUE(datasets::belongsToLine(raw(3, "AAA__", "  10-  1", "LOGS"), tree));
  EXPECT_FALSE(datasets::belongsToLine(raw(3, "ABA__", "  10-  1", "OTHER"), tree));
  EXPECT_FALSE(datasets::belongsToLine(raw(3, "AAA__", "  10-  2", "LOGS"), tree));
}

TEST_F(LineChildren, DeletingTakesExactlyTheLinesFilesWithEveryExtension) {
  const RawName trees = raw(2, "AA___", "  10", "TREES");
  RawName gpf = raw(3, "AAA__", "  10-  1", "LOGS", "GPF");
  gpf.gpsSuffix = "^Logs^GPS Point^";
  const std::vector<RawName> mine = {trees, raw(2, "AA___", "  10", "TREES", "db$"),
                                     raw(3, "AAA__", "  10-  1", "LOGS"), gpf};
  const std::vector<RawName> others = {raw(1, "A____", "", "PLOTS"), raw(2, "AA___", "  20", "TREES"),
                                       raw(2, "AA___", "  10", "TREES", "dbf", 2),
                                       raw(2, "AA___", "  10", "TREES", "dbf", 1, "Other")};
  for (const auto& r : mine) touch(r);
  for (const auto& r : others) touch(r);
  ASSERT_EQ(platform::writeWholeFile(dir.file("notes.txt"), "x", 1), 0);

  datasets::DatasetFiles files = listing();
  datasets::ChildFileResult r = datasets::deleteLineChildren(files, plotLine("  10"));
  EXPECT_EQ(r.found, 4);
  EXPECT_EQ(r.done, 4);
  EXPECT_EQ(r.failed, 0);
  for (const auto& m : mine) EXPECT_FALSE(exists(m)) << nameOf(m);
  for (const auto& o : others) EXPECT_TRUE(exists(o)) << nameOf(o);
  EXPECT_TRUE(platform::fileExists(dir.file("notes.txt")));
}

TEST_F(LineChildren, ABlankKeyNamesNoChildren) {
  const RawName blankTrees = raw(2, "AA___", "    ", "TREES");
  touch(blankTrees);
  datasets::DatasetFiles files = listing();
  datasets::ChildFileResult r = datasets::deleteLineChildren(files, plotLine("    "));
  EXPECT_EQ(r.done, 0);
  EXPECT_TRUE(exists(blankTrees));
  std::vector<std::pair<std::string, std::string>> moved;
  r = datasets::moveLineChildren(store, files, plotLine("    "), {"  10"}, moved);
  EXPECT_TRUE(r.refused);
  EXPECT_TRUE(exists(blankTrees));
}

TEST_F(LineChildren, RenamingMovesKeysFieldsAndLinks) {
  const RawName trees = raw(2, "AA___", "  10", "TREES");
  const RawName logs = raw(3, "AAA__", "  10-  1", "LOGS");
  const RawName logsDel = raw(3, "AAA__", "  10-  1", "LOGS", "del");
  table(trees, {{"  10", "  1", ""}, {"  10", "  2", ""}});
  table(logs, {{"  10", "  1", nameOf(trees)}});
  touch(logsDel);
  const RawName otherTrees = raw(2, "AA___", "  30", "TREES");
  table(otherTrees, {{"  30", "  1", ""}});

  datasets::DatasetFiles files = listing();
  std::vector<std::pair<std::string, std::string>> moved;
  datasets::ChildFileResult r = datasets::moveLineChildren(store, files, plotLine("  10"), {"  20"}, moved);
  EXPECT_FALSE(r.refused);
  EXPECT_EQ(r.done, 3);
  EXPECT_EQ(r.failed, 0);
  EXPECT_EQ(moved.size(), 2u);
  const RawName newTrees = raw(2, "AA___", "  20", "TREES");
  const RawName newLogs = raw(3, "AAA__", "  20-  1", "LOGS");
  EXPECT_FALSE(exists(trees));
  EXPECT_FALSE(exists(logs));
  EXPECT_TRUE(exists(raw(3, "AAA__", "  20-  1", "LOGS", "del")));
  auto t = records(nameOf(newTrees));
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0][0], "  20");
  EXPECT_EQ(t[1][0], "  20");
  EXPECT_EQ(t[1][1], "  2");
  auto l = records(nameOf(newLogs));
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(l[0][0], "  20");
  EXPECT_EQ(l[0][1], "  1");
  EXPECT_EQ(l[0][2].substr(0, nameOf(newTrees).size()), nameOf(newTrees));
  // Another line's table is untouched.
  EXPECT_EQ(records(nameOf(otherTrees))[0][0], "  30");
}

TEST_F(LineChildren, RenamingNeverReplacesAFile) {
  const RawName trees10 = raw(2, "AA___", "  10", "TREES");
  const RawName trees20 = raw(2, "AA___", "  20", "TREES");
  table(trees10, {{"  10", "  1", ""}});
  table(trees20, {{"  20", "  1", ""}});
  datasets::DatasetFiles files = listing();
  std::vector<std::pair<std::string, std::string>> moved;
  datasets::ChildFileResult r = datasets::moveLineChildren(store, files, plotLine("  10"), {"  20"}, moved);
  EXPECT_TRUE(r.refused);
  EXPECT_EQ(r.done, 0);
  EXPECT_EQ(records(nameOf(trees10))[0][0], "  10");
  EXPECT_EQ(records(nameOf(trees20))[0][0], "  20");
}

}  // namespace
