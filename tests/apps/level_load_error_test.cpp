// The report of a failed level load, with and without the edit window.
#include <gtest/gtest.h>

#include "apps/level_load_error.hpp"
#include "support/scripted_host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace apps_test {
namespace {

TEST(LevelLoadErrorTest, CaptionCarriesLevelStatusAndPhase) {
  EXPECT_EQ(apps::levelLoadErrorCaption("Trees", 1, 1, 10), "Trees-Error:1110");
  EXPECT_EQ(apps::levelLoadErrorCaption("Cruise", 3, 3, 22), "Cruise-Error:3322");
  EXPECT_EQ(apps::levelLoadErrorCaption("Cruise", 2, 4, 0), "Cruise-Error:240");
}

TEST(LevelLoadErrorTest, TextsByStatus) {
  EXPECT_EQ(apps::levelLoadErrorText(1, "A/T.bct"), "Can't Find:A/T.bct");
  EXPECT_EQ(apps::levelLoadErrorText(2, "A/T.ctl"), "Opening A/T.ctl");
  EXPECT_EQ(apps::levelLoadErrorText(3, "A/T.ctl"), "A/T.ctl is Corrupt");
  EXPECT_EQ(apps::levelLoadErrorText(4, "A/T.ser"), "Reading A/T.ser");
  EXPECT_EQ(apps::levelLoadErrorText(5, "A/T.rnd"), "Malloc for A/T.rnd");
  EXPECT_EQ(apps::levelLoadErrorText(9, "A/T.jpt"), "Unknown for A/T.jpt");
  EXPECT_EQ(apps::levelLoadErrorText(0, "100%s"), "Unknown for 100%s");  // a path is never a format
}

TEST(LevelLoadErrorTest, WithoutTheEditWindowAMessageBoxShowsBothLines) {
  testing_support::ScriptedHost host;
  host.expectOnce("Trees-Error:1110\nCan't Find:Apps/Trees/TREES.bct", ui::kIdOk, "Load Application Error");
  apps::reportLevelLoadError(host, "Trees", 1, 1, 10, "Apps/Trees/TREES.bct");
  EXPECT_EQ(host.shown().size(), 1u);
}

TEST(LevelLoadErrorTest, WhileTheEditWindowIsOpenTheCommonPromptIsUsed) {
  testing_support::ScriptedHost host;
  ui::Screen screen;
  ui::KeyQueue keys;
  auto window = host.openEditWindow(screen, keys, {});
  ASSERT_NE(window, nullptr);
  host.expectOnce("Trees-Error:2322\nT.ctl is Corrupt\n", ui::kIdOk, "Warning !");
  apps::reportLevelLoadError(host, "Trees", 2, 3, 22, "T.ctl");
  EXPECT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.beeps(), 1);
}

}  // namespace
}  // namespace apps_test
