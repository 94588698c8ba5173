#include <gtest/gtest.h>

#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "support/temp_dir.hpp"

namespace {

using platform::RegRoot;
using testing_support::TempDir;

class FileRegistryTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string store = dir.file("registry");
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(store, dir.file("family"));
  platform::ScopedRegistry use{*reg};
};

TEST_F(FileRegistryTest, ValuesRoundTripWithTheirTypes) {
  EXPECT_EQ(platform::putAppSetting("PC InstallDir", "E:\\"), 1);
  EXPECT_EQ(platform::putAppSetting("Quote", "a \"b\" \\ c\nd"), 1);
  EXPECT_EQ(platform::writeRegDword(RegRoot::CurrentUser, platform::kAppKey, "Count", 42), 1);
  std::string out;
  ASSERT_EQ(platform::getAppSetting("pc installdir", out, 302), 1);  // names ignore case
  EXPECT_EQ(out, "E:\\");
  ASSERT_EQ(platform::getAppSetting("Quote", out, 302), 1);
  EXPECT_EQ(out, "a \"b\" \\ c\nd");
  EXPECT_EQ(platform::readRegDword(RegRoot::CurrentUser, platform::kAppKey, "Count"), 42);
  // A value of another type cannot be read as this one.
  EXPECT_EQ(platform::readRegDword(RegRoot::CurrentUser, platform::kAppKey, "Quote"), -1);
  EXPECT_FALSE(platform::fileExists(store + ".new"));
}

TEST_F(FileRegistryTest, FailedReadsLeaveTheirTexts) {
  std::string out = "junk";
  EXPECT_EQ(platform::readRegString(RegRoot::CurrentUser, platform::kAppKey, "CurAppName", out), 0);
  EXPECT_EQ(out, "RegOpenKey err");
  platform::putAppSetting("Other", "x");
  EXPECT_EQ(platform::readRegString(RegRoot::CurrentUser, platform::kAppKey, "CurAppName", out), 0);
  EXPECT_EQ(out, "RegQueryValue err");
  EXPECT_EQ(platform::regValueExists(RegRoot::CurrentUser, platform::kAppKey, "Other"), 1);
  EXPECT_EQ(platform::regValueExists(RegRoot::CurrentUser, platform::kAppKey, "CurAppName"), 0);
}

TEST_F(FileRegistryTest, ReadsAreCutToTheBufferSize) {
  platform::putAppSetting("CurAppName", std::string(200, 'a'));
  std::string out;
  ASSERT_EQ(platform::getAppSetting("CurAppName", out, 302), 1);
  EXPECT_EQ(out.size(), 150u);  // 302 bytes of UTF-16 hold 150 characters and the NUL
}

TEST_F(FileRegistryTest, DamagedStoreKeepsWhatParsesAndHealsOnWrite) {
  testing_support::writeBytes(store,
                              "\x01\x02garbage\n[HKCU\\Software\\Tallyfin PC]\n\"Good\"=sz:\"yes\"\n"
                              "\"Bad\"=sz:\"unterminated\n\"Num\"=dword:99999999999\n[broken\n");
  std::string out;
  ASSERT_EQ(platform::getAppSetting("Good", out, 302), 1);
  EXPECT_EQ(out, "yes");
  EXPECT_EQ(platform::getAppSetting("Bad", out, 302), 0);
  EXPECT_EQ(platform::readRegDword(RegRoot::CurrentUser, platform::kAppKey, "Num"), -1);
  ASSERT_EQ(platform::putAppSetting("New", "v"), 1);
  ASSERT_EQ(platform::getAppSetting("Good", out, 302), 1);
  EXPECT_EQ(testing_support::readBytes(store).find("garbage"), std::string::npos);
}

TEST_F(FileRegistryTest, SystemFamilyComesFromTheFirmwareName) {
  std::string out;
  EXPECT_EQ(platform::readRegString(RegRoot::LocalMachine, "HARDWARE\\DESCRIPTION\\System\\BIOS",
                                    "SystemFamily", out),
            0);
  testing_support::writeBytes(dir.file("family"), "Surface Pro\n");
  ASSERT_EQ(platform::readRegString(RegRoot::LocalMachine, "HARDWARE\\DESCRIPTION\\System\\BIOS",
                                    "SystemFamily", out),
            1);
  EXPECT_EQ(out, "Surface Pro");
}

}  // namespace
