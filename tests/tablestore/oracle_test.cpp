// Independent readers and writers of table files: the shapelib tools
// (dbfdump, dbfcreate, dbfadd) and Python's dbfread. Tables we write must read
// the same in them, and theirs in ours. Native builds only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/dbfread.hpp"
#include "table_fixture.hpp"
#include "tablestore/day_number.hpp"

namespace tablestore_test {
namespace {

using namespace tablestore;
using testing_support::readBytes;
using testing_support::writeBytes;

#ifndef _WIN32
bool runs(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command and returns what it printed.
std::string output(const testing_support::TempDir& dir, const std::string& command) {
  std::string out = dir.file("oracle.out");
  int rc = std::system((command + " >'" + out + "' 2>&1").c_str());
  EXPECT_EQ(rc, 0) << command << "\n" << readBytes(out);
  return readBytes(out);
}

// Every record as the fields' text values, from `dbfdump -m`.
std::vector<std::map<std::string, std::string>> dumped(const std::string& text) {
  std::vector<std::map<std::string, std::string>> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("Record: ", 0) == 0) {
      out.emplace_back();
      continue;
    }
    std::size_t colon = line.find(": ");
    if (colon == std::string::npos || out.empty()) continue;
    std::string value = line.substr(colon + 2);
    std::size_t first = value.find_first_not_of(' ');
    std::size_t last = value.find_last_not_of(' ');
    value = first == std::string::npos ? "" : value.substr(first, last - first + 1);
    out.back()[line.substr(0, colon)] = value;
  }
  return out;
}

const char* kDbfreadScript =
    "import sys, dbfread\n"
    "t = dbfread.DBF(sys.argv[1])\n"
    "print('fields', ' '.join('%s:%s:%d:%d' % (f.name, f.type, f.length, f.decimal_count) for f in "
    "t.fields))\n"
    "for r in t: print('L|' + '|'.join(str(v) for v in r.values()))\n"
    "for r in t.deleted: print('D|' + '|'.join(str(v) for v in r.values()))\n";

class TableOracle : public TableTest {
 protected:
  void SetUp() override {
    if (!runs("command -v dbfdump") || !runs("command -v dbfcreate") || !runs("command -v dbfadd"))
      GTEST_SKIP()
          << "shapelib's dbfdump/dbfcreate/dbfadd are not installed (Debian package shapelib)";
  }
  // A level-like table with every type we write.
  Table* sample(const std::string& name) {
    Table* t = create(name, {{"Site", 'C', 12, 0},
                             {"DEPTH", 'N', 8, 3},
                             {"COUNT", 'N', 5, 0},
                             {"Visited", 'D', 8, 0},
                             {"OK", 'L', 1, 0},
                             {"RATE", 'F', 10, 2}});
    struct Row {
      const char* site;
      double depth;
      long count;
      int y, m, d;
      char ok;
      double rate;
      bool deleted;
    } rows[] = {{"North bank", 12.5, 3, 2024, 2, 29, 'T', -0.25, false},
                {"Gone", 1, 1, 1999, 12, 31, 'F', 1, true},
                {"South", -0.004, -42, 2000, 1, 1, 'F', 1234567.891, false}};
    for (const Row& r : rows) {
      EXPECT_EQ(t->appendStart(), 0);
      EXPECT_EQ(t->fieldByName("site")->assignText(r.site), 0);
      EXPECT_EQ(t->fieldByName("depth")->assignNumber(r.depth), 0);
      EXPECT_EQ(t->fieldByName("count")->assignInteger(r.count), 0);
      EXPECT_EQ(
          t->fieldByName("visited")->assignNumber(static_cast<double>(dayNumber(r.y, r.m, r.d))),
          0);
      EXPECT_EQ(t->fieldByName("ok")->assignChar(r.ok), 0);
      EXPECT_EQ(t->fieldByName("rate")->assignNumber(r.rate), 0);
      if (r.deleted) {
        EXPECT_EQ(t->deleteRecord(), 0);
      }
      EXPECT_EQ(t->append(), 0);
    }
    return t;
  }
};

TEST_F(TableOracle, DbfdumpReadsWhatWeWrite) {
  Table* t = sample("level.dbf");
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);
  std::string header = output(dir, "dbfdump -h '" + path("level.dbf") + "'");
  EXPECT_NE(header.find("Title=`SITE', Width=12, Decimals=0"), std::string::npos) << header;
  EXPECT_NE(header.find("Title=`DEPTH', Width=8, Decimals=3"), std::string::npos) << header;
  EXPECT_NE(header.find("Title=`VISITED', Width=8"), std::string::npos) << header;
  auto records = dumped(output(dir, "dbfdump -m -r '" + path("level.dbf") + "'"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]["SITE"], "North bank");
  EXPECT_EQ(records[0]["DEPTH"], "12.500");
  EXPECT_EQ(records[0]["COUNT"], "3");
  EXPECT_EQ(records[0]["VISITED"], "20240229");
  EXPECT_EQ(records[0]["OK"], "T");
  EXPECT_EQ(records[0]["RATE"], "-0.25");
  EXPECT_EQ(records[1]["SITE"], "Gone");
  EXPECT_EQ(records[2]["DEPTH"], "-0.004");
  EXPECT_EQ(records[2]["COUNT"], "-42");
  EXPECT_EQ(records[2]["RATE"], "1234567.89");
}

TEST_F(TableOracle, DbfreadReadsWhatWeWriteWithDeletedRecordsFlagged) {
  std::string python = testing_support::pythonWithDbfread();
  if (python.empty())
    GTEST_SKIP() << "python3 with dbfread is not installed (Debian package python3-dbfread)";
  Table* t = sample("level.dbf");
  store.clearError();
  ASSERT_EQ(store.closeTable(t), 0);
  writeBytes(dir.file("read.py"), kDbfreadScript);
  std::string got =
      output(dir, python + " '" + dir.file("read.py") + "' '" + path("level.dbf") + "'");
  EXPECT_EQ(got,
            "fields SITE:C:12:0 DEPTH:N:8:3 COUNT:N:5:0 VISITED:D:8:0 OK:L:1:0 RATE:F:10:2\n"
            "L|North bank|12.5|3|2024-02-29|True|-0.25\n"
            "L|South|-0.004|-42|2000-01-01|False|1234567.89\n"
            "D|Gone|1.0|1|1999-12-31|False|1.0\n");

  // After pack the deleted record is gone for the other reader too, and a
  // table never closed (the count in its header not yet written) still reads
  // whole once it is flushed.
  t = open("level.dbf");
  ASSERT_NE(t, nullptr);
  ASSERT_EQ(t->pack(), 0);
  ASSERT_EQ(t->appendStart(), 0);
  ASSERT_EQ(t->fieldByName("site")->assignText("Added"), 0);
  ASSERT_EQ(t->append(), 0);
  ASSERT_EQ(t->flush(), 0);
  got = output(dir, python + " '" + dir.file("read.py") + "' '" + path("level.dbf") + "'");
  EXPECT_NE(got.find("L|South|"), std::string::npos) << got;
  EXPECT_NE(got.find("L|Added|None|None|None|None|None"), std::string::npos) << got;
  EXPECT_EQ(got.find("D|"), std::string::npos) << got;
}

TEST_F(TableOracle, TablesTheToolsWriteOpenInOurs) {
  const std::string p = path("tool.dbf");
  const std::string stem = p.substr(0, p.size() - 4);
  output(dir, "dbfcreate '" + stem + "' -s NAME 10 -n VAL 8 3 -n CNT 5 0");
  output(dir, "dbfadd '" + p + "' 'first one' 1.5 7");
  output(dir, "dbfadd '" + p + "' 'second' -2.25 ''");  // an empty number: asterisks
  output(dir, "dbfadd '" + p + "' '' '' 12");
  std::string bytes = readBytes(p);
  ASSERT_EQ(bytes.back(), '\x1A');
  writeBytes(path("nomark.dbf"), bytes.substr(0, bytes.size() - 1));

  for (const char* name : {"tool.dbf", "nomark.dbf"}) {
    Table* t = open(name);
    ASSERT_NE(t, nullptr) << name;
    ASSERT_EQ(t->recordCount(), 3);
    ASSERT_EQ(t->fieldCount(), 3);
    EXPECT_EQ(t->fieldByName("val")->decimals(), 3);
    ASSERT_EQ(t->goRecord(1), 0);
    EXPECT_EQ(t->fieldByName("name")->text(), "first one ");
    EXPECT_DOUBLE_EQ(t->fieldByName("val")->number(), 1.5);
    EXPECT_EQ(t->fieldByName("cnt")->integer(), 7);
    ASSERT_EQ(t->goRecord(2), 0);
    EXPECT_DOUBLE_EQ(t->fieldByName("val")->number(), -2.25);
    EXPECT_EQ(t->fieldByName("cnt")->number(), 0.0);
    EXPECT_EQ(t->fieldByName("cnt")->integer(), 0);
    ASSERT_EQ(t->goRecord(3), 0);
    EXPECT_EQ(t->fieldByName("val")->number(), 0.0);
    EXPECT_EQ(t->fieldByName("cnt")->integer(), 12);
    EXPECT_EQ(store.error(), 0);

    // We add to their table and they read all of it.
    ASSERT_EQ(t->appendStart(), 0);
    ASSERT_EQ(t->fieldByName("name")->assignText("ours"), 0);
    ASSERT_EQ(t->fieldByName("val")->assignNumber(3.25), 0);
    ASSERT_EQ(t->fieldByName("cnt")->assignInteger(4), 0);
    ASSERT_EQ(t->append(), 0);
    store.clearError();
    ASSERT_EQ(store.closeTable(t), 0);
    auto records = dumped(output(dir, "dbfdump -m -r '" + path(name) + "'"));
    ASSERT_EQ(records.size(), 4u) << name;
    EXPECT_EQ(records[0]["NAME"], "first one");
    EXPECT_EQ(records[3]["NAME"], "ours");
    EXPECT_EQ(records[3]["VAL"], "3.250");
    EXPECT_EQ(records[3]["CNT"], "4");
  }
}
#endif

}  // namespace
}  // namespace tablestore_test

#ifdef _WIN32
TEST(TableOracle, NativeOnly) {
  GTEST_SKIP() << "the shapelib and Python oracles run in native builds only";
}
#endif
