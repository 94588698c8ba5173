// The erase-datasets dialog: its lists and moves, Erase Selected walking the
// erase list from last to first with the Abort / Retry / Ignore question, and
// Erase All Nonbundled keeping the bundles.
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
using testing_support::writeBytes;
namespace x = exchange;

constexpr const char* kNorth = "01 1A____[North]ABC___~~TREES.dbf";
constexpr const char* kNorthPlots = "01 2AB___[North]ABC___~k1~PLOTS.dbf";
constexpr const char* kNorthVersion = "01 1A____[North]ABC___#$$DataAppVer.dbf";
constexpr const char* kSouth = "02 1A____[South]ABC___~~TREES.dbf";
constexpr const char* kEast = "03 1A____[East]ABC___~~TREES.dbf";
constexpr const char* kBundle = "[North]ABC___1A____TREES.dbf";

class EraseDatasetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* n : {kNorth, kNorthPlots, kNorthVersion, kSouth, kEast, kBundle}) writeBytes(dir.file(n), "x");
    ASSERT_EQ(platform::putAppSetting("AutoXfer", "[North]"), 1);
  }
  bool has(const char* name) const { return std::filesystem::exists(dir.file(name)); }
  std::string autoXfer() {
    std::string out;
    platform::getAppSetting("AutoXfer", out, 8192);
    return out;
  }
  // Runs the dialog with the user's part played by script.
  void run(testing_support::ScriptedHost::FormScript script, bool portrait = false) {
    host.onForm(portrait ? x::kEraseDatasetsPortrait : x::kEraseDatasetsLandscape, std::move(script));
    x::runEraseDatasetsDialog(host, dir.path(), portrait);
  }
  // Moves the entry of the available list that begins with number into the erase list.
  static void choose(ui::FormState& f, const char* number) {
    const Items items = f.items(x::kAvailableDatasets);
    for (std::size_t i = 0; i < items.size(); ++i)
      if (items[i].starts_with(number)) {
        f.select(x::kAvailableDatasets, static_cast<int>(i));
        f.press(x::kMoveToErase);
        return;
      }
    ADD_FAILURE() << "no dataset " << number;
  }

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*registry};
  testing_support::ScriptedHost host;
};

TEST_F(EraseDatasetsTest, ListsEachRawDatasetOnceAndMovesEntriesBothWays) {
  EXPECT_EQ(x::erasableDatasets(dir.path()), (Items{"01 North", "02 South", "03 East"}));
  run([](ui::FormState& f) {
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"01 North", "02 South", "03 East"}));
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
    choose(f, "02");
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"01 North", "03 East"}));
    EXPECT_EQ(f.items(x::kDatasetsToErase), (Items{"02 South"}));
    f.press(x::kMoveAllToErase);
    EXPECT_TRUE(f.items(x::kAvailableDatasets).empty());
    EXPECT_EQ(f.items(x::kDatasetsToErase), (Items{"02 South", "01 North", "03 East"}));
    f.select(x::kDatasetsToErase, 1);
    f.press(x::kMoveBack);
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"01 North"}));
    f.press(x::kMoveAllBack);
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"01 North", "02 South", "03 East"}));
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
    // Moving with nothing to move changes nothing.
    f.press(x::kMoveBack);
    EXPECT_EQ(f.items(x::kAvailableDatasets).size(), 3u);
  });
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(EraseDatasetsTest, EraseSelectedWithAnEmptyListStillAsksErasesNothingAndClearsAutoXfer) {
  host.expectOnce("Erase Selected Datasets\nAre You Sure ?", ui::kIdYes, "Erase Selected Datasets");
  run([](ui::FormState& f) { f.press(x::kEraseSelected); });
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].flags & ui::kMbDefMask, ui::kMbDefButton2);
  EXPECT_EQ(host.shown()[0].flags & ui::kMbIconMask, ui::kMbIconStop);
  for (const char* n : {kNorth, kNorthPlots, kSouth, kEast, kBundle}) EXPECT_TRUE(has(n)) << n;
  EXPECT_EQ(autoXfer(), "");
}

TEST_F(EraseDatasetsTest, NoKeepsEverythingAndAnEmptyFolderOnlyShowsItsPattern) {
  host.expectOnce("Are You Sure ?", ui::kIdNo, "Erase Selected Datasets");
  host.expectOnce("Datasets Not Deleted !", ui::kIdOk, "");
  run([](ui::FormState& f) {
    choose(f, "01");
    f.press(x::kEraseSelected);
    EXPECT_EQ(f.items(x::kDatasetsToErase), (Items{"01 North"}));
  });
  EXPECT_TRUE(has(kNorth));
  EXPECT_EQ(autoXfer(), "[North]");

  testing_support::TempDir empty;
  const std::string any = empty.file("*.*");
  host.expectOnce(any, ui::kIdOk, any);
  host.onForm(x::kEraseDatasetsLandscape, [](ui::FormState& f) { f.press(x::kEraseSelected); });
  x::runEraseDatasetsDialog(host, empty.path(), false);
  EXPECT_EQ(host.countText("Are You Sure"), 1);
  EXPECT_EQ(autoXfer(), "[North]");
}

TEST_F(EraseDatasetsTest, EraseSelectedWalksFromTheLastEntryToTheFirst) {
  testing_support::SelectiveFileSystem files;
  platform::ScopedFileSystem use(files);
  host.expectOnce("Erase Selected Datasets", ui::kIdYes);
  run([](ui::FormState& f) {
    choose(f, "01");
    choose(f, "03");
    choose(f, "02");
    f.press(x::kEraseSelected);
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
    EXPECT_TRUE(f.items(x::kAvailableDatasets).empty());
  });
  Items order;  // the dataset number of each file removed, in turn
  for (const std::string& p : files.removed()) order.push_back(std::filesystem::path(p).filename().string().substr(0, 2));
  EXPECT_EQ(order, (Items{"02", "03", "01", "01", "01"}));
  EXPECT_TRUE(has(kBundle));
  EXPECT_EQ(autoXfer(), "");
}

TEST_F(EraseDatasetsTest, AFailedRetrySkipsTheDatasetWithTheSecondTryMessage) {
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "~k1~PLOTS.dbf", .removeError = platform::kErrSharingViolation});
  platform::ScopedFileSystem use(files);
  host.expectOnce("Erase Selected Datasets", ui::kIdYes);
  host.expectOnce("All Files in\nDataset:01 North\nCan not be Erased", ui::kIdRetry, "Error");
  host.expectOnce("Second Try for\nDataset:01 North\nFailed !\n Skipping Dataset", ui::kIdOk);
  run([](ui::FormState& f) {
    choose(f, "02");
    choose(f, "01");
    f.press(x::kEraseSelected);
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
  });
  EXPECT_EQ(host.shown()[1].flags & ui::kMbButtonMask, ui::kMbAbortRetryIgnore);
  EXPECT_TRUE(has(kNorthPlots));
  EXPECT_FALSE(has(kNorth));
  EXPECT_FALSE(has(kSouth));  // the walk went on after the skipped dataset
  EXPECT_EQ(autoXfer(), "");
}

TEST_F(EraseDatasetsTest, AbortEndsTheWalkAndIgnoreGoesOn) {
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = kEast, .removeError = platform::kErrAccessDenied});
  platform::ScopedFileSystem use(files);
  host.expect("Erase Selected Datasets", ui::kIdYes);
  host.expectOnce("Dataset:03 East", ui::kIdAbort);
  host.expectOnce("Dataset:03 East", ui::kIdIgnore);
  run([&](ui::FormState& f) {
    choose(f, "02");
    choose(f, "03");
    f.press(x::kEraseSelected);
    // The entry walked went; the one before it was never reached.
    EXPECT_EQ(f.items(x::kDatasetsToErase), (Items{"02 South"}));
    EXPECT_TRUE(has(kSouth));
    // The dataset that stayed is offered again.
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"01 North", "03 East"}));
    f.press(x::kMoveAllBack);
    choose(f, "03");
    choose(f, "01");
    f.press(x::kEraseSelected);
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
  });
  EXPECT_FALSE(has(kNorth));
  EXPECT_TRUE(has(kEast));
  EXPECT_EQ(host.countText("Second Try"), 0);
}

TEST_F(EraseDatasetsTest, EraseAllNonbundledLeavesTheBundlesAndRereadsTheLists) {
  writeBytes(dir.file("01 1A____[North]ABC___~~TREES.db$"), "x");
  host.expectOnce("Erase All Nonbundled Data for\nCurrent Application\nAre You Sure ?", ui::kIdYes,
                  "Erase All Nonbundled Data");
  host.expectOnce("This Will Remove All Nonbundled Data !!!\nAre You Sure ?", ui::kIdYes, "Erase All Nonbundled Data");
  run([](ui::FormState& f) {
    choose(f, "02");
    f.press(x::kEraseAllNonbundled);
    EXPECT_TRUE(f.items(x::kAvailableDatasets).empty());
    EXPECT_TRUE(f.items(x::kDatasetsToErase).empty());
  });
  for (const char* n : {kNorth, kNorthPlots, kNorthVersion, kSouth, kEast}) EXPECT_FALSE(has(n)) << n;
  EXPECT_FALSE(has("01 1A____[North]ABC___~~TREES.db$"));
  EXPECT_TRUE(has(kBundle));
  EXPECT_EQ(autoXfer(), "");
}

TEST_F(EraseDatasetsTest, EraseAllNonbundledAsksTwiceAndSaysWhenThereIsNothing) {
  host.expectOnce("Erase All Nonbundled Data for", ui::kIdNo);
  host.expectOnce("Datasets Not Deleted !\nUser Aborted", ui::kIdOk, "");
  host.expectOnce("Erase All Nonbundled Data for", ui::kIdYes);
  host.expectOnce("This Will Remove", ui::kIdNo);
  host.expectOnce("Datasets Not Deleted !", ui::kIdOk, "");
  run([](ui::FormState& f) {
    f.press(x::kEraseAllNonbundled);
    f.press(x::kEraseAllNonbundled);
  });
  EXPECT_TRUE(has(kSouth));
  EXPECT_EQ(autoXfer(), "[North]");

  for (const char* n : {kNorth, kNorthPlots, kNorthVersion, kSouth, kEast}) std::filesystem::remove(dir.file(n));
  host.expectOnce("No Datasets to Delete !", ui::kIdOk, "");
  run([](ui::FormState& f) { f.press(x::kEraseAllNonbundled); });
  EXPECT_EQ(host.countText("Are You Sure"), 3);
}

TEST_F(EraseDatasetsTest, AbortAfterAFailedNonbundledEraseKeepsAutoXfer) {
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = kSouth, .removeError = platform::kErrAccessDenied});
  platform::ScopedFileSystem use(files);
  host.expect("Are You Sure ?", ui::kIdYes);
  host.expectOnce("All Nonbundled Files in\nDataset:", ui::kIdAbort, "Error");
  run([](ui::FormState& f) {
    f.press(x::kEraseAllNonbundled);
    EXPECT_EQ(f.items(x::kAvailableDatasets), (Items{"02 South"}));
  });
  EXPECT_EQ(autoXfer(), "[North]");
  EXPECT_TRUE(has(kBundle));
}

TEST_F(EraseDatasetsTest, BothLayoutsKeepEveryControlInsideTheDialog) {
  for (bool portrait : {false, true}) {
    const ui::Form f = x::eraseDatasetsForm(portrait);
    EXPECT_EQ(f.resource, portrait ? 112 : 142);
    for (int id : {x::kAvailableDatasets, x::kDatasetsToErase, x::kMoveToErase, x::kMoveAllToErase, x::kMoveBack,
                   x::kMoveAllBack, x::kEraseSelected, x::kEraseAllNonbundled, ui::kIdCancelButton})
      EXPECT_NE(f.find(id), nullptr) << id;
    for (const ui::Control& c : f.controls) {
      EXPECT_LE(c.rect.x + c.rect.width, f.size.width) << c.id;
      EXPECT_LE(c.rect.y + c.rect.height, f.size.height) << c.id;
    }
  }
}

}  // namespace
