// Splitting one bundle table: where each record goes, which keys are read,
// the unit code the raw names carry, and keys that must not name a file.
#include <gtest/gtest.h>

#include "base/text.hpp"
#include "exchange/bundle_fixture.hpp"
#include "exchange/dataset_files.hpp"
#include "exchange/split_table.hpp"

namespace {

using exchange::SplitOutcome;
using exchange::SplitRequest;
using exchange::SplitResult;
using exchange_test::records;
using exchange_test::writeTable;
using testing_support::TempDir;

const std::vector<tablestore::FieldSpec> kTreeFields{
    {"KEY_A1", 'C', 3, 0}, {"KEY_A2", 'C', 3, 0}, {"TREE", 'C', 3, 0}, {"NOTE", 'C', 4, 0}};

SplitRequest request(const TempDir& dir, std::string bundle, int number = 4) {
  return SplitRequest{dir.path(), std::move(bundle), "", number, "HERE01"};
}

TEST(SplitTable, EachRecordGoesToTheStagedTableItsKeysNameInOrder) {
  TempDir dir;
  tablestore::TableStore store;
  writeTable(store, dir, "[Plot]3AAA__ABC___TREES+.dbf", kTreeFields,
             {{"S01", "P01", "T01", "a"}, {"S02", "P01", "T01", "b"}, {"S01", "P01", "T02", "c"}});
  SplitResult result;
  ASSERT_EQ(exchange::splitTable(store, request(dir, "[Plot]3AAA__ABC___TREES+.dbf"), result), SplitOutcome::kSplit)
      << result.failure;
  EXPECT_EQ(result.records, 3);
  EXPECT_EQ(result.written, 3);
  ASSERT_EQ(result.staged, (std::vector<std::string>{"04 3AAA__[Plot]ABC___~S01-P01~TREES.db~",
                                                     "04 3AAA__[Plot]ABC___~S02-P01~TREES.db~"}));
  EXPECT_EQ(records(store, dir.file(result.staged[0])),
            (std::vector<std::string>{"S01P01T01a   ", "S01P01T02c   "}));
  EXPECT_EQ(records(store, dir.file(result.staged[1])), (std::vector<std::string>{"S02P01T01b   "}));
  EXPECT_EQ(store.openCount(), 0u);
}

TEST(SplitTable, UnitCodeOfNoUnitOrTooLongGivesWayToThisUnits) {
  TempDir dir;
  tablestore::TableStore store;
  const std::vector<tablestore::FieldSpec> fields{{"SITE", 'C', 3, 0}, {"NOTE", 'C', 2, 0}};
  writeTable(store, dir, "[Plot]1A____000000+SITES.dbf", fields, {{"S01", "x"}});
  writeTable(store, dir, "[Plot]1A____LONGUNIT9+SITES.dbf", fields, {{"S02", "y"}});
  writeTable(store, dir, "[Plot]1A____ABC___+SITES.dbf", fields, {{"S03", "z"}});
  for (const auto& [bundle, staged] : std::vector<std::pair<std::string, std::string>>{
           {"[Plot]1A____000000+SITES.dbf", "04 1A____[Plot]HERE01~~SITES.db~"},
           {"[Plot]1A____LONGUNIT9+SITES.dbf", "04 1A____[Plot]HERE01~~SITES.db~"},
           {"[Plot]1A____ABC___+SITES.dbf", "04 1A____[Plot]ABC___~~SITES.db~"}}) {
    SplitResult result;
    ASSERT_EQ(exchange::splitTable(store, request(dir, bundle), result), SplitOutcome::kSplit) << result.failure;
    ASSERT_EQ(result.staged, std::vector<std::string>{staged}) << bundle;
    ASSERT_EQ(platform::deleteFile(dir.file(staged)), 0);
  }
}

TEST(SplitTable, LongUnitCodeOfADeeperLevelIsToldFromTheTableNameByTheHint) {
  TempDir dir;
  tablestore::TableStore store;
  writeTable(store, dir, "[Plot]2AA___LONGUNIT9PLOTS+.dbf", {{"KEY_A1", 'C', 3, 0}, {"PLOT", 'C', 3, 0}},
             {{"S01", "P01"}});
  SplitRequest r = request(dir, "[Plot]2AA___LONGUNIT9PLOTS+.dbf");
  r.unitHint = "LONGUNIT9";
  SplitResult result;
  ASSERT_EQ(exchange::splitTable(store, r, result), SplitOutcome::kSplit) << result.failure;
  EXPECT_EQ(result.staged, std::vector<std::string>{"04 2AA___[Plot]HERE01~S01~PLOTS.db~"});
}

TEST(SplitTable, CoordinateBundlesUseTheirOwnKeyAndPositionNumberedKeyFields) {
  TempDir dir;
  tablestore::TableStore store;
  // The level-2 coordinate file carries its own record's key too; a field
  // named for another position ends the keys.
  writeTable(store, dir, "[Plot]2AA___ABC___PLOTS+^GPS.GPF",
             {{"L1_KEY", 'C', 3, 0}, {"L2_KEY", 'C', 3, 0}, {"L4_KEY", 'C', 3, 0}, {"LAT", 'N', 6, 2}},
             {{"S01", "P02", "zzz", "1.50"}});
  SplitResult result;
  ASSERT_EQ(exchange::splitTable(store, request(dir, "[Plot]2AA___ABC___PLOTS+^GPS.GPF"), result),
            SplitOutcome::kSplit)
      << result.failure;
  EXPECT_EQ(result.staged, std::vector<std::string>{"04 2AA___[Plot]ABC___~S01-P02~PLOTS^GPS.GP~"});
}

TEST(SplitTable, TooFewKeyFieldsForTheLevelCannotBeSplit) {
  TempDir dir;
  tablestore::TableStore store;
  // The only KEY_A field is the last one: it is never read as a key.
  writeTable(store, dir, "[Plot]2AA___ABC___PLOTS+.dbf", {{"PLOT", 'C', 3, 0}, {"KEY_A1", 'C', 3, 0}},
             {{"P01", "S01"}});
  writeTable(store, dir, "[Plot]3AAA__ABC___TREES+.dbf", {{"KEY_A1", 'C', 3, 0}, {"KEY_A2", 'C', 3, 0}},
             {{"S01", "P01"}});
  for (const char* bundle : {"[Plot]2AA___ABC___PLOTS+.dbf", "[Plot]3AAA__ABC___TREES+.dbf"}) {
    SplitResult result;
    EXPECT_EQ(exchange::splitTable(store, request(dir, bundle), result), SplitOutcome::kFailed) << bundle;
    EXPECT_TRUE(result.staged.empty());
    EXPECT_FALSE(result.failure.empty());
  }
}

TEST(SplitTable, BundlesNamingNoKeyFieldHoldTheirKeysByPosition) {
  TempDir dir;
  tablestore::TableStore store;
  // The demo's level tables: PLOT, TREE, then the data; LOGS: PLOT, TREE, LOG.
  writeTable(store, dir, "[Plot]3AAA__ABC___TREES+.dbf",
             {{"PLOT", 'C', 3, 0}, {"TREE", 'C', 3, 0}, {"DBH", 'N', 4, 1}},
             {{"P01", "T01", "12.5"}, {"P02", "T01", "8.0"}});
  writeTable(store, dir, "[Plot]2AA___ABC___ONE+.dbf", {{"PLOT", 'C', 3, 0}}, {{"P01"}});
  writeTable(store, dir, "[Plot]2AA___ABC___PLOTS+^GPS.GPF",
             {{"PLOT", 'C', 3, 0}, {"SEQ", 'C', 3, 0}, {"LAT", 'N', 6, 2}}, {{"P01", "001", "1.50"}});
  SplitResult trees;
  ASSERT_EQ(exchange::splitTable(store, request(dir, "[Plot]3AAA__ABC___TREES+.dbf"), trees), SplitOutcome::kSplit)
      << trees.failure;
  EXPECT_EQ(trees.staged, (std::vector<std::string>{"04 3AAA__[Plot]ABC___~P01-T01~TREES.db~",
                                                    "04 3AAA__[Plot]ABC___~P02-T01~TREES.db~"}));
  SplitResult gps;
  ASSERT_EQ(exchange::splitTable(store, request(dir, "[Plot]2AA___ABC___PLOTS+^GPS.GPF"), gps), SplitOutcome::kSplit)
      << gps.failure;
  EXPECT_EQ(gps.staged, std::vector<std::string>{"04 2AA___[Plot]ABC___~P01-001~PLOTS^GPS.GP~"});
  // A table's last field is never a key, by name or by position.
  SplitResult one;
  EXPECT_EQ(exchange::splitTable(store, request(dir, "[Plot]2AA___ABC___ONE+.dbf"), one), SplitOutcome::kFailed);
  EXPECT_TRUE(one.staged.empty());
}

TEST(SplitTable, KeysThatCannotNameAFileRefuseOnlyTheirRecords) {
  TempDir dir;
  tablestore::TableStore store;
  const std::vector<tablestore::FieldSpec> fields{{"KEY_A1", 'C', 8, 0}, {"PLOT", 'C', 3, 0}};
  const std::vector<std::string> bad{"..\\x", "../x", "C:", "CON", "nul.txt", "COM1", "LPT9.a", "a\tb", "ab~",
                                     "a/b", "a..b"};
  std::vector<exchange_test::Row> rows{{"S01", "P01"}};
  for (const std::string& key : bad) rows.push_back({key, "P02"});
  rows.push_back({"COM0", "P03"});  // no device
  writeTable(store, dir, "[Plot]2AA___ABC___PLOTS+.dbf", fields, rows);
  SplitResult result;
  ASSERT_EQ(exchange::splitTable(store, request(dir, "[Plot]2AA___ABC___PLOTS+.dbf"), result), SplitOutcome::kSplit)
      << result.failure;
  EXPECT_EQ(result.written, 2);
  ASSERT_EQ(result.refusals.size(), bad.size());
  EXPECT_EQ(result.refusals[0], "Record 2 of [Plot]2AA___ABC___PLOTS+.dbf: key \"..\\x\" cannot name a file");
  EXPECT_EQ(result.staged, (std::vector<std::string>{"04 2AA___[Plot]ABC___~S01     ~PLOTS.db~",
                                                     "04 2AA___[Plot]ABC___~COM0    ~PLOTS.db~"}));
  // Nothing but the bundle and the two staged tables, nowhere else.
  EXPECT_EQ(exchange_test::namesIn(dir).size(), 3u);
}

TEST(SplitTable, KeysMakingANameTooLongToBeListedRefuseTheirRecord) {
  TempDir dir;
  tablestore::TableStore store;
  std::vector<tablestore::FieldSpec> fields;
  for (int j = 1; j <= 5; ++j) fields.push_back({base::format("KEY_A%d", j), 'C', 30, 0});
  fields.push_back({"NOTE", 'C', 1, 0});
  // Level-5 bundles: four keys of 30 characters, and table names of 80 and 120.
  const std::vector<exchange_test::Row> rows{{"a", "b", "c", "d", "x"}, {"s", "p", "q", "r", "y"}};
  const std::string fits = "[Plot]5AAAAAABC___" + std::string(80, 'T') + "+.dbf";
  const std::string tooLong = "[Plot]5AAAAAABC___" + std::string(120, 'T') + "+.dbf";
  writeTable(store, dir, fits, fields, rows);
  writeTable(store, dir, tooLong, fields, rows);
  SplitResult result;
  ASSERT_EQ(exchange::splitTable(store, request(dir, fits), result), SplitOutcome::kSplit) << result.failure;
  EXPECT_EQ(result.written, 2);
  ASSERT_EQ(result.staged.size(), 2u);
  EXPECT_LT(result.staged[0].size(), exchange::kMaxListedNameBytes);
  SplitResult refused;
  ASSERT_EQ(exchange::splitTable(store, request(dir, tooLong), refused), SplitOutcome::kSplit) << refused.failure;
  EXPECT_EQ(refused.written, 0);
  EXPECT_EQ(refused.refusals.size(), 2u);
  EXPECT_TRUE(refused.staged.empty());
}

TEST(SplitTable, EightBitKeysBecomeUtf8Names) {
  TempDir dir;
  tablestore::TableStore store;
  writeTable(store, dir, "[Plot]2AA___ABC___PLOTS+.dbf", {{"KEY_A1", 'C', 3, 0}, {"PLOT", 'C', 3, 0}},
             {{"S\xE9r", "P01"}});
  SplitResult result;
  ASSERT_EQ(exchange::splitTable(store, request(dir, "[Plot]2AA___ABC___PLOTS+.dbf"), result), SplitOutcome::kSplit)
      << result.failure;
  ASSERT_EQ(result.staged, std::vector<std::string>{"04 2AA___[Plot]ABC___~S\xC3\xA9r~PLOTS.db~"});
  EXPECT_TRUE(platform::fileExists(dir.file(result.staged[0])));
}

TEST(KeyNamesFile, DeviceNamesSeparatorsAndLengthsAreRefused) {
  EXPECT_TRUE(exchange::keyNamesFile("S01"));
  EXPECT_TRUE(exchange::keyNamesFile("CONE"));
  EXPECT_TRUE(exchange::keyNamesFile("a.b"));
  EXPECT_TRUE(exchange::keyNamesFile(std::string(30, 'k') + "     "));
  EXPECT_FALSE(exchange::keyNamesFile(std::string(31, 'k')));
  EXPECT_FALSE(exchange::keyNamesFile(" aux "));
  EXPECT_FALSE(exchange::keyNamesFile("Prn.dbf"));
  EXPECT_FALSE(exchange::keyNamesFile("lpt1"));
  EXPECT_FALSE(exchange::keyNamesFile("conout$"));
  EXPECT_FALSE(exchange::keyNamesFile("COM\xB9.x"));
  EXPECT_FALSE(exchange::keyNamesFile("LPT\xC2\xB3"));
  EXPECT_TRUE(exchange::keyNamesFile("COM10"));
  EXPECT_FALSE(exchange::keyNamesFile(".."));
  EXPECT_FALSE(exchange::keyNamesFile("a:b"));
  EXPECT_FALSE(exchange::keyNamesFile(std::string("a\x7f", 2) + '\x01'));
}

TEST(StagedNames, StagedAndLiveNamesPairUp) {
  EXPECT_EQ(exchange::stagedPartner("01 1A____[P]U~~T.dbf"), "01 1A____[P]U~~T.db~");
  EXPECT_EQ(exchange::stagedPartner("01 2AA___[P]U~k~T^G.GPF"), "01 2AA___[P]U~k~T^G.GP~");
  EXPECT_EQ(exchange::stagedPartner("x.del"), "");
  EXPECT_EQ(exchange::livePartner("01 1A____[P]U~~T.db~"), "01 1A____[P]U~~T.dbf");
  EXPECT_EQ(exchange::livePartner("01 2AA___[P]U~k~T^G.GP~"), "01 2AA___[P]U~k~T^G.GPF");
  EXPECT_EQ(exchange::livePartner("x.dbf"), "");
}

}  // namespace
