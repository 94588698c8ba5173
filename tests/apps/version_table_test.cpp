// The dataset version table: created with its eight fields, stamped from a
// header, read back, and a fresh table taking the current application.
#include <gtest/gtest.h>

#include "apps/version_table.hpp"
#include "apps/versions.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

using apps::TfaHeader;

TfaHeader stamp() {
  TfaHeader h;
  h.setAppName("Trees.tfa");
  h.setHasVersion(1);
  h.setAppVMajor(2);
  h.setAppVMinor(17);
  h.setAppBuild(345);
  h.setAppDate("03/04/2021");
  h.setHierVer(6);
  h.setHierDate("02/02/2021");
  h.setHierTime("11:12:13");
  return h;
}

class VersionTableTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  tablestore::TableStore store{&host};
  std::string path8 = platform::toNarrow(dir.file("01$$DataAppVer.dbf"));
  std::string copy = dir.file("_tfa_app_hdr.dft");
};

TEST_F(VersionTableTest, ANewTableIsStampedAndReadsBackTheHeader) {
  apps::VersionTable t = apps::openVersionTable(store, path8);
  ASSERT_NE(t.table, nullptr);
  EXPECT_TRUE(t.created);
  std::vector<tablestore::FieldSpec> fields = t.table->fieldInfo();
  ASSERT_EQ(fields.size(), 8u);
  const auto& want = apps::versionTableFields();
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(fields[i].name, want[i].name);
    EXPECT_EQ(fields[i].type, want[i].type);
    EXPECT_EQ(fields[i].length, want[i].length);
  }
  EXPECT_EQ(apps::writeVersionTable(t, stamp()), apps::kVersionOk);
  EXPECT_FALSE(t.created);
  store.closeTable(t.table);

  apps::VersionTable again = apps::openVersionTable(store, path8);
  ASSERT_NE(again.table, nullptr);
  EXPECT_FALSE(again.created);
  EXPECT_EQ(again.table->recordCount(), 1);
  TfaHeader read, other;
  other.setAppName("Other.tfa");
  EXPECT_EQ(apps::readVersionTable(host, again, other, copy, read), apps::kVersionOk);
  EXPECT_EQ(apps::compareHeaders(read, stamp()), 0);
  EXPECT_TRUE(apps::sameDataStructure(read, stamp()));
  EXPECT_EQ(read.appDate(), "03/04/2021");
  EXPECT_FALSE(platform::fileExists(copy));  // only a fresh table takes the current header

  // Writing again replaces record 1; it adds none.
  TfaHeader later = stamp();
  later.setAppBuild(346);
  EXPECT_EQ(apps::writeVersionTable(again, later), apps::kVersionOk);
  EXPECT_EQ(again.table->recordCount(), 1);
  EXPECT_EQ(apps::readVersionTable(host, again, other, copy, read), apps::kVersionOk);
  EXPECT_EQ(read.appBuild(), 346);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(VersionTableTest, AFreshTableTakesTheCurrentHeaderIntoTheCopyAndTheTable) {
  apps::VersionTable t = apps::openVersionTable(store, path8);
  TfaHeader read;
  EXPECT_EQ(apps::readVersionTable(host, t, stamp(), copy, read), apps::kVersionOk);
  EXPECT_EQ(read.bytes(), stamp().bytes());
  TfaHeader copied;
  EXPECT_EQ(apps::readPackageHeader(copy, copied), 0);
  EXPECT_EQ(copied.bytes(), stamp().bytes());
  EXPECT_EQ(t.table->recordCount(), 1);
  EXPECT_FALSE(t.created);
}

TEST_F(VersionTableTest, RefusesWhatItCannotStoreAndTablesOfAnotherShape) {
  apps::VersionTable none;
  TfaHeader read;
  EXPECT_EQ(apps::writeVersionTable(none, stamp()), apps::kVersionNoTable);
  EXPECT_EQ(apps::readVersionTable(host, none, stamp(), copy, read), apps::kVersionNoTable);

  apps::VersionTable t = apps::openVersionTable(store, path8);
  TfaHeader big = stamp();
  big.setAppBuild(12345);  // five digits do not fit N4
  EXPECT_EQ(apps::writeVersionTable(t, big), apps::kVersionDoesNotFit);
  EXPECT_EQ(t.table->recordCount(), 0);
  TfaHeader longName = stamp();
  longName.setAppName("A_Very_Long_Application_Name_Indeed.tfa");
  EXPECT_EQ(apps::writeVersionTable(t, longName), apps::kVersionOk);
  apps::VersionTable reread{t.table, false};
  EXPECT_EQ(apps::readVersionTable(host, reread, stamp(), copy, read), apps::kVersionOk);
  EXPECT_EQ(read.appName(), "A_Very_Long_Application_Name_I");  // cut to the field's 30

  const std::string other8 = platform::toNarrow(dir.file("other.dbf"));
  std::vector<tablestore::FieldSpec> fields = {{"APP_NAME", 'C', 30, 0}, {"", 'C', 0, 0}};
  tablestore::Table* wrong = store.createTable(other8, fields);
  ASSERT_NE(wrong, nullptr);
  apps::VersionTable w{wrong, false};
  EXPECT_EQ(apps::writeVersionTable(w, stamp()), apps::kVersionNoField);
  EXPECT_EQ(apps::readVersionTable(host, w, stamp(), copy, read), apps::kVersionNoField);
}

}  // namespace
