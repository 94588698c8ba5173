// hierarchy.ctl and the required-files list of a package.
#include "app_fixture.hpp"
#include "apps/hierarchy.hpp"
#include "apps/package_reader.hpp"
#include "apps/package_writer.hpp"
#include "apps/required_files.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "tfabuild/build.hpp"

namespace apps_test {
namespace {

const std::string kThreeLevels = R"({
  "application": { "name": "Trees" },
  "levels": [
    { "code": "A____", "table": "PLOTS", "columns": [ { "field": "PLOT" } ] },
    { "code": "AA___", "table": "TREES", "columns": [ { "field": "PLOT" }, { "field": "TREE" } ] },
    { "code": "AB___", "table": "REGEN_SEEDLG", "columns": [ { "field": "PLOT" }, { "field": "LINE" } ] } ] })";

class HierarchyTest : public AppTest {
 protected:
  tablestore::TableStore store{nullptr};
  std::vector<apps::HierarchyEntry> entries;
};

TEST_F(HierarchyTest, EveryTableInDesignOrder) {
  build(kThreeLevels);
  ASSERT_EQ(apps::loadHierarchy(host, store, folder(), entries), 3);
  EXPECT_EQ(entries[0].code, "A____");
  EXPECT_EQ(entries[0].name, "PLOTS");
  EXPECT_EQ(entries[1].code, "AA___");
  EXPECT_EQ(entries[1].name, "TREES");
  EXPECT_EQ(entries[2].code, "AB___");
  EXPECT_EQ(entries[2].name, "REGEN_SEEDLG");
  EXPECT_EQ(store.openCount(), 0u);
}

TEST_F(HierarchyTest, OnlyTwelveCharactersOfTheNameAreUsed) {
  ASSERT_TRUE(platform::makeFolder(folder()));
  tablestore::Table* t = store.createTable(platform::toNarrow(path("hierarchy.ctl")),
                                           std::vector<tablestore::FieldSpec>{{"CODE", 'C', 5, 0}, {"TABLE", 'C', 20, 0}});
  ASSERT_NE(t, nullptr);
  t->appendStart();
  t->fieldByNumber(1)->assignText("A____");
  t->fieldByNumber(2)->assignText("ABCDEFGHIJKL  MNOP");
  t->append();
  t->appendStart();
  t->fieldByNumber(1)->assignText("AA");
  t->fieldByNumber(2)->assignText("SHORT");
  t->append();
  t->deleteRecord();
  store.closeTable(t);
  ASSERT_EQ(apps::loadHierarchy(host, store, folder(), entries), 1);  // the deleted record is left out
  EXPECT_EQ(entries[0].name, "ABCDEFGHIJKL");
}

TEST_F(HierarchyTest, MissingAndUnreadableTablesAreReported) {
  host.expectOnce("!file_exists(hierarchy_file)", ui::kIdOk, "load_hier_info ERROR");
  EXPECT_EQ(apps::loadHierarchy(host, store, folder(), entries), 0);
  build(kThreeLevels);
  writeFile("hierarchy.ctl", "not a table");
  host.expectOnce("Can't Open hierarchy.ctl", ui::kIdOk, "load_hier_info ERROR");
  EXPECT_EQ(apps::loadHierarchy(host, store, folder(), entries), 0);
  EXPECT_TRUE(entries.empty());
}

TEST_F(HierarchyTest, ATableWithOneFieldCannotBeUsed) {
  ASSERT_TRUE(platform::makeFolder(folder()));
  tablestore::Table* t = store.createTable(platform::toNarrow(path("hierarchy.ctl")),
                                           std::vector<tablestore::FieldSpec>{{"CODE", 'C', 5, 0}});
  ASSERT_NE(t, nullptr);
  store.closeTable(t);
  host.expectOnce("Can't Open hierarchy.ctl", ui::kIdOk, "load_hier_info ERROR");
  EXPECT_EQ(apps::loadHierarchy(host, store, folder(), entries), 0);
  EXPECT_EQ(store.openCount(), 0u);
}

TEST_F(HierarchyTest, RequiredFilesComeFromThePackage) {
  tfabuild::Diagnostics diag;
  tfabuild::BuildOptions options;
  options.appFolder = dir.file("built");
  options.packagePath = dir.file("Trees.tfa");
  ASSERT_EQ(tfabuild::buildFromText(kThreeLevels, dir.path(), options, diag), 0) << diag.text();
  apps::TfaHeader header;
  apps::Package package = apps::openPackage(options.packagePath, header);
  ASSERT_TRUE(package.isOpen());
  ASSERT_TRUE(platform::makeFolder(folder()));
  std::vector<apps::RequiredFile> files;
  ASSERT_EQ(apps::loadRequiredFiles(package, folder(), files), 8);
  EXPECT_EQ(files[0].name8, "app.ctl");
  EXPECT_EQ(files[1].name, "hierarchy.ctl");
  EXPECT_EQ(files[2].name, "PLOTS.bct");
  EXPECT_EQ(files[7].name, "REGEN_SEEDLG.ctl");
  EXPECT_TRUE(platform::fileExists(path("ReqFiles.dbf")));
  EXPECT_FALSE(platform::fileExists(path("app.ctl")));  // only the list is extracted
  package.close();
}

TEST_F(HierarchyTest, APackageWithoutTheListHasNoRequiredFiles) {
  apps::TfaHeader header;
  header.setAppName("Empty.tfa");
  std::string packagePath = dir.file("Empty.tfa");
  ASSERT_EQ(apps::writePackage(packagePath, header, {{"app.ctl", std::string(3544, '\0'), 0}}), 0);
  apps::Package package = apps::openPackage(packagePath, header);
  ASSERT_TRUE(package.isOpen());
  ASSERT_TRUE(platform::makeFolder(folder()));
  std::vector<apps::RequiredFile> files{{"old", "old"}};
  EXPECT_EQ(apps::loadRequiredFiles(package, folder(), files), 0);
  EXPECT_TRUE(files.empty());
  package.close();
}

}  // namespace
}  // namespace apps_test
