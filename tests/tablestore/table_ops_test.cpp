// The record and field operations of an open table, and the error rule.
#include <gtest/gtest.h>

#include <string>

#include "base/text.hpp"
#include "platform/fileops.hpp"
#include "support/temp_dir.hpp"
#include "table_fixture.hpp"
#include "tablestore/day_number.hpp"

namespace tablestore_test {
namespace {

using namespace tablestore;
using testing_support::readBytes;

// A table with a key and a value field: record k holds key "K<k>".
class TableOps : public TableTest {
 protected:
  Table* numbered(const std::string& name, int records) {
    Table* t = create(name, {{"KEY", 'C', 6, 0}, {"VAL", 'N', 6, 1}});
    for (int k = 1; k <= records && t; ++k) {
      EXPECT_EQ(t->appendStart(), 0);
      EXPECT_EQ(t->fieldByNumber(1)->assignText(base::format("K%d", k)), 0);
      EXPECT_EQ(t->fieldByNumber(2)->assignNumber(k / 2.0), 0);
      EXPECT_EQ(t->append(), 0);
    }
    return t;
  }
  static std::string key(Table* t) { return base_trim(t->fieldByNumber(1)->text()); }
  static std::string base_trim(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
  }
  std::vector<std::string> keys(Table* t) {
    std::vector<std::string> out;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
      EXPECT_EQ(t->goRecord(n), 0);
      out.push_back(key(t));
    }
    return out;
  }
};

TEST_F(TableOps, TextIsCutAndPadded) {
  Table* t = create("t.dbf", {{"NAME", 'C', 10, 0}, {"N", 'N', 4, 0}});
  ASSERT_EQ(t->appendStart(), 0);
  TableField* f = t->fieldByName("NAME");
  ASSERT_EQ(f->assignText("ABCDEFGHIJKL"), 0);
  EXPECT_EQ(f->text(), "ABCDEFGHIJ");
  ASSERT_EQ(f->assignText("AB"), 0);
  EXPECT_EQ(f->text(), "AB        ");
  EXPECT_EQ(f->text().data()[10], '\0');
  ASSERT_EQ(t->fieldByName("N")->assignText("1234567"), 0);  // no justification for any type
  EXPECT_EQ(t->fieldByName("N")->text(), "1234");
  EXPECT_EQ(std::string(t->recordBuffer(), 15), " AB        1234");
}

TEST_F(TableOps, FieldLookupIgnoresCase) {
  Table* t =
      create("t.dbf", {{"F_TYPE", 'C', 5, 0}, {"LATITUDE", 'N', 14, 9}, {"ABCDEFGHIJ", 'C', 1, 0}});
  ASSERT_NE(t->fieldByName("latitude"), nullptr);
  EXPECT_EQ(t->fieldByName("latitude")->name(), "LATITUDE");
  EXPECT_EQ(t->fieldByName("Latitude"), t->fieldByNumber(2));
  EXPECT_EQ(t->fieldNumber("f_type"), 1);
  EXPECT_EQ(t->fieldNumber("abcdefghijKLM"), 3);  // first 10 characters
  EXPECT_EQ(t->fieldByName("LONGITUDE"), nullptr);
  EXPECT_EQ(t->fieldNumber("LONGITUDE"), kErrFieldName);
  EXPECT_EQ(t->fieldByNumber(0), nullptr);
  EXPECT_EQ(t->fieldByNumber(4), nullptr);
  EXPECT_EQ(store.error(), 0);  // a lookup that finds nothing is an answer, not an error
  TableField* lat = t->fieldByName("LATITUDE");
  EXPECT_EQ(lat->type(), 'N');
  EXPECT_EQ(lat->length(), 14);
  EXPECT_EQ(lat->decimals(), 9);
  EXPECT_EQ(lat->offset(), 6);
  EXPECT_EQ(&lat->table(), t);
}

TEST_F(TableOps, NumbersAndOverflow) {
  host.expect("Overflow while Evaluating Expression", ui::kIdOk, kErrorCaption);
  Table* t = create(
      "t.dbf",
      {{"A", 'N', 6, 1}, {"B", 'N', 5, 2}, {"C", 'N', 5, 0}, {"D", 'N', 8, 2}, {"E", 'C', 5, 0}});
  ASSERT_EQ(t->appendStart(), 0);
  ASSERT_EQ(t->fieldByName("A")->assignNumber(12.5), 0);
  EXPECT_EQ(t->fieldByName("A")->text(), "  12.5");
  ASSERT_EQ(t->fieldByName("B")->assignNumber(-0.25), 0);
  EXPECT_EQ(t->fieldByName("B")->text(), "-0.25");
  EXPECT_EQ(t->fieldByName("C")->assignNumber(123456), kErrOverflow);
  EXPECT_EQ(t->fieldByName("C")->text(), "*****");
  EXPECT_EQ(store.error(), kErrOverflow);
  store.clearError();
  ASSERT_EQ(t->fieldByName("D")->assignInteger(42), 0);
  EXPECT_EQ(t->fieldByName("D")->text(), "   42.00");
  ASSERT_EQ(t->fieldByName("E")->assignInteger(-42), 0);
  EXPECT_EQ(t->fieldByName("E")->text(), "  -42");
  ASSERT_EQ(t->fieldByName("E")->assignNumber(7.6), 0);  // C takes no decimals
  EXPECT_EQ(t->fieldByName("E")->text(), "    8");
  EXPECT_EQ(t->fieldByName("C")->assignInteger(100000), kErrOverflow);
  store.clearError();
  EXPECT_DOUBLE_EQ(t->fieldByName("A")->number(), 12.5);
  EXPECT_EQ(t->fieldByName("A")->integer(), 12);
  EXPECT_EQ(t->fieldByName("C")->number(), 0.0);
}

TEST_F(TableOps, DatesAreDayNumbers) {
  Table* t = create("t.dbf", {{"WHEN", 'D', 8, 0}, {"OK", 'L', 1, 0}});
  ASSERT_EQ(t->appendStart(), 0);
  TableField* when = t->fieldByName("when");
  ASSERT_EQ(when->assignNumber(static_cast<double>(dayNumber(2024, 2, 29))), 0);
  EXPECT_EQ(when->text(), "20240229");
  EXPECT_EQ(when->number(), static_cast<double>(dayNumber(2024, 2, 29)));
  ASSERT_EQ(when->assignNumber(0), 0);
  EXPECT_EQ(when->text(), "        ");
  EXPECT_EQ(when->number(), 0.0);
  ASSERT_EQ(t->fieldByName("OK")->assignChar('T'), 0);
  EXPECT_EQ(t->fieldByName("OK")->text(), "T");
}

TEST_F(TableOps, GoingPastTheEndFailsAndLeavesNoCurrentRecord) {
  host.expect("Reading File", ui::kIdOk, kErrorCaption);
  Table* t = numbered("t.dbf", 3);
  ASSERT_EQ(t->goRecord(2), 0);
  EXPECT_EQ(t->recordNumber(), 2);
  EXPECT_EQ(t->goRecord(4), kErrRead);
  EXPECT_EQ(t->recordNumber(), -1);
  EXPECT_EQ(std::string(t->recordBuffer(), static_cast<std::size_t>(t->recordWidth())),
            std::string(static_cast<std::size_t>(t->recordWidth()), ' '));
  EXPECT_EQ(store.error(), kErrRead);
  store.clearError();
  EXPECT_EQ(t->goRecord(0), kErrRead);
}

TEST_F(TableOps, ErrorIsStickyUntilCleared) {
  host.expect("Reading File", ui::kIdOk, kErrorCaption);
  Table* t = numbered("t.dbf", 3);
  ASSERT_EQ(t->goRecord(1), 0);
  std::string before(t->recordBuffer(), static_cast<std::size_t>(t->recordWidth()));
  EXPECT_EQ(t->goRecord(9), kErrRead);
  ASSERT_EQ(host.shown().size(), 1u);

  // Every acting operation now returns the error at once and does nothing.
  EXPECT_EQ(t->appendStart(), kErrRead);
  EXPECT_EQ(t->fieldByNumber(1)->assignText("zzz"), kErrRead);
  EXPECT_EQ(t->fieldByNumber(2)->assignNumber(1), kErrRead);
  EXPECT_EQ(t->fieldByNumber(2)->assignInteger(1), kErrRead);
  EXPECT_EQ(t->fieldByNumber(1)->assignChar('z'), kErrRead);
  EXPECT_EQ(t->append(), kErrRead);
  EXPECT_EQ(t->writeRecord(1), kErrRead);
  EXPECT_EQ(t->deleteRecord(), kErrRead);
  EXPECT_EQ(t->goRecord(1), kErrRead);
  EXPECT_EQ(t->pack(), kErrRead);
  EXPECT_EQ(t->openGap(1), kErrRead);
  EXPECT_EQ(t->flush(), kErrRead);
  EXPECT_EQ(t->changed(1), kErrRead);
  EXPECT_EQ(t->changed(), 0);
  EXPECT_EQ(store.openTable(path("t.dbf")), nullptr);
  EXPECT_EQ(store.createTable(path("u.dbf"), gpsFields()), nullptr);
  EXPECT_EQ(store.closeTable(t), kErrRead);
  EXPECT_EQ(store.openCount(), 1u);
  EXPECT_EQ(t->recordCount(), 3);
  EXPECT_FALSE(platform::fileExists(path("u.dbf")));
  EXPECT_EQ(host.shown().size(), 1u);  // refusals are silent

  store.clearError();
  EXPECT_EQ(keys(t), (std::vector<std::string>{"K1", "K2", "K3"}));
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_EQ(std::string(t->recordBuffer(), static_cast<std::size_t>(t->recordWidth())), before);
}

TEST_F(TableOps, ErrorBoxTextAndFlags) {
  host.expect("Reading File", ui::kIdOk, kErrorCaption);
  Table* t = numbered("t.dbf", 1);
  EXPECT_EQ(t->goRecord(5), kErrRead);
  ASSERT_EQ(host.shown().size(), 1u);
  const auto& box = host.shown()[0];
  EXPECT_EQ(box.caption, "TBLSTORE ERROR");
  EXPECT_EQ(box.text, base::format("Error #: -70\nError #: %d\nReading File\n%s", kAtGo,
                                   path("t.dbf").c_str()));
  EXPECT_EQ(box.flags, static_cast<unsigned>(ui::kMbOk | ui::kMbIconStop));

  // Display off, or no host: the code is still set, nothing is shown.
  store.clearError();
  store.setErrorDisplay(false);
  EXPECT_EQ(t->goRecord(5), kErrRead);
  EXPECT_EQ(store.error(), kErrRead);
  EXPECT_EQ(host.shown().size(), 1u);
  store.setErrorDisplay(true);
  store.setHost(nullptr);
  store.clearError();
  EXPECT_EQ(t->goRecord(5), kErrRead);
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST_F(TableOps, FailedBoxCallsTheFatalHandler) {
  host.expect("Reading File", 0, kErrorCaption);  // the host could not show it
  int fatal = 0;
  store.setFatalHandler([&] { ++fatal; });
  Table* t = numbered("t.dbf", 1);
  EXPECT_EQ(t->goRecord(5), kErrRead);
  EXPECT_EQ(fatal, 1);
}

TEST_F(TableOps, ChangedBufferIsWrittenBackBeforeMovingAndOnClose) {
  Table* t = numbered("t.dbf", 3);
  ASSERT_EQ(t->goRecord(1), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("ONE"), 0);
  EXPECT_EQ(t->changed(), 1);
  ASSERT_EQ(t->goRecord(2), 0);
  EXPECT_EQ(t->changed(), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("TWO"), 0);
  ASSERT_EQ(t->appendStart(), 0);  // writes record 2 back first
  ASSERT_EQ(t->fieldByNumber(1)->assignText("FOUR"), 0);
  ASSERT_EQ(t->append(), 0);
  EXPECT_EQ(t->recordNumber(), 4);
  ASSERT_EQ(t->goRecord(3), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("THREE"), 0);
  t = reopen(t);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"ONE", "TWO", "THREE", "FOUR"}));

  // changed(0) drops the change.
  ASSERT_EQ(t->goRecord(1), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("LOST"), 0);
  EXPECT_EQ(t->changed(0), 1);
  ASSERT_EQ(t->goRecord(2), 0);
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_EQ(key(t), "ONE");
  // changed(1) after writing the buffer directly.
  t->recordBuffer()[1] = 'X';
  EXPECT_EQ(t->changed(1), 0);
  ASSERT_EQ(t->flush(), 0);
  t = reopen(t);
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_EQ(key(t), "XNE");
}

TEST_F(TableOps, WriteRecordStoresTheBufferAtItsPlace) {
  host.expect("Record Append Attempt Past End of File", ui::kIdOk, kErrorCaption);
  host.expect("Unexpected Parameter", ui::kIdOk, kErrorCaption);
  Table* t = numbered("t.dbf", 3);
  ASSERT_EQ(t->goRecord(1), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("COPY"), 0);
  ASSERT_EQ(t->writeRecord(3), 0);
  EXPECT_EQ(t->recordNumber(), 3);
  EXPECT_EQ(t->changed(), 0);
  EXPECT_EQ(t->writeRecord(4), kErrAppendPastEnd);
  store.clearError();
  EXPECT_EQ(t->writeRecord(0), kErrParameter);
  store.clearError();
  EXPECT_EQ(keys(t), (std::vector<std::string>{"K1", "K2", "COPY"}));
}

TEST_F(TableOps, ReadAheadSeesEveryWrite) {
  // 3000 records of 13 bytes span several read-ahead blocks.
  Table* t = numbered("t.dbf", 3000);
  ASSERT_EQ(t->goRecord(1), 0);
  ASSERT_EQ(t->goRecord(2), 0);  // reading forwards: the next block is held
  ASSERT_EQ(t->fieldByNumber(1)->assignText("EDIT2"), 0);
  ASSERT_EQ(t->goRecord(3), 0);  // record 2 written back
  ASSERT_EQ(t->fieldByNumber(1)->assignText("W5"), 0);
  ASSERT_EQ(t->writeRecord(5), 0);
  ASSERT_EQ(t->goRecord(2), 0);
  EXPECT_EQ(key(t), "EDIT2");
  ASSERT_EQ(t->goRecord(5), 0);
  EXPECT_EQ(key(t), "W5");
  ASSERT_EQ(t->goRecord(3), 0);
  EXPECT_EQ(key(t), "K3");

  for (std::int64_t n = 1; n <= 3000; ++n) {
    ASSERT_EQ(t->goRecord(n), 0);
    if (n % 7 == 0) {
      ASSERT_EQ(t->fieldByNumber(1)->assignText(base::format("W%lld", static_cast<long long>(n))),
                0);
    }
  }
  for (std::int64_t n = 3000; n >= 1; --n) {  // backwards, through the blocks again
    ASSERT_EQ(t->goRecord(n), 0);
    std::string want =
        n == 2   ? std::string("EDIT2")
        : n == 5 ? std::string("W5")
                 : base::format("%s%lld", n % 7 == 0 ? "W" : "K", static_cast<long long>(n));
    ASSERT_EQ(key(t), want) << n;
  }
  t = reopen(t);
  ASSERT_EQ(t->goRecord(2996), 0);
  EXPECT_EQ(key(t), "W2996");
}

TEST_F(TableOps, DeleteAndPackKeepOrder) {
  Table* t = numbered("t.dbf", 6);
  for (int n : {2, 5}) {
    ASSERT_EQ(t->goRecord(n), 0);
    ASSERT_EQ(t->deleteRecord(), 0);
  }
  ASSERT_EQ(t->goRecord(1), 0);
  EXPECT_FALSE(t->deleted());
  ASSERT_EQ(t->pack(), 0);
  EXPECT_EQ(t->recordCount(), 4);
  EXPECT_EQ(t->recordNumber(), -1);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"K1", "K3", "K4", "K6"}));
  std::string bytes = readBytes(path("t.dbf"));
  EXPECT_EQ(bytes.size(), 97u + 4 * 13 + 1);
  EXPECT_EQ(bytes[4], 4);
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableOps, PackAcrossBlocks) {
  Table* t = numbered("t.dbf", 5000);
  for (int n = 1; n <= 5000; ++n) {
    if (n % 3 != 0 && n > 10) continue;
    ASSERT_EQ(t->goRecord(n), 0);
    ASSERT_EQ(t->deleteRecord(), 0);
  }
  ASSERT_EQ(t->pack(), 0);
  std::vector<std::string> want;
  for (int n = 11; n <= 5000; ++n)
    if (n % 3 != 0) want.push_back(base::format("K%d", n));
  EXPECT_EQ(keys(t), want);
  t = reopen(t);
  EXPECT_EQ(t->recordCount(), static_cast<std::int64_t>(want.size()));
  // Nothing deleted: pack changes nothing.
  std::string before = readBytes(path("t.dbf"));
  ASSERT_EQ(t->pack(), 0);
  EXPECT_EQ(readBytes(path("t.dbf")), before);
  // Everything deleted.
  for (std::int64_t n = 1; n <= t->recordCount(); ++n) {
    ASSERT_EQ(t->goRecord(n), 0);
    ASSERT_EQ(t->deleteRecord(), 0);
  }
  ASSERT_EQ(t->pack(), 0);
  EXPECT_EQ(t->recordCount(), 0);
  EXPECT_EQ(readBytes(path("t.dbf")).size(), 32u + 64 + 1 + 1);
}

TEST_F(TableOps, OpenGapMovesTheRestOnePlace) {
  Table* t = numbered("t.dbf", 5);
  ASSERT_EQ(t->openGap(2), 0);
  EXPECT_EQ(t->recordCount(), 6);
  EXPECT_EQ(t->recordNumber(), 2);
  EXPECT_EQ(key(t), "K2");  // a copy of the record now following it
  EXPECT_EQ(keys(t), (std::vector<std::string>{"K1", "K2", "K2", "K3", "K4", "K5"}));

  ASSERT_EQ(t->openGap(7), 0);  // past the last: a blank record at the end
  EXPECT_EQ(t->recordCount(), 7);
  EXPECT_EQ(t->recordNumber(), 7);
  EXPECT_EQ(key(t), "");
  ASSERT_EQ(t->openGap(1), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("NEW"), 0);
  t = reopen(t);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"NEW", "K1", "K2", "K2", "K3", "K4", "K5", ""}));
}

TEST_F(TableOps, OpenGapAcrossBlocksAndOnAnEmptyTable) {
  host.expect("Unexpected Parameter", ui::kIdOk, kErrorCaption);
  Table* t = numbered("t.dbf", 4000);
  ASSERT_EQ(t->goRecord(100), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("EDIT"), 0);  // pending change goes in first
  ASSERT_EQ(t->openGap(3), 0);
  std::vector<std::string> got = keys(t);
  ASSERT_EQ(got.size(), 4001u);
  EXPECT_EQ(got[0], "K1");
  EXPECT_EQ(got[2], "K3");
  for (int n = 3; n <= 4000; ++n)
    ASSERT_EQ(got[static_cast<std::size_t>(n)],
              n == 100 ? std::string("EDIT") : base::format("K%d", n))
        << n;

  Table* e = create("e.dbf", gpsFields());
  EXPECT_EQ(e->openGap(2), kErrParameter);
  store.clearError();
  ASSERT_EQ(e->openGap(1), 0);
  EXPECT_EQ(e->recordCount(), 1);
}

TEST_F(TableOps, RecordsLargerThanTheBlockMoveOneAtATime) {
  EXPECT_EQ(BlockBuffer(100).records(), 327u);
  EXPECT_EQ(BlockBuffer(40000).records(), 1u);
  Table* t = create("big.dbf", {{"KEY", 'C', 6, 0}, {"BLOB", 'C', 40000, 0}});
  for (int k = 1; k <= 4; ++k)
    appendTexts(t, {base::format("K%d", k), std::string(40000, static_cast<char>('a' + k))});
  ASSERT_EQ(t->goRecord(2), 0);
  ASSERT_EQ(t->deleteRecord(), 0);
  ASSERT_EQ(t->pack(), 0);
  ASSERT_EQ(t->openGap(1), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("NEW"), 0);
  t = reopen(t);
  EXPECT_EQ(keys(t), (std::vector<std::string>{"NEW", "K1", "K3", "K4"}));
  ASSERT_EQ(t->goRecord(4), 0);
  EXPECT_EQ(t->fieldByNumber(2)->text(), std::string(40000, 'e'));
}

TEST_F(TableOps, DuplicateOpenAndCloseAll) {
  host.expect("Duplicate Instance Found Error Opening File", ui::kIdOk, kErrorCaption);
  host.expect("File Find Error Opening File", ui::kIdOk, kErrorCaption);
  Table* a = numbered("a.dbf", 2);
  Table* b = numbered("b.dbf", 2);
  EXPECT_EQ(store.findOpen(path("a.dbf")), a);
  EXPECT_EQ(open("a.dbf"), nullptr);
  EXPECT_EQ(store.error(), kErrOpenDuplicate);
  EXPECT_EQ(open("missing.dbf"), nullptr);
  EXPECT_EQ(store.error(), kErrOpenFind);
  store.clearError();

  ASSERT_EQ(a->goRecord(1), 0);
  ASSERT_EQ(a->fieldByNumber(1)->assignText("A1"), 0);
  ASSERT_EQ(b->goRecord(2), 0);
  ASSERT_EQ(b->fieldByNumber(1)->assignText("B2"), 0);
  EXPECT_EQ(store.error(), 0);
  store.setErrorDisplay(false);
  EXPECT_EQ(b->goRecord(7), kErrRead);  // a pending error does not stop the shut-down
  EXPECT_EQ(store.closeAll(), 0);
  EXPECT_EQ(store.openCount(), 0u);
  store.setErrorDisplay(true);
  a = open("a.dbf");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(keys(a), (std::vector<std::string>{"A1", "K2"}));
  EXPECT_EQ(store.init(), 0);
  EXPECT_EQ(store.datePicture(), "MM/DD/YY");
}

}  // namespace
}  // namespace tablestore_test

namespace {

using tablestore_test::TableTest;

TEST_F(TableTest, PeekingAtRecordsLeavesTheEditedBufferUnwritten) {
  tablestore::Table* t = create("peek.dbf", {{"CODE", 'C', 4, 0}, {}});
  ASSERT_NE(t, nullptr);
  for (const char* v : {"AAAA", "BBBB", "CCCC"}) appendTexts(t, {v});
  ASSERT_EQ(t->goRecord(2), 0);
  ASSERT_EQ(t->fieldByNumber(1)->assignText("XXXX"), 0);
  std::string r;
  ASSERT_EQ(t->peekRecord(3, r), 0);
  EXPECT_EQ(r.substr(1), "CCCC");
  ASSERT_EQ(t->peekRecord(1, r), 0);
  EXPECT_EQ(r.substr(1), "AAAA");
  ASSERT_EQ(t->peekRecord(2, r), 0);  // the current record: the buffer as edited
  EXPECT_EQ(r.substr(1), "XXXX");
  EXPECT_EQ(t->recordNumber(), 2);
  EXPECT_EQ(t->changed(), 1);
  EXPECT_NE(t->peekRecord(4, r), 0);
  EXPECT_NE(t->peekRecord(0, r), 0);
  EXPECT_EQ(store.error(), 0);  // a line past the end is no error of the store
  // Reopened without writing: the file never saw the edit.
  ASSERT_EQ(t->changed(0), 1);
  t = reopen(t);
  EXPECT_EQ(records(t)[1].substr(1), "BBBB");
}

}  // namespace
