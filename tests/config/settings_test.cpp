#include <gtest/gtest.h>

#include "config/settings.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "support/fake_clock.hpp"
#include "support/faulty_files.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using config::SettingsRecord;
using testing_support::ScriptedHost;

class SettingsFile : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  ScriptedHost host;
  const char sep = platform::kSep;
  std::string root = dir.path();
  std::string path = config::settingsPath(root, sep);
  config::DefaultPaths defaults{root, root + sep + "Apps", root + sep + "Data"};
  SettingsRecord record;
};

TEST_F(SettingsFile, MissingFileIsCreatedFromDefaultsWithoutAWord) {
  EXPECT_EQ(config::loadSettings(host, root, defaults, record, sep), 0);
  EXPECT_TRUE(host.shown().empty());
  std::string bytes = testing_support::readBytes(path);
  ASSERT_EQ(bytes.size(), 9560u);
  EXPECT_EQ(record.path(SettingsRecord::Path::AppPath), defaults.appPath);
  EXPECT_EQ(record.path8(SettingsRecord::Path::DataPath), defaults.dataPath);
  EXPECT_EQ(record.i32(SettingsRecord::kFontSize), 26);
  EXPECT_EQ(record.i32(SettingsRecord::kClearCoordFiles), 1);
  EXPECT_EQ(record.colour(1), 11);
  EXPECT_EQ(record.colour(7), 7);
  std::string stored;
  ASSERT_EQ(platform::getAppSetting("PC DataPath", stored, 1024), 1);
  EXPECT_EQ(stored, defaults.dataPath);
}

TEST_F(SettingsFile, WrongSizeIsReportedDeletedAndRewritten) {
  testing_support::writeBytes(path, std::string(9559, '\x7f'));
  host.expectOnce("Bad File Size!\nUsing Defaults", ui::kIdOk, "File Size Error");
  EXPECT_EQ(config::loadSettings(host, root, defaults, record, sep), 0);
  EXPECT_EQ(host.shown().at(0).text, " " + path + " Bad File Size!\nUsing Defaults");
  std::string bytes = testing_support::readBytes(path);
  ASSERT_EQ(bytes.size(), 9560u);
  EXPECT_EQ(bytes[8792], 26);  // defaults, not the old bytes
}

TEST_F(SettingsFile, LongGarbageAndEmptyFilesGiveWorkingDefaults) {
  for (std::string junk : {std::string(20000, 'z'), std::string()}) {
    testing_support::writeBytes(path, junk);
    host.expect("Using Defaults");
    config::loadSettings(host, root, defaults, record, sep);
    EXPECT_EQ(testing_support::readBytes(path).size(), 9560u);
    EXPECT_EQ(record.i32(SettingsRecord::kTextSize1), 16);
  }
}

TEST_F(SettingsFile, GoodReadMendsTextSizesAndOptions) {
  SettingsRecord stored;
  stored.applyDefaults(defaults);
  stored.setI32(SettingsRecord::kTextSize1, 0);
  stored.setI32(SettingsRecord::kTextSize2, 50);
  stored.setI32(SettingsRecord::kReadMark, 7);
  stored.setI32(SettingsRecord::kFontSize, 0);
  stored.setPassword1("secret");
  stored.bytes()[9000] = 0x5A;  // an unnamed byte rides along
  ASSERT_EQ(config::saveSettings(host, root, stored, sep), 1);
  EXPECT_EQ(config::loadSettings(host, root, defaults, record, sep), 1);
  EXPECT_EQ(record.i32(SettingsRecord::kTextSize1), 13);
  EXPECT_EQ(record.i32(SettingsRecord::kTextSize2), 32);
  EXPECT_EQ(record.i32(SettingsRecord::kReadMark), 1);
  EXPECT_EQ(record.i32(SettingsRecord::kFontSize), 9);
  EXPECT_EQ(record.password1(), "secret");
  EXPECT_EQ(record.bytes()[9000], 0x5A);
}

TEST_F(SettingsFile, FailedSaveIsReportedAndKeepsTheOldFile) {
  SettingsRecord good;
  good.applyDefaults(defaults);
  good.setPassword2("keep");
  ASSERT_EQ(config::saveSettings(host, root, good, sep), 1);
  testing_support::FaultyFileSystem faulty(platform::nativeFileSystem());
  platform::ScopedFileSystem use(faulty);
  faulty.failWritesAfter(100);
  host.expectOnce("Write Size Failed", ui::kIdOk, "Put Msu Error");
  SettingsRecord other;
  EXPECT_EQ(config::saveSettings(host, root, other, sep), 0);
  faulty.failWritesAfter(-1);
  SettingsRecord back;
  ASSERT_EQ(config::loadSettings(host, root, defaults, back, sep), 1);
  EXPECT_EQ(back.password2(), "keep");
}

TEST_F(SettingsFile, UnopenableFolderIsReportedWithItsError) {
  std::string missing = root + sep + "no" + sep + "such";
  host.expectOnce("Can't Open", ui::kIdOk, "Put Msu Error");
  EXPECT_EQ(config::saveSettings(host, missing, record, sep), 0);
  EXPECT_NE(host.shown().at(0).text.find("for Write\nError:3"), std::string::npos);
}

TEST_F(SettingsFile, MissingTransferPortFileGivesCom1At115200EightNoneOne) {
  config::TransferPortRecord port;
  EXPECT_EQ(config::loadTransferPort(host, root, port, sep), 0);
  EXPECT_EQ(port.portName(), "COM1:");
  EXPECT_EQ(port.baud(), 115200);
  EXPECT_EQ(port.dataBits(), 8);
  EXPECT_EQ(port.parity(), 'N');
  EXPECT_EQ(port.stopBits(), 1);
  EXPECT_EQ(port.flowControl(), 2);
  EXPECT_EQ(testing_support::readBytes(root + sep + "xsu.dft").size(), 340u);
  port.setPort(4);
  ASSERT_EQ(config::saveTransferPort(host, root, port, sep), 1);
  config::TransferPortRecord again;
  EXPECT_EQ(config::loadTransferPort(host, root, again, sep), 1);
  EXPECT_EQ(again.portName(), "COM4:");
  testing_support::writeBytes(root + sep + "xsu.dft", "short");
  EXPECT_EQ(config::loadTransferPort(host, root, again, sep), 0);
  EXPECT_EQ(again.port(), 1);
}

}  // namespace
