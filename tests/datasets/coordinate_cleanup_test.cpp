// Changing to another dataset clears the temporary coordinate and position
// files when the settings or the application ask for it, with one retry.
#include <gtest/gtest.h>

#include "base/paths.hpp"
#include "data_fixture.hpp"
#include "datasets/choose_dataset.hpp"
#include "datasets/coordinate_cleanup.hpp"
#include "platform/fileops.hpp"
#include "support/selective_files.hpp"

namespace {

using Settings = config::SettingsRecord;

// The native file system, except that files whose name ends with stuck
// cannot be deleted.
class StuckFiles : public testing_support::SelectiveFileSystem {
 public:
  explicit StuckFiles(const std::string& stuck) { add({.suffix = stuck, .removeError = 5}); }
  // Removals of temporary files (names ending in "$").
  int removals() const {
    int n = 0;
    for (const auto& p : removed()) n += p.ends_with("$") ? 1 : 0;
    return n;
  }
};

class CoordinateCleanupTest : public datasets_test::DataTest {
 protected:
  void SetUp() override {
    DataTest::SetUp();
    buildSmall("Trees", true);
    open("Trees");
    nameNewDataset("North Block");
    ASSERT_EQ(openData(), 1);  // dataset 01, remembered
    for (const char* name : {"a.db$", "b.GP$", "stuck.db$", "notes.txt"}) testing_support::writeBytes(dataFile(name), "x");
  }
  void clearOption(bool on) {
    v.settings.setI32(Settings::kClearCoordFiles, on ? 1 : 0);
    config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
  }
  void newDataset(const std::string& name) {
    host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) { f.press(datasets::kNewDatasetButton); });
    nameNewDataset(name);
  }
  bool has(const char* name) const { return platform::fileExists(dataFile(name)); }
};

TEST_F(CoordinateCleanupTest, AnotherDatasetClearsTheTemporaryFiles) {
  clearOption(true);
  StuckFiles files("never");
  platform::ScopedFileSystem use(files);
  newDataset("South");
  ASSERT_EQ(openData(), 1);
  EXPECT_EQ(edit.dataFileName, "02 1A____[South]ABC___~~TREES.dbf");
  EXPECT_FALSE(has("a.db$"));
  EXPECT_FALSE(has("b.GP$"));
  EXPECT_FALSE(has("stuck.db$"));
  EXPECT_TRUE(has("notes.txt"));
}

TEST_F(CoordinateCleanupTest, TheSameDatasetOrNoOptionKeepsThem) {
  clearOption(true);
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) { f.key(ui::key::kEnter); });
  ASSERT_EQ(openData(), 1);
  EXPECT_TRUE(has("a.db$"));
  clearOption(false);
  newDataset("South");
  ASSERT_EQ(openData(), 1);
  EXPECT_TRUE(has("a.db$"));
}

TEST_F(CoordinateCleanupTest, CancelGoesOnRetryThatFailsAgainStops) {
  clearOption(true);
  StuckFiles files("stuck.db$");
  platform::ScopedFileSystem use(files);
  host.expectOnce("All Coordinate\nFiles Can Not be Erased !", ui::kIdCancel, "Error");
  newDataset("South");
  ASSERT_EQ(openData(), 1);
  EXPECT_FALSE(has("a.db$"));
  EXPECT_TRUE(has("stuck.db$"));

  host.expectOnce("All Coordinate\nFiles Can Not be Erased !", ui::kIdRetry, "Error");
  host.expectOnce("Second Try for\nErase Coordinate Files Failed !", ui::kIdOk, "Error");
  host.onForm(datasets::kChooseDatasetResource, [](ui::FormState& f) {
    f.select(datasets::kDatasetListControl, 0);  // back to 01
    f.press(datasets::kOpenDatasetButton);
  });
  const int before = files.removals();
  EXPECT_EQ(openData(), 0);
  EXPECT_EQ(files.removals() - before, 2);  // the first try and the retry
  EXPECT_TRUE(host.sawText("Second Try for"));
  EXPECT_EQ(v.tables.openCount(), 0u);
}

}  // namespace
