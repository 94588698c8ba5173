// The Data command end to end on the demo application and small ones:
// creating a dataset stamps it, opening it again passes the version check,
// another structure is refused, and each step's refusal.
#include <gtest/gtest.h>

#include "apps/tfa_header.hpp"
#include "apps/version_table.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "data_fixture.hpp"
#include "datasets/choose_dataset.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/keys.hpp"

namespace {

using datasets_test::DataTest;
using Path = config::SettingsRecord::Path;
using Settings = config::SettingsRecord;

constexpr const char* kLevel1 = "01 1A____[North Block]ABC___~~PLOTS.dbf";
constexpr const char* kVersion = "01 1A____[North Block]ABC___#$$DataAppVer.dbf";

// The stamp of a version table, read through the table store.
apps::TfaHeader stampOf(const std::string& path) {
  tablestore::TableStore store;
  apps::VersionTable vt = apps::openVersionTable(store, platform::toNarrow(path));
  EXPECT_FALSE(vt.created);
  apps::TfaHeader out;
  testing_support::ScriptedHost quiet;
  EXPECT_EQ(apps::readVersionTable(quiet, vt, apps::TfaHeader{}, "", out), apps::kVersionOk);
  return out;
}

class OpenDataTest : public DataTest {
 protected:
  void chooseEntry(const std::string& entry) {
    host.onForm(datasets::kChooseDatasetResource, [entry](ui::FormState& f) {
      const auto items = f.items(datasets::kDatasetListControl);
      auto it = std::find(items.begin(), items.end(), entry);
      ASSERT_NE(it, items.end()) << entry;
      f.select(datasets::kDatasetListControl, static_cast<int>(it - items.begin()));
      f.press(datasets::kOpenDatasetButton);
    });
  }
  config::SettingsRecord saved() {
    config::SettingsRecord r;
    config::loadSettings(host, v.installRoot, config::DefaultPaths{v.installRoot, v.appPath, v.dataPath}, r, v.style.sep);
    return r;
  }
};

TEST_F(OpenDataTest, CreatingADatasetMakesItsTableAndStampsItWithThePackageHeader) {
  buildDemo();
  open("Cruise");
  nameNewDataset("North Block");
  ASSERT_EQ(openData(), 1);

  EXPECT_EQ(edit.title, "TFMobile   ~App\"Cruise\"  ~Dataset\"North Block\"");
  ASSERT_NE(edit.level1, nullptr);
  EXPECT_EQ(edit.tableName, "PLOTS");
  EXPECT_EQ(edit.dataFileName, kLevel1);
  EXPECT_EQ(edit.lineCount, 0);
  EXPECT_TRUE(platform::fileExists(dataFile(kLevel1)));
  EXPECT_TRUE(session.level(1)->created);
  EXPECT_EQ(edit.level1->fieldCount(), 12);

  // The header copy was missing: it came from the package and was written.
  apps::TfaHeader package;
  ASSERT_EQ(apps::readPackageHeader(base::joinPath(v.appPath, "Cruise.tfa", platform::kSep), package), apps::kHeaderOk);
  const apps::TfaHeader stamp = stampOf(dataFile(kVersion));
  EXPECT_EQ(stamp.appName(), "Cruise.tfa");
  EXPECT_EQ(stamp.hierVer(), 3);
  EXPECT_EQ(stamp.hierDate(), "04/20/2024");
  EXPECT_EQ(stamp.appBuild(), 7);
  EXPECT_TRUE(apps::sameDataStructure(stamp, package));
  EXPECT_TRUE(apps::headerCopyExists(appFolder(), v.style.sep));

  EXPECT_EQ(app.appCtl().curLevel(), 1);
  EXPECT_EQ(app.appCtl().levelCode(1), "A____");
  EXPECT_EQ(app.appCtl().levelCode(2), "___");
  const Settings s = saved();
  EXPECT_EQ(s.i32(Settings::kLastDatasetNumber), 1);
  EXPECT_EQ(s.i32(Settings::kCurDatasetNumber), 1);
  EXPECT_EQ(s.curDatasetName(), "North Block");
}

TEST_F(OpenDataTest, OpeningItAgainFindsItAndPassesTheVersionCheck) {
  buildDemo();
  open("Cruise");
  nameNewDataset("North Block");
  ASSERT_EQ(openData(), 1);
  ASSERT_EQ(edit.level1->appendStart(), 0);
  ASSERT_EQ(edit.level1->append(), 0);

  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) {
    EXPECT_EQ(f.items(datasets::kDatasetListControl), std::vector<std::string>{"01 [North Block]"});
    EXPECT_EQ(f.selection(datasets::kDatasetListControl), 0);
    f.key(ui::key::kEnter);
  });
  ASSERT_EQ(openData(), 1);
  EXPECT_FALSE(session.level(1)->created);
  EXPECT_EQ(edit.lineCount, 1);
  EXPECT_EQ(v.tables.openCount(), 1u);  // the version table is closed again
}

TEST_F(OpenDataTest, AnotherStructureVersionIsRefused) {
  buildDemo();
  open("Cruise");
  nameNewDataset("North Block");
  ASSERT_EQ(openData(), 1);

  // The installed application changes its data structure.
  const std::string copy = apps::headerCopyPath(appFolder(), v.style.sep);
  apps::TfaHeader header;
  ASSERT_EQ(apps::readHeaderCopy(host, copy, header), 0);
  header.setHierVer(4);
  ASSERT_EQ(apps::writeHeaderCopy(host, copy, header), 0);

  host.expectOnce("Data Collected With a different App Version.", ui::kIdOk, "Debug Error");
  chooseEntry("01 [North Block]");
  EXPECT_EQ(openData(), 0);
  EXPECT_TRUE(host.sawText("Data Collected With a different App Version."));
  EXPECT_EQ(v.tables.openCount(), 0u);
  EXPECT_EQ(session.level(1)->table, nullptr);
}

TEST_F(OpenDataTest, WithoutNamedDatasetsDataGoesToLevel1WithoutADialog) {
  buildSmall("Trees", false);
  open("Trees");
  ASSERT_EQ(openData(), 1);
  EXPECT_TRUE(host.forms().empty());
  EXPECT_EQ(edit.dataFileName, "01 1A____[Level1]ABC___~~TREES.dbf");
  EXPECT_EQ(edit.title, "TFMobile   ~App\"Trees\"  ~Dataset\"Level1\"");
  EXPECT_TRUE(platform::fileExists(dataFile("01 1A____[Level1]ABC___#$$DataAppVer.dbf")));
}

TEST_F(OpenDataTest, StoredNumbersOutsideOneToNinetyNineAreHeldInside) {
  buildSmall("Trees", false);
  open("Trees");
  for (auto [stored, used] : {std::pair{0, 1}, std::pair{120, 99}}) {
    v.settings.setI32(Settings::kLastDatasetNumber, stored);
    config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
    ASSERT_EQ(openData(), 1);
    EXPECT_EQ(edit.dataFileName, base::format("%02d 1A____[Level1]ABC___~~TREES.dbf", used));
    EXPECT_EQ(saved().i32(Settings::kLastDatasetNumber), used);
  }
}

TEST_F(OpenDataTest, ADatasetOfAnotherUnitKeepsItsFileNames) {
  buildSmall("Trees", true);
  open("Trees");
  nameNewDataset("North Block");
  ASSERT_EQ(openData(), 1);
  // This installation is renamed; the dataset's files stay where they are.
  v.settings.setUnitCode("XYZ___");
  config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
  chooseEntry("01 [North Block]");
  ASSERT_EQ(openData(), 1);
  EXPECT_EQ(edit.dataFileName, "01 1A____[North Block]ABC___~~TREES.dbf");
  EXPECT_FALSE(session.level(1)->created);
}

TEST_F(OpenDataTest, NoApplicationNoData) {
  buildSmall("Trees", true);
  open("Trees");
  v.settings.setAppOpen(false);
  config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
  host.expectOnce("Must Select Valid Application First", ui::kIdOk, "Error");
  EXPECT_EQ(openData(), 0);
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(OpenDataTest, AMissingDataFolderThatCannotBeMadeStopsAndClearsAutoXfer) {
  buildSmall("Trees", true);
  open("Trees");
  platform::putAppSetting("AutoXfer", "[North Block]");
  // A file stands where the data folder would go.
  testing_support::writeBytes(v.settings.path(Path::AppDataFolder), "not a folder");
  host.expectOnce("Selected Data Storage\nLocation Not Available.\nSelect New Location. b", ui::kIdOk, "Error");
  EXPECT_EQ(openData(), 0);
  std::string autoXfer = "unread";
  ASSERT_TRUE(platform::getAppSetting("AutoXfer", autoXfer, 8192));
  EXPECT_EQ(autoXfer, "");
}

TEST_F(OpenDataTest, ALevelOneTableThatCannotBeOpenedStops) {
  buildSmall("Trees", false);
  open("Trees");
  // Garbage where the level-1 table lies.
  platform::makeFolder(v.settings.path(Path::AppDataFolder));
  testing_support::writeBytes(dataFile("01 1A____[Level1]ABC___~~TREES.dbf"), "garbage");
  host.expectOnce("", ui::kIdOk, tablestore::kErrorCaption);
  host.expectOnce("Can't Open Level 1 Files", ui::kIdOk, "Error");
  EXPECT_EQ(openData(), 0);
  EXPECT_TRUE(host.sawText("Can't Open Level 1 Files"));
  EXPECT_EQ(v.tables.openCount(), 0u);
}

TEST_F(OpenDataTest, AMissingPackageStopsANewDataset) {
  buildSmall("Trees", false);
  open("Trees");
  platform::deleteFile(apps::headerCopyPath(appFolder(), v.style.sep));
  platform::deleteFile(base::joinPath(v.appPath, "Trees.tfa", platform::kSep));
  host.expectOnce("tfa_source_file doesn't exist.", ui::kIdOk, "Debug Error");
  EXPECT_EQ(openData(), 0);
  EXPECT_TRUE(host.sawText("tfa_source_file"));
  EXPECT_EQ(v.tables.openCount(), 0u);
}

}  // namespace
