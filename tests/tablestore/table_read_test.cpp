// Opening files of unknown origin: what is not a table is refused with
// "File is not a Data File" (never read past), what other tools write opens.
#include <gtest/gtest.h>

#include <string>

#include "table_fixture.hpp"

namespace tablestore_test {
namespace {

using namespace tablestore;
using testing_support::writeBytes;

class TableRead : public TableTest {
 protected:
  // Opens raw bytes as a table; nullptr expected when code != 0.
  Table* openBytes(const std::string& bytes, int code = 0) {
    writeBytes(path("t.dbf"), bytes);
    store.clearError();
    Table* t = store.openTable(path("t.dbf"));
    EXPECT_EQ(store.error(), code);
    EXPECT_EQ(t == nullptr, code != 0);
    return t;
  }
  static RawTable twoFields() {
    RawTable raw;
    raw.fields = {{"NAME", 'C', 6}, {"VAL", 'N', 5, 1}};
    raw.records = {" alpha   1.5", "*beta   -2.0"};
    return raw;
  }
};

TEST_F(TableRead, WellFormedFileReadsBack) {
  Table* t = openBytes(twoFields().bytes());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 2);
  ASSERT_EQ(t->goRecord(2), 0);
  EXPECT_TRUE(t->deleted());
  EXPECT_EQ(t->fieldByName("name")->text(), "beta  ");
  EXPECT_DOUBLE_EQ(t->fieldByName("val")->number(), -2.0);
  EXPECT_EQ(t->fieldByName("val")->integer(), -2);
}

TEST_F(TableRead, RefusesWhatIsNotATable) {
  host.expect("File is not a Data File", ui::kIdOk, kErrorCaption);
  openBytes("", kErrData);
  openBytes(twoFields().bytes().substr(0, 20), kErrData);  // header cut short
  openBytes(twoFields().bytes().substr(0, 60), kErrData);  // descriptors cut short
  openBytes(std::string("This is a text file, not a table at all.\r\n"), kErrData);

  RawTable raw = twoFields();
  raw.headerLength = 4000;  // header (and descriptor count) past the end of the file
  openBytes(raw.bytes().substr(0, 140), kErrData);

  raw = twoFields();
  raw.recordLength = 0;
  openBytes(raw.bytes(), kErrData);
  raw.recordLength = 1;
  openBytes(raw.bytes(), kErrData);
  raw.recordLength = 8;  // the fields need 12
  openBytes(raw.bytes(), kErrData);

  raw = twoFields();
  raw.fields[1].length = 0;
  openBytes(raw.bytes(), kErrData);

  raw = twoFields();
  raw.fields.clear();  // no descriptor at all
  raw.headerLength = 65;
  openBytes(raw.bytes(), kErrData);

  raw = twoFields();
  raw.version = 0x04;  // level 7 lays its descriptors out otherwise
  openBytes(raw.bytes(), kErrData);

  raw = twoFields();
  raw.headerLength = 40;  // too short to hold one descriptor
  openBytes(raw.bytes(), kErrData);
}

TEST_F(TableRead, UnknownFieldTypeIsUnrecognized) {
  host.expect("Unrecognized Field Type", ui::kIdOk, kErrorCaption);
  RawTable raw = twoFields();
  raw.fields[0].type = 'X';
  openBytes(raw.bytes(), kErrFieldType);
}

TEST_F(TableRead, StoredDisplacementIsNotTrusted) {
  std::string bytes = twoFields().bytes();
  // Displacements far past the record, as old writers left in these bytes.
  bytes[32 + 12] = '\xFF';
  bytes[32 + 15] = '\x7F';
  bytes[64 + 12] = '\x10';
  bytes[64 + 13] = '\x27';
  Table* t = openBytes(bytes);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->fieldByName("VAL")->offset(), 7);
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_DOUBLE_EQ(t->fieldByName("VAL")->number(), 1.5);
}

TEST_F(TableRead, AcceptsWhatOtherToolsWrite) {
  RawTable raw;
  raw.version = 0x83;  // memo flag: the memo field reads as its raw block number
  raw.fields = {
      {"NAME", 'C', 4, 0, ' '}, {"AMOUNT", 'N', 6, 2, '\0'}, {"MEMO", 'M', 10}, {"QTY", 'N', 3}};
  raw.records = {std::string(" ") + "abc " + "  1.25" + "         1" + "  7",
                 std::string(" ") + "xyz " + "      " + "0000000002" + "***",
                 std::string(" ") + "q   " + "******" + "          " + "---"};
  raw.endMarker = false;
  raw.terminator = false;
  raw.headerLength = 32 + 32 * 4;  // no room for a terminator
  Table* t = openBytes(raw.bytes());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 3);
  EXPECT_EQ(t->fieldNumber("name"), 1);  // blank-padded name
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_DOUBLE_EQ(t->fieldByName("AMOUNT")->number(), 1.25);
  EXPECT_EQ(t->fieldByName("QTY")->integer(), 7);
  EXPECT_EQ(t->fieldByName("MEMO")->text(), "         1");
  ASSERT_EQ(t->goRecord(2), 0);
  EXPECT_EQ(t->fieldByName("AMOUNT")->number(), 0.0);  // blank number
  EXPECT_EQ(t->fieldByName("QTY")->number(), 0.0);     // asterisks
  EXPECT_EQ(t->fieldByName("QTY")->integer(), 0);
  ASSERT_EQ(t->goRecord(3), 0);
  EXPECT_EQ(t->fieldByName("AMOUNT")->number(), 0.0);
  EXPECT_EQ(t->fieldByName("QTY")->number(), 0.0);
  EXPECT_EQ(store.error(), 0);

  // A record appended to such a file lands after the last record and the
  // version byte is kept.
  appendTexts(t, {"new", "2.5", "", "9"});
  t = reopen(t);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordCount(), 4);
  ASSERT_EQ(t->goRecord(4), 0);
  EXPECT_EQ(t->fieldByName("NAME")->text(), "new ");
  std::string bytes = testing_support::readBytes(path("t.dbf"));
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x83);
}

TEST_F(TableRead, LargerHeaderPutsRecordsAfterIt) {
  RawTable raw = twoFields();
  raw.headerLength = 32 + 64 + 1 + 263;  // room another tool keeps after the terminator
  Table* t = openBytes(raw.bytes());
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_EQ(t->fieldByName("NAME")->text(), "alpha ");
}

TEST_F(TableRead, NumericOperationsRefusedForOtherTypes) {
  host.expect("Unexpected Parameter", ui::kIdOk, kErrorCaption);
  RawTable raw;
  raw.fields = {{"MEMO", 'M', 10}, {"OK", 'L', 1}, {"WHEN", 'D', 8}};
  raw.records = {"          1T20240229"};
  Table* t = openBytes(raw.bytes());
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_EQ(t->fieldByName("MEMO")->number(), 0.0);
  EXPECT_EQ(store.error(), kErrParameter);
  store.clearError();
  EXPECT_EQ(t->fieldByName("OK")->integer(), 0);
  EXPECT_EQ(store.error(), kErrParameter);
  store.clearError();
  EXPECT_EQ(t->fieldByName("WHEN")->integer(), 0);
  EXPECT_EQ(store.error(), kErrParameter);
  store.clearError();
  EXPECT_EQ(t->fieldByName("OK")->assignNumber(1), kErrParameter);
  store.clearError();
  EXPECT_EQ(t->fieldByName("WHEN")->assignChar('x'), kErrParameter);
  store.clearError();
  EXPECT_EQ(t->fieldByName("OK")->text(), "T");
  EXPECT_DOUBLE_EQ(t->fieldByName("WHEN")->number(), 2460370.0);  // 2024-02-29
}

}  // namespace
}  // namespace tablestore_test
