#include <gtest/gtest.h>

#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/fake_clock.hpp"
#include "support/faulty_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using testing_support::FakeClock;
using testing_support::FaultyFileSystem;
using testing_support::TempDir;

class RetryRule : public ::testing::Test {
 protected:
  FakeClock clock;
  platform::ScopedClock useClock{clock};
  FaultyFileSystem faulty{platform::nativeFileSystem()};
  platform::ScopedFileSystem useFiles{faulty};
  TempDir dir;
};

TEST_F(RetryRule, DeleteSucceedsWhenStorageReturnsAfterThreeSeconds) {
  std::string path = dir.file("card.dbf");
  testing_support::writeBytes(path, "x");
  faulty.unavailableUntil(3000);
  EXPECT_EQ(platform::deleteFile(path), 0);
  EXPECT_FALSE(platform::fileExists(path));
  EXPECT_GE(clock.sleptMs(), 3000u);
  EXPECT_LE(clock.sleptMs(), 3500u);
}

TEST_F(RetryRule, MissingFileFailsAtOnceWithoutWaiting) {
  EXPECT_EQ(platform::deleteFile(dir.file("nothing.dbf")), platform::kErrFileNotFound);
  EXPECT_EQ(clock.sleptMs(), 0u);
}

TEST_F(RetryRule, GivesUpAfterTwentyRetriesHalfASecondApart) {
  faulty.unavailableUntil(~0ull);
  platform::File f = platform::openFile(dir.file("a"), platform::Access::ReadWrite,
                                        platform::Disposition::CreateAlways);
  EXPECT_FALSE(f.isOpen());
  EXPECT_EQ(f.error(), platform::kErrDeviceNotAvailable);
  EXPECT_EQ(clock.sleptMs(), 20u * 500u);
  EXPECT_EQ(faulty.calls(), 21);
}

TEST_F(RetryRule, OtherErrorsAreNotRetried) {
  faulty.failNext(1, platform::kErrAccessDenied);
  EXPECT_EQ(platform::deleteFile(dir.file("x")), platform::kErrAccessDenied);
  EXPECT_EQ(clock.sleptMs(), 0u);
}

TEST_F(RetryRule, ReadsAndWritesOnAnOpenFileRetryToo) {
  std::string path = dir.file("t.bin");
  platform::File f = platform::openFile(path, platform::Access::ReadWrite, platform::Disposition::CreateAlways);
  ASSERT_TRUE(f.isOpen());
  faulty.failNext(5);
  ASSERT_EQ(f.writeExact("hello", 5), 0);
  ASSERT_EQ(f.seek(0), 0);
  char buf[5];
  faulty.failNext(3);
  ASSERT_EQ(f.readExact(buf, 5), 0);
  EXPECT_EQ(std::string(buf, 5), "hello");
  EXPECT_EQ(clock.sleptMs(), 8u * 500u);
}

TEST_F(RetryRule, SafeWriteKeepsTheOldFileWhenTheWriteFails) {
  std::string path = dir.file("settings.dft");
  testing_support::writeBytes(path, "old contents");
  faulty.failWritesAfter(3);
  platform::SafeWriteStage stage;
  std::string fresh(100, 'n');
  EXPECT_EQ(platform::writeFileSafely(path, fresh.data(), fresh.size(), stage), platform::kErrDiskFull);
  EXPECT_EQ(stage, platform::SafeWriteStage::Write);
  EXPECT_EQ(testing_support::readBytes(path), "old contents");
  EXPECT_FALSE(platform::fileExists(path + ".new"));
  faulty.failWritesAfter(-1);
  ASSERT_EQ(platform::writeFileSafely(path, fresh.data(), fresh.size(), stage), 0);
  EXPECT_EQ(testing_support::readBytes(path), fresh);
}

class NativeFiles : public ::testing::Test {
 protected:
  TempDir dir;
};

TEST_F(NativeFiles, ErrorsCarryTheWindowsNumbers) {
  auto& fs = platform::nativeFileSystem();
  std::unique_ptr<platform::FileHandle> h;
  EXPECT_EQ(fs.open(dir.file("missing"), platform::Access::Read, platform::Disposition::OpenExisting, h),
            platform::kErrFileNotFound);
  EXPECT_EQ(fs.open(dir.file("no") + platform::kSep + "missing", platform::Access::Read,
                    platform::Disposition::OpenExisting, h),
            platform::kErrPathNotFound);
  EXPECT_EQ(fs.open(dir.path(), platform::Access::Read, platform::Disposition::OpenExisting, h),
            platform::kErrAccessDenied);  // a folder is not a file
  EXPECT_EQ(fs.makeFolder(dir.path()), platform::kErrAlreadyExists);
  testing_support::writeBytes(dir.file("a"), "A");
  testing_support::writeBytes(dir.file("b"), "B");
  EXPECT_EQ(fs.move(dir.file("a"), dir.file("b")), platform::kErrAlreadyExists);  // never replaces
  EXPECT_EQ(testing_support::readBytes(dir.file("b")), "B");
  EXPECT_EQ(fs.open(dir.file("a"), platform::Access::Write, platform::Disposition::CreateNew, h),
            platform::kErrFileExists);
  EXPECT_EQ(fs.replace(dir.file("a"), dir.file("b")), 0);
  EXPECT_EQ(testing_support::readBytes(dir.file("b")), "A");
}

TEST_F(NativeFiles, FindFoldsTheLettersOfUtf8Names) {
  testing_support::writeBytes(dir.file("B\xC3\xA4ume.dbf"), "1");  // Bäume.dbf
  std::vector<platform::FindEntry> found;
  ASSERT_EQ(platform::findFiles(dir.file("B\xC3\x84UME.*"), found), 0);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, "B\xC3\xA4ume.dbf");  // as it is held
  EXPECT_TRUE(platform::fileExists(dir.file("?\xC3\x84ume.dbf")));
  EXPECT_FALSE(platform::fileExists(dir.file("Baume.dbf")));
}

TEST_F(NativeFiles, FindUsesTheWildcardRulesAndTellsFoldersApart) {
  testing_support::writeBytes(dir.file("[North]data.dbf"), "1");
  testing_support::writeBytes(dir.file("note.MES"), "2");
  ASSERT_TRUE(platform::makeFolder(dir.file("sub.mes")));
  std::vector<platform::FindEntry> found;
  ASSERT_EQ(platform::findFiles(dir.file("*.mes"), found), 0);
  EXPECT_EQ(found.size(), 2u);
  EXPECT_TRUE(platform::fileExists(dir.file("[North]*.dbf")));
  EXPECT_TRUE(platform::fileExists(dir.file("*.mes")));
  EXPECT_FALSE(platform::fileExists(dir.file("sub.mes")));  // a folder is not a file
  EXPECT_TRUE(platform::folderExists(dir.file("sub.mes")));
  EXPECT_EQ(platform::findFiles(dir.file("*.zzz"), found), platform::kErrFileNotFound);
  EXPECT_TRUE(platform::makeFolder(dir.file("sub.mes")));  // existing counts as made
  EXPECT_FALSE(platform::makeFolder(dir.file("note.MES")));  // a file is in the way
}

TEST_F(NativeFiles, CopyKeepsTheWriteTime) {
  std::string a = dir.file("a.tfa"), b = dir.file("b.tfa");
  testing_support::writeBytes(a, "package");
  const platform::FileTime stamp = 127000000000000000ull;  // a day in 2003
  ASSERT_EQ(platform::setFileTime(a, stamp), 0);
  ASSERT_EQ(platform::copyFile(a, b, true), 0);
  platform::FileTime got = 0;
  ASSERT_EQ(platform::getFileTime(b, got), 0);
  EXPECT_EQ(got / 10000000, stamp / 10000000);
  EXPECT_EQ(platform::copyFile(a, b, true), platform::kErrFileExists);
}

TEST_F(NativeFiles, WholeFileReadRefusesWhatIsTooLarge) {
  testing_support::writeBytes(dir.file("big"), std::string(100, 'x'));
  std::string out;
  EXPECT_EQ(platform::readWholeFile(dir.file("big"), out, 99), platform::kErrNotEnoughMemory);
  EXPECT_EQ(platform::readWholeFile(dir.file("big"), out, 100), 0);
  EXPECT_EQ(out.size(), 100u);
}

}  // namespace
