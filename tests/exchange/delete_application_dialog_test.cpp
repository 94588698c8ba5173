// The delete-application dialog: its two questions, the current application
// forgotten first, the data folder (archives and all), the control folder
// and the package removed, and the retry texts when files stay.
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

using Items = std::vector<std::string>;
using Path = config::SettingsRecord::Path;
using testing_support::writeBytes;
namespace x = exchange;
constexpr char kSep = platform::kSep;

// The file registry, except that "CurAppName" cannot be written.
class NoCurAppName : public platform::Registry {
 public:
  explicit NoCurAppName(platform::Registry& inner) : inner_(inner) {}
  int readString(platform::RegRoot r, const std::string& k, const std::string& n, std::string& out) override {
    return inner_.readString(r, k, n, out);
  }
  int writeString(platform::RegRoot r, const std::string& k, const std::string& n, const std::string& t) override {
    return n == "CurAppName" ? platform::kRegWriteFailed : inner_.writeString(r, k, n, t);
  }
  int readDword(platform::RegRoot r, const std::string& k, const std::string& n, std::uint32_t& out) override {
    return inner_.readDword(r, k, n, out);
  }
  int writeDword(platform::RegRoot r, const std::string& k, const std::string& n, std::uint32_t v) override {
    return inner_.writeDword(r, k, n, v);
  }

 private:
  platform::Registry& inner_;
};

class DeleteApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    install("Trees");
    install("Plots");
    const std::string archives = dataFolder("Trees") + kSep + "Archives";
    ASSERT_TRUE(platform::makeFolder(archives));
    writeBytes(archives + kSep + "[North]ABC___1A____TREES.dbf", "x");
    makeCurrent("Plots");
    ASSERT_EQ(platform::putAppSetting("AutoXfer", "[North]"), 1);
  }
  void install(const std::string& name) {
    writeBytes(v.appPath + kSep + name + ".tfa", "package");
    ASSERT_TRUE(platform::makeFolder(controlFolder(name)));
    for (const char* f : {"app.ctl", "T.bct", "T.ctl"}) writeBytes(controlFolder(name) + kSep + f, "x");
    ASSERT_TRUE(platform::makeFolder(dataFolder(name)));
    writeBytes(dataFolder(name) + kSep + "01 1A____[North]ABC___~~T.dbf", "x");
  }
  void makeCurrent(const std::string& name) {
    v.settings.setPath(Path::CurAppName, name);
    v.settings.setPath(Path::AppFolder, controlFolder(name));
    v.settings.setPath(Path::AppDataFolder, dataFolder(name));
    v.settings.setCurDatasetName("North");
    v.settings.setAppOpen(true);
    ASSERT_EQ(platform::putAppSetting("CurAppName", name), 1);
  }
  std::string controlFolder(const std::string& name) const { return v.appPath + kSep + name; }
  std::string dataFolder(const std::string& name) const { return v.dataPath + kSep + name; }
  static bool exists(const std::string& path) { return std::filesystem::exists(path); }
  bool gone(const std::string& name) const {
    return !exists(v.appPath + kSep + name + ".tfa") && !exists(controlFolder(name)) && !exists(dataFolder(name));
  }
  bool untouched(const std::string& name) const {
    return exists(v.appPath + kSep + name + ".tfa") && exists(controlFolder(name) + kSep + "app.ctl") &&
           exists(dataFolder(name) + kSep + "01 1A____[North]ABC___~~T.dbf");
  }
  std::string setting(const std::string& name) {
    std::string out;
    platform::getAppSetting(name, out, 1024);
    return out;
  }
  config::SettingsRecord saved() {
    config::SettingsRecord r;
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    (void)config::loadSettings(host, v.installRoot, d, r, v.style.sep);
    return r;
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

TEST_F(DeleteApplicationTest, AnotherApplicationGoesWithItsArchivesAndTheListIsReadAnew) {
  host.expectOnce("Delete This Application\nand All Associated Data\nAre You Sure ?", ui::kIdYes, "Trees");
  host.onForm(x::kDeleteApplicationDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.items(x::kInstalledApplications), (Items{"Plots", "Trees"}));
    f.select(x::kInstalledApplications, 1);
    f.press(x::kDeleteApplicationButton);
    EXPECT_EQ(f.items(x::kInstalledApplications), (Items{"Plots"}));
  });
  EXPECT_EQ(x::runDeleteApplicationDialog(ctx), 1);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].flags & ui::kMbDefMask, ui::kMbDefButton2);
  EXPECT_TRUE(gone("Trees"));
  EXPECT_TRUE(untouched("Plots"));
  EXPECT_EQ(setting("CurAppName"), "Plots");
  EXPECT_EQ(setting("AutoXfer"), "[North]");
  EXPECT_TRUE(v.settings.appOpen());
}

TEST_F(DeleteApplicationTest, TheCurrentApplicationIsForgottenBeforeItGoes) {
  host.expectOnce("Delete This Application", ui::kIdYes, "Plots");
  host.expectOnce("Delete The CURRENT Application\nand All Associated Data Files\nAre You Sure ?", ui::kIdYes,
                  "Plots");
  EXPECT_EQ(x::deleteApplication(ctx, "Plots"), x::kDeleteDone);
  EXPECT_TRUE(gone("Plots"));
  EXPECT_TRUE(untouched("Trees"));
  EXPECT_EQ(setting("CurAppName"), "");
  EXPECT_EQ(setting("AutoXfer"), "");
  const config::SettingsRecord s = saved();
  EXPECT_FALSE(s.appOpen());
  EXPECT_EQ(s.path(Path::CurAppName), "");
  EXPECT_EQ(s.path(Path::AppDataFolder), "");
  EXPECT_EQ(s.curDatasetName(), "");
  EXPECT_TRUE(v.curAppName.empty());
}

TEST_F(DeleteApplicationTest, NoToEitherQuestionDeletesNothing) {
  host.expectOnce("Delete This Application", ui::kIdNo, "Trees");
  host.expectOnce("Delete This Application", ui::kIdYes, "Plots");
  host.expectOnce("Delete The CURRENT Application", ui::kIdNo, "Plots");
  host.expect("Application Not Deleted !", ui::kIdOk, "");
  EXPECT_EQ(x::deleteApplication(ctx, "Trees"), x::kDeleteDeclined);
  EXPECT_EQ(x::deleteApplication(ctx, "Plots.tfa"), x::kDeleteDeclined);
  EXPECT_EQ(host.countText("Application Not Deleted !"), 2);
  EXPECT_TRUE(untouched("Trees"));
  EXPECT_TRUE(untouched("Plots"));
  EXPECT_EQ(setting("CurAppName"), "Plots");
  EXPECT_EQ(setting("AutoXfer"), "[North]");
}

TEST_F(DeleteApplicationTest, AFailedCurAppNameWriteStopsBeforeAnythingIsDeleted) {
  NoCurAppName failing(*registry);
  platform::ScopedRegistry use(failing);
  host.expect("Are You Sure ?", ui::kIdYes);
  host.expectOnce("CurAppName Registry Access Error.", ui::kIdOk, "Error");
  EXPECT_EQ(x::deleteApplication(ctx, "Plots"), x::kDeleteStopped);
  EXPECT_TRUE(untouched("Plots"));
}

TEST_F(DeleteApplicationTest, FilesThatStayAreReportedAndKeepTheirFolder) {
  const std::string locked = dataFolder("Trees") + kSep + "01 1A____[North]ABC___~~T.dbf";
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "~~T.dbf", .removeError = platform::kErrSharingViolation});
  platform::ScopedFileSystem use(files);
  host.expectOnce("Delete This Application", ui::kIdYes);
  host.expectOnce("All Data Files for\nApplication:Trees\nCan not be Erased", ui::kIdRetry, "Error");
  host.expectOnce("Data File Delete\nApplication:Trees\nFailed !\n Skipping", ui::kIdOk, "Error");
  host.expectOnce(dataFolder("Trees") + "\nAppData RemoveDirectory Failed:145\n", ui::kIdOk, "Error");
  EXPECT_EQ(x::deleteApplication(ctx, "Trees"), x::kDeleteDone);
  EXPECT_TRUE(exists(locked));
  EXPECT_FALSE(exists(dataFolder("Trees") + kSep + "Archives"));
  // The rest of the application still went.
  EXPECT_FALSE(exists(controlFolder("Trees")));
  EXPECT_FALSE(exists(v.appPath + kSep + "Trees.tfa"));
}

TEST_F(DeleteApplicationTest, CancelShowsTheFolderAndAnUndeletableControlFileIsReported) {
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "T.bct", .removeError = platform::kErrAccessDenied});
  platform::ScopedFileSystem use(files);
  host.expectOnce("Delete This Application", ui::kIdYes);
  host.expectOnce("All Control Files in\nApplication:Trees\nCan not be Erased", ui::kIdCancel, "Error");
  host.expectOnce(controlFolder("Trees"), ui::kIdOk, "if(!file_exists(t_path))");
  host.expectOnce(controlFolder("Trees") + "\nRemoveDirectory Failed:145\n", ui::kIdOk, "Error");
  EXPECT_EQ(x::deleteApplication(ctx, "Trees"), x::kDeleteDone);
  EXPECT_TRUE(exists(controlFolder("Trees") + kSep + "T.bct"));
  EXPECT_FALSE(exists(controlFolder("Trees") + kSep + "app.ctl"));
  EXPECT_FALSE(exists(dataFolder("Trees")));
}

TEST_F(DeleteApplicationTest, AnEmptyDataFolderIsRemovedWithoutComplaint) {
  std::filesystem::remove(dataFolder("Trees") + kSep + "01 1A____[North]ABC___~~T.dbf");
  std::filesystem::remove_all(dataFolder("Trees") + kSep + "Archives");
  host.expectOnce("Delete This Application", ui::kIdYes);
  EXPECT_EQ(x::deleteApplication(ctx, "Trees"), x::kDeleteDone);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_TRUE(gone("Trees"));
}

TEST_F(DeleteApplicationTest, NamesThatAreNoFolderOfTheirOwnAreNeverOffered) {
  writeBytes(v.appPath + kSep + ".tfa", "package");
  ASSERT_TRUE(platform::makeFolder(v.appPath + kSep + "Folder.tfa"));
  EXPECT_EQ(x::installedApplications(v.appPath), (Items{"Plots", "Trees"}));
  // Deleting "" would empty the data folder of every application.
  EXPECT_EQ(x::deleteApplication(ctx, ".tfa"), x::kDeleteDeclined);
  EXPECT_EQ(x::deleteApplication(ctx, ".."), x::kDeleteDeclined);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_TRUE(untouched("Trees"));
  EXPECT_TRUE(untouched("Plots"));
}

}  // namespace
