// Check files: their paths, opening them, and every look-up over them, on
// small tables written with the table store.
#include "editor/check_files.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/codepage.hpp"
#include "platform/files.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/number_text.hpp"
#include "tablestore/table.hpp"
#include "tablestore/table_store.hpp"

namespace {

using editor::CheckFile;
using editor::CheckFileOpen;
using Rows = std::vector<std::vector<std::string>>;

class CheckFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { store.setErrorDisplay(false); }
  void TearDown() override { store.closeAll(); }

  // Writes a table into the folder and closes it.
  void make(const std::string& name, std::vector<tablestore::FieldSpec> fields, const Rows& rows) {
    fields.push_back({});
    store.clearError();
    tablestore::Table* t = store.createTable(platform::toNarrow(dir.file(name)), fields);
    ASSERT_NE(t, nullptr);
    for (const auto& row : rows) {
      ASSERT_EQ(t->appendStart(), 0);
      for (std::size_t j = 0; j < row.size(); ++j) {
        tablestore::TableField* f = t->fieldByNumber(static_cast<int>(j) + 1);
        ASSERT_NE(f, nullptr);
        ASSERT_EQ(f->type() == 'N' ? f->assignNumber(tablestore::parseNumber(row[j])) : f->assignText(row[j]), 0);
      }
      ASSERT_EQ(t->append(), 0);
    }
    ASSERT_EQ(store.closeTable(t), 0);
  }
  tablestore::Table& opened(const std::string& name) {
    EXPECT_EQ(file.open(dir.path(), name), CheckFileOpen::kOpen);
    return *file.table();
  }

  testing_support::TempDir dir;
  tablestore::TableStore store;
  CheckFile file{store};
};

TEST(ApplicationFilePath, JoinsATrimmedNameAndRefusesUnsafeOnes) {
  const std::string expected = std::string("app") + platform::kSep + "CODES.DBF";
  EXPECT_EQ(editor::applicationFilePath("app", "  CODES.DBF   "), expected);
  for (const char* bad : {"", "   ", "..", "..\\x.dbf", "sub/x.dbf", "sub\\x.dbf", "C:x.dbf", "a..b", "*.dbf",
                          "c?.dbf"}) {
    EXPECT_EQ(editor::applicationFilePath("app", bad), "") << bad;
  }
}

TEST_F(CheckFilesTest, OpeningTellsNotFoundCannotOpenAndOpen) {
  EXPECT_EQ(file.open(dir.path(), "NONE.DBF"), CheckFileOpen::kNotFound);
  testing_support::writeBytes(dir.file("JUNK.DBF"), "not a table at all");
  EXPECT_EQ(file.open(dir.path(), "JUNK.DBF"), CheckFileOpen::kCannotOpen);
  EXPECT_EQ(file.table(), nullptr);
  make("CODES.DBF", {{"CODE", 'C', 2}}, {{"AB"}});
  EXPECT_EQ(file.open(dir.path(), " CODES.DBF "), CheckFileOpen::kOpen);
  ASSERT_NE(file.table(), nullptr);
  file.close();
  EXPECT_EQ(file.table(), nullptr);
  // Closed means closed: the same file opens again (an open one would be a duplicate).
  EXPECT_EQ(file.open(dir.path(), "CODES.DBF"), CheckFileOpen::kOpen);
  EXPECT_EQ(store.error(), 0);
}

TEST_F(CheckFilesTest, TextKeysMatchExactlyOverTheFieldWidthByHalvingOrInOrder) {
  make("CODES.DBF", {{"CODE", 'C', 4}, {"NAME", 'C', 12}},
       {{"AB", "Alder"}, {"CD", "Cedar"}, {"EF", "Elm"}, {"GH", "Hemlock"}, {"~", "Other"}});
  tablestore::Table& t = opened("CODES.DBF");
  for (bool sequential : {false, true}) {
    EXPECT_EQ(editor::findInCheckFile(t, 1, "AB", sequential), 1);
    EXPECT_EQ(editor::findInCheckFile(t, 1, "GH  ", sequential), 4);
    EXPECT_EQ(editor::findInCheckFile(t, 1, "EF", sequential), 3);
    EXPECT_EQ(editor::findInCheckFile(t, 1, "A", sequential), 0);      // no prefix matches
    EXPECT_EQ(editor::findInCheckFile(t, 1, "ab", sequential), 0);     // case counts
    EXPECT_EQ(editor::findInCheckFile(t, 1, "ABCDE", sequential), 0);  // longer than the field
    EXPECT_EQ(editor::findInCheckFile(t, 1, "Cedar", sequential), 0);  // field 1 only
    EXPECT_EQ(editor::findInCheckFile(t, 2, "Cedar", sequential), 2);
    EXPECT_EQ(editor::findInCheckFile(t, 3, "AB", sequential), 0);     // no such field
    EXPECT_EQ(editor::findInCheckFile(t, 0, "AB", sequential), 0);
  }
}

TEST_F(CheckFilesTest, NumericFieldsCompareNumbers) {
  make("NUMS.DBF", {{"K", 'N', 5, 1}, {"V", 'C', 3}}, {{"1", "a"}, {"2.5", "b"}, {"10", "c"}});
  tablestore::Table& t = opened("NUMS.DBF");
  for (bool sequential : {false, true}) {
    EXPECT_EQ(editor::findInCheckFile(t, 1, "2.50", sequential), 2);
    EXPECT_EQ(editor::findInCheckFile(t, 1, " 10", sequential), 3);
    EXPECT_EQ(editor::findInCheckFile(t, 1, "3", sequential), 0);
    EXPECT_EQ(editor::findNumberInCheckFile(t, 1, 1, sequential), 1);
  }
}

TEST_F(CheckFilesTest, LookUpByKindWithTheTildeFallbackOnlyWhenAsked) {
  make("REL.DBF", {{"KEY", 'C', 2}, {"LOW", 'N', 4}, {"HIGH", 'N', 4}},
       {{"AB", "1", "5"}, {"CD", "6", "9"}, {"~", "0", "99"}});
  tablestore::Table& t = opened("REL.DBF");
  EXPECT_EQ(editor::findByKind(t, editor::kMatchText, {"CD", 0}, true, false), 2);
  EXPECT_EQ(editor::findByKind(t, editor::kMatchText, {"XY", 0}, true, false), 3);
  EXPECT_EQ(editor::findByKind(t, editor::kMatchText, {"XY", 0}, false, false), 0);
  EXPECT_EQ(editor::findByKind(t, editor::kMatchText, {"XY", 0}, true, true), 3);
  EXPECT_EQ(editor::findByKind(t, 7, {"AB", 0}, true, false), 0);

  make("NUM.DBF", {{"KEY", 'N', 4}, {"TO", 'N', 4}}, {{"3", "4"}, {"8", "12"}});
  tablestore::Table& n = opened("NUM.DBF");
  EXPECT_EQ(editor::findByKind(n, editor::kMatchNumber, {"", 8}, true, false), 2);
  EXPECT_EQ(editor::findByKind(n, editor::kMatchNumber, {"", 4}, true, false), 0);  // no "~" for numbers
  EXPECT_EQ(editor::findByKind(n, editor::kMatchRange, {"", 10}, true, false), 2);
  EXPECT_EQ(editor::findByKind(n, editor::kMatchRange, {"", 5}, true, false), 0);
}

TEST_F(CheckFilesTest, RangeRowsTakeTheFirstRowHoldingTheKeys) {
  make("RANGE.DBF",
       {{"K1LO", 'N', 4}, {"K1HI", 'N', 4}, {"K2LO", 'N', 4}, {"K2HI", 'N', 4}, {"MIN", 'N', 4}, {"MAX", 'N', 4}},
       {{"1", "10", "1", "5", "20", "30"}, {"5", "20", "6", "9", "40", "50"}, {"1", "10", "6", "9", "60", "70"}});
  tablestore::Table& t = opened("RANGE.DBF");
  EXPECT_EQ(editor::findRangeRow(t, 1), 1);   // the bounds belong to the row
  EXPECT_EQ(editor::findRangeRow(t, 10), 1);
  EXPECT_EQ(editor::findRangeRow(t, 15), 2);
  EXPECT_EQ(editor::findRangeRow(t, 21), 0);
  EXPECT_EQ(editor::findRangeRow(t, 5, 7), 2);  // the first row where both keys fit
  EXPECT_EQ(editor::findRangeRow(t, 2, 7), 3);
  EXPECT_EQ(editor::findRangeRow(t, 2, 3), 1);
  EXPECT_EQ(editor::findRangeRow(t, 2, 10), 0);
  double v = 0;
  EXPECT_TRUE(editor::fieldNumberOf(t, 3, 6, v));
  EXPECT_DOUBLE_EQ(v, 70);
  EXPECT_FALSE(editor::fieldNumberOf(t, 3, 7, v));  // past the record
  EXPECT_FALSE(editor::fieldNumberOf(t, 4, 1, v));  // past the file
  EXPECT_FALSE(editor::fieldNumberOf(t, 0, 1, v));
}

TEST_F(CheckFilesTest, RecordsWithTooFewFieldsAreNotFound) {
  make("ONE.DBF", {{"K", 'N', 4}}, {{"5"}});
  tablestore::Table& t = opened("ONE.DBF");
  EXPECT_EQ(editor::findRangeRow(t, 5), 0);
  EXPECT_EQ(editor::findRangeRow(t, 5, 5), 0);
  make("THREE.DBF", {{"A", 'N', 4}, {"B", 'N', 4}, {"C", 'N', 4}}, {{"1", "9", "1"}});
  tablestore::Table& three = opened("THREE.DBF");
  EXPECT_EQ(editor::findRangeRow(three, 5), 1);
  EXPECT_EQ(editor::findRangeRow(three, 5, 1), 0);
  bool ok = true;
  EXPECT_EQ(editor::fieldTextOf(three, 1, 4, &ok), "");
  EXPECT_FALSE(ok);
}

TEST_F(CheckFilesTest, ARelationNamesTheFileFromItsLastFieldAndUnsafeNamesDoNotOpen) {
  make("REL.DBF", {{"KEY", 'C', 2}, {"NOTE", 'C', 4}, {"FILE", 'C', 20}},
       {{"AB", "x", " AB.DBF"}, {"CD", "y", "..\\SECRET.DBF"}, {"EF", "z", ""},
        {"GH", "w", "LONGNAME.DBF xxxxx"}});
  make("AB.DBF", {{"CODE", 'C', 2}}, {{"11"}});
  tablestore::Table& t = opened("REL.DBF");
  editor::Levels none;  // no level is open: the key is empty
  std::string name;
  EXPECT_EQ(editor::resolveRelation(t, editor::kMatchText, none, 1, 1, name), editor::RelationResult::kNotFound);
  using R = editor::RelationResult;
  ASSERT_EQ(editor::resolveRelation(t, editor::kMatchText, editor::MatchKey{"AB", 0}, name), R::kResolved);
  EXPECT_EQ(name, "AB.DBF");
  CheckFile named{store};
  EXPECT_EQ(named.open(dir.path(), name), CheckFileOpen::kOpen);
  ASSERT_EQ(editor::resolveRelation(t, editor::kMatchText, editor::MatchKey{"CD", 0}, name), R::kResolved);
  EXPECT_EQ(named.open(dir.path(), name), CheckFileOpen::kNotFound);  // never outside the folder
  EXPECT_EQ(editor::resolveRelation(t, editor::kMatchText, editor::MatchKey{"EF", 0}, name), R::kNotFound);
  ASSERT_EQ(editor::resolveRelation(t, editor::kMatchText, editor::MatchKey{"GH", 0}, name), R::kResolved);
  EXPECT_EQ(name, "LONGNAME.DBF");  // 13 characters at most
  EXPECT_EQ(editor::resolveRelation(t, editor::kMatchText, editor::MatchKey{"ZZ", 0}, name), R::kNotFound);
}

TEST(LevelColumns, ALevelThatIsNotOpenCountsAsEmpty) {
  editor::Levels levels;
  for (int level : {-1, 0, 1, 5, 6}) {
    EXPECT_DOUBLE_EQ(editor::levelColumnValue(levels, level, 1), 0);
    EXPECT_EQ(editor::levelColumnText(levels, level, 1), "");
  }
}

}  // namespace
