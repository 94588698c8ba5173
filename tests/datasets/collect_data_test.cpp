// The main window's Collect Data command over the demo application: its
// guards, and the edit session it starts and ends.
#include <gtest/gtest.h>

#include "data_fixture.hpp"
#include "shell/commands.hpp"
#include "shell/main_window.hpp"

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

TEST_F(CollectData, ANewDatasetOpensTheEditSessionUntilTheWindowCloses) {
  buildDemo();
  open("Cruise");
  nameNewDataset("North Block");
  ASSERT_EQ(window->command(cmd::kCollectData), MainAction::OpenEditWindow);
  EXPECT_TRUE(window->editSessionOpen());
  EXPECT_EQ(window->editStart().title, "TFMobile   ~App\"Cruise\"  ~Dataset\"North Block\"");
  EXPECT_NE(window->editStart().level1, nullptr);
  EXPECT_EQ(window->editStart().lineCount, 0);
  // While editing, the command is not taken again.
  EXPECT_FALSE(window->commandEnabled(cmd::kCollectData));
  EXPECT_EQ(window->command(cmd::kCollectData), MainAction::None);
  window->editWindowClosed();
  EXPECT_FALSE(window->editSessionOpen());
  EXPECT_EQ(v.tables.openCount(), 0u);
  EXPECT_TRUE(platform::fileExists(dataFile("01 1A____[North Block]ABC___~~PLOTS.dbf")));
}

}  // namespace
