// "Tag For Auto Transfer": the marks the list starts with, how they are
// changed, what OK keeps and the bound of the registry value.
#include <gtest/gtest.h>

#include "base/paths.hpp"
#include "config/auto_transfer.hpp"
#include "config/settings.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "shell/auto_transfer_dialog.hpp"
#include "shell/startup.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using Path = config::SettingsRecord::Path;

std::string autoXfer() {
  std::string raw;
  return platform::getAppSetting("AutoXfer", raw, 1 << 16) ? raw : "(none)";
}

class AutoTransferDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    v.settings.setAppOpen(true);
    v.settings.setPath(Path::CurAppName, "Trees");
    v.settings.setPath(Path::AppDataFolder, appData);
    ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
    platform::makeFolder(appData);
  }
  void bundle(const std::string& name) {
    testing_support::writeBytes(base::joinPath(appData, "[" + name + "]1A____ABC___+TREES.dbf", platform::kSep), "x");
  }

  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  std::string appData = dir.file("Data") + platform::kSep + "Trees";
};

TEST_F(AutoTransferDialog, StartsFromTheStoredMarksOfPresentDatasetsAndOkKeepsTheChangedMarks) {
  bundle("North Block");
  bundle("South Block");
  bundle("West");
  ASSERT_EQ(platform::putAppSetting("AutoXfer", "Gone,South Block"), 1);
  host.onForm(shell::kAutoTransferLandscapeDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Tag For Auto Transfer");
    EXPECT_EQ(f.items(shell::kAutoTransferList),
              (std::vector<std::string>{"  North Block", "* South Block", "  West"}));
    f.select(shell::kAutoTransferList, 0);
    f.key(ui::key::kEnter);  // Enter in the list marks, it does not end the dialog
    EXPECT_FALSE(f.ended());
    f.select(shell::kAutoTransferList, 1);
    f.doubleClick(shell::kAutoTransferList);  // unmarks
    f.select(shell::kAutoTransferList, 2);
    f.press(shell::kAutoTransferMarkButton);
    f.press(shell::kAutoTransferMarkButton);  // and off again
    EXPECT_EQ(f.items(shell::kAutoTransferList),
              (std::vector<std::string>{"* North Block", "  South Block", "  West"}));
    EXPECT_EQ(f.selection(shell::kAutoTransferList), 2);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(shell::autoTransferCommand(host, v), 1);
  EXPECT_EQ(autoXfer(), "North Block");  // "Gone" is no longer there: dropped
}

TEST_F(AutoTransferDialog, CancelKeepsTheStoredValue) {
  bundle("North Block");
  ASSERT_EQ(platform::putAppSetting("AutoXfer", "Gone"), 1);
  host.onForm(shell::kAutoTransferLandscapeDialog, [&](ui::FormState& f) {
    f.press(shell::kAutoTransferMarkButton);
    f.key(ui::key::kEscape);
  });
  EXPECT_EQ(shell::autoTransferCommand(host, v), 0);
  EXPECT_EQ(autoXfer(), "Gone");
}

TEST_F(AutoTransferDialog, AMarkThatWouldOverfillTheValueIsRefusedAndNoNameIsCut) {
  // Twenty names of 200 characters and their commas fit in 4095 UTF-16
  // units; a twenty-first does not.
  std::vector<std::string> names;
  for (char c = 'a'; c < 'a' + 21; ++c) {
    names.push_back(std::string(1, c) + std::string(199, 'x'));
    bundle(names.back());
  }
  host.expectOnce(shell::kAutoTransferFullText, ui::kIdOk, "Tag For Auto Transfer");
  host.onForm(shell::kAutoTransferPortraitDialog, [&](ui::FormState& f) {
    for (int i = 0; i < 21; ++i) {
      f.select(shell::kAutoTransferList, i);
      f.press(shell::kAutoTransferMarkButton);
    }
    const auto items = f.items(shell::kAutoTransferList);
    EXPECT_EQ(items[19].substr(0, 2), "* ");
    EXPECT_EQ(items[20].substr(0, 2), "  ");
    f.press(ui::kIdOkButton);
  });
  v.geometry.portrait = true;
  EXPECT_EQ(shell::autoTransferCommand(host, v), 1);
  EXPECT_TRUE(host.sawText(shell::kAutoTransferFullText));
  std::vector<std::string> stored;
  ASSERT_TRUE(config::readAutoTransfer(host, stored));
  EXPECT_EQ(stored, std::vector<std::string>(names.begin(), names.begin() + 20));
}

TEST_F(AutoTransferDialog, ANameWithACommaCannotBeMarked) {
  bundle("A,B");
  host.expectOnce(shell::kAutoTransferCommaText, ui::kIdOk, "Tag For Auto Transfer");
  host.onForm(shell::kAutoTransferLandscapeDialog, [&](ui::FormState& f) {
    f.press(shell::kAutoTransferMarkButton);
    EXPECT_EQ(f.items(shell::kAutoTransferList), std::vector<std::string>{"  A,B"});
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(shell::autoTransferCommand(host, v), 1);
  EXPECT_EQ(autoXfer(), "");
}

TEST_F(AutoTransferDialog, AMissingDataFolderIsToldAndEmptiesTheValue) {
  ASSERT_EQ(platform::putAppSetting("AutoXfer", "North Block"), 1);
  v.settings.setPath(Path::AppDataFolder, dir.file("nowhere"));
  ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
  host.expectOnce("Selected Data Storage\nLocation Not Available.\nSelect New Location.", ui::kIdOk, "Error");
  EXPECT_EQ(shell::autoTransferCommand(host, v), 0);
  EXPECT_EQ(autoXfer(), "");
  EXPECT_TRUE(host.forms().empty());
}

}  // namespace
