// The transfer dialogs driven as a user would: the exchange dialog, backup and
// move to a card, copy from a card and posting pending datasets.
#include <gtest/gtest.h>

#include <algorithm>

#include "apps/tfa_header.hpp"
#include "apps/version_table.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "config/settings.hpp"
#include "exchange/dataset_transfer.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "platform/removable.hpp"
#include "shell/backup_move_dialog.hpp"
#include "shell/copy_from_storage_dialog.hpp"
#include "shell/exchange_dialog.hpp"
#include "shell/post_dialog.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_commands.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using Path = config::SettingsRecord::Path;
using testing_support::fileNamesIn;
using testing_support::readBytes;
using testing_support::writeBytes;

std::string at(const std::string& folder, const std::string& name) {
  return base::joinPath(folder, name, platform::kSep);
}


// Makes a folder and every missing folder above it.
void makeFolders(const std::string& folder) {
  const std::string parent = base::folderPart(folder, platform::kSep);
  if (!parent.empty() && !platform::folderExists(parent)) makeFolders(parent);
  platform::makeFolder(folder);
}

int indexOf(const std::vector<std::string>& items, const std::string& item) {
  auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

apps::TfaHeader trees(int hierVer) {
  apps::TfaHeader h;
  h.setAppName("Trees.tfa");
  h.setHierVer(hierVer);
  h.setHierDate("03/01/2024");
  h.setHierTime("10:20:30");
  return h;
}

const std::vector<std::string> kRaw = {"07 1A____[North Block]ABC___~~TREES.dbf",
                                       "07 2AA___[North Block]ABC___~k1~PLOTS.dbf"};
const std::vector<std::string> kBundle = {"[North Block]1A____ABC___#$$DataAppVer.dbf",
                                          "[North Block]1A____ABC___+TREES.dbf",
                                          "[North Block]2AA___ABC___PLOTS+.dbf"};

class TransferDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    v.pendingDataPath = dir.file("Pending_Data");
    v.settings.setAppOpen(true);
    v.settings.setPath(Path::InstallDir, v.installRoot);
    v.settings.setPath(Path::AppPath, v.appPath);
    v.settings.setPath(Path::DataPath, v.dataPath);
    v.settings.setPath(Path::CurAppName, "Trees");
    v.settings.setPath(Path::AppFolder, at(v.appPath, "Trees"));
    v.settings.setPath(Path::AppDataFolder, appData);
    v.settings.setPath(Path::PendingDataPath, v.pendingDataPath);
    ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
    platform::makeFolder(appData);
    platform::makeFolder(card);
    platform::putAppSetting(platform::kRemovableFoldersValue, card);
  }
  void put(const std::string& folder, const std::vector<std::string>& names) {
    makeFolders(folder);
    for (const auto& n : names) writeBytes(at(folder, n), "data of " + n);
  }
  config::SettingsRecord saved() {
    config::SettingsRecord r;
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(host, v.installRoot, d, r, v.style.sep);
    return r;
  }
  void selectCard(ui::FormState& f, int list) {
    const int i = indexOf(f.items(list), entry);
    ASSERT_GE(i, 0);
    f.select(list, i);
  }
  // A pending dataset of Trees stamped with structure version hierVer, the
  // installed application at version 4.
  void pendingTrees(int hierVer, const std::vector<std::string>& extra = {}) {
    const std::string folder = at(v.pendingDataPath, "Trees");
    put(folder, {kBundle[1], kBundle[2]});
    put(folder, extra);
    tablestore::TableStore store;
    apps::VersionTable vt = apps::openVersionTable(store, platform::toNarrow(at(folder, kBundle[0])));
    ASSERT_NE(vt.table, nullptr);
    ASSERT_EQ(apps::writeVersionTable(vt, trees(hierVer)), apps::kVersionOk);
    ASSERT_EQ(store.closeTable(vt.table), 0);
    platform::makeFolder(at(v.appPath, "Trees"));
    ASSERT_EQ(apps::writeHeaderCopy(host, apps::headerCopyPath(at(v.appPath, "Trees"), platform::kSep), trees(4)), 0);
  }

  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  std::string appData = dir.file("Data") + platform::kSep + "Trees";
  std::string card = dir.file("card");
  std::string entry = platform::removableEntry(card, "card");
  std::string cardTrees = exchange::removableAppFolder(entry, "Trees");
};

TEST_F(TransferDialogs, TheExchangeDialogClosesTablesAndOpensTheStorageDialogs) {
  tablestore::FieldSpec key{"KEY_A", 'C', 10, 0};
  v.tables.clearError();
  ASSERT_NE(v.tables.createTable(platform::toNarrow(dir.file("open.dbf")), std::vector<tablestore::FieldSpec>{key}),
            nullptr);
  std::size_t openInside = 99;
  host.onForm(shell::kExchangeDialog, [&](ui::FormState& f) {
    openInside = v.tables.openCount();
    EXPECT_TRUE(f.isEnabled(shell::kExchangeHostButton));
    f.press(shell::kExchangeStorageButton);
    f.press(shell::kExchangeCopyButton);
    f.press(ui::kIdCancelButton);
  });
  host.onForm(shell::kBackupMoveDialog, [&](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  host.onForm(shell::kCopyFromStorageDialog, [&](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_EQ(shell::transferDataCommand(host, v), 0);
  EXPECT_EQ(openInside, 0u);
  EXPECT_EQ(v.tables.openCount(), 0u);
  // Forms are recorded as they end: the two inner ones first.
  ASSERT_EQ(host.forms().size(), 3u);
  EXPECT_EQ(host.forms()[0].resource, shell::kBackupMoveDialog);
  EXPECT_EQ(host.forms()[1].resource, shell::kCopyFromStorageDialog);
  EXPECT_EQ(host.forms()[2].resource, shell::kExchangeDialog);
}

TEST_F(TransferDialogs, BackupThenMoveToTheCard) {
  put(appData, kRaw);
  host.onForm(shell::kBackupMoveDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.items(shell::kBackupDatasetList), std::vector<std::string>{"07 [North Block]"});
    selectCard(f, shell::kBackupDriveList);
    f.press(shell::kBackupButton);
    EXPECT_EQ(fileNamesIn(cardTrees), kRaw);
    EXPECT_EQ(fileNamesIn(appData), kRaw);
    f.press(shell::kMoveButton);
    EXPECT_TRUE(f.items(shell::kBackupDatasetList).empty());  // rebuilt
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Backup Dataset Succeeded!!", ui::kIdOk, "Backup Dataset");
  host.expectOnce("Move Dataset Succeeded!!", ui::kIdOk, "Move Dataset");
  EXPECT_EQ(shell::backupMoveDialog(host, v), 2);
  EXPECT_TRUE(fileNamesIn(appData).empty());
  EXPECT_EQ(fileNamesIn(cardTrees), kRaw);
  EXPECT_EQ(host.shown().size(), 2u);
}

TEST_F(TransferDialogs, ArchiveBeforeMoveOfAnEmptyDatasetStopsTheMove) {
  put(appData, kRaw);
  v.settings.setArchiveBeforeMove(5);  // clamped to 1 when the dialog opens
  ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
  host.onForm(shell::kBackupMoveDialog, [&](ui::FormState& f) {
    EXPECT_TRUE(f.checked(shell::kArchiveBeforeMoveBox));
    selectCard(f, shell::kBackupDriveList);
    // The dataset's files are gone by the time Move is pressed.
    for (const auto& n : kRaw) platform::deleteFile(at(appData, n));
    f.press(shell::kMoveButton);
    f.press(shell::kArchiveBeforeMoveBox);  // unchecked, and saved at once
    EXPECT_EQ(saved().archiveBeforeMove(), 0);
    f.press(shell::kArchiveBeforeMoveBox);
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Can't Archive Dataset!!\nDataset Not Moved!!", ui::kIdOk, "Archive Error!");
  EXPECT_EQ(shell::backupMoveDialog(host, v), 0);
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_FALSE(platform::folderExists(cardTrees));  // the move never began
  EXPECT_EQ(saved().archiveBeforeMove(), 1);
}

TEST_F(TransferDialogs, ArchiveBeforeMoveKeepsADatedCopyOnThePc) {
  put(appData, kRaw);
  v.settings.setArchiveBeforeMove(1);
  ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
  host.onForm(shell::kBackupMoveDialog, [&](ui::FormState& f) {
    selectCard(f, shell::kBackupDriveList);
    f.press(shell::kMoveButton);
  });
  host.expectOnce("Move Dataset Succeeded!!", ui::kIdOk, "Move Dataset");
  EXPECT_EQ(shell::backupMoveDialog(host, v), 1);
  EXPECT_EQ(fileNamesIn(cardTrees), kRaw);
  EXPECT_TRUE(fileNamesIn(appData).empty());
  const std::vector<std::string> days = exchange::subfoldersOf(at(appData, "Archives"));
  ASSERT_EQ(days.size(), 1u);
  EXPECT_EQ(fileNamesIn(at(at(appData, "Archives"), days[0])), kRaw);
}

TEST_F(TransferDialogs, WithoutRemovableStorageNeitherStorageDialogOpens) {
  platform::putAppSetting(platform::kRemovableFoldersValue, "");
  std::vector<std::string> drives;
  platform::listRemovableDrives(drives);
  if (!drives.empty()) GTEST_SKIP() << "this machine has removable storage: " << drives.front();
  host.expect("Removable Storage Not Detected!!", ui::kIdOk, "Error!", 2);
  EXPECT_EQ(shell::backupMoveDialog(host, v), 0);
  EXPECT_EQ(shell::copyFromStorageDialog(host, v), 0);
  EXPECT_TRUE(host.forms().empty());
  EXPECT_EQ(host.shown().size(), 2u);
}

TEST_F(TransferDialogs, CopyFromTheCardListsItsApplicationsAndBundledDatasets) {
  put(cardTrees, kBundle);
  put(cardTrees, kRaw);  // raw datasets on a card are not offered
  makeFolders(exchange::removableAppFolder(entry, "Oaks"));
  v.geometry.portrait = true;
  host.onForm(shell::kCopyFromStoragePortraitDialog, [&](ui::FormState& f) {
    selectCard(f, shell::kCopyDriveList);
    EXPECT_EQ(f.items(shell::kCopyAppList), (std::vector<std::string>{"Oaks", "Trees"}));
    f.select(shell::kCopyAppList, 0);
    EXPECT_TRUE(f.items(shell::kCopyDatasetList).empty());
    f.press(shell::kCopyButton);  // nothing to copy in Oaks
    f.select(shell::kCopyAppList, 1);
    EXPECT_EQ(f.items(shell::kCopyDatasetList), std::vector<std::string>{"[North Block]"});
    f.press(shell::kCopyButton);
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Copy Dataset Failed!!\nCan't Access Dataset!!", ui::kIdOk, "Copy Error!");
  host.expectOnce("Copy Dataset Succeeded!!", ui::kIdOk, "Copy Dataset");
  EXPECT_EQ(shell::copyFromStorageDialog(host, v), 1);
  EXPECT_EQ(fileNamesIn(appData), kBundle);
  EXPECT_EQ(fileNamesIn(cardTrees).size(), kBundle.size() + kRaw.size());  // a copy leaves the card as it was
}

TEST_F(TransferDialogs, BothCopyLayoutsHoldTheSameControlsInsideTheirDialog) {
  for (bool portrait : {false, true}) {
    const ui::Form f = shell::copyFromStorageForm(portrait);
    for (int id : {shell::kCopyDriveList, shell::kCopyAppList, shell::kCopyDatasetList, shell::kCopyButton}) {
      const ui::Control* c = f.find(id);
      ASSERT_NE(c, nullptr) << id;
      EXPECT_LE(c->rect.x + c->rect.width, f.size.width) << id;
      EXPECT_LE(c->rect.y + c->rect.height, f.size.height) << id;
    }
    EXPECT_EQ(f.size.width < f.size.height, portrait);
  }
}

TEST_F(TransferDialogs, NothingPendingOpensNoPostDialog) {
  host.expectOnce("There Are No Pending Datasets", ui::kIdOk, "No Pendng Datasets");
  EXPECT_EQ(shell::pendingDatasetsCommand(host, v), 0);
  EXPECT_TRUE(host.forms().empty());
}

TEST_F(TransferDialogs, PostingTheLastDatasetRemovesThePendingFolder) {
  pendingTrees(4);
  host.onForm(shell::kPostDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.items(shell::kPendingAppList), std::vector<std::string>{"Trees"});
    EXPECT_EQ(f.items(shell::kPendingDatasetList), std::vector<std::string>{"[North Block]"});
    f.press(shell::kPostButton);
    EXPECT_TRUE(f.items(shell::kPendingAppList).empty());
    EXPECT_TRUE(f.items(shell::kPendingDatasetList).empty());
    f.press(shell::kPostButton);
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Post Dataset Succeeded!!", ui::kIdOk, "Post Dataset Success");
  host.expectOnce("Post Dataset Failed!!\nCan't Access Dataset!!", ui::kIdOk, "Post Dataset Error! 3");
  EXPECT_EQ(shell::pendingDatasetsCommand(host, v), 1);
  EXPECT_EQ(fileNamesIn(appData), kBundle);
  EXPECT_FALSE(platform::folderExists(at(v.pendingDataPath, "Trees")));
}

TEST_F(TransferDialogs, APendingFolderWithMoreTablesStaysAndItsListIsRebuilt) {
  pendingTrees(4, {"[South]1A____ABC___+TREES.dbf"});
  host.onForm(shell::kPostDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.items(shell::kPendingDatasetList), (std::vector<std::string>{"[North Block]", "[South]"}));
    f.press(shell::kPostButton);
    EXPECT_EQ(f.items(shell::kPendingAppList), std::vector<std::string>{"Trees"});
    EXPECT_EQ(f.items(shell::kPendingDatasetList), std::vector<std::string>{"[South]"});
    f.select(shell::kPendingDatasetList, -1);
    f.press(shell::kPostButton);
    f.press(ui::kIdCancelButton);
  });
  host.expectOnce("Post Dataset Succeeded!!", ui::kIdOk, "Post Dataset Success");
  host.expectOnce("Post Dataset Failed!!\nCan't Access Dataset!!", ui::kIdOk, "Post Dataset Error! 2");
  EXPECT_EQ(shell::pendingDatasetsCommand(host, v), 1);
  EXPECT_EQ(fileNamesIn(at(v.pendingDataPath, "Trees")), std::vector<std::string>{"[South]1A____ABC___+TREES.dbf"});
}

TEST_F(TransferDialogs, AnotherDataStructureIsNotPosted) {
  pendingTrees(5);
  host.onForm(shell::kPostDialog, [&](ui::FormState& f) { f.press(shell::kPostButton); });
  host.expectOnce("-1 This Data Version Does Not Match the Loaded Application!!", ui::kIdOk,
                  "Check_Pending_App_Data_Version Error");
  EXPECT_EQ(shell::pendingDatasetsCommand(host, v), 0);
  EXPECT_TRUE(fileNamesIn(appData).empty());
  EXPECT_EQ(fileNamesIn(at(v.pendingDataPath, "Trees")).size(), 3u);
}

TEST_F(TransferDialogs, PostingOverAnExistingDatasetCanBeAbortedAtTheSecondQuestion) {
  pendingTrees(4);
  put(appData, {kBundle[1]});
  writeBytes(at(appData, kBundle[1]), "collected here");
  host.onForm(shell::kPostDialog, [&](ui::FormState& f) { f.press(shell::kPostButton); });
  host.expectOnce("Is Already Present!!", ui::kIdYes, "Overwrite Warning a !");
  host.expectOnce("Are You Sure That You Want to OVERWRITE", ui::kIdNo, "Overwrite Warning b !");
  host.expectOnce("Post Dataset Aborted!", ui::kIdOk, "Post Dataset Aborted");
  EXPECT_EQ(shell::pendingDatasetsCommand(host, v), 0);
  EXPECT_EQ(readBytes(at(appData, kBundle[1])), "collected here");
  EXPECT_EQ(fileNamesIn(appData).size(), 1u);
  EXPECT_EQ(fileNamesIn(at(v.pendingDataPath, "Trees")).size(), 3u);
}

TEST_F(TransferDialogs, ADatasetOfAnApplicationNotInstalledIsPostedOnlyWhenTheUserSaysSo) {
  put(at(v.pendingDataPath, "Oaks"), {"[Ridge]1A____ABC___+OAKS.dbf"});
  host.onForm(shell::kPostDialog, [&](ui::FormState& f) {
    f.press(shell::kPostButton);
    f.press(shell::kPostButton);
  });
  const char* question = "The Application \"Oaks\" \nfor Dataset \"Ridge\"\n is Not Present!\nPost This Dataset Anyway??";
  host.expectOnce(question, ui::kIdNo, "Post Dataset");
  host.expectOnce(question, ui::kIdYes, "Post Dataset");
  host.expectOnce("Post Dataset Succeeded!!", ui::kIdOk, "Post Dataset Success");
  EXPECT_EQ(shell::pendingDatasetsCommand(host, v), 1);
  EXPECT_EQ(fileNamesIn(at(v.dataPath, "Oaks")), std::vector<std::string>{"[Ridge]1A____ABC___+OAKS.dbf"});
}

}  // namespace
