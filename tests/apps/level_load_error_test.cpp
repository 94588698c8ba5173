// The report of a failed level load, with and without the edit window.
#include <gtest/gtest.h>

#include "apps/level_load_error.hpp"
#include "shell/prompts.hpp"
#include "support/scripted_host.hpp"

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

class NoEditWindowKeys : public shell::PromptSurface {
 public:
  void drainKeys() override {}
  void showBox(std::string_view, const std::vector<std::string>&) override { ++boxes; }
  void hideBox() override {}
  ui::KeyCode takeKey() override { return 0; }
  bool stopping() override { return false; }
  void focus() override {}
  int boxes = 0;
};

TEST(LevelLoadErrorTest, WhileTheEditWindowIsOpenTheCommonPromptIsUsed) {
  testing_support::ScriptedHost host;
  NoEditWindowKeys surface;
  shell::setPromptSurface(&surface);
  host.expectOnce("Trees-Error:2322\nT.ctl is Corrupt\n", ui::kIdOk, "Warning !");
  apps::reportLevelLoadError(host, "Trees", 2, 3, 22, "T.ctl");
  shell::setPromptSurface(nullptr);
  EXPECT_EQ(host.shown().size(), 1u);
}

}  // namespace
}  // namespace apps_test
