// The main window's Collect Data command over the demo application: its
// guards, and the edit session it starts and ends.
#include <gtest/gtest.h>

#include "data_fixture.hpp"
#include "shell/commands.hpp"
#include "shell/main_window.hpp"
#include "ui/key_queue.hpp"

namespace {

using datasets_test::DataTest;
using shell::MainAction;
namespace cmd = shell::cmd;

class CollectData : public DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    window = std::make_unique<shell::MainWindow>(host, v);
  }
  std::unique_ptr<shell::MainWindow> window;
};

TEST_F(CollectData, NoApplicationIsRefused) {
  host.expectOnce("Must Select a Valid Application!", ui::kIdOk, "Error");
  EXPECT_EQ(window->command(cmd::kCollectData), MainAction::None);
  EXPECT_FALSE(window->editSessionOpen());
}

TEST_F(CollectData, AnApplicationThatNoLongerOpensIsRefused) {
  buildDemo();
  open("Cruise");
  platform::deleteFile(appFolder() + platform::kSep + "app.ctl");
  host.expect("app.ctl Not Found!");
  host.expectOnce("Can't Open Current Application!", ui::kIdOk, "Error");
  EXPECT_EQ(window->command(cmd::kCollectData), MainAction::None);
}

TEST_F(CollectData, ANewDatasetRunsTheEditSessionUntilTheCrewLeaves) {
  buildDemo();
  open("Cruise");
  nameNewDataset("North Block");
  bool seen = false;
  host.onPump = [&] {
    ui::KeyQueue* keys = host.editKeys();
    if (!keys) return;
    if (seen) {
      // The question about the plot's child data is answered on the display.
      if (keys->count() == 0) keys->push('y');
      return;
    }
    seen = true;
    EXPECT_TRUE(window->editSessionOpen());
    EXPECT_EQ(window->editStart().title, "TFMobile   ~App\"Cruise\"  ~Dataset\"North Block\"");
    // While editing, the command is not taken again.
    EXPECT_FALSE(window->commandEnabled(cmd::kCollectData));
    EXPECT_EQ(window->command(cmd::kCollectData), MainAction::None);
    // The new plot holds its number and date but no crew: the checks keep
    // Escape from leaving it, deleting the only line leaves (keeping it).
    keys->push(ui::key::kF10);
  };
  host.expect("Delete Current Line?", ui::kIdYes);
  EXPECT_EQ(window->command(cmd::kCollectData), MainAction::None);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
  EXPECT_TRUE(platform::fileExists(dataFile("01 1A____[North Block]ABC___~~PLOTS.dbf")));
}

TEST_F(CollectData, TheAbortFileEndsTheSessionAndThenTheProgram) {
  buildDemo();
  open("Cruise");
  nameNewDataset("North Block");
  window->create();
  host.onPump = [&] {
    if (host.editKeys() && !platform::fileExists(window->abortPath()))
      testing_support::writeBytes(window->abortPath(), "");
    if (host.editKeys()) (void)window->timer();
  };
  EXPECT_EQ(window->command(cmd::kCollectData), MainAction::EndProgram);
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
}

}  // namespace
