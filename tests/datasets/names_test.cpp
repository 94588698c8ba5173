// Level codes and the names of a dataset's files: the raw names every level
// builds, the bundle names, the version tables, and the parser that must
// take back exactly what the builders make.
#include <gtest/gtest.h>

#include "config/unit_code.hpp"
#include "datasets/data_names.hpp"
#include "datasets/level_codes.hpp"

namespace {

using datasets::BundleName;
using datasets::RawName;

RawName raw(int level, std::string code, std::string keys, std::string table) {
  return RawName{7, level, std::move(code), "North Block", "ABC___", std::move(keys), std::move(table), "", "dbf"};
}

std::string built(const RawName& parts) {
  std::string out;
  EXPECT_TRUE(datasets::buildRawName(parts, out));
  return out;
}

TEST(LevelCodes, LevelIsTheNumberOfLeadingLetters) {
  EXPECT_EQ(datasets::levelOfCode("A____"), 1);
  EXPECT_EQ(datasets::levelOfCode("AB___"), 2);
  EXPECT_EQ(datasets::levelOfCode("ABCDE"), 5);
  EXPECT_EQ(datasets::levelOfCode("A_B__"), 0);
  EXPECT_EQ(datasets::levelOfCode("a____"), 0);
  EXPECT_EQ(datasets::levelOfCode("A___"), 0);
  EXPECT_EQ(datasets::levelOfCode("_____"), 0);
  EXPECT_EQ(datasets::normalLevelCode(" AB "), "AB___");
  EXPECT_EQ(datasets::normalLevelCode("ABCDEFG"), "ABCDE");
}

TEST(LevelCodes, ChildLetterNumbersAndChildCodes) {
  EXPECT_EQ(datasets::letterNumberAt("AB___", 2), 2);
  EXPECT_EQ(datasets::letterNumberAt("ABZ__", 3), 26);
  EXPECT_EQ(datasets::letterNumberAt("AB___", 3), 0);
  EXPECT_EQ(datasets::letterNumberAt("AB___", 9), 0);
  EXPECT_EQ(datasets::childCode("A____", 1), "AA___");
  EXPECT_EQ(datasets::childCode("AB___", 3), "ABC__");
  EXPECT_EQ(datasets::childCode("ABCDE", 1), "");
  EXPECT_EQ(datasets::childCode("AB___", 27), "");
}

TEST(UnitCode, ShortTextsArePaddedLongOnesKeepTheirEnd) {
  EXPECT_EQ(config::unitCodeFrom("ABC"), "ABC___");
  EXPECT_EQ(config::unitCodeFrom("1234567890"), "567890");
  EXPECT_EQ(config::unitCodeFrom("  FIELD-07  "), "ELD-07");
}

TEST(RawNames, LevelOneTableAndItsVersionTable) {
  const RawName root = raw(1, "A____", "", "TREES");
  EXPECT_EQ(built(root), "07 1A____[North Block]ABC___~~TREES.dbf");
  std::string version;
  ASSERT_TRUE(datasets::rawVersionTableName(root, version));
  EXPECT_EQ(version, "07 1A____[North Block]ABC___#$$DataAppVer.dbf");
  ASSERT_TRUE(datasets::rawVersionTableNameOf("07 1A____[North Block]ABC___~~TREES.dbf", version));
  EXPECT_EQ(version, "07 1A____[North Block]ABC___#$$DataAppVer.dbf");
  // Only a level-1 table has a version table.
  EXPECT_FALSE(datasets::rawVersionTableNameOf("07 2AA___[North Block]ABC___~K1~TREES.dbf", version));
}

TEST(RawNames, DeeperLevelsCarryTheParentKeyPath) {
  EXPECT_EQ(built(raw(2, "AB___", "   1", "PLOTS")), "07 2AB___[North Block]ABC___~   1~PLOTS.dbf");
  const std::string level3 = built(raw(3, "ABA__", datasets::joinKeys({"K1", "K2"}), "TABLE"));
  EXPECT_TRUE(level3.ends_with("~K1-K2~TABLE.dbf")) << level3;
  // Trailing blanks of the table name go before the extension; no other
  // level than 1 holds "~~".
  EXPECT_EQ(built(raw(2, "AA___", "K1", "TREES   ")), "07 2AA___[North Block]ABC___~K1~TREES.dbf");
}

TEST(RawNames, PartsThatCannotMakeAParsableNameAreRefused) {
  std::string out = "untouched";
  EXPECT_FALSE(datasets::buildRawName(raw(2, "A____", "K1", "T"), out));    // code of another level
  EXPECT_FALSE(datasets::buildRawName(raw(1, "A____", "", "   "), out));    // no table name
  EXPECT_FALSE(datasets::buildRawName(raw(2, "AA___", "a/b", "T"), out));   // a key no file name may hold
  EXPECT_FALSE(datasets::buildRawName(raw(2, "AA___", "a~b", "T"), out));   // a key that splits the name
  RawName p = raw(1, "A____", "", "T");
  p.datasetNumber = 100;
  EXPECT_FALSE(datasets::buildRawName(p, out));
  p = raw(1, "A____", "", "T");
  p.datasetName = "a]b";
  EXPECT_FALSE(datasets::buildRawName(p, out));
  p = raw(1, "A____", "", "T");
  p.unitCode = "AB~C";
  EXPECT_FALSE(datasets::buildRawName(p, out));
  p = raw(1, "A____", "", "T");
  p.gpsSuffix = "GPS Point^";
  EXPECT_FALSE(datasets::buildRawName(p, out));
  EXPECT_EQ(out, "untouched");
}

// Every level, plain tables and coordinate files, raw and bundled: what is
// built parses back into the same parts.
TEST(RawNames, EveryLevelRoundTrips) {
  const char* codes[] = {"A____", "AC___", "ACB__", "ACBZ_", "ACBZA"};
  for (int level = 1; level <= 5; ++level) {
    std::vector<std::string> keys;
    for (int k = 1; k < level; ++k) keys.push_back(k % 2 ? "  " + std::to_string(k * 11) : "KEY-" + std::to_string(k));
    for (const char* gps : {"", "^GPS Point^", "^GPS Line ^"}) {
      for (const char* ext : {"dbf", "GPF", "del", "db$", "~~~"}) {
        RawName parts = raw(level, codes[level - 1], datasets::joinKeys(keys), "T.V" + std::to_string(level));
        parts.gpsSuffix = gps;
        parts.extension = ext;
        const std::string name = built(parts);
        RawName back;
        ASSERT_TRUE(datasets::parseRawName(name, back)) << name;
        EXPECT_EQ(back, parts) << name;
      }
    }
  }
}

TEST(RawNames, ParserRefusesWhatNoBuilderMakes) {
  RawName out;
  for (const char* name : {"", "07", "07 1A____[North Block", "07 1A____[North Block]ABC___~TREES.dbf",
                           "7a 1A____[N]ABC___~~T.dbf", "07 6A____[N]ABC___~~T.dbf", "07 2A____[N]ABC___~K~T.dbf",
                           "07 1A____[N]ABC___~~T", "07 1A____[N]ABC___~~.dbf", "07 1A____[N]~~T.dbf",
                           "07 1A____[N]ABC___~~T .dbf", "07 1A____[]ABC___~~T.dbf", "07 1A____[N.x]ABC___~~T",
                           "07 1A____N]ABC___~~T.dbf"})
    EXPECT_FALSE(datasets::parseRawName(name, out)) << name;
  ASSERT_TRUE(datasets::parseRawName("99 1A____[N]XYZ1234~~T.dbf", out));
  EXPECT_EQ(out.unitCode, "XYZ1234");  // made on another unit: any length
}

TEST(BundleNames, EveryLevelRoundTrips) {
  const char* codes[] = {"A____", "AC___", "ACB__", "ACBZ_", "ACBZA"};
  for (int level = 1; level <= 5; ++level) {
    for (const char* gps : {"", "^GPS Poly ^"}) {
      BundleName parts{"North Block", level, codes[level - 1], "ABC___", "TREES", gps, gps[0] ? "GPF" : "dbf"};
      std::string name;
      ASSERT_TRUE(datasets::buildBundleName(parts, name));
      BundleName back;
      ASSERT_TRUE(datasets::parseBundleName(name, back)) << name;
      EXPECT_EQ(back, parts) << name;
    }
  }
  std::string name;
  ASSERT_TRUE(datasets::buildBundleName({"North Block", 1, "A____", "ABC___", "TREES", "", "dbf"}, name));
  EXPECT_EQ(name, "[North Block]1A____ABC___+TREES.dbf");
  ASSERT_TRUE(datasets::buildBundleName({"North Block", 2, "AA___", "ABC___", "PLOTS", "", "dbf"}, name));
  EXPECT_EQ(name, "[North Block]2AA___ABC___PLOTS+.dbf");
}

TEST(BundleNames, UnitCodesOfOtherLengthsNeedTheHierarchyName) {
  BundleName out;
  ASSERT_TRUE(datasets::parseBundleName("[N]1A____000000+ROOT.dbf", out));
  EXPECT_EQ(out.unitCode, "000000");
  ASSERT_TRUE(datasets::parseBundleName("[N]2AB___UNIT1234PLOTS+.dbf", out, "PLOTS"));
  EXPECT_EQ(out.unitCode, "UNIT1234");
  EXPECT_EQ(out.tableName, "PLOTS");
  // Without the hierarchy's name six characters are taken.
  ASSERT_TRUE(datasets::parseBundleName("[N]2AB___UNIT1234PLOTS+.dbf", out));
  EXPECT_EQ(out.unitCode, "UNIT12");
  for (const char* name : {"N]1A____ABC___+T.dbf", "[N]1A____ABC___T.dbf", "[N]2AB___ABC___+.dbf",
                           "[N]3AB___ABC___T+.dbf", "[N]1A____+T.dbf", "[N"})
    EXPECT_FALSE(datasets::parseBundleName(name, out)) << name;
}

TEST(BundleNames, VersionTableAndBranchPatterns) {
  std::string name;
  ASSERT_TRUE(datasets::bundledVersionTableName("North Block", "ABC___", name));
  EXPECT_EQ(name, "[North Block]1A____ABC___#$$DataAppVer.dbf");
  EXPECT_EQ(datasets::rawBranchPattern(7, "AB___", "dbf"), "07 2AB___[*.dbf");
  EXPECT_EQ(datasets::rawBranchPattern(12, "A____", "GPF"), "12 1A____[*.GPF");
}

}  // namespace
