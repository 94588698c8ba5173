// Creating tables: the header and descriptors exactly as written, the record
// layout after appends, and the refusals of create.
#include <gtest/gtest.h>

#include <string>

#include "base/text.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "support/fake_clock.hpp"
#include "table_fixture.hpp"

namespace tablestore_test {
namespace {

using namespace tablestore;
using testing_support::readBytes;

class TableCreate : public TableTest {
 protected:
  TableCreate() : scoped(clock) {
    platform::DateTime at;
    at.year = 2024;
    at.month = 3;
    at.day = 5;
    clock.setLocalTime(at);
  }
  testing_support::FakeClock clock;
  platform::ScopedClock scoped;
};

std::string descriptor(const std::string& name, char type, int disp, int len, int dec) {
  std::string d(32, '\0');
  d.replace(0, name.size(), name);
  d[11] = type;
  d[12] = static_cast<char>(disp);
  d[16] = static_cast<char>(len & 0xFF);
  d[17] = static_cast<char>(type == 'C' ? len >> 8 : dec);
  return d;
}

TEST_F(TableCreate, GpsExampleHeaderIsByteExact) {
  Table* t = create("gps.dbf", gpsFields());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordWidth(), 20);
  EXPECT_EQ(t->recordCount(), 0);
  std::string expected("\x03\x7C\x03\x05\0\0\0\0\x61\0\x14\0", 12);
  expected.resize(32, '\0');
  expected += descriptor("F_TYPE", 'C', 1, 5, 0);
  expected += descriptor("LATITUDE", 'N', 6, 14, 9);
  expected += "\x0D\x1A";
  EXPECT_EQ(readBytes(path("gps.dbf")), expected);
  EXPECT_EQ(expected.size(), 98u);
  store.clearError();
  EXPECT_EQ(store.closeTable(t), 0);
  EXPECT_EQ(readBytes(path("gps.dbf")), expected);  // nothing changed, nothing written
}

TEST_F(TableCreate, RecordsFollowTheHeaderWithOneEndMarker) {
  Table* t = create("gps.dbf", gpsFields());
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->appendStart(), 0);
  ASSERT_EQ(t->fieldByName("F_TYPE")->assignText("PT"), 0);
  ASSERT_EQ(t->fieldByName("LATITUDE")->assignNumber(45.123456789), 0);
  ASSERT_EQ(t->append(), 0);
  ASSERT_EQ(t->appendStart(), 0);
  ASSERT_EQ(t->fieldByName("F_TYPE")->assignText("LINE_X"), 0);
  ASSERT_EQ(t->fieldByName("LATITUDE")->assignNumber(-0.5), 0);
  ASSERT_EQ(t->append(), 0);
  ASSERT_EQ(t->deleteRecord(), 0);
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);

  std::string bytes = readBytes(path("gps.dbf"));
  ASSERT_EQ(bytes.size(), 97u + 2 * 20 + 1);
  EXPECT_EQ(bytes.substr(4, 4), std::string("\x02\0\0\0", 4));
  EXPECT_EQ(bytes.substr(97, 20), " PT     45.123456789");
  EXPECT_EQ(bytes.substr(117, 20), "*LINE_  -0.500000000");
  EXPECT_EQ(bytes.back(), '\x1A');
}

TEST_F(TableCreate, NamesUpperCasedAndCutToTen) {
  Table* t = create("w.dbf", {{"WayPoint", 'C', 25, 0},
                              {"Longer_than_ten", 'N', 13, 8},
                              {"", 'C', 1, 0},
                              {"IGNORED", 'C', 1, 0}});
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->fieldCount(), 2);  // the list ends at the unnamed entry
  EXPECT_EQ(t->fieldByNumber(1)->name(), "WAYPOINT");
  EXPECT_EQ(t->fieldByNumber(2)->name(), "LONGER_THA");
  std::string bytes = readBytes(path("w.dbf"));
  EXPECT_EQ(bytes.substr(32, 11), std::string("WAYPOINT\0\0\0", 11));
  EXPECT_EQ(bytes.substr(64, 11), std::string("LONGER_THA\0", 11));
}

TEST_F(TableCreate, LongCharacterFieldUsesSixteenBitLength) {
  Table* t = create("long.dbf", {{"NOTE", 'C', 300, 0}, {"D1", 'D', 99, 0}, {"OK", 'L', 4, 0}});
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->recordWidth(), 1 + 300 + 8 + 1);
  std::string bytes = readBytes(path("long.dbf"));
  EXPECT_EQ(static_cast<unsigned char>(bytes[32 + 16]), 0x2C);
  EXPECT_EQ(static_cast<unsigned char>(bytes[32 + 17]), 0x01);
  t = reopen(t);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->fieldByName("note")->length(), 300);
  EXPECT_EQ(t->fieldByName("note")->decimals(), 0);
  EXPECT_EQ(t->fieldByName("d1")->length(), 8);
  EXPECT_EQ(t->fieldByName("ok")->length(), 1);
}

TEST_F(TableCreate, FieldInfoRecreatesTheSameLayout) {
  Table* a = create("a.dbf", {{"NAME", 'C', 12, 0},
                              {"VAL", 'N', 8, 3},
                              {"WHEN", 'D', 8, 0},
                              {"OK", 'L', 1, 0},
                              {"F", 'F', 10, 2}});
  ASSERT_NE(a, nullptr);
  std::vector<FieldSpec> info = a->fieldInfo();
  ASSERT_EQ(info.size(), 5u);
  EXPECT_EQ(info[1].name, "VAL");
  EXPECT_EQ(info[1].type, 'N');
  EXPECT_EQ(info[1].length, 8);
  EXPECT_EQ(info[1].decimals, 3);
  Table* b = create("b.dbf", info);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(readBytes(path("a.dbf")), readBytes(path("b.dbf")));
}

TEST_F(TableCreate, RefusesBadFieldListsWithTheirCodes) {
  host.expect("File is not a Data File", ui::kIdOk, kErrorCaption);
  host.expect("Record Length is too Large", ui::kIdOk, kErrorCaption);
  host.expect("Null Input Parameter unexpected", ui::kIdOk, kErrorCaption);
  struct Case {
    std::vector<FieldSpec> fields;
    int code;
  } cases[] = {
      {{{"A", 'X', 5, 0}}, kErrData},
      {{{"A", 'M', 10, 0}}, kErrData},
      {{{"A", 'C', 0, 0}}, kErrData},
      {{{"A", 'N', 256, 0}}, kErrData},
      {{{"A", 'N', 5, -1}}, kErrData},
      {{{"A", 'C', 65534, 0}}, kErrRecordLength},  // 65535 with the flag
      {{{"A", 'C', 40000, 0}, {"B", 'C', 30000, 0}}, kErrRecordLength},
      {{}, kErrNullParameter},
      {{{"", 'C', 5, 0}}, kErrNullParameter},
  };
  int i = 0;
  for (const Case& c : cases) {
    store.clearError();
    EXPECT_EQ(store.createTable(path(base::format("bad%d.dbf", i)), c.fields), nullptr) << i;
    EXPECT_EQ(store.error(), c.code) << i;
    EXPECT_FALSE(platform::fileExists(path(base::format("bad%d.dbf", i)))) << i;
    ++i;
  }
  // 2047 fields: record 2048 bytes is fine, header 65537 bytes is not.
  std::vector<FieldSpec> many;
  for (int j = 0; j < 2047; ++j) many.push_back({base::format("F%d", j), 'C', 1, 0});
  store.clearError();
  EXPECT_EQ(store.createTable(path("many.dbf"), many), nullptr);
  EXPECT_EQ(store.error(), kErrRecordLength);
  many.resize(2000);
  store.clearError();
  Table* t = store.createTable(path("many.dbf"), many);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->fieldCount(), 2000);
}

TEST_F(TableCreate, NeverReplacesAnOpenTableOrAnExistingFile) {
  host.expect("Creating File", ui::kIdOk, kErrorCaption);
  Table* t = create("x.dbf", gpsFields());
  ASSERT_NE(t, nullptr);
  appendTexts(t, {"PT", "1"});
  store.clearError();
  EXPECT_EQ(store.createTable(path("x.dbf"), gpsFields()), nullptr);
  EXPECT_EQ(store.error(), kErrCreate);
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);
  std::string before = readBytes(path("x.dbf"));
  store.clearError();
  EXPECT_EQ(store.createTable(path("x.dbf"), gpsFields()), nullptr);
  EXPECT_EQ(store.error(), kErrCreate);
  EXPECT_EQ(readBytes(path("x.dbf")), before);
}

}  // namespace
}  // namespace tablestore_test
