#pragma once
// The "Display Preferences" dialog: font size, bold fonts, grid lines and 3D
// grid lines, the collection production level and, through "Select &Colors",
// the colour pairs of the edit window. The new values take effect the next
// time the edit window is created.
#include <array>
#include <string>

#include "config/settings.hpp"
#include "ui/form.hpp"

namespace ui { class Host; }

namespace editor {

inline constexpr int kDisplayPreferencesDialog = 143;
inline constexpr int kBoldFontsCheck = 1400;
inline constexpr int kGridLinesCheck = 1401;
inline constexpr int kGrid3dCheck = 1402;
inline constexpr int kFontSizeList = 1403;
inline constexpr int kProductionLevelList = 1404;
inline constexpr int kSelectColoursButton = 1405;
inline constexpr int kRestoreDefaultsButton = 1406;
// The four samples, in SettingsRecord::ColourItem order.
inline constexpr int kColourSampleFirst = 1410;
inline constexpr int kPreferenceLabelFirst = 1420;

// The sizes "Font Si&ze" offers, and the one an unknown stored size selects.
inline constexpr std::array<int, 9> kFontSizes = {8, 10, 12, 14, 16, 18, 20, 24, 26};
inline constexpr int kUnknownFontSizeChoice = 10;
// The production level texts, level 0 first.
extern const std::array<const char*, 5> kProductionLevelTexts;

// The entry of kFontSizes that size selects (that of 10 when size is none of them).
int fontSizeChoice(int size);

// The values "Restore Defaults" gives: production level 1, font size 24, bold
// fonts, grid lines and 3D grid lines on, colours 15/13, 0/10, 15/7, 15/7.
// (A new settings file starts from the file defaults instead.)
void restoreDisplayDefaults(config::SettingsRecord& settings);

ui::Form displayPreferencesForm();

// Controls the dialog over a working copy of the settings: OK writes the
// controls into it and ends with 1; Cancel ends with 0. "Select &Colors" and
// "Restore Defaults" change only the working copy.
class DisplayPreferencesDialog : public ui::FormController {
 public:
  DisplayPreferencesDialog(ui::Host& host, config::SettingsRecord& work) : host_(host), work_(work) {}
  void onInit(ui::FormView& view) override;
  void onCommand(ui::FormView& view, int id) override;

 private:
  void showSamples(ui::FormView& view);
  ui::Host& host_;
  config::SettingsRecord& work_;
};

// The whole command: saves settings and reads them back as the dialog's
// working copy, runs the dialog, and on OK copies the result into settings
// and saves the settings file; on Cancel reloads settings from the file.
// Returns 1 when the new settings were saved, 0 when cancelled or when the
// save failed (the failure was reported).
[[nodiscard]] int runDisplayPreferences(ui::Host& host, const std::string& installRoot,
                                        config::SettingsRecord& settings, char sep);

}  // namespace editor
