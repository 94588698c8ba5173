// The pending dataset's version check against the installed application.
#include <gtest/gtest.h>

#include "apps/tfa_header.hpp"
#include "apps/version_table.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "exchange/pending_version.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

using exchange::DatasetRef;

std::string at(const std::string& folder, const std::string& name) {
  return base::joinPath(folder, name, platform::kSep);
}

apps::TfaHeader header(const char* name, int hierVer, const char* date, const char* time) {
  apps::TfaHeader h;
  h.setAppName(name);
  h.setHasVersion(1);
  h.setAppVMajor(1);
  h.setAppVMinor(2);
  h.setAppBuild(3);
  h.setAppDate("01/02/2024");
  h.setHierVer(hierVer);
  h.setHierDate(date);
  h.setHierTime(time);
  return h;
}

class PendingVersionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::makeFolder(pending);
    platform::makeFolder(appFolder);
  }
  void stamp(const std::string& tableName, const apps::TfaHeader& h) {
    apps::VersionTable vt = apps::openVersionTable(store, platform::toNarrow(at(pending, tableName)));
    ASSERT_NE(vt.table, nullptr);
    ASSERT_EQ(apps::writeVersionTable(vt, h), apps::kVersionOk);
    ASSERT_EQ(store.closeTable(vt.table), 0);
  }
  void install(const apps::TfaHeader& h) {
    ASSERT_EQ(apps::writeHeaderCopy(host, apps::headerCopyPath(appFolder, platform::kSep), h), 0);
  }
  int check(const DatasetRef& ref) {
    return exchange::checkPendingAppDataVersion(store, host, pending, ref, appFolder, at(dir.path(), "Trees.tfa"));
  }

  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  tablestore::TableStore store;
  std::string pending = dir.file("pending");
  std::string appFolder = dir.file("Trees");
  const DatasetRef bundled{true, 0, "North Block"};
  const DatasetRef raw{false, 3, "North Block"};
  const std::string bundledTable = "[North Block]1A____ABC___#$$DataAppVer.dbf";
};

TEST_F(PendingVersionTest, EachDifferenceHasItsOwnCode) {
  const apps::TfaHeader installed = header("Trees.tfa", 4, "03/01/2024", "10:20:30");
  install(installed);
  struct Case {
    apps::TfaHeader stamped;
    int want;
  };
  const Case cases[] = {
      {header("Trees.tfa", 4, "03/01/2024", "10:20:30"), exchange::kPendingVersionAgrees},
      // Letter case does not count, as in the structure check when data is opened.
      {header("TREES.TFA", 4, "03/01/2024", "10:20:30"), exchange::kPendingVersionAgrees},
      {header("Trees.tfa", 5, "03/01/2024", "10:20:30"), exchange::kPendingStructureDiffers},
      {header("Oaks.tfa", 5, "01/01/2020", "00:00:00"), exchange::kPendingStructureDiffers},
      {header("Trees.tfa", 4, "03/02/2024", "10:20:30"), exchange::kPendingStructureDateDiffers},
      {header("Trees.tfa", 4, "03/01/2024", "10:20:31"), exchange::kPendingStructureDateDiffers},
      {header("Oaks.tfa", 4, "03/01/2024", "10:20:30"), exchange::kPendingAppNameDiffers},
  };
  for (const Case& c : cases) {
    platform::deleteFile(at(pending, bundledTable));
    stamp(bundledTable, c.stamped);
    EXPECT_EQ(check(bundled), c.want) << c.stamped.appName() << " " << c.stamped.hierVer() << " "
                                      << c.stamped.hierDate() << " " << c.stamped.hierTime();
  }
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(PendingVersionTest, ALongApplicationNameIsComparedAsTheTableHoldsIt) {
  // The version table keeps 30 characters of the name.
  const char* longName = "A Very Long Application Name For Trees.tfa";
  install(header(longName, 4, "03/01/2024", "10:20:30"));
  stamp(bundledTable, header(longName, 4, "03/01/2024", "10:20:30"));
  EXPECT_EQ(check(bundled), exchange::kPendingVersionAgrees);
}

TEST_F(PendingVersionTest, WhatCannotBeReadGivesItsCode) {
  // No version table at all.
  EXPECT_EQ(check(bundled), exchange::kPendingVersionUnreadable);
  // A version table that is no table.
  testing_support::writeBytes(at(pending, bundledTable), "not a table");
  EXPECT_EQ(check(bundled), exchange::kPendingVersionUnreadable);
  // One without its record.
  platform::deleteFile(at(pending, bundledTable));
  apps::VersionTable vt = apps::openVersionTable(store, platform::toNarrow(at(pending, bundledTable)));
  ASSERT_NE(vt.table, nullptr);
  ASSERT_EQ(store.closeTable(vt.table), 0);
  EXPECT_EQ(check(bundled), exchange::kPendingVersionUnreadable);

  // A readable stamp, but the installed application has neither header copy nor package.
  platform::deleteFile(at(pending, bundledTable));
  stamp(bundledTable, header("Trees.tfa", 4, "03/01/2024", "10:20:30"));
  EXPECT_EQ(check(bundled), exchange::kInstalledVersionUnreadable);
  // A header copy of the wrong size counts as unreadable.
  testing_support::writeBytes(apps::headerCopyPath(appFolder, platform::kSep), "short");
  EXPECT_EQ(check(bundled), exchange::kInstalledVersionUnreadable);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(PendingVersionTest, RawDatasetsAreFoundByNumberAndName) {
  install(header("Trees.tfa", 4, "03/01/2024", "10:20:30"));
  stamp("03 1A____[North Block]ABC___#$$DataAppVer.dbf", header("Trees.tfa", 4, "03/01/2024", "10:20:30"));
  stamp("04 1A____[North Block]ABC___#$$DataAppVer.dbf", header("Trees.tfa", 9, "03/01/2024", "10:20:30"));
  EXPECT_EQ(check(raw), exchange::kPendingVersionAgrees);
  EXPECT_EQ(check(DatasetRef{false, 4, "North Block"}), exchange::kPendingStructureDiffers);
  EXPECT_EQ(check(DatasetRef{false, 5, "North Block"}), exchange::kPendingVersionUnreadable);
}

TEST_F(PendingVersionTest, EveryNegativeCodeHasItsMessage) {
  EXPECT_STREQ(exchange::pendingVersionMessage(-1), "-1 This Data Version Does Not Match the Loaded Application!!");
  EXPECT_STREQ(exchange::pendingVersionMessage(-10), "-10 Can't Check the Data Version for the Application!!");
  EXPECT_STREQ(exchange::pendingVersionMessage(-11), "-11 This Data Version Does Not Match the Loaded Application!!");
  EXPECT_STREQ(exchange::pendingVersionMessage(-12),
               "-12 This Data Version Does Not Match the Loaded Application - 2!!");
  EXPECT_STREQ(exchange::pendingVersionMessage(-13), "-13 Can't Check the Data Version in the Application -2!!");
  EXPECT_EQ(exchange::pendingVersionMessage(1), nullptr);
}

}  // namespace
