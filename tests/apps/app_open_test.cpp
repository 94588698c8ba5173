// Opening and selecting applications: the list, extraction, app.ctl and the
// level-1 definition with their reports, the password, and what stays current
// when something fails.
#include <gtest/gtest.h>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/app_password.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "install_fixture.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"
#include "ui/pick_list.hpp"

namespace {

using install_test::buildPackage;
using install_test::Version;
using Path = config::SettingsRecord::Path;

class AppOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
  }
  std::string package(const std::string& name) const { return base::joinPath(v.appPath, name + ".tfa", platform::kSep); }
  void install(const std::string& name, const Version& version = {}) {
    buildPackage(scratch.path(), name, version, package(name));
  }
  // Chooses name from the application list.
  void choose(const std::string& name) {
    host.onForm(ui::kPickListResource, [name](ui::FormState& f) {
      std::vector<std::string> items = f.items(ui::kPickListControl);
      auto it = std::find(items.begin(), items.end(), name + ".tfa");
      ASSERT_NE(it, items.end()) << name;
      f.select(ui::kPickListControl, static_cast<int>(it - items.begin()));
      f.press(ui::kIdOkButton);
    });
  }
  void cancelList() {
    host.onForm(ui::kPickListResource, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  }
  std::string current() const { return v.settings.path(Path::CurAppName); }
  // The settings file as written.
  config::SettingsRecord saved() {
    config::SettingsRecord r;
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(host, v.installRoot, d, r, v.style.sep);
    return r;
  }

  testing_support::TempDir dir, scratch;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, v, v.tables};
};

TEST_F(AppOpenTest, SelectingExtractsOpensAndRemembersTheApplication) {
  install("Oaks");
  install("Trees");
  host.onForm(ui::kPickListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.items(ui::kPickListControl),
              (std::vector<std::string>{"< Applications >", "Oaks.tfa", "Trees.tfa", "< Enter to Select >"}));
    f.select(ui::kPickListControl, 2);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(apps::selectApplication(ctx, std::nullopt), apps::kSelectOk);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_TRUE(platform::fileExists(base::joinPath(base::joinPath(v.appPath, "Trees", platform::kSep), "app.ctl", platform::kSep)));
  ASSERT_NE(app.level(1), nullptr);
  EXPECT_EQ(app.appCtl().tableName(), "TREES");

  config::SettingsRecord r = saved();
  EXPECT_TRUE(r.appOpen());
  EXPECT_EQ(r.path(Path::CurAppName), "Trees");
  EXPECT_EQ(r.path8(Path::CurAppName), "Trees");
  EXPECT_EQ(r.path(Path::AppFolder), base::joinPath(v.appPath, "Trees", platform::kSep));
  EXPECT_EQ(r.path(Path::AppDataFolder), base::joinPath(v.dataPath, "Trees", platform::kSep));

  // The current application is preselected next time.
  host.onForm(ui::kPickListResource, [](ui::FormState& f) {
    EXPECT_EQ(f.selection(ui::kPickListControl), 2);
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(apps::selectApplication(ctx, std::nullopt), apps::kSelectCancelled);
}

TEST_F(AppOpenTest, CancellingTheListKeepsThePreviousApplication) {
  install("Oaks");
  install("Trees");
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Oaks")), apps::kSelectOk);
  app.releaseAll();
  cancelList();
  EXPECT_EQ(apps::selectApplication(ctx, std::nullopt), apps::kSelectCancelled);
  EXPECT_EQ(current(), "Oaks");
  EXPECT_TRUE(v.settings.appOpen());
  EXPECT_NE(app.level(1), nullptr);  // reopened

  // When the previous one no longer opens it is forgotten.
  platform::deleteFile(base::joinPath(base::joinPath(v.appPath, "Oaks", platform::kSep), "app.ctl", platform::kSep));
  cancelList();
  host.expectOnce("app.ctl Not Found!", ui::kIdOk, "Oaks:Error:1");
  EXPECT_EQ(apps::selectApplication(ctx, std::nullopt), apps::kSelectCancelled);
  EXPECT_EQ(current(), "");
  EXPECT_EQ(v.settings.path8(Path::CurAppName), "");
  EXPECT_FALSE(v.settings.appOpen());
  EXPECT_FALSE(saved().appOpen());
}

TEST_F(AppOpenTest, AFailedExtractionLeavesThePreviousApplicationCurrent) {
  install("Oaks");
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Oaks")), apps::kSelectOk);
  const apps::AppCtl before = app.appCtl();
  // A package whose header is whole but that has no members.
  apps::TfaHeader h;
  h.setAppName("Trees.tfa");
  const std::string image(h.bytes().begin(), h.bytes().end());
  testing_support::writeBytes(package("Trees"), image + std::string(333, '\0'));
  choose("Trees");
  host.expectOnce("Can't Extract", ui::kIdOk, "Trees.tfa");
  EXPECT_EQ(apps::selectApplication(ctx, std::nullopt), apps::kSelectExtractFailed);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(current(), "Oaks");
  EXPECT_TRUE(v.settings.appOpen());
  EXPECT_EQ(saved().path(Path::CurAppName), "Oaks");
  ASSERT_NE(app.level(1), nullptr);
  EXPECT_EQ(app.appCtl().bytes(), before.bytes());
}

TEST_F(AppOpenTest, OpeningReportsAMissingAppCtlUnderTheApplicationsName) {
  install("Trees");
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Trees")), apps::kSelectOk);
  platform::deleteFile(base::joinPath(base::joinPath(v.appPath, "Trees", platform::kSep), "app.ctl", platform::kSep));
  host.expectOnce("app.ctl Not Found!", ui::kIdOk, "Trees:Error:1");
  EXPECT_EQ(apps::openApplication(ctx, "Trees", false), apps::kOpenAppCtl);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "app.ctl Not Found!");
  EXPECT_EQ(host.shown()[0].caption, "Trees:Error:1");
}

TEST_F(AppOpenTest, OpeningReportsEachFailureAndChangesNoSetting) {
  EXPECT_EQ(apps::openApplication(ctx, "   ", false), apps::kOpenNoName);
  EXPECT_TRUE(host.shown().empty());

  host.expectOnce(package("Gone"), ui::kIdOk, "Can't Open App for Read");
  host.expectOnce("Cannot Get App Info\nCannot Open App", ui::kIdOk, "App Open ERROR");
  EXPECT_EQ(apps::openApplication(ctx, "Gone", false), apps::kOpenNoHeader);
  EXPECT_EQ(host.shown().size(), 2u);

  install("Trees");
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Trees")), apps::kSelectOk);
  v.settings.setPath(Path::CurAppName, "Other");
  platform::deleteFile(base::joinPath(base::joinPath(v.appPath, "Trees", platform::kSep), "TREES.bct", platform::kSep));
  host.clearShown();
  host.expectOnce("Can't Find:", ui::kIdOk, "Load Application Error");
  EXPECT_EQ(apps::openApplication(ctx, "Trees", false), apps::kOpenLevel);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text.rfind("Trees-Error:1110\nCan't Find:", 0), 0u);
  EXPECT_EQ(current(), "Other");  // nothing of a failed open is kept

  buildPackage(scratch.path(), "Oaks", {}, package("Oaks"), false);
  // Read whole but not compiled: the opener's own text under the status 6.
  host.clearShown();
  host.expectOnce("Not Compiled !", ui::kIdOk, "Oaks:Error:6");
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Oaks.tfa")), apps::kSelectOpenFailed);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "Not Compiled !");
  EXPECT_EQ(current(), "Other");
}

TEST_F(AppOpenTest, TheApplicationPasswordIsAskedWhenSelecting) {
  Version locked;
  locked.password = "Oak7";
  install("Trees", locked);
  host.onForm(apps::kAppPasswordDialog, [](ui::FormState& f) {
    f.type(apps::kAppPasswordEntry, "oak7");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.type(apps::kAppPasswordEntry, "Oak7");
    f.press(ui::kIdOkButton);
  });
  host.expectOnce("PassWord Not Valid", ui::kIdOk, "Error");
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Trees")), apps::kSelectOk);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(current(), "Trees");

  // Reopening does not ask; cancelling it when asked keeps the application current.
  EXPECT_EQ(apps::openApplication(ctx, "Trees", false), apps::kOpenOk);
  host.onForm(apps::kAppPasswordDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Trees")), apps::kSelectOpenFailed);
  EXPECT_TRUE(v.settings.appOpen());
}

TEST_F(AppOpenTest, SelectingMakesTheHeaderCopyMatchTheNewPackage) {
  Version first;
  install("Trees", first);
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Trees")), apps::kSelectOk);
  Version second;
  second.structure = 2;
  install("Trees", second);  // a newer package arrives, e.g. from removable storage
  EXPECT_EQ(apps::selectApplication(ctx, std::string("Trees")), apps::kSelectOk);
  const std::string folder = base::joinPath(v.appPath, "Trees", platform::kSep);
  apps::TfaHeader copy, pkg;
  ASSERT_EQ(apps::readPackageHeader(apps::headerCopyPath(folder, platform::kSep), copy), 0);
  ASSERT_EQ(apps::readPackageHeader(package("Trees"), pkg), 0);
  EXPECT_EQ(copy.hierVer(), 2);
  EXPECT_EQ(copy.bytes(), pkg.bytes());
}

TEST_F(AppOpenTest, WithoutPackagesTheCurrentApplicationIsReopenedOrForgotten) {
  v.settings.setPath(Path::CurAppName, "Trees");
  v.settings.setAppOpen(true);
  host.expectOnce("No Applications Available.", ui::kIdOk, "Error");
  host.expectOnce(package("Trees"), ui::kIdOk, "Can't Open App for Read");
  host.expectOnce("Cannot Get App Info", ui::kIdOk, "App Open ERROR");
  EXPECT_EQ(apps::selectApplication(ctx, std::nullopt), apps::kSelectNoApps);
  EXPECT_EQ(current(), "");
  EXPECT_FALSE(v.settings.appOpen());
  EXPECT_EQ(saved().path(Path::CurAppName), "");
  EXPECT_TRUE(host.forms().empty());
}

}  // namespace
