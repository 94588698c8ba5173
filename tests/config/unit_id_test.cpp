// The unit identification: the registry value "Unit ID" when usable, the
// computer's name otherwise, and the administrator's dialog that changes it.
// (It lives in shell/; its tests sit here with the file names it shapes.)
#include <gtest/gtest.h>

#include "config/settings.hpp"
#include "config/unit_id.hpp"
#include "platform/registry.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

class UnitIdTest : public ::testing::Test {
 protected:
  void typeAndOk(const std::string& text) {
    host.onForm(config::kUnitIdResource, [text](ui::FormState& f) {
      f.type(config::kUnitIdEntry, text);
      f.press(ui::kIdOkButton);
    });
  }
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry use{*registry};
  testing_support::ScriptedHost host;
  config::SettingsRecord settings;
};

TEST_F(UnitIdTest, TheComputerNameUnlessAUsableValueIsSet) {
  EXPECT_EQ(config::unitIdentification("FIELD-PC7"), "FIELD-PC7");
  ASSERT_EQ(config::setUnitIdentification("  Crew 12  "), 1);
  EXPECT_EQ(config::unitIdentification("FIELD-PC7"), "Crew 12");
  // A value that would break the data file names is not used.
  platform::putAppSetting("Unit ID", "crew~12");
  EXPECT_EQ(config::unitIdentification("FIELD-PC7"), "FIELD-PC7");
  platform::putAppSetting("Unit ID", std::string(81, 'A'));
  EXPECT_EQ(config::unitIdentification("FIELD-PC7"), "FIELD-PC7");
  ASSERT_EQ(config::setUnitIdentification(""), 1);
  EXPECT_EQ(config::unitIdentification("FIELD-PC7"), "FIELD-PC7");
}

TEST_F(UnitIdTest, UsableTexts) {
  EXPECT_TRUE(config::unitIdUsable("ABC"));
  EXPECT_TRUE(config::unitIdUsable("host.example-1"));
  for (const char* bad : {"", "   ", "a/b", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a|b", "a~b", "a[b", "a]b",
                          "a+b", "a^b", "a\tb"})
    EXPECT_FALSE(config::unitIdUsable(bad)) << bad;
}

TEST_F(UnitIdTest, TheDialogStoresTheTextAndTheUnitCode) {
  config::setUnitIdentification("OLD");
  host.onForm(config::kUnitIdResource, [](ui::FormState& f) {
    EXPECT_EQ(f.text(config::kUnitIdEntry), "OLD");
    f.type(config::kUnitIdEntry, "1234567890");
    f.press(ui::kIdOkButton);
  });
  ASSERT_EQ(config::changeUnitIdentification(host, settings, "FIELD-PC7"), 1);
  EXPECT_EQ(config::unitIdentification("FIELD-PC7"), "1234567890");
  EXPECT_EQ(settings.unitIdText(), "1234567890");
  EXPECT_EQ(settings.unitCode(), "567890");
}

TEST_F(UnitIdTest, AnEmptyTextReturnsToTheComputerName) {
  config::setUnitIdentification("OLD");
  typeAndOk("");
  ASSERT_EQ(config::changeUnitIdentification(host, settings, "ABC"), 1);
  EXPECT_EQ(settings.unitIdText(), "ABC");
  EXPECT_EQ(settings.unitCode(), "ABC___");
}

TEST_F(UnitIdTest, AnUnusableTextKeepsTheDialogOpenAndCancelChangesNothing) {
  host.expectOnce("Unit ID:\"Crew/12\" Is Not Valid", ui::kIdOk, "Unit ID Error");
  host.onForm(config::kUnitIdResource, [](ui::FormState& f) {
    f.type(config::kUnitIdEntry, "Crew/12");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(config::changeUnitIdentification(host, settings, "ABC"), 0);
  EXPECT_TRUE(host.sawText("Is Not Valid"));
  EXPECT_EQ(config::unitIdentification("ABC"), "ABC");
  EXPECT_EQ(settings.unitIdText(), "");
}

}  // namespace
