// The erase-datasets dialog: Erase Selected walks the erase list from last
// to first with its second try; Erase All Nonbundled keeps the bundles.
#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/erase_datasets_dialog.hpp"
#include "platform/clock.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"
#include "ui/form_state.hpp"

namespace {

using Items = std::vector<std::string>;
namespace x = exchange;

constexpr const char* kNorth = "01 1A____[North]ABC___~~TREES.dbf";
constexpr const char* kNorthPlots = "01 2AB___[North]ABC___~k1~PLOTS.dbf";
constexpr const char* kSouth = "02 1A____[South]ABC___~~TREES.dbf";
constexpr const char* kEast = "03 1A____[East]ABC___~~TREES.dbf";
constexpr const char* kBundle = "[North]ABC___1A____TREES.dbf";

class EraseDatasetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* n : {kNorth, kNorthPlots, kSouth, kEast, kBundle}) testing_support::writeBytes(dir.file(n), "x");
    ASSERT_EQ(platform::putAppSetting("AutoXfer", "[North]"), 1);
  }
  bool has(const char* name) const { return std::filesystem::exists(dir.file(name)); }
  std::string autoXfer() {
    std::string out;
    platform::getAppSetting("AutoXfer", out, 8192);
    return out;
  }
  // Runs the dialog: the numbers are moved to the erase list in turn, then button is pressed.
  void run(const Items& numbers, int button, std::function<void(ui::FormState&)> after = {}) {
    host.onForm(x::kEraseDatasetsLandscape, [&](ui::FormState& f) {
      for (const std::string& n : numbers) {
        const Items items = f.items(x::kAvailableDatasets);
        const auto it = std::find_if(items.begin(), items.end(), [&](const auto& e) { return e.starts_with(n); });
        ASSERT_NE(it, items.end()) << n;
        f.select(x::kAvailableDatasets, static_cast<int>(it - items.begin()));
        f.press(x::kMoveToErase);
      }
      f.press(button);
      if (after) after(f);
    });
    x::runEraseDatasetsDialog(host, dir.path(), false);
  }

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*registry};
  testing_support::ScriptedHost host;
};

TEST_F(EraseDatasetsTest, AnEmptyEraseListStillAsksErasesNothingAndClearsAutoXfer) {
  EXPECT_EQ(x::erasableDatasets(dir.path()), (Items{"01 North", "02 South", "03 East"}));
  host.expectOnce("Erase Selected Datasets\nAre You Sure ?", ui::kIdYes, "Erase Selected Datasets");
  run({}, x::kEraseSelected);
  EXPECT_EQ(host.shown().at(0).flags & ui::kMbDefMask, ui::kMbDefButton2);
  for (const char* n : {kNorth, kNorthPlots, kSouth, kEast, kBundle}) EXPECT_TRUE(has(n)) << n;
  EXPECT_EQ(autoXfer(), "");
}

TEST_F(EraseDatasetsTest, TheWalkGoesFromTheLastEntryToTheFirst) {
  testing_support::SelectiveFileSystem files;
  platform::ScopedFileSystem use(files);
  host.expectOnce("Erase Selected Datasets", ui::kIdYes);
  run({"01", "03", "02"}, x::kEraseSelected, [](ui::FormState& f) {
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
  });
  Items order;  // the dataset number of each file removed, in turn
  for (const std::string& p : files.removed()) order.push_back(std::filesystem::path(p).filename().string().substr(0, 2));
  EXPECT_EQ(order, (Items{"02", "03", "01", "01"}));
  EXPECT_TRUE(has(kBundle));
}

TEST_F(EraseDatasetsTest, AFailedRetrySkipsTheDatasetAndAbortEndsTheWalk) {
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "[North]ABC___~~TREES.dbf", .removeError = platform::kErrSharingViolation});
  platform::ScopedFileSystem use(files);
  host.expect("Erase Selected Datasets", ui::kIdYes);
  host.expectOnce("All Files in\nDataset:01 North\nCan not be Erased", ui::kIdRetry, "Error");
  host.expectOnce("Second Try for\nDataset:01 North\nFailed !\n Skipping Dataset", ui::kIdOk);
  run({"02", "01"}, x::kEraseSelected, [](ui::FormState& f) {
    // The dataset that stayed is offered again.
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"01 North", "03 East"}));
  });
  EXPECT_TRUE(has(kNorth));
  EXPECT_FALSE(has(kNorthPlots));
  EXPECT_FALSE(has(kSouth));  // the walk went on after the skipped dataset

  host.expectOnce("Dataset:01 North", ui::kIdAbort);
  run({"03", "01"}, x::kEraseSelected, [](ui::FormState& f) {
    EXPECT_EQ(f.items(x::kDatasetsToErase), (Items{"03 East"}));
  });
  EXPECT_TRUE(has(kEast));
}

TEST_F(EraseDatasetsTest, EraseAllNonbundledAsksTwiceAndLeavesTheBundles) {
  host.expectOnce("Erase All Nonbundled Data for\nCurrent Application\nAre You Sure ?", ui::kIdYes,
                  "Erase All Nonbundled Data");
  host.expectOnce("This Will Remove All Nonbundled Data !!!\nAre You Sure ?", ui::kIdNo);
  host.expectOnce("Datasets Not Deleted !", ui::kIdOk, "");
  run({}, x::kEraseAllNonbundled);
  EXPECT_TRUE(has(kSouth));
  EXPECT_EQ(autoXfer(), "[North]");

  host.expect("Are You Sure ?", ui::kIdYes);
  run({"02"}, x::kEraseAllNonbundled, [](ui::FormState& f) {
    EXPECT_TRUE(f.items(x::kAvailableDatasets).empty());
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
  });
  for (const char* n : {kNorth, kNorthPlots, kSouth, kEast}) EXPECT_FALSE(has(n)) << n;
  EXPECT_TRUE(has(kBundle));
  EXPECT_EQ(autoXfer(), "");
  host.expectOnce("No Datasets to Delete !", ui::kIdOk, "");
  run({}, x::kEraseAllNonbundled);
}

}  // namespace
