// The "AutoXfer" list: its text, its bound and its registry value.
#include <gtest/gtest.h>

#include "config/auto_transfer.hpp"
#include "platform/registry.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

TEST(AutoTransferList, SplitsTrimsAndDropsEmptyAndRepeatedNames) {
  EXPECT_EQ(config::splitAutoTransfer(" North Block ,,South,North Block,"),
            (std::vector<std::string>{"North Block", "South"}));
  EXPECT_TRUE(config::splitAutoTransfer("").empty());
  EXPECT_EQ(config::joinAutoTransfer({"A", "B C"}), "A,B C");
  EXPECT_FALSE(config::autoTransferNameUsable("A,B"));
  EXPECT_FALSE(config::autoTransferNameUsable("  "));
  EXPECT_TRUE(config::autoTransferNameUsable("A B"));
}

TEST(AutoTransferList, TheBoundIsWhatTheReadBufferHoldsInUtf16) {
  // 4095 UTF-16 units and the NUL fill 8192 bytes.
  EXPECT_TRUE(config::autoTransferFits({std::string(4095, 'x')}));
  EXPECT_FALSE(config::autoTransferFits({std::string(4096, 'x')}));
  EXPECT_TRUE(config::autoTransferFits({std::string(2047, 'x'), std::string(2047, 'y')}));  // and one comma
  EXPECT_FALSE(config::autoTransferFits({std::string(2048, 'x'), std::string(2047, 'y')}));
  // Counted in UTF-16 units, not in UTF-8 bytes: "é" is two bytes, one unit.
  std::string accents;
  for (int i = 0; i < 4095; ++i) accents += "\xC3\xA9";
  EXPECT_TRUE(config::autoTransferFits({accents}));
}

class AutoTransferValue : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::ScriptedHost host;
};

TEST_F(AutoTransferValue, ANeverWrittenValueIsAnEmptyListAndAWrittenOneReadsBack) {
  std::vector<std::string> names{"stale"};
  EXPECT_TRUE(config::readAutoTransfer(host, names));
  EXPECT_TRUE(names.empty());
  ASSERT_TRUE(config::writeAutoTransfer(host, {"North Block", "South"}));
  std::string raw;
  ASSERT_EQ(platform::getAppSetting("AutoXfer", raw, 8192), 1);
  EXPECT_EQ(raw, "North Block,South");
  EXPECT_TRUE(config::readAutoTransfer(host, names));
  EXPECT_EQ(names, (std::vector<std::string>{"North Block", "South"}));
  EXPECT_TRUE(host.shown().empty());
}

TEST_F(AutoTransferValue, ATooLongListOrACommaInANameIsNotWritten) {
  ASSERT_TRUE(config::writeAutoTransfer(host, {"Kept"}));
  EXPECT_FALSE(config::writeAutoTransfer(host, {std::string(4096, 'x')}));
  EXPECT_FALSE(config::writeAutoTransfer(host, {"A,B"}));
  std::vector<std::string> names;
  EXPECT_TRUE(config::readAutoTransfer(host, names));
  EXPECT_EQ(names, (std::vector<std::string>{"Kept"}));
}

TEST_F(AutoTransferValue, AValueOfTheWrongTypeIsAReadError) {
  ASSERT_EQ(platform::writeRegDword(platform::RegRoot::CurrentUser, platform::kAppKey, "AutoXfer", 7), 1);
  host.expectOnce("AutoXfer Registry Read Error.", ui::kIdOk, "Error");
  std::vector<std::string> names{"x"};
  EXPECT_FALSE(config::readAutoTransfer(host, names));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(host.sawText("AutoXfer Registry Read Error."));
}

}  // namespace
