// "PARENT", "CHILD%d" and "STATUS%d": written into the current records when
// the tables have them and the application keeps them, and cleared when the
// child's lines were deleted.
#include <gtest/gtest.h>

#include "base/text.hpp"
#include "datasets/parent_links.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

class ParentLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = store.createTable(dir.file("parent.dbf"), std::vector<tablestore::FieldSpec>{
                                   {"PLOT", 'N', 4, 0}, {"CHILD2", 'C', 60, 0}, {"STATUS2", 'C', 1, 0}, {"", 'C', 0, 0}});
    child = store.createTable(dir.file("child.dbf"), std::vector<tablestore::FieldSpec>{
                                  {"PLOT", 'N', 4, 0}, {"PARENT", 'C', 60, 0}, {"", 'C', 0, 0}});
    ASSERT_NE(parent, nullptr);
    ASSERT_NE(child, nullptr);
    for (tablestore::Table* t : {parent, child}) {
      ASSERT_EQ(t->appendStart(), 0);
      ASSERT_EQ(t->append(), 0);
    }
  }
  // The field as it is in the file (the record read back).
  std::string stored(tablestore::Table* t, const char* field) {
    EXPECT_EQ(t->goRecord(1), 0);
    return base::trimRight(t->fieldByName(field)->text());
  }

  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  tablestore::TableStore store{&host};
  tablestore::Table* parent = nullptr;
  tablestore::Table* child = nullptr;
};

TEST_F(ParentLinksTest, FieldNamesCarryTheChildLetterNumber) {
  EXPECT_EQ(datasets::childFieldName(2), "CHILD2");
  EXPECT_EQ(datasets::statusFieldName(26), "STATUS26");
}

TEST_F(ParentLinksTest, OpeningAChildWritesBothSides) {
  ASSERT_EQ(datasets::updateParentLinks(*parent, child, 2, "P.dbf", "C.dbf", true, {true, true}), 0);
  EXPECT_EQ(stored(child, "PARENT"), "P.dbf");
  EXPECT_EQ(stored(parent, "CHILD2"), "C.dbf");
  EXPECT_EQ(stored(parent, "STATUS2"), "1");
  ASSERT_EQ(datasets::updateParentLinks(*parent, child, 2, "P.dbf", "C.dbf", false, {false, true}), 0);
  EXPECT_EQ(stored(parent, "STATUS2"), "0");
}

TEST_F(ParentLinksTest, OnlyWhatTheApplicationKeeps) {
  ASSERT_EQ(datasets::updateParentLinks(*parent, child, 2, "P.dbf", "C.dbf", true, {false, false}), 0);
  EXPECT_EQ(stored(child, "PARENT"), "");
  EXPECT_EQ(stored(parent, "CHILD2"), "");
  EXPECT_EQ(stored(parent, "STATUS2"), "");
  ASSERT_EQ(datasets::updateParentLinks(*parent, child, 2, "P.dbf", "C.dbf", true, {true, false}), 0);
  EXPECT_EQ(stored(parent, "CHILD2"), "C.dbf");
  EXPECT_EQ(stored(parent, "STATUS2"), "");
}

TEST_F(ParentLinksTest, FieldsTheTablesLackAndRecordsThatAreNotThereAreLeftAlone) {
  // Child letter 3: the parent has no CHILD3 or STATUS3.
  ASSERT_EQ(datasets::updateParentLinks(*parent, child, 3, "P.dbf", "C.dbf", true, {true, true}), 0);
  EXPECT_EQ(stored(parent, "CHILD2"), "");
  // A parent without a current record.
  tablestore::Table* empty = store.createTable(dir.file("empty.dbf"), parent->fieldInfo());
  ASSERT_NE(empty, nullptr);
  ASSERT_EQ(datasets::updateParentLinks(*empty, nullptr, 2, "P.dbf", "C.dbf", true, {true, true}), 0);
  EXPECT_EQ(empty->recordCount(), 0);
}

TEST_F(ParentLinksTest, ClosingAChildClearsOrRefreshes) {
  ASSERT_EQ(datasets::updateParentLinks(*parent, child, 2, "P.dbf", "C.dbf", false, {true, true}), 0);
  // Lines kept: the status follows the child's flag, the link stays.
  ASSERT_EQ(datasets::clearParentLinks(*parent, 2, false, true, {true, true}), 0);
  EXPECT_EQ(stored(parent, "STATUS2"), "1");
  EXPECT_EQ(stored(parent, "CHILD2"), "C.dbf");
  // Lines deleted: both go.
  ASSERT_EQ(datasets::clearParentLinks(*parent, 2, true, true, {true, true}), 0);
  EXPECT_EQ(stored(parent, "STATUS2"), "");
  EXPECT_EQ(stored(parent, "CHILD2"), "");
}

}  // namespace
