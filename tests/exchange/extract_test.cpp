// Extracting a whole bundled dataset: the new number, a small three-level
// dataset back into its raw tables, refused keys, the sweep, and runs
// killed at every step and then run again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "exchange/bundle_fixture.hpp"
#include "exchange/extract.hpp"
#include "base/text.hpp"
#include "support/dbfread.hpp"
#include "support/faulty_files.hpp"
#include "ui/progress.hpp"

namespace {

using exchange::ExtractOutcome;
using exchange::ExtractRequest;
using exchange::ExtractResult;
using exchange_test::liveTables;
using exchange_test::namesIn;
using exchange_test::records;
using exchange_test::writeTable;
using testing_support::TempDir;

// Three levels (sites, plots, trees) and the plots' coordinates, bundled on
// a unit without a unit code.
void writeDataset(tablestore::TableStore& store, const TempDir& dir, const std::string& treeKey = "P01") {
  writeTable(store, dir, "[Plot]1A____000000+SITES.dbf", {{"SITE", 'C', 3, 0}, {"NOTE", 'C', 2, 0}},
             {{"S01", "a"}, {"S02", "b"}});
  writeTable(store, dir, "[Plot]1A____000000#$$DataAppVer.dbf", {{"VERSION", 'C', 4, 0}}, {{"v1.2"}});
  writeTable(store, dir, "[Plot]2AA___000000PLOTS+.dbf", {{"KEY_A1", 'C', 3, 0}, {"PLOT", 'C', 3, 0}},
             {{"S01", "P01"}, {"S02", "P01"}, {"S01", "P02"}});
  writeTable(store, dir, "[Plot]3AAA__000000TREES+.dbf",
             {{"KEY_A1", 'C', 3, 0}, {"KEY_A2", 'C', 3, 0}, {"TREE", 'C', 3, 0}},
             {{"S01", "P01", "T01"}, {"S02", "P01", "T07"}, {"S01", treeKey, "T02"}, {"S01", "P02", "T03"}});
  writeTable(store, dir, "[Plot]2AA___000000PLOTS+^GPS.GPF",
             {{"L1_KEY", 'C', 3, 0}, {"L2_KEY", 'C', 3, 0}, {"LAT", 'C', 4, 0}}, {{"S02", "P01", "12.5"}});
}

ExtractRequest request(const TempDir& dir) { return ExtractRequest{dir.path(), "Plot", "HERE01", {}}; }

const std::map<std::string, std::vector<std::string>> kExtracted{
    {"01 1A____[Plot]HERE01#$$DataAppVer.dbf", {"v1.2"}},
    {"01 1A____[Plot]HERE01~~SITES.dbf", {"S01a ", "S02b "}},
    {"01 2AA___[Plot]HERE01~S01~PLOTS.dbf", {"S01P01", "S01P02"}},
    {"01 2AA___[Plot]HERE01~S02~PLOTS.dbf", {"S02P01"}},
    {"01 2AA___[Plot]HERE01~S02-P01~PLOTS^GPS.GPF", {"S02P0112.5"}},
    {"01 3AAA__[Plot]HERE01~S01-P01~TREES.dbf", {"S01P01T01", "S01P01T02"}},
    {"01 3AAA__[Plot]HERE01~S01-P02~TREES.dbf", {"S01P02T03"}},
    {"01 3AAA__[Plot]HERE01~S02-P01~TREES.dbf", {"S02P01T07"}},
};

TEST(ExtractDataset, EveryRecordLandsInTheRawTableItsKeysNameAndTheBundlesGo) {
  TempDir dir;
  tablestore::TableStore store;
  writeDataset(store, dir);
  // Another dataset's marked bundle is not this run's to delete.
  writeTable(store, dir, "[Other]2AA___ABC___PLOTS+.del", {{"X", 'C', 1, 0}}, {});
  ui::Progress progress;
  ExtractResult result;
  ASSERT_EQ(exchange::extractDataset(store, request(dir), result, &progress), ExtractOutcome::kDone)
      << result.failure;
  EXPECT_EQ(result.datasetNumber, 1);
  EXPECT_EQ(result.bundles, 4);
  EXPECT_EQ(result.records, 10);
  EXPECT_TRUE(result.messages.empty());
  EXPECT_EQ(liveTables(store, dir), kExtracted);
  std::vector<std::string> expectedNames;
  for (const auto& [name, rows] : kExtracted) expectedNames.push_back(name);
  expectedNames.push_back("[Other]2AA___ABC___PLOTS+.del");
  EXPECT_EQ(namesIn(dir), expectedNames);
  EXPECT_EQ(progress.snapshot().line, "  Extracting:4 of 4");
  EXPECT_EQ(progress.snapshot().percent, 100);
  EXPECT_EQ(store.openCount(), 0u);

#ifndef _WIN32
  // An independent reader agrees on a raw table we wrote.
  const std::string python = testing_support::pythonWithDbfread();
  if (python.empty()) GTEST_SKIP() << "python3 with dbfread is not installed";
  testing_support::writeBytes(dir.file("read.py"),
                              "import sys, dbfread\nfor r in dbfread.DBF(sys.argv[1]): "
                              "print(r['KEY_A1'], r['KEY_A2'], r['TREE'])\n");
  // dbfread looks names up as glob patterns, where "[" opens a class: read a copy.
  ASSERT_EQ(platform::copyFile(dir.file("01 3AAA__[Plot]HERE01~S01-P01~TREES.dbf"), dir.file("trees.dbf"), true), 0);
  const std::string out = dir.file("out.txt");
  const std::string cmd = python + " '" + dir.file("read.py") + "' '" + dir.file("trees.dbf") + "' >'" + out + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0) << testing_support::readBytes(out);
  EXPECT_EQ(testing_support::readBytes(out), "S01 P01 T01\nS01 P01 T02\n");
#endif
}

TEST(ExtractDataset, TakesTheFirstFreeNumberAndRefusesWhenAllAreTaken) {
  TempDir dir;
  tablestore::TableStore store;
  writeDataset(store, dir);
  for (int n = 1; n <= 5; ++n)
    testing_support::writeBytes(dir.file(base::format("%02d 1A____[D%d]ABC___~~X.dbf", n, n)), "x");
  ExtractResult result;
  ASSERT_EQ(exchange::extractDataset(store, request(dir), result, nullptr), ExtractOutcome::kDone) << result.failure;
  EXPECT_EQ(result.datasetNumber, 6);
  EXPECT_EQ(records(store, dir.file("06 1A____[Plot]HERE01~~SITES.dbf")), (std::vector<std::string>{"S01a ", "S02b "}));

  TempDir full;
  writeDataset(store, full);
  for (int n = 1; n <= 99; ++n)
    testing_support::writeBytes(full.file(base::format("%02d 1A____[D%d]ABC___~~X.dbf", n, n)), "x");
  const std::vector<std::string> before = namesIn(full);
  ExtractResult refused;
  EXPECT_EQ(exchange::extractDataset(store, request(full), refused, nullptr), ExtractOutcome::kFailed);
  EXPECT_EQ(refused.failure, exchange::kNoFreeNumberText);
  EXPECT_EQ(namesIn(full), before);
}

TEST(ExtractDataset, ADatasetWithoutBundlesFails) {
  TempDir dir;
  tablestore::TableStore store;
  writeTable(store, dir, "[Plot]1A____000000#$$DataAppVer.dbf", {{"VERSION", 'C', 4, 0}}, {{"v1.2"}});
  ExtractResult result;
  EXPECT_EQ(exchange::extractDataset(store, request(dir), result, nullptr), ExtractOutcome::kFailed);
  EXPECT_EQ(result.failure, exchange::kNoBundlesText);
  ExtractRequest wild = request(dir);
  wild.datasetName = "*";
  EXPECT_EQ(exchange::extractDataset(store, wild, result, nullptr), ExtractOutcome::kFailed);
}

TEST(ExtractDataset, ATableThatIsNoBundleIsLeftAloneWithAMessage) {
  TempDir dir;
  tablestore::TableStore store;
  writeDataset(store, dir);
  writeTable(store, dir, "[Plot]notes.dbf", {{"NOTE", 'C', 2, 0}}, {{"hi"}});
  ExtractResult result;
  ASSERT_EQ(exchange::extractDataset(store, request(dir), result, nullptr), ExtractOutcome::kDone) << result.failure;
  EXPECT_EQ(result.bundles, 4);
  EXPECT_EQ(result.messages, std::vector<std::string>{"Not a bundle table: [Plot]notes.dbf (left as it is)"});
  auto expected = kExtracted;
  expected["[Plot]notes.dbf"] = {"hi"};
  EXPECT_EQ(liveTables(store, dir), expected);
}

TEST(ExtractDataset, UnsafeKeysRefuseTheirRecordsKeepTheBundleAndWriteNothingOutside) {
  TempDir dir;
  tablestore::TableStore store;
  writeDataset(store, dir, "..\\");
  ExtractResult result;
  ASSERT_EQ(exchange::extractDataset(store, request(dir), result, nullptr), ExtractOutcome::kDone) << result.failure;
  EXPECT_EQ(result.records, 9);
  ASSERT_EQ(result.messages.size(), 2u);
  EXPECT_EQ(result.messages[0], "Record 3 of [Plot]3AAA__000000TREES+.dbf: key \"..\\\" cannot name a file");
  EXPECT_EQ(result.messages[1], "[Plot]3AAA__000000TREES+.dbf kept as [Plot]3AAA__000000TREES+.ref");
  auto expected = kExtracted;
  expected["01 3AAA__[Plot]HERE01~S01-P01~TREES.dbf"] = {"S01P01T01"};
  EXPECT_EQ(liveTables(store, dir), expected);
  // The refused record is still on the unit, in the kept bundle.
  EXPECT_EQ(records(store, dir.file("[Plot]3AAA__000000TREES+.ref")).size(), 4u);
  EXPECT_EQ(namesIn(dir).size(), expected.size() + 1);
}

// A run killed after its k-th step, then a run to the end: the same tables
// as one whole run, every record once.
TEST(ExtractDataset, AKilledRunIsCompletedByTheNextWithNoRecordLostOrDoubled) {
  int steps = 0;
  {
    TempDir dir;
    tablestore::TableStore store;
    writeDataset(store, dir);
    ExtractRequest counting = request(dir);
    counting.stopHere = [&steps] { ++steps; return false; };
    ExtractResult result;
    ASSERT_EQ(exchange::extractDataset(store, counting, result, nullptr), ExtractOutcome::kDone);
  }
  ASSERT_GT(steps, 20);
  for (int k = 1; k <= steps; ++k) {
    TempDir dir;
    tablestore::TableStore store;
    writeDataset(store, dir);
    ExtractRequest killed = request(dir);
    int seen = 0;
    killed.stopHere = [&seen, k] { return ++seen == k; };
    ExtractResult first;
    ASSERT_EQ(exchange::extractDataset(store, killed, first, nullptr), ExtractOutcome::kStopped) << k;
    // Someone makes a dataset meanwhile: it takes the next number, not ours.
    ExtractResult second;
    ASSERT_EQ(exchange::extractDataset(store, request(dir), second, nullptr), ExtractOutcome::kDone)
        << k << ": " << second.failure;
    EXPECT_EQ(second.datasetNumber, 1) << k;
    EXPECT_EQ(liveTables(store, dir), kExtracted) << "killed after step " << k;
    EXPECT_EQ(namesIn(dir).size(), kExtracted.size()) << k;
  }
}

TEST(ExtractDataset, ADiskFullDuringASplitFailsWithNothingLiveAndTheNextRunCompletes) {
  TempDir dir;
  tablestore::TableStore store;
  writeDataset(store, dir);
  ExtractResult first;
  {
    testing_support::FaultyFileSystem faulty(platform::nativeFileSystem());
    platform::ScopedFileSystem scoped(faulty);
    faulty.failWritesAfter(700);
    ASSERT_EQ(exchange::extractDataset(store, request(dir), first, nullptr), ExtractOutcome::kFailed);
  }
  EXPECT_FALSE(first.failure.empty());
  EXPECT_EQ(store.openCount(), 0u);
  // A raw table is live only whole; the bundle that failed is still there.
  int bundlesLeft = 0;
  for (const auto& [name, rows] : liveTables(store, dir)) {
    if (name[0] == '[') ++bundlesLeft;
    else EXPECT_EQ(rows, kExtracted.at(name)) << name;
  }
  EXPECT_GT(bundlesLeft, 1);
  ExtractResult second;
  ASSERT_EQ(exchange::extractDataset(store, request(dir), second, nullptr), ExtractOutcome::kDone) << second.failure;
  EXPECT_EQ(liveTables(store, dir), kExtracted);
}

TEST(ExtractDataset, AKilledRunWhoseNumberWasTakenMeanwhileMovesToAFreeOne) {
  TempDir dir;
  tablestore::TableStore store;
  writeDataset(store, dir);
  ExtractRequest killed = request(dir);
  killed.stopHere = [] { return true; };  // in the first record of the first bundle
  ExtractResult first;
  ASSERT_EQ(exchange::extractDataset(store, killed, first, nullptr), ExtractOutcome::kStopped);
  testing_support::writeBytes(dir.file("01 1A____[New]ABC___~~X.dbf"), "x");
  ExtractResult second;
  ASSERT_EQ(exchange::extractDataset(store, request(dir), second, nullptr), ExtractOutcome::kDone) << second.failure;
  EXPECT_EQ(second.datasetNumber, 2);
  EXPECT_EQ(records(store, dir.file("02 2AA___[Plot]HERE01~S01~PLOTS.dbf")),
            (std::vector<std::string>{"S01P01", "S01P02"}));
  EXPECT_EQ(records(store, dir.file("02 1A____[Plot]HERE01#$$DataAppVer.dbf")), std::vector<std::string>{"v1.2"});
  for (const std::string& name : namesIn(dir))
    EXPECT_FALSE(name.rfind("01 ", 0) == 0 && name.find("[Plot]") != std::string::npos) << name;
}

TEST(ExtractProgress, TitleAndDatasetLine) {
  const ui::ProgressSpec desc = exchange::extractProgressTexts("Plot");
  EXPECT_EQ(desc.title, "***** Dataset Extract *****");
  EXPECT_EQ(desc.line1, "      Dataset:Plot");
}

}  // namespace
