// Deleting the files of a pattern, with and without a progress window, and
// removing a folder tree without leaving it.
#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#include "base/paths.hpp"
#include "datasets/erase_files.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"
#include "ui/progress.hpp"

namespace {

using testing_support::writeBytes;

// The scripted host that also keeps the progress windows it was asked for.
class ProgressHost : public testing_support::ScriptedHost {
 public:
  void showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) override {
    windows.push_back(desc);
    ScriptedHost::showProgress(desc, progress);
  }
  std::vector<ui::ProgressSpec> windows;
};

// Adds to every search a name that, joined to the folder, would reach out of it.
class EscapingNames : public testing_support::SelectiveFileSystem {
 public:
  int find(const std::string& pattern, std::vector<platform::FindEntry>& out) override {
    const int rc = SelectiveFileSystem::find(pattern, out);
    out.push_back({.name = "..", .isFolder = false});
    out.push_back({.name = std::string("..") + platform::kSep + "outside.dbf", .isFolder = false});
    return rc == platform::kErrFileNotFound ? 0 : rc;
  }
};

class EraseFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = dir.file("Data");
    ASSERT_TRUE(platform::makeFolder(folder));
  }
  std::string file(const std::string& name) const { return base::joinPath(folder, name, platform::kSep); }
  bool has(const std::string& name) const { return std::filesystem::exists(file(name)); }
  std::string pattern(const std::string& wildcard) const { return file(wildcard); }
  void make(std::initializer_list<const char*> names) {
    for (const char* n : names) writeBytes(file(n), "x");
  }

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  ProgressHost host;
  std::string folder;
};

TEST_F(EraseFilesTest, WithProgressDeletesEveryMatchingFileAndNothingElse) {
  make({"01 1A____[North]ABC___~~TREES.dbf", "01 notes.txt", "02 1A____[South]ABC___~~TREES.dbf", "[North]x.dbf"});
  ASSERT_TRUE(platform::makeFolder(file("01 kept")));
  writeBytes(file("01 kept") + platform::kSep + "inside.dbf", "x");

  EXPECT_EQ(datasets::eraseFilesWithProgress(host, pattern("01*.*"), datasets::kErasingDataFiles), 1);
  EXPECT_FALSE(has("01 1A____[North]ABC___~~TREES.dbf"));
  EXPECT_FALSE(has("01 notes.txt"));
  EXPECT_TRUE(has("02 1A____[South]ABC___~~TREES.dbf"));
  EXPECT_TRUE(has("[North]x.dbf"));
  // A folder that matches is no file to delete, nor is what it holds.
  EXPECT_TRUE(has(std::string("01 kept") + platform::kSep + "inside.dbf"));
  ASSERT_EQ(host.windows.size(), 1u);
  EXPECT_EQ(host.windows[0].title, "Erasing Data Files");
  EXPECT_EQ(host.windows[0].line1, folder);
}

TEST_F(EraseFilesTest, NothingMatchingIsSuccessWithoutAWindow) {
  make({"02 a.dbf"});
  EXPECT_EQ(datasets::eraseFilesWithProgress(host, pattern("01*.*"), datasets::kErasingApplication), 1);
  EXPECT_TRUE(host.windows.empty());
  EXPECT_TRUE(has("02 a.dbf"));
}

TEST_F(EraseFilesTest, AFileThatStaysFailsTheEraseButTheOthersStillGo) {
  make({"01 a.dbf", "01 locked.dbf", "01 z.dbf"});
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "locked.dbf", .removeError = platform::kErrSharingViolation});
  platform::ScopedFileSystem use(files);
  EXPECT_EQ(datasets::eraseFilesWithProgress(host, pattern("01*.*"), datasets::kErasingDataFiles), 0);
  EXPECT_FALSE(has("01 a.dbf"));
  EXPECT_FALSE(has("01 z.dbf"));
  EXPECT_TRUE(has("01 locked.dbf"));
  const datasets::EraseCount count = datasets::eraseMatching(host, pattern("01*.*"), "again");
  EXPECT_EQ(count.matched, 1);
  EXPECT_EQ(count.failed, 1);
}

TEST_F(EraseFilesTest, NamesThatWouldLeaveTheFolderAreNeverDeleted) {
  writeBytes(dir.file("outside.dbf"), "x");
  make({"01 a.dbf"});
  EscapingNames files;
  platform::ScopedFileSystem use(files);
  EXPECT_EQ(datasets::matchingFiles(pattern("*.*")), std::vector<std::string>{"01 a.dbf"});
  EXPECT_EQ(datasets::eraseFilesWithProgress(host, pattern("*.*"), datasets::kErasingDataFiles), 1);
  make({"01 a.dbf"});
  EXPECT_EQ(datasets::eraseFilesQuietly(host, pattern("*.*")), 1);
  EXPECT_TRUE(std::filesystem::exists(dir.file("outside.dbf")));
  for (const std::string& removed : files.removed()) EXPECT_EQ(removed, file("01 a.dbf"));
}

TEST_F(EraseFilesTest, APatternWithoutAFolderMatchesNothing) {
  datasets::PatternParts parts;
  EXPECT_FALSE(datasets::splitPattern("*.*", parts));
  EXPECT_FALSE(datasets::splitPattern(folder + platform::kSep, parts));
  EXPECT_TRUE(datasets::matchingFiles("*.*").empty());
  ASSERT_TRUE(datasets::splitPattern(pattern("?? *.*"), parts));
  EXPECT_EQ(parts.folder, folder);
  EXPECT_EQ(parts.wildcard, "?? *.*");
}

TEST_F(EraseFilesTest, QuietlyWarnsWhenNothingMatchesAndFailsWhenAFileStays) {
  host.expectOnce("Files\nCannot be Erased", ui::kIdOk, "Warning !");
  EXPECT_EQ(datasets::eraseFilesQuietly(host, pattern("*.*")), 0);
  EXPECT_EQ(host.countText("Cannot be Erased"), 1);

  make({"app.ctl", "T.bct", "locked.ctl"});
  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "locked.ctl", .removeError = platform::kErrAccessDenied});
  platform::ScopedFileSystem use(files);
  EXPECT_EQ(datasets::eraseFilesQuietly(host, pattern("*.*")), 0);
  EXPECT_FALSE(has("app.ctl"));
  EXPECT_TRUE(has("locked.ctl"));
  files.clear();
  EXPECT_EQ(datasets::eraseFilesQuietly(host, pattern("*.*")), 1);
  EXPECT_FALSE(has("locked.ctl"));
  EXPECT_TRUE(host.windows.empty());
}

TEST_F(EraseFilesTest, TheTreeGoesWithItsArchivesUnlessSomethingStays) {
  make({"01 a.dbf"});
  const std::string archives = file("Archives");
  ASSERT_TRUE(platform::makeFolder(archives));
  ASSERT_TRUE(platform::makeFolder(archives + platform::kSep + "2021"));
  writeBytes(archives + platform::kSep + "[North]x.dbf", "x");
  writeBytes(archives + platform::kSep + "2021" + platform::kSep + "locked.dbf", "x");

  testing_support::SelectiveFileSystem files;
  files.add({.suffix = "locked.dbf", .removeError = platform::kErrAccessDenied});
  {
    platform::ScopedFileSystem use(files);
    EXPECT_EQ(datasets::removeFolderTree(folder), platform::kErrDirNotEmpty);
  }
  EXPECT_TRUE(std::filesystem::exists(archives + platform::kSep + "2021" + platform::kSep + "locked.dbf"));
  EXPECT_FALSE(std::filesystem::exists(archives + platform::kSep + "[North]x.dbf"));
  EXPECT_FALSE(has("01 a.dbf"));

  EXPECT_EQ(datasets::removeFolderTree(folder + platform::kSep), 0);
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(std::filesystem::exists(dir.path()));
}

TEST_F(EraseFilesTest, LinksAreRemovedButNeverWalked) {
  const std::string outside = dir.file("Elsewhere");
  ASSERT_TRUE(platform::makeFolder(outside));
  writeBytes(outside + platform::kSep + "keep.dbf", "x");
  std::error_code error;
  std::filesystem::create_directory_symlink(outside, file("Archives"), error);
  if (error) GTEST_SKIP() << "no folder links here: " << error.message();

  // The data folder itself a link: nothing behind it is touched.
  const std::string linkedData = dir.file("LinkedData");
  std::filesystem::create_directory_symlink(outside, linkedData, error);
  ASSERT_FALSE(error);
  EXPECT_NE(datasets::removeFolderTree(linkedData), 0);
  EXPECT_TRUE(std::filesystem::exists(outside + platform::kSep + "keep.dbf"));

  // A link inside: it goes, what it points at stays.
  make({"01 a.dbf"});
  EXPECT_EQ(datasets::removeFolderTree(folder), 0);
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(std::filesystem::exists(outside + platform::kSep + "keep.dbf"));
}

TEST_F(EraseFilesTest, ARootIsNeverEmptied) {
  EXPECT_EQ(datasets::removeFolderTree(std::string(1, platform::kSep)), platform::kErrInvalidName);
  EXPECT_EQ(datasets::removeFolderTree(std::string("C:") + platform::kSep), platform::kErrInvalidName);
}

}  // namespace
