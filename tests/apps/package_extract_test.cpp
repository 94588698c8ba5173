// Extracting single members: gzip header fields, damaged streams, unsafe
// names, the member limit, failures of the storage, and what a failure leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "apps/package_extract.hpp"
#include "apps/package_fixture.hpp"
#include "platform/fileops.hpp"
#include "support/fake_clock.hpp"
#include "support/faulty_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using namespace package_test;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

constexpr platform::FileTime kStamp = 132458564960000000ull;  // 2020-09-29 12:34:56 UTC

class ExtractMember : public ::testing::Test {
 protected:
  // Writes the package and opens it; out is the folder members go to.
  apps::Package open(const std::vector<RawMember>& members) {
    writeBytes(packagePath, packageImage(headerFor("Trees.tfa"), members));
    apps::TfaHeader header;
    return apps::openPackage(packagePath, header);
  }
  // Extracts the one member and expects code; on failure, checks that
  // neither scratch file nor a file of the member's name was left.
  void expectSingle(const RawMember& member, int code) {
    apps::Package package = open({member});
    ASSERT_TRUE(package.isOpen());
    EXPECT_EQ(apps::extractMember(package, 0, out), code);
    if (code != 0) {
      EXPECT_EQ(listFolder(out), std::vector<std::string>{});
    }
  }

  std::string at(const std::string& name) const { return out + platform::kSep + name; }

  TempDir dir;
  std::string packagePath = dir.file("Trees.tfa");
  std::string out = dir.file("Trees");
  void SetUp() override { platform::makeFolder(out); }
};

TEST_F(ExtractMember, GivesTheContentsAndTheStoredTime) {
  const std::string data = sampleText(200000);  // several chunks and input blocks
  apps::Package package = open({{"Trees.ctl", gzip(data), kStamp}});
  ASSERT_EQ(apps::extractMember(package, 0, out), 0);
  EXPECT_TRUE(readBytes(at("Trees.ctl")) == data);
  platform::FileTime time = 0;
  ASSERT_EQ(platform::getFileTime(at("Trees.ctl"), time), 0);
  EXPECT_EQ(time, kStamp);
  EXPECT_EQ(listFolder(out), std::vector<std::string>{"Trees.ctl"});
}

TEST_F(ExtractMember, ReadsEveryGzipHeaderField) {
  const std::string data = sampleText(5000, 7);
  const std::vector<GzipFields> variants = {
      {.text = true},
      {.extra = std::string("XY\x03\x00"
                            "abc",
                            7)},
      {.name = "Trees.ctl"},
      {.comment = "made for a test"},
      {.headerCrc = true},
      {.text = true,
       .extra = std::string(300, 'e'),
       .name = "n",
       .comment = "c",
       .headerCrc = true},
  };
  for (std::size_t v = 0; v < variants.size(); ++v) {
    SCOPED_TRACE(v);
    apps::Package package = open({{"a.dat", gzip(data, variants[v]), kStamp}});
    ASSERT_EQ(apps::extractMember(package, 0, out), 0);
    EXPECT_TRUE(readBytes(at("a.dat")) == data);
  }
}

TEST_F(ExtractMember, RefusesDamagedStreamsAndLeavesNothing) {
  const std::string data = sampleText(100000, 3);
  std::string badHeaderCrc = gzip(data, {.headerCrc = true});
  badHeaderCrc[10] ^= 0x01;  // the CRC16 follows the 10 fixed bytes
  std::string truncated = gzip(data);
  truncated.resize(truncated.size() / 2);
  std::string noTrailer = gzip(data);
  noTrailer.resize(noTrailer.size() - 8);
  std::string badCrc = gzip(data);
  badCrc[badCrc.size() - 8] ^= 0x40;
  std::string badSize = gzip(data);
  badSize[badSize.size() - 4] ^= 0x01;
  std::string badMagic = gzip(data);
  badMagic[1] = 0x8c;
  std::string badMethod = gzip(data);
  badMethod[2] = 7;
  std::string reservedFlag = gzip(data);
  reservedFlag[3] |= 0x20;
  std::string badBody = gzip(data);
  for (std::size_t i = 20; i < 60; ++i) badBody[i] = static_cast<char>(0xFF);
  const std::string shortHeader = gzip(data).substr(0, 6);
  std::string shortName = gzip(data, {.name = "a long stored name"});
  shortName.resize(15);

  const std::pair<const char*, std::string> cases[] = {{"header CRC", badHeaderCrc},
                                                       {"truncated", truncated},
                                                       {"no trailer", noTrailer},
                                                       {"data CRC", badCrc},
                                                       {"size", badSize},
                                                       {"magic", badMagic},
                                                       {"method", badMethod},
                                                       {"reserved flag", reservedFlag},
                                                       {"deflate data", badBody},
                                                       {"short header", shortHeader},
                                                       {"name cut off", shortName}};
  for (const auto& [what, stored] : cases) {
    SCOPED_TRACE(what);
    expectSingle({"a.dat", stored, kStamp}, apps::kPkgBadData);
  }
}

TEST_F(ExtractMember, AFailureKeepsTheFileOfThatNameAsItWas) {
  writeBytes(at("a.dat"), "the old contents");
  std::string truncated = gzip(sampleText(50000));
  truncated.resize(truncated.size() - 100);
  apps::Package package = open({{"a.dat", truncated, kStamp}});
  EXPECT_EQ(apps::extractMember(package, 0, out), apps::kPkgBadData);
  EXPECT_EQ(readBytes(at("a.dat")), "the old contents");
  EXPECT_EQ(listFolder(out), std::vector<std::string>{"a.dat"});
}

TEST_F(ExtractMember, ReadsGzipMembersOneAfterAnotherAndIgnoresTrailingBytes) {
  const std::string stored =
      gzip("first part, ") + gzip("second part") + std::string("\0\0\0junk", 7);
  apps::Package package = open({{"a.dat", stored, kStamp}});
  ASSERT_EQ(apps::extractMember(package, 0, out), 0);
  EXPECT_EQ(readBytes(at("a.dat")), "first part, second part");
}

TEST_F(ExtractMember, AnEmptyFileComesOutEmpty) {
  apps::Package package = open({{"empty.txt", gzip(""), kStamp}});
  ASSERT_EQ(apps::extractMember(package, 0, out), 0);
  EXPECT_EQ(readBytes(at("empty.txt")), "");
}

TEST_F(ExtractMember, AMemberInflatingPastTheLimitIsRefused) {
  writeBytes(at("bomb.dat"), "kept");
  apps::Package package = open({{"bomb.dat", gzip(std::string(4 << 20, '\0')), kStamp}});
  package.setMemberLimit(1 << 20);
  EXPECT_EQ(apps::extractMember(package, 0, out), apps::kPkgBadData);
  EXPECT_EQ(readBytes(at("bomb.dat")), "kept");
  EXPECT_EQ(listFolder(out), std::vector<std::string>{"bomb.dat"});
  package.setMemberLimit(4 << 20);  // exactly at the limit is allowed
  EXPECT_EQ(apps::extractMember(package, 0, out), 0);
}

TEST_F(ExtractMember, UnsafeNamesAreRefusedBeforeAnythingIsWritten) {
  const std::string stored = gzip("payload");
  for (const char* name : {"../evil.txt", "..\\evil.txt", "sub/evil.txt", "C:evil.txt", "..", ".",
                           "", "_extract.dat", "_EXTRACT.TMP", "nul.txt"}) {
    SCOPED_TRACE(name);
    apps::Package package = open({{name, stored, kStamp}});
    EXPECT_EQ(apps::extractMember(package, 0, out), apps::kPkgBadData);
    EXPECT_EQ(listFolder(out), std::vector<std::string>{});
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"Trees", "Trees.tfa"}));
  }
  // A name filling all 60 bytes has no terminator.
  apps::Package package = open({{std::string(60, 'a'), stored, kStamp}});
  EXPECT_EQ(apps::extractMember(package, 0, out), apps::kPkgBadData);
}

TEST_F(ExtractMember, LinksInPlaceOfTheScratchFilesAreNotFollowed) {
  namespace fs = std::filesystem;
  const std::string kept = dir.file("kept.txt");
  const std::string other = dir.file("other.txt");
  const std::string nowhere = dir.file("nowhere.txt");  // a link to a file not yet there
  writeBytes(kept, "outside one");
  writeBytes(other, "outside two");
  std::error_code ec;
  fs::create_symlink(kept, at(apps::kScratchName), ec);
  if (ec) GTEST_SKIP() << "this file system has no symbolic links";
  fs::create_symlink(other, at(apps::kPartialName), ec);
  ASSERT_FALSE(ec);

  apps::Package package = open({{"a.dat", gzip("payload"), kStamp}});
  ASSERT_EQ(apps::extractMember(package, 0, out), 0);
  EXPECT_EQ(readBytes(kept), "outside one");
  EXPECT_EQ(readBytes(other), "outside two");
  EXPECT_FALSE(fs::is_symlink(at("a.dat")));
  EXPECT_EQ(readBytes(at("a.dat")), "payload");
  EXPECT_EQ(listFolder(out), std::vector<std::string>{"a.dat"});

  fs::create_symlink(nowhere, at(apps::kScratchName), ec);
  ASSERT_FALSE(ec);
  fs::create_symlink(nowhere, at(apps::kPartialName), ec);
  ASSERT_FALSE(ec);
  ASSERT_EQ(apps::extractMember(package, 0, out), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(nowhere)));
  EXPECT_EQ(listFolder(out), std::vector<std::string>{"a.dat"});
}

TEST_F(ExtractMember, FindsMembersByNameWithoutRegardToCase) {
  apps::Package package =
      open({{"one.txt", gzip("1"), kStamp}, {"reqfiles.DBF", gzip("2"), kStamp}});
  EXPECT_EQ(apps::extractByName(package, "ReqFiles.dbf", out), 0);
  EXPECT_EQ(readBytes(at("reqfiles.DBF")), "2");
  EXPECT_EQ(apps::extractByName(package, "two.txt", out), apps::kPkgBadIndex);
}

TEST_F(ExtractMember, StorageFailuresGiveTheirCodes) {
  const std::string stored = gzip(sampleText(100000, 5));
  apps::Package package = open({{"a.dat", stored, kStamp}});
  ASSERT_TRUE(package.isOpen());

  EXPECT_EQ(apps::extractMember(package, 0, dir.file("no such folder")), apps::kPkgScratchCreate);

  testing_support::FaultyFileSystem faulty(platform::nativeFileSystem());
  platform::ScopedFileSystem scoped(faulty);
  faulty.failWritesAfter(1000, 112);
  EXPECT_EQ(apps::extractMember(package, 0, out), apps::kPkgScratchWrite);
  EXPECT_EQ(listFolder(out), std::vector<std::string>{});

  faulty.failWritesAfter(static_cast<std::int64_t>(stored.size()) + 40000, 112);
  EXPECT_EQ(apps::extractMember(package, 0, out), apps::kPkgOutputWrite);
  EXPECT_EQ(listFolder(out), std::vector<std::string>{});
}

TEST_F(ExtractMember, WaitsForStorageThatComesBack) {
  const std::string data = sampleText(70000, 9);
  apps::Package package = open({{"a.dat", gzip(data), kStamp}});
  testing_support::FakeClock clock;
  platform::ScopedClock scopedClock(clock);
  testing_support::FaultyFileSystem faulty(platform::nativeFileSystem());
  platform::ScopedFileSystem scoped(faulty);
  faulty.unavailableUntil(3000);  // the card is back after 3 seconds
  ASSERT_EQ(apps::extractMember(package, 0, out), 0);
  EXPECT_TRUE(readBytes(at("a.dat")) == data);
  EXPECT_GE(clock.sleptMs(), 3000u);
}

}  // namespace
