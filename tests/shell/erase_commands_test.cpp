// Erase NonBundled Data as the main window runs it: the checks in front, then
// the dataset dialog or the whole erase.
#include <gtest/gtest.h>

#include <filesystem>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "exchange/erase_datasets_dialog.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "shell/erase_commands.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tfabuild/build.hpp"
#include "ui/form_state.hpp"

namespace {

using Path = config::SettingsRecord::Path;
using testing_support::writeBytes;
constexpr char kSep = platform::kSep;

constexpr const char* kRaw = "01 1A____[Level1]ABC___~~TREES.dbf";
constexpr const char* kRawTwin = "01 1A____[Level1]ABC___~~TREES.db$";
constexpr const char* kBundle = "[Level1]ABC___1A____TREES.dbf";

class EraseCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    v.tables.setHost(&host);
    ASSERT_EQ(platform::putAppSetting("AutoXfer", "[Level1]"), 1);
  }
  // Builds and opens a one-level application, with a raw dataset and a bundle in its data folder.
  void install(const std::string& name, bool useDatasets) {
    const std::string json = R"({ "application": { "name": ")" + name + R"(", "useDatasets": )" +
                             (useDatasets ? "true" : "false") +
                             R"( }, "version": { "major": 1, "minor": 0, "build": 2, "structure": 5,
        "date": "01/02/2021", "structureDate": "01/01/2021", "structureTime": "10:00:00" },
      "levels": [ { "code": "A____", "table": "TREES",
                    "columns": [ { "field": "PLOT", "type": "N", "width": 4 } ] } ] })";
    tfabuild::Diagnostics diag;
    tfabuild::BuildOptions options;
    options.appFolder = v.appPath + kSep + name;
    options.packagePath = v.appPath + kSep + name + ".tfa";
    ASSERT_EQ(tfabuild::buildFromText(json, dir.path(), options, diag), 0) << diag.text();
    ASSERT_EQ(apps::openApplication(ctx, name, false), apps::kOpenOk);
    ASSERT_EQ(platform::putAppSetting("CurAppName", name), 1);
    ASSERT_TRUE(platform::makeFolder(dataFolder()));
    for (const char* f : {kRaw, kRawTwin, kBundle}) writeBytes(data(f), "x");
  }
  std::string dataFolder() const { return v.settings.path(Path::AppDataFolder); }
  std::string data(const std::string& name) const { return dataFolder() + kSep + name; }
  bool has(const char* name) const { return std::filesystem::exists(data(name)); }
  std::string setting(const std::string& name) {
    std::string out;
    platform::getAppSetting(name, out, 1024);
    return out;
  }

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*registry};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  apps::AppContext ctx{host, apps::currentApp(), v, v.tables};
};

TEST_F(EraseCommandsTest, AMissingDataFolderStopsAndEmptiesTheAutoTransferList) {
  install("Trees", false);
  std::filesystem::remove_all(dataFolder());
  host.expectOnce("Selected Data Storage\nLocation Not Available.\nSelect New Location. d", ui::kIdOk, "Error");
  EXPECT_EQ(shell::eraseNonBundledCommand(host, v), 0);
  EXPECT_EQ(setting("AutoXfer"), "");
}

TEST_F(EraseCommandsTest, WithoutDatasetsEveryRawFileGoesAndTheBundlesStay) {
  install("Trees", false);
  host.expectOnce("Erase All Data\nAre You Sure ?", ui::kIdNo, "Erase Data");
  host.expectOnce("Data Not Erased !\nUser Aborted", ui::kIdOk);
  EXPECT_EQ(shell::eraseNonBundledCommand(host, v), 0);
  EXPECT_TRUE(has(kRaw));
  EXPECT_EQ(host.shown()[0].flags & ui::kMbDefMask, ui::kMbDefButton2);
  EXPECT_EQ(setting("AutoXfer"), "[Level1]");

  host.expectOnce("Erase All Data\nAre You Sure ?", ui::kIdYes, "Erase Data");
  EXPECT_EQ(shell::eraseNonBundledCommand(host, v), 1);
  EXPECT_FALSE(has(kRaw));
  EXPECT_FALSE(has(kRawTwin));
  EXPECT_TRUE(has(kBundle));
  EXPECT_EQ(setting("AutoXfer"), "");
}

TEST_F(EraseCommandsTest, WithDatasetsTheDialogOfTheOrientationOpens) {
  install("Trees", true);
  for (bool portrait : {false, true}) {
    v.geometry.portrait = portrait;
    host.onForm(portrait ? exchange::kEraseDatasetsPortrait : exchange::kEraseDatasetsLandscape,
                [](ui::FormState& f) {
                  EXPECT_EQ(f.items(exchange::kAvailableDatasets), std::vector<std::string>{"01 Level1"});
                  f.press(ui::kIdCancelButton);
                });
    EXPECT_EQ(shell::eraseNonBundledCommand(host, v), 1);
  }
  ASSERT_EQ(host.forms().size(), 2u);
  EXPECT_EQ(host.forms()[0].resource, 142);
  EXPECT_EQ(host.forms()[1].resource, 112);
  EXPECT_TRUE(has(kRaw));
}

}  // namespace
