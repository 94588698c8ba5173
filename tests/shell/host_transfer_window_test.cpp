// The host transfer from the exchange dialog's host button: the dataset
// list, the status window over a fake session, and when the exchange dialog
// closes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/paths.hpp"
#include "config/settings.hpp"
#include "exchange/transfer_selection.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "shell/dataset_exchange_commands.hpp"
#include "shell/exchange_dialog.hpp"
#include "shell/host_transfer_start.hpp"
#include "shell/host_transfer_window.hpp"
#include "shell/startup.hpp"
#include "support/eventually.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using Path = config::SettingsRecord::Path;
using testing_support::eventually;
using transfer::SessionResult;
using transfer::SessionSetup;
using transfer::SessionView;

std::string at(const std::string& folder, const std::string& name) {
  return base::joinPath(folder, name, platform::kSep);
}

// Ticks the status window's timer until it ends (bounded, so a window that
// never ends fails the test instead of hanging it).
void tickUntilEnded(ui::FormState& f) {
  std::uint64_t now = 0;
  for (int i = 0; i < 20000 && !f.ended(); ++i) {
    f.tick(now += shell::kTransferTimerMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(f.ended()) << "the status window did not close";
}

class HostTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    v.receivePath = dir.file("TCPIP_Receive");
    v.settings.setAppOpen(true);
    v.settings.setPath(Path::CurAppName, "Trees");
    v.settings.setPath(Path::AppDataFolder, appData);
    v.settings.setPath(Path::ReceivePath, v.receivePath);
    ASSERT_EQ(config::saveSettings(host, v.installRoot, v.settings, v.style.sep), 1);
    platform::makeFolder(appData);
    bundle("North Block");
    bundle("South Block");
  }
  void bundle(const std::string& name) {
    testing_support::writeBytes(at(appData, "[" + name + "]1A____ABC___+TREES.dbf"), "rows of " + name);
  }
  void writeMarkers() {
    testing_support::writeBytes(at(v.receivePath, "XferFromPC.bin"), "h");
    testing_support::writeBytes(at(v.receivePath, "xfer_complete_0001.txt"), "c");
  }
  // The status window's script: its timer ticked until the session is done.
  void statusWindow() {
    host.onForm(shell::kTransferStatusDialog, [](ui::FormState& f) { tickUntilEnded(f); });
  }
  // A fake session that notes its setup and returns result.
  shell::SessionRunner fake(SessionResult result, std::function<void()> also = {}) {
    return [this, result, also](SessionSetup setup, SessionView&) {
      ++runs;
      seen = setup;
      if (also) also();
      return result;
    };
  }

  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  std::string appData = dir.file("Data") + platform::kSep + "Trees";
  int runs = 0;
  SessionSetup seen;
};

TEST_F(HostTransfer, TheWindowShowsWhatTheSessionReportsAndReleasesItAfterTheMessageBox) {
  std::atomic<bool> started{false}, released{false};
  auto session = [&](SessionSetup, SessionView& view) {
    started = true;
    view.setStatus("[ Connecting...]");
    view.setFile("XferFromHH~ABC~ABC___.bin");
    view.setProgress({2, 5, 300, 1000});
    view.message("Can't read:here", "Get IP Error");
    released = true;
    view.setStatus("Transfer Complete");
    SessionResult r;
    r.completed = true;
    r.filesReceived = 7;
    return r;
  };
  host.expectOnce("Can't read:here", ui::kIdOk, "Get IP Error");
  host.onForm(shell::kTransferStatusDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "TCP/IP Transfer Status");
    EXPECT_EQ(f.text(shell::kTransferStatusField), "Transfering Data - Please Be Patient");
    f.tick(100);
    f.tick(200);
    EXPECT_FALSE(started);  // the session starts on the third tick
    tickUntilEnded(f);
    EXPECT_EQ(f.text(shell::kTransferStatusField), "Transfer Complete");
    EXPECT_EQ(f.text(shell::kTransferFileField), "XferFromHH~ABC~ABC___.bin");
    EXPECT_EQ(f.text(shell::kTransferFileCounter), "File:  2 of   5");
    EXPECT_EQ(f.text(shell::kTransferByteCounter), "Byte:300     of 1000   ");
  });
  SessionSetup setup;
  setup.tablet = true;
  const SessionResult r = shell::runTransferStatusWindow(host, setup, session);
  EXPECT_TRUE(released);
  EXPECT_TRUE(host.sawText("Can't read:here"));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.filesReceived, 7);
}

TEST_F(HostTransfer, CancelSetsTheFlagTheSessionSeesAndTheWindowWaitsForTheSession) {
  std::atomic<bool> sawCancel{false};
  auto session = [&](SessionSetup, SessionView& view) {
    sawCancel = eventually([&] { return view.cancelled(); });
    SessionResult r;
    r.cancelled = true;
    return r;
  };
  host.onForm(shell::kTransferStatusDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.text(shell::kTransferStatusField), "Transfering Data");
    for (std::uint64_t t = 100; t <= 300; t += 100) f.tick(t);
    f.key(ui::key::kEscape);  // Escape presses Cancel
    EXPECT_FALSE(f.ended());
    tickUntilEnded(f);
  });
  const SessionResult r = shell::runTransferStatusWindow(host, SessionSetup{}, session);
  EXPECT_TRUE(sawCancel);
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.completed);
}

TEST_F(HostTransfer, AWindowClosedUnderTheSessionCancelsItAndShowsNoMoreMessages) {
  std::atomic<bool> sawCancel{false}, returned{false};
  auto session = [&](SessionSetup, SessionView& view) {
    sawCancel = eventually([&] { return view.cancelled(); });
    view.message("Aborting Transfer", "IP Error 3");  // nobody to show it to: returns at once
    returned = true;
    return SessionResult{};
  };
  host.onForm(shell::kTransferStatusDialog, [&](ui::FormState& f) {
    for (std::uint64_t t = 100; t <= 300; t += 100) f.tick(t);
    f.end(0);  // the user interface goes away
  });
  (void)shell::runTransferStatusWindow(host, SessionSetup{}, session);
  EXPECT_TRUE(sawCancel);
  EXPECT_TRUE(returned);
  EXPECT_FALSE(host.sawText("Aborting Transfer"));
}

TEST_F(HostTransfer, TheWindowArchivesASentDatasetByCopyingIt) {
  int archived = -1;
  auto session = [&](SessionSetup setup, SessionView&) {
    archived = setup.archiveDataset ? setup.archiveDataset("North Block") : -1;
    return SessionResult{};
  };
  statusWindow();
  SessionSetup setup;
  setup.folders.data = appData;
  (void)shell::runTransferStatusWindow(host, setup, session);
  EXPECT_EQ(archived, 1);
  const std::string file = "[North Block]1A____ABC___+TREES.dbf";
  EXPECT_TRUE(platform::fileExists(at(appData, file)));  // a copy: the source stays
  const std::vector<std::string> days = exchange::subfoldersOf(at(appData, "Archives"));
  ASSERT_EQ(days.size(), 1u);
  EXPECT_TRUE(platform::fileExists(at(at(at(appData, "Archives"), days[0]), file)));
}

TEST_F(HostTransfer, TheSetupComesFromTheSettingsAndTheFoldersAreMade) {
  v.settings.setArchiveAfterTransfer(1);
  v.settings.setRequestProgramUpdate(0);
  v.isTablet = true;
  const SessionSetup s = shell::hostSessionSetup(v, {"North Block"});
  EXPECT_EQ(s.folders.settings, v.installRoot);
  EXPECT_EQ(s.folders.receive, v.receivePath);
  EXPECT_EQ(s.folders.data, appData);
  EXPECT_NE(s.folders.work, s.folders.receive);  // the session's working files never touch the markers
  EXPECT_EQ(s.appName, "Trees");
  EXPECT_EQ(s.programFileName, v.style.exeName);
  EXPECT_EQ(s.taggedDatasets, std::vector<std::string>{"North Block"});
  EXPECT_TRUE(s.archiveAfterTransfer);
  EXPECT_FALSE(s.requestProgramUpdate);
  EXPECT_TRUE(s.tablet);
  EXPECT_NE(s.clock, nullptr);
  EXPECT_EQ(s.unitId, "ABC");
  EXPECT_EQ(s.unitTag, "ABC___");
  shell::prepareTransferFolders(s.folders);
  EXPECT_TRUE(platform::folderExists(s.folders.receive));
  EXPECT_TRUE(platform::folderExists(s.folders.work));
}

TEST_F(HostTransfer, OkWithNothingSelectedIsRefusedAndClosesTheExchangeDialog) {
  host.expectOnce("No Bundled Dataset Selected!", ui::kIdOk, "Error!");
  host.onForm(shell::kExchangeDialog, [](ui::FormState& f) {
    f.press(shell::kExchangeHostButton);
    EXPECT_TRUE(f.ended());
  });
  host.onForm(shell::kBundledDatasetsDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.items(shell::kExchangeDatasetList), (std::vector<std::string>{"North Block", "South Block"}));
    EXPECT_EQ(f.selection(shell::kExchangeDatasetList), -1);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(shell::runExchangeDialog(host, v, fake({})), 0);
  EXPECT_EQ(runs, 0);
  EXPECT_TRUE(host.sawText("No Bundled Dataset Selected!"));
}

TEST_F(HostTransfer, EscapeInTheListCancelsWithoutASession) {
  host.onForm(shell::kExchangeDialog, [](ui::FormState& f) {
    f.press(shell::kExchangeHostButton);
    EXPECT_TRUE(f.ended());
  });
  host.onForm(shell::kBundledDatasetsDialog, [](ui::FormState& f) { f.key(ui::key::kEscape); });
  EXPECT_EQ(shell::runExchangeDialog(host, v, fake({})), 0);
  EXPECT_EQ(runs, 0);
}

TEST_F(HostTransfer, TheNoDatasetButtonSendsOnlyTheTaggedDatasetsAndAnIncompleteSessionKeepsTheDialog) {
  ASSERT_EQ(platform::putAppSetting("AutoXfer", "South Block"), 1);
  writeMarkers();  // left by an earlier session: they do not make this one complete
  host.onForm(shell::kExchangeDialog, [](ui::FormState& f) {
    f.press(shell::kExchangeHostButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  host.onForm(shell::kBundledDatasetsDialog, [](ui::FormState& f) { f.press(shell::kNoDatasetButton); });
  statusWindow();
  SessionResult failed;
  failed.errors = true;
  EXPECT_EQ(shell::runExchangeDialog(host, v, fake(failed)), 0);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(seen.taggedDatasets, std::vector<std::string>{"South Block"});
  EXPECT_FALSE(platform::fileExists(at(v.installRoot, "xsu.dft")));  // only a chosen dataset writes it
}

TEST_F(HostTransfer, AChosenDatasetAndTheTaggedOnesGoOnceEachAndACompletedSessionEndsWithOne) {
  ASSERT_EQ(platform::putAppSetting("AutoXfer", "North Block,South Block"), 1);
  host.onForm(shell::kExchangeDialog, [](ui::FormState& f) { f.press(shell::kExchangeHostButton); });
  host.onForm(shell::kBundledDatasetsDialog, [](ui::FormState& f) {
    f.select(shell::kExchangeDatasetList, 0);
    f.key(ui::key::kEnter);
  });
  statusWindow();
  SessionResult done;
  done.completed = true;
  EXPECT_EQ(shell::runExchangeDialog(host, v, fake(done, [&] { writeMarkers(); })), 1);
  EXPECT_EQ(seen.taggedDatasets, (std::vector<std::string>{"North Block", "South Block"}));
  EXPECT_TRUE(platform::folderExists(v.receivePath));
  EXPECT_TRUE(platform::fileExists(at(v.installRoot, "xsu.dft")));
}

TEST_F(HostTransfer, ResultOneNeedsTheSessionsWordAndBothMarkerFiles) {
  auto once = [&](bool completed, bool markers) {
    platform::makeFolder(v.receivePath);
    platform::deleteFile(at(v.receivePath, "XferFromPC.bin"));
    platform::deleteFile(at(v.receivePath, "xfer_complete_0001.txt"));
    host.onForm(shell::kExchangeDialog, [](ui::FormState& f) { f.press(shell::kExchangeHostButton); });
    host.onForm(shell::kBundledDatasetsDialog, [](ui::FormState& f) { f.press(shell::kNoDatasetButton); });
    statusWindow();
    SessionResult r;
    r.completed = completed;
    return shell::runExchangeDialog(host, v, fake(r, [&] {
      if (markers) writeMarkers();
      else testing_support::writeBytes(at(v.receivePath, "XferFromPC.bin"), "h");  // no completion file
    }));
  };
  EXPECT_EQ(once(true, true), 1);
  EXPECT_EQ(once(true, false), 0);
  EXPECT_EQ(once(false, true), 0);
}

}  // namespace
