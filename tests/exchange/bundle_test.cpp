#include "exchange/bundle.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "datasets/data_names.hpp"
#include "platform/fileops.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

using testing_support::TempDir;
using Rows = std::vector<std::vector<std::string>>;

constexpr int kNumber = 3;
const std::string kName = "North";
const std::string kUnit = "ABC123";

std::vector<tablestore::FieldSpec> fieldsOf(const std::vector<std::string>& names) {
  std::vector<tablestore::FieldSpec> f;
  for (const auto& n : names) f.push_back({n, 'C', 8, 0});
  return f;
}

class BundleTest : public ::testing::Test {
 protected:
  std::string raw(int level, const std::string& code, const std::string& keys, const std::string& table,
                  const std::string& ext = "dbf") {
    datasets::RawName parts{kNumber, level, code, kName, kUnit, keys, table, "", ext};
    std::string out;
    EXPECT_TRUE(datasets::buildRawName(parts, out));
    return out;
  }
  std::string bundle(int level, const std::string& code, const std::string& table,
                     const std::string& ext = "dbf") {
    datasets::BundleName parts{kName, level, code, kUnit, table, "", ext};
    std::string out;
    EXPECT_TRUE(datasets::buildBundleName(parts, out));
    return out;
  }
  void write(const std::string& name, const std::vector<std::string>& fields, const Rows& rows) {
    tablestore::Table* t = store.createTable(dir.file(name), fieldsOf(fields));
    ASSERT_NE(t, nullptr) << name;
    for (const auto& row : rows) {
      ASSERT_EQ(t->appendStart(), 0);
      for (std::size_t i = 0; i < row.size(); ++i)
        std::memcpy(t->recordBuffer() + 1 + 8 * i, row[i].data(), std::min<std::size_t>(8, row[i].size()));
      t->changed(1);
      ASSERT_EQ(t->append(), 0);
    }
    ASSERT_EQ(store.closeTable(t), 0);
  }
  Rows read(const std::string& name) {
    Rows rows;
    store.clearError();
    tablestore::Table* t = store.openTable(dir.file(name));
    if (t == nullptr) {
      store.clearError();
      return rows;
    }
    std::string rec;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      EXPECT_EQ(t->peekRecord(n, rec), 0);
      std::vector<std::string> row;
      for (int i = 0; i < t->fieldCount(); ++i) {
        std::string v = rec.substr(1 + 8 * i, 8);
        v.erase(v.find_last_not_of(' ') + 1);
        row.push_back(v);
      }
      rows.push_back(row);
    }
    (void)store.closeTable(t);
    return rows;
  }
  bool exists(const std::string& name) { return platform::fileExists(dir.file(name)); }
  std::vector<std::string> files(const std::string& pattern) {
    std::vector<platform::FindEntry> found;
    (void)platform::findFiles(dir.file(pattern), found);
    std::vector<std::string> names;
    for (auto& e : found) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
  }

  // A three-level dataset: two level-1 records, plots below both, stems
  // below one, leaves below two plots.
  void makeThreeLevels() {
    write(raw(1, "A____", "", "TREES"), {"KEY_A", "SITE"}, {{"K1", "hill"}, {"K2", "dale"}});
    write(raw(2, "AA___", "K1", "PLOTS"), {"KEY_A", "KEY_AA", "SIZE"}, {{"K1", "P1", "10"}, {"K1", "P2", "20"}});
    write(raw(2, "AA___", "K2", "PLOTS"), {"KEY_A", "KEY_AA", "SIZE"}, {{"K2", "P1", "30"}});
    write(raw(2, "AB___", "K2", "STEMS"), {"KEY_A", "KEY_AB", "DBH"}, {{"K2", "S1", "4.5"}});
    write(raw(3, "AAA__", "K1-P1", "LEAVES"), {"KEY_A", "KEY_AA", "KEY_AAA"}, {{"K1", "P1", "L1"}});
    write(raw(3, "AAA__", "K1-P2", "LEAVES"), {"KEY_A", "KEY_AA", "KEY_AAA"},
          {{"K1", "P2", "L1"}, {"K1", "P2", "L2"}});
    write(raw(3, "AAA__", "K2-P1", "LEAVES"), {"KEY_A", "KEY_AA", "KEY_AAA"}, {{"K2", "P1", "L9"}});
  }
  std::map<std::string, Rows> expectedBundles() {
    return {
        {bundle(1, "A____", "TREES"), {{"K1", "hill"}, {"K2", "dale"}}},
        {bundle(2, "AA___", "PLOTS"), {{"K1", "P1", "10"}, {"K1", "P2", "20"}, {"K2", "P1", "30"}}},
        {bundle(2, "AB___", "STEMS"), {{"K2", "S1", "4.5"}}},
        {bundle(3, "AAA__", "LEAVES"),
         {{"K1", "P1", "L1"}, {"K1", "P2", "L1"}, {"K1", "P2", "L2"}, {"K2", "P1", "L9"}}},
    };
  }
  exchange::BundleOutcome run(exchange::BundleStopHook hook = {}) {
    exchange::BundleJob job{dir.path(), hierarchy, kNumber, nullptr, std::move(hook)};
    return exchange::bundleDataset(store, job);
  }

  TempDir dir;
  tablestore::TableStore store;
  std::vector<apps::HierarchyEntry> hierarchy = {
      {"A____", "TREES"}, {"AA___", "PLOTS"}, {"AB___", "STEMS"}, {"AAA__", "LEAVES"}};
};

TEST_F(BundleTest, LevelOneOnlyIsRenamedWithItsVersionTable) {
  write(raw(1, "A____", "", "TREES"), {"KEY_A", "SITE"}, {{"K1", "hill"}});
  std::string rawVersion, bundledVersion;
  ASSERT_TRUE(datasets::rawVersionTableNameOf(raw(1, "A____", "", "TREES"), rawVersion));
  ASSERT_TRUE(datasets::bundledVersionTableName(kName, kUnit, bundledVersion));
  testing_support::writeBytes(dir.file(rawVersion), "version");

  auto out = run();
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.code, 0);
  EXPECT_EQ(read(bundle(1, "A____", "TREES")), (Rows{{"K1", "hill"}}));
  EXPECT_FALSE(exists(raw(1, "A____", "", "TREES")));
  EXPECT_EQ(testing_support::readBytes(dir.file(bundledVersion)), "version");
  EXPECT_TRUE(files("*.del").empty());
  EXPECT_TRUE(files("*.~~~").empty());
}

TEST_F(BundleTest, EveryRecordLandsInItsBranchBundleInOrderWithItsKeys) {
  makeThreeLevels();
  auto out = run();
  ASSERT_EQ(out.result, 1);
  EXPECT_TRUE(out.messages.empty());
  for (const auto& [name, rows] : expectedBundles()) EXPECT_EQ(read(name), rows) << name;
  EXPECT_TRUE(files("03 *").empty()) << "raw tables and their marks are gone";
  EXPECT_TRUE(files("*.tmp").empty());
}

TEST_F(BundleTest, BundlingAgainReplacesTheBundlesAndKeepsOneCopyAside) {
  makeThreeLevels();
  ASSERT_EQ(run().result, 1);
  makeThreeLevels();
  ASSERT_EQ(run().result, 1);
  makeThreeLevels();
  ASSERT_EQ(run().result, 1);
  for (const auto& [name, rows] : expectedBundles()) EXPECT_EQ(read(name), rows) << name;
  EXPECT_EQ(files("*.~~~").size(), 4u);
  EXPECT_TRUE(exists(raw(1, "A____", "", "TREES", "~~~")));
  EXPECT_EQ(read(bundle(2, "AA___", "PLOTS", "~~~")).size(), 3u);
}

TEST_F(BundleTest, ARunStoppedAtAnyStepLosesNothingAndTheNextRunCompletes) {
  using exchange::BundleStep;
  for (BundleStep step : {BundleStep::kBranchBuilt, BundleStep::kBranchSetAside, BundleStep::kBranchRenamed,
                          BundleStep::kSourceMarked, BundleStep::kLevel1Renamed}) {
    int stops = 0;
    for (int nth = 1; nth <= 3; ++nth) {
      SCOPED_TRACE(testing::Message() << "step " << static_cast<int>(step) << " time " << nth);
      for (const auto& n : files("*")) (void)platform::deleteFile(dir.file(n));
      makeThreeLevels();
      int seen = 0;
      auto out = run([&](BundleStep s) { return s == step && ++seen == nth; });
      if (seen < nth) continue;  // the run never got there
      ++stops;
      EXPECT_EQ(out.result, 0);

      // Every leaf record is in a raw table (marked or not) or a whole bundle.
      int found = 0;
      for (const auto& n : files("*")) {
        if (n.ends_with(".tmp") || n.ends_with(".~~~")) continue;
        for (const auto& row : read(n))
          if (row.size() == 3 && row[0] == "K1" && row[1] == "P2" && row[2] == "L2") ++found;
      }
      EXPECT_GE(found, 1);

      ASSERT_EQ(run().result, 1);
      for (const auto& [name, rows] : expectedBundles()) EXPECT_EQ(read(name), rows) << name;
      EXPECT_TRUE(files("03 *.d*").empty());
      EXPECT_TRUE(files("*.tmp").empty());
    }
    EXPECT_GE(stops, 1) << "step " << static_cast<int>(step) << " was never reached";
  }
}

TEST_F(BundleTest, OtherDatasetsAndNamesThatDoNotParseAreLeftAlone) {
  makeThreeLevels();
  datasets::RawName other{4, 2, "AA___", kName, kUnit, "K1", "PLOTS", "", "del"};
  std::string otherDel;
  ASSERT_TRUE(datasets::buildRawName(other, otherDel));
  write(otherDel, {"KEY_A", "KEY_AA", "SIZE"}, {{"X", "Y", "Z"}});
  datasets::RawName sameNumber{kNumber, 2, "AA___", "South", kUnit, "K1", "PLOTS", "", "dbf"};
  std::string southRaw;
  ASSERT_TRUE(datasets::buildRawName(sameNumber, southRaw));
  write(southRaw, {"KEY_A", "KEY_AA", "SIZE"}, {{"S", "S", "S"}});
  const std::string broken = "03 2AA___[North broken.dbf";
  write(broken, {"KEY_A", "KEY_AA", "SIZE"}, {{"B", "B", "B"}});

  ASSERT_EQ(run().result, 1);
  EXPECT_TRUE(exists(otherDel));
  EXPECT_TRUE(exists(southRaw));
  EXPECT_TRUE(exists(broken));
  EXPECT_EQ(read(bundle(2, "AA___", "PLOTS")), expectedBundles()[bundle(2, "AA___", "PLOTS")]);
}

TEST_F(BundleTest, AFailedMergeStopsBeforeLevelOneAndKeepsTheRawTables) {
  makeThreeLevels();
  // A plot table with another layout cannot be appended to the bundle.
  write(raw(2, "AA___", "K3", "PLOTS"), {"KEY_A", "OTHER"}, {{"K3", "x"}});
  auto out = run();
  EXPECT_EQ(out.result, 0);
  ASSERT_FALSE(out.messages.empty());
  EXPECT_EQ(out.messages.front().text, "!!bundle_files  ");
  EXPECT_TRUE(exists(raw(1, "A____", "", "TREES")));
  EXPECT_TRUE(exists(raw(2, "AA___", "K1", "PLOTS")));
  EXPECT_FALSE(exists(bundle(2, "AA___", "PLOTS")));
  EXPECT_TRUE(files("*.tmp").empty());
}

TEST_F(BundleTest, NoHierarchyOrAMissingBranchNameFails) {
  makeThreeLevels();
  hierarchy.clear();
  EXPECT_EQ(run().result, 0);
  hierarchy = {{"A____", "TREES"}, {"AA___", "PLOTS"}};
  auto out = run();
  EXPECT_EQ(out.result, 0);
  ASSERT_FALSE(out.messages.empty());
  EXPECT_EQ(out.messages.back().text, "!get_branch_name ");
  EXPECT_TRUE(exists(raw(1, "A____", "", "TREES")));
}

}  // namespace
