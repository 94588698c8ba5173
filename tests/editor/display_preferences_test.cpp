// The "Display Preferences" and "Set Edit Display Colors" dialogs, worked
// through the scripted host against a settings file in a fresh install root.
#include <gtest/gtest.h>

#include <memory>

#include "editor/colour_pair_text.hpp"
#include "editor/display_preferences.hpp"
#include "editor/edit_colours.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "config/settings.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"
#include "ui/palette.hpp"

namespace {

using config::SettingsRecord;
using testing_support::ScriptedHost;

class DisplayPreferences : public ::testing::Test {
 protected:
  void SetUp() override {
    config::loadSettings(host, root, defaults, settings, sep);  // a new file from the defaults
    host.clearShown();
  }
  std::string fileBytes() const { return testing_support::readBytes(config::settingsPath(root, sep)); }
  SettingsRecord fileRecord() const {
    SettingsRecord r;
    const std::string bytes = fileBytes();
    EXPECT_EQ(bytes.size(), r.bytes().size());
    std::copy_n(bytes.begin(), std::min(bytes.size(), r.bytes().size()), r.bytes().begin());
    return r;
  }
  int run() { return editor::runDisplayPreferences(host, root, settings, sep); }

  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  ScriptedHost host;
  const char sep = platform::kSep;
  std::string root = dir.path();
  config::DefaultPaths defaults{root, root + sep + "Apps", root + sep + "Data"};
  SettingsRecord settings;
};

TEST(ColourPairText, NamesTextThenBackground) {
  EXPECT_EQ(editor::colourPairText(15, 13), "Black/DkTeal");
  EXPECT_EQ(editor::colourPairText(0, 10), "White/DkBlue");
  EXPECT_EQ(editor::colourPairText(20, -3), "Black/White");  // clamped as the palette does
}

TEST(FontSizeChoice, UnknownSizesSelectTen) {
  EXPECT_EQ(editor::kFontSizes[static_cast<std::size_t>(editor::fontSizeChoice(26))], 26);
  EXPECT_EQ(editor::kFontSizes[static_cast<std::size_t>(editor::fontSizeChoice(8))], 8);
  for (int unknown : {9, 22, 0, -4, 100})
    EXPECT_EQ(editor::kFontSizes[static_cast<std::size_t>(editor::fontSizeChoice(unknown))], 10) << unknown;
}

TEST_F(DisplayPreferences, OpensWithTheStoredValues) {
  settings.setFontSize(22);  // none of the nine
  settings.setProductionLevel(3);
  settings.setItemColours(SettingsRecord::kPromptColours, 4, 2);
  host.onForm(editor::kDisplayPreferencesDialog, [](ui::FormState& f) {
    EXPECT_EQ(f.items(editor::kFontSizeList).size(), 9u);
    EXPECT_EQ(f.items(editor::kFontSizeList).at(static_cast<std::size_t>(f.selection(editor::kFontSizeList))), "10");
    EXPECT_EQ(f.selection(editor::kProductionLevelList), 3);
    EXPECT_EQ(f.items(editor::kProductionLevelList).at(2), "2 Medium  - Medium High (\"AK\" button for Action Keys)");
    EXPECT_EQ(f.text(editor::kColourSampleFirst + SettingsRecord::kPromptColours), "Yellow/Blue");
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(run(), 0);
  // The values shown were the ones saved on opening; Cancel read them back.
  EXPECT_EQ(settings.fontSize(), 22);
  EXPECT_EQ(fileRecord().fontSize(), 22);
}

TEST_F(DisplayPreferences, OkSavesTheChoicesAndGridOffSaves3dAsZero) {
  host.onForm(editor::kDisplayPreferencesDialog, [](ui::FormState& f) {
    ASSERT_TRUE(f.checked(editor::kGridLinesCheck));
    ASSERT_TRUE(f.checked(editor::kGrid3dCheck));
    f.press(editor::kGridLinesCheck);  // off
    EXPECT_FALSE(f.checked(editor::kGrid3dCheck));
    EXPECT_FALSE(f.isEnabled(editor::kGrid3dCheck));
    f.press(editor::kBoldFontsCheck);  // off
    f.select(editor::kFontSizeList, 2);   // 12
    f.select(editor::kProductionLevelList, 4);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(run(), 1);
  const SettingsRecord saved = fileRecord();
  EXPECT_FALSE(saved.gridLines());
  EXPECT_EQ(saved.i32(SettingsRecord::kGrid3d), 0);
  EXPECT_FALSE(saved.boldFonts());
  EXPECT_EQ(saved.fontSize(), 12);
  EXPECT_EQ(saved.productionLevel(), 4);
  EXPECT_EQ(settings.bytes(), saved.bytes());
}

TEST_F(DisplayPreferences, A3dFlagStoredWithoutGridLinesIsShownOffAndSavedAsZero) {
  settings.setGridLines(false);
  settings.setGrid3d(true);
  host.onForm(editor::kDisplayPreferencesDialog, [](ui::FormState& f) {
    EXPECT_FALSE(f.checked(editor::kGrid3dCheck));
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(fileRecord().i32(SettingsRecord::kGrid3d), 0);
}

TEST_F(DisplayPreferences, NoProductionLevelSelectedGivesZero) {
  host.onForm(editor::kDisplayPreferencesDialog, [](ui::FormState& f) {
    f.select(editor::kProductionLevelList, -1);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(fileRecord().productionLevel(), 0);
}

TEST_F(DisplayPreferences, RestoreDefaultsThenCancelLeavesTheFileAsItWas) {
  settings.setFontSize(12);
  settings.setProductionLevel(0);
  ASSERT_EQ(config::saveSettings(host, root, settings, sep), 1);
  const std::string before = fileBytes();
  host.expectOnce("Restore Defaults?", ui::kIdYes, "Are You Sure?");
  host.onForm(editor::kDisplayPreferencesDialog, [](ui::FormState& f) {
    f.press(editor::kRestoreDefaultsButton);
    // The dialog shows the restored values ...
    EXPECT_EQ(f.items(editor::kFontSizeList).at(static_cast<std::size_t>(f.selection(editor::kFontSizeList))), "24");
    EXPECT_EQ(f.selection(editor::kProductionLevelList), 1);
    EXPECT_EQ(f.text(editor::kColourSampleFirst + SettingsRecord::kConstantColours), "Black/DkTeal");
    EXPECT_EQ(f.text(editor::kColourSampleFirst + SettingsRecord::kPromptColours), "White/DkBlue");
    f.press(ui::kIdCancelButton);  // ... and Cancel throws them away
  });
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(fileBytes(), before);
  EXPECT_EQ(settings.fontSize(), 12);
  EXPECT_EQ(settings.productionLevel(), 0);
}

TEST_F(DisplayPreferences, RestoreDefaultsThenOkStoresTheDialogDefaults) {
  settings.setBoldFonts(false);
  host.expectOnce("Restore Defaults?", ui::kIdYes, "Are You Sure?");
  host.onForm(editor::kDisplayPreferencesDialog, [](ui::FormState& f) {
    f.press(editor::kRestoreDefaultsButton);
    f.press(ui::kIdOkButton);
  });
  EXPECT_EQ(run(), 1);
  const SettingsRecord s = fileRecord();
  EXPECT_EQ(s.fontSize(), 24);  // not the new-file 26
  EXPECT_TRUE(s.boldFonts());
  EXPECT_EQ(s.productionLevel(), 1);
  const int expected[8] = {15, 13, 0, 10, 15, 7, 15, 7};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(s.colour(i), expected[i]) << i;
}

TEST_F(DisplayPreferences, SameTextAndBackgroundIsRefusedWithTheDialogStillOpen) {
  host.expectOnce(editor::kSameColoursText, ui::kIdOk, editor::kSameColoursCaption);
  const int promptText = editor::kColourListFirst + 2 * SettingsRecord::kPromptColours;
  host.onForm(editor::kDisplayPreferencesDialog, [&](ui::FormState& f) {
    f.press(editor::kSelectColoursButton);
    EXPECT_EQ(f.text(editor::kColourSampleFirst + SettingsRecord::kPromptColours), "Red/Green");
    f.press(ui::kIdOkButton);
  });
  host.onForm(editor::kEditColoursDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.caption(), "Set Edit Display Colors");
    ASSERT_EQ(f.items(promptText).size(), 16u);
    EXPECT_EQ(f.items(promptText).front(), "White");
    EXPECT_EQ(f.items(promptText).back(), "Black");
    f.select(promptText, ui::kBlack);
    f.select(promptText + 1, ui::kBlack);
    f.press(ui::kIdOkButton);
    EXPECT_FALSE(f.ended());  // refused: still open
    EXPECT_EQ(host.countText(editor::kSameColoursText), 1);
    f.select(promptText, ui::kRed);
    f.select(promptText + 1, ui::kGreen);
    f.press(ui::kIdOkButton);
    EXPECT_TRUE(f.ended());
  });
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(fileRecord().itemText(SettingsRecord::kPromptColours), ui::kRed);
  EXPECT_EQ(fileRecord().itemBack(SettingsRecord::kPromptColours), ui::kGreen);
}

TEST_F(DisplayPreferences, CancelledColoursKeepTheOldPairs) {
  const int constantText = editor::kColourListFirst + 2 * SettingsRecord::kConstantColours;
  host.onForm(editor::kDisplayPreferencesDialog, [&](ui::FormState& f) {
    f.press(editor::kSelectColoursButton);
    EXPECT_EQ(f.text(editor::kColourSampleFirst + SettingsRecord::kConstantColours), "White/DkGreen");
    f.press(ui::kIdOkButton);
  });
  host.onForm(editor::kEditColoursDialog, [&](ui::FormState& f) {
    EXPECT_EQ(f.selection(constantText), ui::kWhite);
    EXPECT_EQ(f.selection(constantText + 1), ui::kDkGreen);
    f.select(constantText, ui::kYellow);
    f.press(ui::kIdCancelButton);
  });
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(fileRecord().itemText(SettingsRecord::kConstantColours), ui::kWhite);
}

}  // namespace
