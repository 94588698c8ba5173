// The package header and directory: what is read, and what is refused
// before it is trusted.
#include <gtest/gtest.h>

#include "apps/package_extract.hpp"
#include "apps/package_fixture.hpp"
#include "apps/package_reader.hpp"
#include "support/faulty_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using namespace package_test;
using testing_support::TempDir;
using testing_support::writeBytes;

class PackageDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    members = {{"app.ctl", gzip("A"), 11},
               {"ReqFiles.dbf", gzip("BB"), 22},
               {"Trees.bct", gzip("CCC"), 33}};
    image = packageImage(headerFor("Trees.tfa"), members);
  }
  apps::Package open() {
    writeBytes(path, image);
    return apps::openPackage(path, header);
  }

  TempDir dir;
  std::string path = dir.file("Trees.tfa");
  std::vector<RawMember> members;
  std::string image;
  apps::TfaHeader header;
};

TEST_F(PackageDirectory, ReadsHeaderCountAndEntries) {
  apps::Package package = open();
  ASSERT_TRUE(package.isOpen());
  EXPECT_EQ(header.appName(), "Trees.tfa");
  EXPECT_EQ(apps::memberCount(package), 3);
  apps::PackageEntry e;
  ASSERT_EQ(apps::memberEntry(package, 2, e), 0);
  EXPECT_EQ(e.name, "Trees.bct");
  EXPECT_EQ(e.modified, 33u);
  EXPECT_EQ(e.offset, entryOffset(members, 2));
  EXPECT_EQ(e.dataSize(), static_cast<std::int64_t>(members[2].stored.size()));
  EXPECT_EQ(e.next, image.size());
  std::int64_t position = 0;
  package.file().seek(0, platform::SeekFrom::Current, position);
  EXPECT_EQ(position, e.dataOffset());  // left just behind the entry

  EXPECT_EQ(apps::memberEntry(package, 3, e), apps::kPkgBadIndex);
  EXPECT_EQ(apps::memberEntry(package, -1, e), apps::kPkgBadIndex);
  EXPECT_EQ(apps::extractMember(package, 3, dir.path()), apps::kPkgBadIndex);

  int index = -1;
  ASSERT_EQ(apps::findMember(package, "REQFILES.DBF", e, index), 0);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(apps::findMember(package, "ReqFiles", e, index), apps::kPkgBadIndex);
}

TEST_F(PackageDirectory, AFileTooShortForAHeaderDoesNotOpen) {
  image.resize(1559);
  EXPECT_FALSE(open().isOpen());
  EXPECT_FALSE(apps::openPackage(dir.file("missing.tfa"), header).isOpen());
}

TEST_F(PackageDirectory, ADirectoryBlockThatCannotBeReadCountsNoMembers) {
  image.resize(1600);
  apps::Package package = open();
  ASSERT_TRUE(package.isOpen());
  EXPECT_EQ(apps::memberCount(package), 0);
}

TEST_F(PackageDirectory, ACountTheFileCannotHoldIsRefused) {
  // Three members of at least 73 bytes each fit; 73 do not.
  putU32(image, apps::kDirectoryOffset, 73);
  apps::Package package = open();
  EXPECT_EQ(apps::memberCount(package), apps::kPkgBadIndex);
  apps::PackageEntry e;
  EXPECT_EQ(apps::memberEntry(package, 0, e), apps::kPkgBadIndex);
  EXPECT_EQ(apps::extractByName(package, "app.ctl", dir.path()), apps::kPkgBadIndex);

  putU32(image, apps::kDirectoryOffset, 0x80000000u);  // negative
  apps::Package negative = open();
  EXPECT_EQ(apps::memberCount(negative), apps::kPkgBadIndex);
}

TEST_F(PackageDirectory, NextOffsetsThatDoNotMoveForwardInsideTheFileAreRefused) {
  const std::int64_t second = entryOffset(members, 1);
  const std::int64_t nextField = second + apps::kEntryNextOffset;
  const std::uint32_t cases[] = {
      0,                                                      // zero
      static_cast<std::uint32_t>(apps::kFirstEntryOffset),    // back to the first entry
      static_cast<std::uint32_t>(second),                     // itself: a loop
      static_cast<std::uint32_t>(second + apps::kEntrySize),  // no data at all
      static_cast<std::uint32_t>(image.size() + 1),           // past the end
      0xFFFFFFFFu,
  };
  const std::string good = image;
  for (std::uint32_t next : cases) {
    SCOPED_TRACE(next);
    image = good;
    putU32(image, nextField, next);
    apps::Package package = open();
    apps::PackageEntry e;
    EXPECT_EQ(apps::memberEntry(package, 0, e), 0);
    EXPECT_EQ(apps::memberEntry(package, 1, e), apps::kPkgSeek);
    EXPECT_EQ(apps::memberEntry(package, 2, e), apps::kPkgSeek);
    EXPECT_EQ(apps::extractMember(package, 1, dir.path()), apps::kPkgSeek);
    int index = 0;
    EXPECT_EQ(apps::findMember(package, "Trees.bct", e, index), apps::kPkgSeek);
  }
}

TEST_F(PackageDirectory, TheDirectoryIsReadOncePerOpenedPackage) {
  constexpr int kMembers = 300;
  members.clear();
  for (int i = 0; i < kMembers; ++i) members.push_back({"m" + std::to_string(i) + ".dat", "z", 0});
  image = packageImage(headerFor("Trees.tfa"), members);
  writeBytes(path, image);
  // Counts every call made on the package file.
  testing_support::FaultyFileSystem counted(platform::nativeFileSystem());
  platform::ScopedFileSystem scoped(counted);
  apps::Package package = apps::openPackage(path, header);
  ASSERT_TRUE(package.isOpen());

  apps::PackageEntry e;
  int index = -1;
  ASSERT_EQ(apps::findMember(package, "M299.DAT", e, index), 0);
  EXPECT_EQ(index, kMembers - 1);
  const int firstWalk = counted.calls();
  for (int i = kMembers - 1; i >= 0; --i) {
    ASSERT_EQ(apps::findMember(package, "m" + std::to_string(i) + ".dat", e, index), 0);
    EXPECT_EQ(index, i);
    ASSERT_EQ(apps::memberEntry(package, i, e), 0);
    EXPECT_EQ(e.offset, entryOffset(members, i));
  }
  EXPECT_EQ(apps::findMember(package, "missing.dat", e, index), apps::kPkgBadIndex);
  EXPECT_EQ(apps::memberCount(package), kMembers);
  // Later look-ups take at most a seek each (memberEntry leaves the file
  // behind the entry); walking the entries again would take thousands.
  EXPECT_LE(counted.calls() - firstWalk, kMembers);

  // Another opening of the file reads its directory afresh.
  apps::Package again = apps::openPackage(path, header);
  const int beforeAgain = counted.calls();
  ASSERT_EQ(apps::memberEntry(again, kMembers - 1, e), 0);
  EXPECT_GE(counted.calls() - beforeAgain, kMembers);
}

TEST_F(PackageDirectory, AnEntryCutOffByTheEndOfTheFileIsRefused) {
  image.resize(static_cast<std::size_t>(entryOffset(members, 2) + 40));
  apps::Package package = open();
  apps::PackageEntry e;
  EXPECT_EQ(apps::memberEntry(package, 2, e), apps::kPkgSeek);
}

}  // namespace
