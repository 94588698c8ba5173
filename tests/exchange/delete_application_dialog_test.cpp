// The delete-application dialog: the current application forgotten first,
// the data folder removed with its archives, the retry texts when files stay.
#include <gtest/gtest.h>

#include <filesystem>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "exchange/delete_application_dialog.hpp"
#include "platform/clock.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"
#include "ui/form_state.hpp"

namespace {

namespace fs = std::filesystem;
using Path = config::SettingsRecord::Path;
using testing_support::writeBytes;
namespace x = exchange;
constexpr char kSep = platform::kSep;

class DeleteApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    for (const char* name : {"Trees", "Plots"}) {
      writeBytes(v.appPath + kSep + name + ".tfa", "package");
      ASSERT_TRUE(platform::makeFolder(control(name)) && platform::makeFolder(data(name)));
      writeBytes(control(name) + kSep + "app.ctl", "x");
      writeBytes(data(name) + kSep + "01 1A____[North]ABC___~~T.dbf", "x");
    }
    ASSERT_TRUE(platform::makeFolder(data("Trees") + kSep + "Archives"));
    writeBytes(data("Trees") + kSep + "Archives" + kSep + "[North]ABC___1A____T.dbf", "x");
    v.settings.setPath(Path::CurAppName, "Trees");
    v.settings.setPath(Path::AppDataFolder, data("Trees"));
    v.settings.setAppOpen(true);
    ASSERT_EQ(platform::putAppSetting("CurAppName", "Trees"), 1);
    ASSERT_EQ(platform::putAppSetting("AutoXfer", "[North]"), 1);
  }
  std::string control(const std::string& name) const { return v.appPath + kSep + name; }
  std::string data(const std::string& name) const { return v.dataPath + kSep + name; }
  bool untouched(const std::string& name) const {
    return fs::exists(v.appPath + kSep + name + ".tfa") && fs::exists(control(name) + kSep + "app.ctl") &&
           fs::exists(data(name) + kSep + "01 1A____[North]ABC___~~T.dbf");
  }
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
  config::ProcessValues v;
  apps::AppDefinition app;
  tablestore::TableStore tables;
  apps::AppContext ctx{host, app, v, tables};
};

TEST_F(DeleteApplicationTest, TheCurrentApplicationIsForgottenAndGoesWithItsArchives) {
  host.expectOnce("Delete This Application\nand All Associated Data\nAre You Sure ?", ui::kIdYes, "Trees");
  host.expectOnce("Delete The CURRENT Application\nand All Associated Data Files\nAre You Sure ?", ui::kIdYes);
  host.onForm(x::kDeleteApplicationDialog, [](ui::FormState& f) {
    ASSERT_EQ(f.items(x::kInstalledApplications), (std::vector<std::string>{"Plots", "Trees"}));
    f.select(x::kInstalledApplications, 1);
    f.press(x::kDeleteApplicationButton);
    EXPECT_EQ(f.items(x::kInstalledApplications), std::vector<std::string>{"Plots"});
  });
  EXPECT_EQ(x::runDeleteApplicationDialog(ctx), 1);
  EXPECT_FALSE(fs::exists(v.appPath + kSep + "Trees.tfa") || fs::exists(control("Trees")) || fs::exists(data("Trees")));
  EXPECT_TRUE(untouched("Plots"));
  EXPECT_EQ(setting("CurAppName"), "");
  EXPECT_EQ(setting("AutoXfer"), "");
  config::SettingsRecord saved;
  (void)config::loadSettings(host, v.installRoot, {v.installRoot, v.appPath, v.dataPath}, saved, kSep);
  EXPECT_FALSE(saved.appOpen());
  EXPECT_EQ(saved.path(Path::CurAppName), "");
  EXPECT_EQ(saved.path(Path::AppDataFolder), "");
}

TEST_F(DeleteApplicationTest, AFailedCurAppNameWriteStopsBeforeAnythingIsDeleted) {
  // A store in a folder that is not there: every write fails.
  auto unwritable = platform::makeFileRegistry(dir.file("missing") + kSep + "registry");
  platform::ScopedRegistry use(*unwritable);
  host.expect("Are You Sure ?", ui::kIdYes);
  host.expectOnce("Registry Access Error.", ui::kIdOk, "Error");  // AutoXfer: the deletion goes on
  host.expectOnce("CurAppName Registry Access Error.", ui::kIdOk, "Error");
  EXPECT_EQ(x::deleteApplication(ctx, "Trees"), x::kDeleteStopped);
  EXPECT_TRUE(untouched("Trees"));
}

TEST_F(DeleteApplicationTest, FilesThatStayAreReportedAndKeepTheirFolder) {
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "~~T.dbf", .removeError = platform::kErrSharingViolation});
  platform::ScopedFileSystem use(files);
  host.expectOnce("Delete This Application", ui::kIdYes, "Plots");
  host.expectOnce("All Data Files for\nApplication:Plots\nCan not be Erased", ui::kIdRetry, "Error");
  host.expectOnce("Data File Delete\nApplication:Plots\nFailed !\n Skipping", ui::kIdOk, "Error");
  host.expectOnce(data("Plots") + "\nAppData RemoveDirectory Failed:145\n", ui::kIdOk, "Error");
  EXPECT_EQ(x::deleteApplication(ctx, "Plots"), x::kDeleteDone);
  EXPECT_TRUE(fs::exists(data("Plots") + kSep + "01 1A____[North]ABC___~~T.dbf"));
  EXPECT_FALSE(fs::exists(control("Plots")) || fs::exists(v.appPath + kSep + "Plots.tfa"));
  EXPECT_EQ(setting("CurAppName"), "Trees");
  EXPECT_EQ(setting("AutoXfer"), "[North]");
}

TEST_F(DeleteApplicationTest, AnEmptyFolderIsRemovedQuietlyAndNoNameReachesTheSharedFolders) {
  fs::remove(control("Plots") + kSep + "app.ctl");
  writeBytes(v.appPath + kSep + ".tfa", "package");
  EXPECT_EQ(x::installedApplications(v.appPath), (std::vector<std::string>{"Plots", "Trees"}));
  EXPECT_EQ(x::deleteApplication(ctx, ".tfa"), x::kDeleteDeclined);
  EXPECT_EQ(x::deleteApplication(ctx, ".."), x::kDeleteDeclined);
  EXPECT_TRUE(host.shown().empty());
  host.expectOnce("Delete This Application", ui::kIdYes, "Plots");
  EXPECT_EQ(x::deleteApplication(ctx, "Plots"), x::kDeleteDone);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_FALSE(fs::exists(control("Plots")));
  EXPECT_TRUE(untouched("Trees"));
}

}  // namespace
