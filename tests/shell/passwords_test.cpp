#include <gtest/gtest.h>

#include "platform/registry.hpp"
#include "shell/passwords.hpp"
#include "shell/startup.hpp"
#include "support/install_root.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

using shell::passwordAccepted;
using testing_support::ScriptedHost;

TEST(PasswordTable, LevelOneTakesItsOwnAndServiceCodeA) {
  EXPECT_TRUE(passwordAccepted(1, "one", "one", "two"));
  EXPECT_TRUE(passwordAccepted(1, "5550192837", "one", "two"));
  EXPECT_FALSE(passwordAccepted(1, "two", "one", "two"));         // level 2 does not open level 1
  EXPECT_FALSE(passwordAccepted(1, "4417260095", "one", "two"));  // nor does code B
  EXPECT_FALSE(passwordAccepted(1, "ONE", "one", "two"));         // exact case
}

TEST(PasswordTable, LevelTwoTakesBothPasswordsAndBothCodes) {
  for (const char* ok : {"one", "two", "5550192837", "4417260095"})
    EXPECT_TRUE(passwordAccepted(2, ok, "one", "two")) << ok;
  EXPECT_FALSE(passwordAccepted(2, "three", "one", "two"));
  EXPECT_TRUE(passwordAccepted(2, "anything", "one", ""));  // no level-2 password
  EXPECT_FALSE(passwordAccepted(2, "", "", "two"));         // an empty level 1 is no key
  EXPECT_FALSE(passwordAccepted(3, "5550192837", "one", "two"));
}

class Passwords : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  ScriptedHost host;
  shell::StartupValues v;

  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
    config::loadSettings(host, v.installRoot, d, v.settings, v.style.sep);
  }
  void setPasswords(const std::string& p1, const std::string& p2) {
    v.settings.setPassword1(p1);
    v.settings.setPassword2(p2);
    config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
  }
  static ScriptedHost::FormScript enter(std::string text) {
    return [text](ui::FormState& f) {
      f.type(shell::kPasswordEntry, text);
      f.press(ui::kIdOkButton);
    };
  }
};

TEST_F(Passwords, EmptyPasswordsAskNothing) {
  setPasswords("one", "");
  EXPECT_TRUE(shell::checkAccess(host, v, 2));
  EXPECT_TRUE(host.forms().empty());
  host.onForm(shell::kPasswordDialog, enter("one"));
  EXPECT_TRUE(shell::checkAccess(host, v, 1));
  EXPECT_EQ(host.forms().size(), 1u);
}

TEST_F(Passwords, WrongEntryIsToldAndTheDialogStays) {
  setPasswords("one", "two");
  host.expectOnce("PassWord Not Valid", ui::kIdOk, "Error");
  host.onForm(shell::kPasswordDialog, [](ui::FormState& f) {
    f.type(shell::kPasswordEntry, "two");  // level 2 cannot open level 1
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.press(ui::kIdCancelButton);
  });
  EXPECT_FALSE(shell::checkAccess(host, v, 1));
}

TEST_F(Passwords, TheFileIsReadAgainBeforeEachCheck) {
  setPasswords("", "");
  v.settings.setPassword1("stale");  // only in memory: the file has none
  EXPECT_TRUE(shell::checkAccess(host, v, 1));
}

TEST_F(Passwords, ChangeSetsThePasswordInTheSettingsFile) {
  host.expectOnce("PassWord Do Not Match\nEnter Again !");
  host.expectOnce("PassWord Level 2 Set");
  host.onForm(shell::kChangePasswordDialog, [](ui::FormState& f) {
    f.type(shell::kNewPasswordEntry, "abc");
    f.type(shell::kRepeatPasswordEntry, "abd");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    f.type(shell::kRepeatPasswordEntry, "abc   ");  // trailing blanks are dropped
    f.press(ui::kIdOkButton);
  });
  shell::changePassword(host, v, 2);
  config::SettingsRecord back;
  config::DefaultPaths d{v.installRoot, v.appPath, v.dataPath};
  ASSERT_EQ(config::loadSettings(host, v.installRoot, d, back, v.style.sep), 1);
  EXPECT_EQ(back.password2(), "abc");
}

TEST_F(Passwords, SettingLevelOneWhileOnlyLevelTwoIsSetAsksTheLevelTwoPasswordFirst) {
  setPasswords("", "two");
  // Without the level-2 password nobody reaches the change dialog.
  host.onForm(shell::kPasswordDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  shell::changePassword(host, v, 1);
  ASSERT_EQ(host.forms().size(), 1u);
  EXPECT_EQ(host.forms()[0].resource, shell::kPasswordDialog);
  EXPECT_EQ(host.forms()[0].caption, "Level 2 Password");
  EXPECT_EQ(v.settings.password1(), "");

  host.onForm(shell::kPasswordDialog, enter("two"));
  host.expectOnce("PassWord Level 1 Set");
  host.onForm(shell::kChangePasswordDialog, [](ui::FormState& f) {
    f.type(shell::kNewPasswordEntry, "one");
    f.type(shell::kRepeatPasswordEntry, "one");
    f.press(ui::kIdOkButton);
  });
  shell::changePassword(host, v, 1);
  EXPECT_EQ(v.settings.password1(), "one");

  // Once level 1 has its own password, its holder already opens level 2.
  host.onForm(shell::kChangePasswordDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  shell::changePassword(host, v, 1);
  EXPECT_EQ(host.forms().back().resource, shell::kChangePasswordDialog);
}

TEST_F(Passwords, NonAsciiPasswordsAreStoredAsAnsiTextAndStillOpen) {
  // The dialog hands over UTF-8; the settings record holds Windows-1252 bytes.
  host.expectOnce("PassWord Level 2 Set");
  host.onForm(shell::kChangePasswordDialog, [](ui::FormState& f) {
    f.type(shell::kNewPasswordEntry, "gr\xC3\xBC\xC3\x9F\xE2\x82\xAC");
    f.type(shell::kRepeatPasswordEntry, "gr\xC3\xBC\xC3\x9F\xE2\x82\xAC");
    f.press(ui::kIdOkButton);
  });
  shell::changePassword(host, v, 2);
  const auto& bytes = v.settings.bytes();
  EXPECT_EQ(std::string(bytes.begin() + config::SettingsRecord::kPassword2,
                        bytes.begin() + config::SettingsRecord::kPassword2 + 6),
            std::string("gr\xFC\xDF\x80\0", 6));

  host.onForm(shell::kPasswordDialog, enter("gr\xC3\xBC\xC3\x9F\xE2\x82\xAC"));
  EXPECT_TRUE(shell::checkAccess(host, v, 2));
  host.expectOnce("PassWord Not Valid", ui::kIdOk, "Error");
  host.onForm(shell::kPasswordDialog, enter("gr\xC3\x9C\xC3\x9F\xE2\x82\xAC"));  // another case of the letter
  EXPECT_FALSE(shell::checkAccess(host, v, 2));
}

TEST_F(Passwords, ClearingLevelOneWhileLevelTwoIsSetClearsBothAfterTheSecondQuestion) {
  setPasswords("one", "two");
  host.expect("PassWord Level 1 Not Required?\nAre You Sure ?", ui::kIdYes, "Set To No Password");
  host.expectOnce("Level 2 PassWord Exists,", ui::kIdNo, "Remove All Passwords!");
  host.expectOnce("Level 2 PassWord Exists,", ui::kIdYes, "Remove All Passwords!");
  host.expectOnce("PassWord Not Required !");
  host.onForm(shell::kChangePasswordDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.text(shell::kNewPasswordEntry), "one");
    f.type(shell::kNewPasswordEntry, "");
    f.type(shell::kRepeatPasswordEntry, "");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());  // No to the second question keeps the dialog
    f.press(ui::kIdOkButton);
    EXPECT_TRUE(f.ended());
  });
  shell::changePassword(host, v, 1);
  EXPECT_EQ(v.settings.password1(), "");
  EXPECT_EQ(v.settings.password2(), "");
}

}  // namespace
