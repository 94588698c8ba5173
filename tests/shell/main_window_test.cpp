#include <gtest/gtest.h>

#include "config/unit_id.hpp"
#include "editor/help_lists.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "shell/choice_dialogs.hpp"
#include "shell/commands.hpp"
#include "shell/host_address_dialog.hpp"
#include "shell/main_window.hpp"
#include "shell/passwords.hpp"
#include "shell/temp_coord_dialog.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using shell::MainAction;
using testing_support::ScriptedHost;
namespace cmd = shell::cmd;

TEST(ButtonLayout, WideClientGivesOneRowOfSixAtMost125) {
  auto l = shell::layoutButtons(1024, 600);
  EXPECT_FALSE(l.portrait);
  EXPECT_EQ(l.size, 125);
  for (int i = 1; i < 6; ++i) {
    EXPECT_EQ(l.buttons[i].y, l.buttons[0].y);
    EXPECT_GT(l.buttons[i].x, l.buttons[i - 1].x + l.size - 1);
  }
  EXPECT_LE(l.buttons[5].x + l.size, 1024);
}

TEST(ButtonLayout, TallClientGivesTwoRowsOfThree) {
  auto l = shell::layoutButtons(800, 1280);
  EXPECT_TRUE(l.portrait);
  EXPECT_EQ(l.columns, 3);
  EXPECT_EQ(l.buttons[3].y, l.buttons[4].y);
  EXPECT_GT(l.buttons[3].y, l.buttons[0].y);
  EXPECT_EQ(l.buttons[3].x, l.buttons[0].x);
}

TEST(ButtonLayout, NarrowLandscapeFallsBackToPortraitAndSizesShrinkToFit) {
  auto l = shell::layoutButtons(500, 480);  // six with gaps of 40 need more than 500
  EXPECT_TRUE(l.portrait);
  EXPECT_LE(3 * l.size + 3 * l.gap, 500);
  auto small = shell::layoutButtons(90, 400, true);
  EXPECT_LE(3 * small.size + 3 * small.gap, 90);
  EXPECT_GT(small.size, 0);
  auto taskbar = shell::layoutButtons(600, 420, true), none = shell::layoutButtons(600, 420, false);
  EXPECT_LE(taskbar.size, none.size);
}

TEST(Menu, EveryItemIsACommandAndTheBarMatchesTheAccelerators) {
  const auto& menu = shell::mainMenu();
  ASSERT_EQ(menu.size(), 7u);
  EXPECT_EQ(menu.front().text, "&Data");
  EXPECT_EQ(menu.back().text, "Exit");
  EXPECT_EQ(menu.back().command, cmd::kExit);
  std::function<void(const std::vector<shell::MenuItem>&)> walk = [&](const auto& items) {
    for (const auto& item : items) {
      if (item.items.empty()) EXPECT_NE(shell::findCommand(item.command), nullptr) << item.text;
      walk(item.items);
    }
  };
  walk(menu);
  EXPECT_EQ(shell::accelerators().size(), 6u);
  EXPECT_EQ(shell::commandOfChoiceButton(1294), cmd::kPassword2);
  EXPECT_EQ(shell::commandOfChoiceButton(1303), cmd::kLineKeystrokes);
}

TEST(ChoiceDialogs, ButtonsAreEnabledForTheBuiltActions) {
  ui::Form setups = shell::choiceForm(shell::Choice::Setups, false);
  EXPECT_EQ(setups.resource, 283);
  ASSERT_NE(setups.find(1293), nullptr);
  EXPECT_TRUE(setups.find(1293)->enabled);   // Level 1 Password
  EXPECT_TRUE(setups.find(1297)->enabled);   // TCP/IP Transfer Setups
  EXPECT_EQ(shell::choiceForm(shell::Choice::Data, true).resource, 279);
  EXPECT_EQ(shell::choiceForm(shell::Choice::Gps, true).resource, 281);
}

class MainWindowTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  ScriptedHost host;
  shell::StartupValues v;
  std::unique_ptr<shell::MainWindow> window;

  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    window = std::make_unique<shell::MainWindow>(host, v);
    window->create();
  }
  void setPassword2(const std::string& p) {
    v.settings.setPassword2(p);
    config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
  }
};

TEST_F(MainWindowTest, PortraitButtonsGiveUpTwentyPixelsOnlyForAFoundTaskbar) {
  // 600 × 420 falls back to portrait, where the height decides the size:
  // (420 − 20) / 4 = 100 with the taskbar window, 420 / 4 = 105 without.
  v.settings.setI32(config::SettingsRecord::kUseTaskbarHeight, 1);
  v.taskbarFound = false;
  shell::ButtonLayout none = window->buttons(600, 420);
  EXPECT_TRUE(none.portrait);
  EXPECT_EQ(none.size, 105);
  v.settings.setI32(config::SettingsRecord::kUseTaskbarHeight, 0);
  v.taskbarFound = true;
  shell::ButtonLayout taskbar = window->buttons(600, 420);
  EXPECT_EQ(taskbar.size, 100);
  EXPECT_EQ(taskbar.gap, (600 - 3 * 100 - 1) / 3);
  EXPECT_EQ(taskbar.buttons[3].y, 50 + 100 + taskbar.gap);
}

TEST_F(MainWindowTest, ExitDuringAnEditSessionAsksTheEditSessionQuestion) {
  window->setEditSessionOpen(true);
  host.expectOnce("An Edit Session\nis Open\nExit Tallyfin?", ui::kIdNo, "");
  EXPECT_EQ(window->command(cmd::kBarExit), MainAction::None);
  window->setEditSessionOpen(false);
  host.expectOnce("Exit Tallyfin?", ui::kIdYes, "");
  EXPECT_EQ(window->close(), MainAction::Destroy);
}

TEST_F(MainWindowTest, ClosingAsksTheLevelTwoPasswordFirst) {
  setPassword2("boss");
  host.onForm(shell::kPasswordDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_EQ(window->close(), MainAction::None);
  EXPECT_TRUE(host.shown().empty());  // no exit question after a refused password
  host.onForm(shell::kPasswordDialog, [](ui::FormState& f) {
    f.type(shell::kPasswordEntry, "boss");
    f.press(ui::kIdOkButton);
  });
  host.expectOnce("Exit Tallyfin?", ui::kIdYes);
  EXPECT_EQ(window->close(), MainAction::Destroy);
}

TEST_F(MainWindowTest, NoEditGuardIgnoresCommandsWhileEditing) {
  window->setEditSessionOpen(true);
  EXPECT_FALSE(window->commandEnabled(cmd::kAbout));
  EXPECT_EQ(window->command(cmd::kAbout), MainAction::None);
  EXPECT_TRUE(host.forms().empty());
  EXPECT_TRUE(window->commandEnabled(cmd::kViewMessages));
  window->setEditSessionOpen(false);
  host.onForm(103, [](ui::FormState& f) { f.key(ui::key::kEnter); });
  window->command(cmd::kAbout);
  EXPECT_EQ(host.forms().size(), 1u);
}

TEST_F(MainWindowTest, AboutBoxChangesTheUnitIdentification) {
  v.unitIdDefault = "FIELDPC";
  host.onForm(103, [](ui::FormState& f) {
    EXPECT_EQ(f.focus(), ui::kIdOkButton);
    f.press(shell::kChangeUnitIdButton);
    EXPECT_EQ(f.text(1035), "Unit ID: CREW 7");
    f.press(ui::kIdOkButton);
  });
  host.onForm(config::kUnitIdResource, [](ui::FormState& f) {
    f.type(config::kUnitIdEntry, "CREW 7");
    f.press(ui::kIdOkButton);
  });
  window->command(cmd::kAbout);
  EXPECT_EQ(v.settings.unitCode(), "CREW 7");
  std::string stored;
  ASSERT_EQ(platform::getAppSetting("Unit ID", stored, 200), 1);
  EXPECT_EQ(stored, "CREW 7");
}

TEST_F(MainWindowTest, EraseCoordinateFilesAsksAndKeepsTheTables) {
  std::string data = dir.file("Data");
  platform::makeFolder(data);
  v.settings.setPath(config::SettingsRecord::Path::AppDataFolder, data);
  host.expectOnce("No Coordinate Files Present.");
  window->command(cmd::kEraseCoordFiles);
  for (const char* name : {"01 1A____[N]ABC___~~PLOTS.GP$", "01 1A____[N]ABC___~~PLOTS.db$", "keep.dbf"})
    testing_support::writeBytes(data + platform::kSep + name, "x");
  host.expectOnce("Erase All Coordinate Files\nAre You Sure ?", ui::kIdNo, "Erase Coordinate Files");
  host.expectOnce("Coordinate Files Not Erased !\nUser Aborted");
  window->command(cmd::kEraseCoordFiles);
  EXPECT_TRUE(platform::fileExists(data + platform::kSep + "*.??$"));
  host.expectOnce("Erase All Coordinate Files\nAre You Sure ?", ui::kIdYes, "Erase Coordinate Files");
  window->command(cmd::kEraseCoordFiles);
  EXPECT_FALSE(platform::fileExists(data + platform::kSep + "*.??$"));
  EXPECT_TRUE(platform::fileExists(data + platform::kSep + "keep.dbf"));
}

TEST_F(MainWindowTest, TempCoordinateFilesSetsWhetherADatasetChangeClearsThem) {
  using Settings = config::SettingsRecord;
  auto stored = [&] {
    config::SettingsRecord r;
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(host, v.installRoot, d, r, v.style.sep);
    return r.i32(Settings::kClearCoordFiles);
  };
  ASSERT_EQ(stored(), 1);  // the default
  host.onForm(shell::kTempCoordDialog, [](ui::FormState& f) {
    EXPECT_TRUE(f.checked(shell::kClearCoordCheck));
    f.press(shell::kClearCoordCheck);
    f.press(ui::kIdCancelButton);
  });
  window->command(cmd::kTempCoordFiles);
  EXPECT_EQ(stored(), 1);
  host.onForm(shell::kTempCoordDialog, [](ui::FormState& f) {
    f.press(shell::kClearCoordCheck);
    f.press(ui::kIdOkButton);
  });
  window->command(cmd::kTempCoordFiles);
  EXPECT_EQ(stored(), 0);
  EXPECT_EQ(v.settings.i32(Settings::kClearCoordFiles), 0);
}

TEST_F(MainWindowTest, TheHostTransferCommandsOpenTheirDialogs) {
  EXPECT_TRUE(window->commandEnabled(cmd::kTagAutoTransfer));
  EXPECT_TRUE(window->commandEnabled(cmd::kTcpipSetups));
  host.expectOnce("Must Select a Valid Application!", ui::kIdOk, "Error");
  EXPECT_EQ(window->command(cmd::kTagAutoTransfer), MainAction::None);
  EXPECT_TRUE(host.sawText("Must Select a Valid Application!"));
  host.onForm(shell::kHostAddressDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  window->command(cmd::kTcpipSetups);
  ASSERT_EQ(host.forms().size(), 1u);
  EXPECT_EQ(host.forms()[0].caption, "Tallyfin Host IP Address");
}

TEST_F(MainWindowTest, ChoiceDialogButtonRunsItsCommand) {
  host.onForm(287, [](ui::FormState& f) { f.press(1302); });
  window->command(cmd::kBarHelps);
  ASSERT_TRUE(host.scrollWindow);
  EXPECT_EQ(host.scrollWindow->title(), editor::kVirtualHelpTitle);
  host.onForm(287, [](ui::FormState& f) { f.press(1302); });
  window->command(cmd::kBarHelps);  // a second request closes it
  EXPECT_FALSE(host.scrollWindow);
  host.onForm(278, [](ui::FormState& f) { f.key(ui::key::kEscape); });
  EXPECT_EQ(window->enterKey(), MainAction::None);
  EXPECT_EQ(host.forms().back().result, 0);
}

TEST_F(MainWindowTest, AbortFileEndsTheProgramWithinASecond) {
  EXPECT_EQ(window->timer(), MainAction::None);
  testing_support::writeBytes(window->abortPath(), "");
  EXPECT_EQ(window->timer(), MainAction::EndProgram);
}

class UpdateWatch : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    platform::makeFolder(v.receivePath = dir.path() + platform::kSep + "TCPIP_Receive");
    platform::makeFolder(v.receivePath + platform::kSep + "Temp");
    testing_support::writeBytes(window->updatePath(), "new program");
    testing_support::writeBytes(window->updateStarterPath(), "starter");
  }
};

TEST_F(UpdateWatch, CancelThenDeleteRemovesThePendingUpdateAndSilencesTheWatch) {
  host.expectOnce("Program Updates Are Pending", ui::kIdCancel, "Program Updates");
  host.expectOnce("Would you like to Delete the Pending Update?", ui::kIdYes);
  EXPECT_EQ(window->timer(), MainAction::None);
  EXPECT_FALSE(platform::fileExists(window->updatePath()));
  EXPECT_TRUE(window->updatesSilenced());
  // The abort file the starter may leave is removed once, not obeyed.
  testing_support::writeBytes(window->abortPath(), "");
  EXPECT_EQ(window->timer(), MainAction::None);
  EXPECT_FALSE(platform::fileExists(window->abortPath()));
}

TEST_F(UpdateWatch, CancelThenKeepSaysTheWatchIsSilenced) {
  host.expectOnce("Program Updates Are Pending", ui::kIdCancel);
  host.expectOnce("Would you like to Delete the Pending Update?", ui::kIdNo);
  host.expectOnce("Program Update Silenced Until Tallyfin is Restarted");
  window->timer();
  EXPECT_TRUE(platform::fileExists(window->updatePath()));
  for (int i = 0; i < 150; ++i) window->timer();  // no more questions this run
  EXPECT_EQ(host.shown().size(), 3u);
}

TEST_F(UpdateWatch, NoQuestionWhileTheWindowLacksTheFocus) {
  host.hasFocus = false;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(window->timer(), MainAction::None);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(UpdateWatch, StarterThatCannotRunIsReported) {
  host.expectOnce("Program Updates Are Pending", ui::kIdOk);
  host.expectOnce("CreateProcess Error:", ui::kIdOk, "Program Update Error");
  EXPECT_EQ(window->timer(), MainAction::None);  // the stand-in file is no program
}

}  // namespace

#ifndef _WIN32
#include <sys/stat.h>

namespace {

TEST_F(UpdateWatch, StarterThatOpensItsWindowEndsTheProgram) {
  // A stand-in starter: it signals its window the way POSIX starters do, and
  // records the command line it was given.
  std::string script = "#!/bin/sh\nprintf '%s' \"$1\" > '" + dir.file("args") + "'\n: > '" +
                       dir.file("RESET_TF_MOBILE.window") + "'\n";
  testing_support::writeBytes(window->updateStarterPath(), script);
  ::chmod(window->updateStarterPath().c_str(), 0755);
  host.expectOnce("Program Updates Are Pending", ui::kIdOk);
  // The fake clock runs the 2-second wait in no time, so give the real
  // process real time to start while the window is being looked for.
  clock.onSleep = [](std::uint64_t) { ::usleep(100000); };
  EXPECT_EQ(window->timer(), MainAction::EndProgram);
  EXPECT_EQ(testing_support::readBytes(dir.file("args")), window->updatePath());
}

}  // namespace
#endif

// The application commands: Select Application with its registry and settings
// updates, Application Version, Load From Removable Storage and Pending
// Applications.
#include "apps/app_ctl.hpp"
#include "apps/app_definition.hpp"
#include "apps/install_removable.hpp"
#include "apps/package_writer.hpp"
#include "apps/version_dialog.hpp"
#include "platform/codepage.hpp"
#include "platform/removable.hpp"
#include "tablestore/table_store.hpp"
#include "ui/pick_list.hpp"

namespace {

// A package with the least an application needs: app.ctl naming the root
// table T, T.bct and T.ctl of one column, and the required-files list.
void writeDemoPackage(const std::string& scratch, const std::string& packagePath) {
  apps::TfaHeader header;
  header.setAppName("Demo.tfa");
  header.setHasVersion(1);
  header.setAppVMajor(2);
  header.setAppVMinor(3);
  header.setAppBuild(4);
  header.setAppDate("05/06/2021");
  header.setHierVer(5);
  header.setHierDate("04/04/2021");
  apps::AppCtl ctl;
  ctl.setCompiled(true);
  ctl.setRootTableName("T");
  std::string reqPath = scratch + platform::kSep + "ReqFiles.dbf";
  {
    tablestore::TableStore store;
    std::vector<tablestore::FieldSpec> fields = {{"NAME", 'C', 20, 0}, {"", 'C', 0, 0}};
    tablestore::Table* t = store.createTable(platform::toNarrow(reqPath), fields);
    ASSERT_NE(t, nullptr);
    for (const char* name : {"app.ctl", "T.bct", "T.ctl"}) {
      t->appendStart();
      t->fieldByNumber(1)->assignText(name);
      t->append();
    }
    store.closeTable(t);
  }
  std::vector<apps::PackageMember> members = {
      {"ReqFiles.dbf", testing_support::readBytes(reqPath)},
      {"app.ctl", std::string(ctl.bytes().begin(), ctl.bytes().end())},
      {"T.bct", std::string(4624, '\0')},
      {"T.ctl", std::string(15926, '\0')},
  };
  ASSERT_EQ(apps::writePackage(packagePath, header, members), 0);
}

class AppCommands : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeDemoPackage(scratch.path(), v.appPath + platform::kSep + "Demo.tfa");
  }
  std::string registry(const std::string& name) {
    std::string out;
    platform::getAppSetting(name, out, 1024);
    return out;
  }
  void chooseFirst() {
    host.onForm(ui::kPickListResource, [](ui::FormState& f) {
      f.select(ui::kPickListControl, 1);
      f.press(ui::kIdOkButton);
    });
  }
  config::SettingsRecord saved() {
    config::SettingsRecord r;
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(host, v.installRoot, d, r, v.style.sep);
    return r;
  }
  testing_support::TempDir scratch;
};

TEST_F(AppCommands, TheApplicationCommandsAreBuilt) {
  for (int id : {cmd::kSelectApplication, cmd::kAppVersion, cmd::kLoadFromRemovable, cmd::kPendingApplications})
    EXPECT_TRUE(window->commandEnabled(id)) << id;
  // Nothing may replace or reopen the application while its data is open.
  window->setEditSessionOpen(true);
  for (int id : {cmd::kSelectApplication, cmd::kLoadFromRemovable, cmd::kPendingApplications})
    EXPECT_FALSE(window->commandEnabled(id)) << id;
}

TEST_F(AppCommands, SelectingStoresTheNameAndClearsTheAutoTransferList) {
  platform::putAppSetting("AutoXfer", "01Old,02Old");
  chooseFirst();
  EXPECT_EQ(window->command(cmd::kSelectApplication), MainAction::None);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_EQ(registry("CurAppName"), "Demo");
  EXPECT_EQ(registry("AutoXfer"), "");
  EXPECT_EQ(saved().path(config::SettingsRecord::Path::CurAppName), "Demo");
  EXPECT_TRUE(saved().appOpen());
  EXPECT_NE(apps::currentApp().level(1), nullptr);

  // Keeping the same application keeps the datasets tagged for it.
  platform::putAppSetting("AutoXfer", "01Demo");
  host.onForm(ui::kPickListResource, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  window->command(cmd::kSelectApplication);
  EXPECT_EQ(registry("CurAppName"), "Demo");
  EXPECT_EQ(registry("AutoXfer"), "01Demo");

  // Application Version reopens it and shows its header.
  host.onForm(apps::kVersionDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.text(apps::kVersionValue + 0), "Demo.tfa");
    EXPECT_EQ(f.text(apps::kVersionValue + 1), "002.003");
    EXPECT_EQ(f.text(apps::kVersionValue + 2), "05/06/2021");
    EXPECT_EQ(f.text(apps::kVersionValue + 3), "4");
    EXPECT_EQ(f.text(apps::kVersionValue + 4), "5");
    EXPECT_EQ(f.text(apps::kVersionValue + 5), "04/04/2021");
    f.press(ui::kIdOkButton);
  });
  window->command(cmd::kAppVersion);
  EXPECT_EQ(host.forms().back().resource, apps::kVersionDialog);
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(AppCommands, AnApplicationsFolderThatCannotBeMadeForgetsTheApplication) {
  chooseFirst();
  window->command(cmd::kSelectApplication);
  platform::putAppSetting("AutoXfer", "01Demo");
  testing_support::writeBytes(dir.file("plain"), "a file, not a folder");
  v.appPath = dir.file("plain") + platform::kSep + "Apps";
  host.expectOnce("Selected Application Location\nNot Available.\nSelect New Location.", ui::kIdOk);
  window->command(cmd::kSelectApplication);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_TRUE(host.forms().size() == 1u);  // no list this time
  EXPECT_EQ(registry("CurAppName"), "");
  EXPECT_EQ(registry("AutoXfer"), "");
  EXPECT_FALSE(saved().appOpen());
  EXPECT_EQ(saved().path(config::SettingsRecord::Path::CurAppName), "");
}

TEST_F(AppCommands, NoPackagesLeaveNoApplicationAndVersionNeedsAnOpenOne) {
  platform::deleteFile(v.appPath + platform::kSep + "Demo.tfa");
  host.expectOnce("No Applications Available.", ui::kIdOk, "Error");
  window->command(cmd::kSelectApplication);
  EXPECT_EQ(registry("CurAppName"), "");
  EXPECT_FALSE(v.settings.appOpen());
  window->command(cmd::kAppVersion);  // AppOpen is clear: nothing happens
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(AppCommands, RemovableAndPendingCommandsOpenTheirDialogues) {
  platform::makeFolder(dir.file("card"));
  platform::putAppSetting(platform::kRemovableFoldersValue, dir.file("card"));
  host.onForm(apps::kRemovableDialog, [&](ui::FormState& f) {
    std::vector<std::string> drives = f.items(apps::kDriveList);
    EXPECT_NE(std::find(drives.begin(), drives.end(), platform::removableEntry(dir.file("card"), "card")),
              drives.end());
    f.press(ui::kIdCancelButton);
  });
  window->command(cmd::kLoadFromRemovable);
  EXPECT_EQ(host.forms().size(), 1u);

  v.pendingAppPath = dir.file("Apps_Pending");
  platform::makeFolder(v.pendingAppPath);
  host.expectOnce("No App Selected", ui::kIdOk, "Error");
  window->command(cmd::kPendingApplications);
  EXPECT_EQ(host.shown().size(), 1u);
}

}  // namespace
