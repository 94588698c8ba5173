// Deleting the files of a pattern behind a progress window, and removing a
// folder tree, never reaching outside the folder named.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "datasets/erase_files.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"
#include "ui/progress.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::writeBytes;
constexpr char kSep = platform::kSep;

// Keeps the progress windows asked for.
class ProgressHost : public testing_support::ScriptedHost {
 public:
  void showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) override {
    windows.push_back(desc);
    ScriptedHost::showProgress(desc, progress);
  }
  std::vector<ui::ProgressSpec> windows;
};

// Every search also finds names that, joined to the folder, would leave it.
class EscapingNames : public testing_support::SelectiveFileSystem {
 public:
  int find(const std::string& pattern, std::vector<platform::FindEntry>& out) override {
    (void)SelectiveFileSystem::find(pattern, out);
    out.push_back({.name = ".."});
    out.push_back({.name = std::string("..") + kSep + "outside.dbf"});
    return 0;
  }
};

class EraseFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(platform::makeFolder(folder)); }
  std::string in(const std::string& name) const { return folder + kSep + name; }

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  ProgressHost host;
  std::string folder = dir.file("Data");
};

TEST_F(EraseFilesTest, EveryMatchingFileIsTriedAndOnlyThose) {
  for (const char* n : {"01 a.dbf", "01 locked.dbf", "01 z.txt", "02 a.dbf", "[01]x.dbf"}) writeBytes(in(n), "x");
  ASSERT_TRUE(platform::makeFolder(in("01 folder")));
  writeBytes(in("01 folder") + kSep + "inside.dbf", "x");
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "locked.dbf", .removeError = platform::kErrSharingViolation});
  platform::ScopedFileSystem use(files);

  EXPECT_EQ(datasets::eraseFilesWithProgress(host, in("01*.*"), datasets::kErasingDataFiles), 0);
  for (const char* n : {"01 a.dbf", "01 z.txt"}) EXPECT_FALSE(fs::exists(in(n))) << n;
  for (const char* n : {"01 locked.dbf", "02 a.dbf", "[01]x.dbf"}) EXPECT_TRUE(fs::exists(in(n))) << n;
  EXPECT_TRUE(fs::exists(in("01 folder") + kSep + "inside.dbf"));
  ASSERT_EQ(host.windows.size(), 1u);
  EXPECT_EQ(host.windows[0].title, "Erasing Data Files");
  EXPECT_EQ(host.windows[0].line1, folder);
  // Nothing left to match is success, without a window.
  EXPECT_EQ(datasets::eraseFilesWithProgress(host, in("03*.*"), datasets::kErasingDataFiles), 1);
  EXPECT_EQ(host.windows.size(), 1u);
}

TEST_F(EraseFilesTest, NamesThatWouldLeaveTheFolderAreNeverDeleted) {
  writeBytes(dir.file("outside.dbf"), "x");
  writeBytes(in("01 a.dbf"), "x");
  EscapingNames files;
  platform::ScopedFileSystem use(files);
  EXPECT_EQ(datasets::eraseFilesWithProgress(host, in("*.*"), datasets::kErasingDataFiles), 1);
  EXPECT_TRUE(fs::exists(dir.file("outside.dbf")));
  EXPECT_EQ(files.removed(), std::vector<std::string>{in("01 a.dbf")});
  EXPECT_TRUE(datasets::matchingFiles("*.*").empty());  // no folder: nothing
}

TEST_F(EraseFilesTest, TheTreeGoesWithItsArchivesButNeverThroughALink) {
  const std::string archives = in("Archives"), outside = dir.file("Elsewhere");
  ASSERT_TRUE(platform::makeFolder(archives) && platform::makeFolder(archives + kSep + "2021"));
  ASSERT_TRUE(platform::makeFolder(outside));
  writeBytes(archives + kSep + "2021" + kSep + "locked.dbf", "x");
  writeBytes(outside + kSep + "keep.dbf", "x");
  std::error_code linkError;
  fs::create_directory_symlink(outside, in("Linked"), linkError);

  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "locked.dbf", .removeError = platform::kErrAccessDenied});
  {
    platform::ScopedFileSystem use(files);
    EXPECT_EQ(datasets::removeFolderTree(folder), platform::kErrDirNotEmpty);
  }
  EXPECT_TRUE(fs::exists(archives + kSep + "2021" + kSep + "locked.dbf"));
  EXPECT_EQ(datasets::removeFolderTree(folder + kSep), 0);
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_TRUE(fs::exists(outside + kSep + "keep.dbf"));
  EXPECT_EQ(datasets::removeFolderTree(std::string(1, kSep)), platform::kErrInvalidName);
  if (linkError) GTEST_SKIP() << "no folder links here: " << linkError.message();
  // A folder that is itself a link is not walked either.
  fs::create_directory_symlink(outside, dir.file("LinkedData"));
  EXPECT_NE(datasets::removeFolderTree(dir.file("LinkedData")), 0);
  EXPECT_TRUE(fs::exists(outside + kSep + "keep.dbf"));
}

}  // namespace
