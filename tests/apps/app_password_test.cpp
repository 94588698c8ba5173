// The application password: stored with each byte doubled, compared exactly.
#include <gtest/gtest.h>

#include "apps/app_password.hpp"
#include "apps/tfa_header.hpp"
#include "support/scripted_host.hpp"

namespace {

apps::TfaHeader locked(const std::string& password) {
  apps::TfaHeader h;
  EXPECT_TRUE(h.setAppPassword(password));
  return h;
}

TEST(AppPassword, AcceptsExactlyTheTextWhoseDoubledCodesAreStored) {
  apps::TfaHeader h;
  const std::string stored = {static_cast<char>('K' * 2), static_cast<char>('e' * 2), static_cast<char>('y' * 2),
                              static_cast<char>('9' * 2)};
  std::copy(stored.begin(), stored.end(), h.bytes().begin() + 1174);
  EXPECT_TRUE(apps::appPasswordAccepted(h, "Key9"));
  EXPECT_FALSE(apps::appPasswordAccepted(h, "key9"));
  EXPECT_FALSE(apps::appPasswordAccepted(h, "KEY9"));
  EXPECT_FALSE(apps::appPasswordAccepted(h, "Key"));
  EXPECT_FALSE(apps::appPasswordAccepted(h, "Key99"));
  EXPECT_FALSE(apps::appPasswordAccepted(h, ""));
  EXPECT_EQ(h.bytes()[1174 + 4], 0);

  // At most 25 characters of the entry are read.
  const std::string long25(25, 'p');
  apps::TfaHeader h25 = locked(long25);
  EXPECT_TRUE(apps::appPasswordAccepted(h25, long25 + "xyz"));
  apps::TfaHeader h26 = locked(long25 + "q");
  EXPECT_FALSE(apps::appPasswordAccepted(h26, long25 + "q"));

  EXPECT_TRUE(apps::appPasswordAccepted(apps::TfaHeader{}, "anything"));  // none stored
}

TEST(AppPassword, TheDialogStaysUntilTheRightTextOrCancel) {
  testing_support::ScriptedHost host;
  const apps::TfaHeader h = locked("Oak7");
  host.onForm(apps::kAppPasswordDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.form().find(apps::kAppPasswordEntry)->limit, 25);
    EXPECT_TRUE(f.form().find(apps::kAppPasswordEntry)->password);
    f.type(apps::kAppPasswordEntry, "OAK7");
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());
    EXPECT_EQ(f.text(apps::kAppPasswordEntry), "");
    f.type(apps::kAppPasswordEntry, "Oak7");
    f.press(ui::kIdOkButton);
  });
  host.expectOnce("PassWord Not Valid", ui::kIdOk, "Error");
  EXPECT_TRUE(apps::checkAppPassword(host, h));
  EXPECT_EQ(host.shown().size(), 1u);

  host.onForm(apps::kAppPasswordDialog, [](ui::FormState& f) { f.press(ui::kIdCancelButton); });
  EXPECT_FALSE(apps::checkAppPassword(host, h));
}

}  // namespace
