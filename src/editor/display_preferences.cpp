#include "editor/display_preferences.hpp"

#include <algorithm>
#include <vector>

#include "editor/colour_pair_text.hpp"
#include "editor/edit_colours.hpp"
#include "ui/host.hpp"

namespace editor {

const std::array<const char*, 5> kProductionLevelTexts = {
    "0 None    - High Production, Touch Screen Not Used",
    "1 Low     - High Production (Full Keyboard)",
    "2 Medium  - Medium High (\"AK\" button for Action Keys)",
    "3 High    - Medium Low (Limited Keyboard)",
    "4 High    - Low (PopUp Keyboard)",
};

namespace {

using Item = config::SettingsRecord::ColourItem;
constexpr int kItems = 4;
constexpr const char* kSampleLabels[kItems] = {"Constant:", "Prompts:", "ReadOnly:", "ViewOnly:"};

// Rows are 12 units apart or more, so each falls on its own line of cells.
constexpr int kSampleX = 156, kSampleLabelX = 112;

int sampleId(int item) { return kColourSampleFirst + item; }

}  // namespace

int fontSizeChoice(int size) {
  auto it = std::find(kFontSizes.begin(), kFontSizes.end(), size);
  if (it == kFontSizes.end()) it = std::find(kFontSizes.begin(), kFontSizes.end(), kUnknownFontSizeChoice);
  return static_cast<int>(it - kFontSizes.begin());
}

void restoreDisplayDefaults(config::SettingsRecord& s) {
  s.setProductionLevel(1);
  s.setFontSize(24);
  s.setBoldFonts(true);
  s.setGridLines(true);
  s.setGrid3d(true);
  s.setItemColours(config::SettingsRecord::kConstantColours, 15, 13);
  s.setItemColours(config::SettingsRecord::kPromptColours, 0, 10);
  s.setItemColours(config::SettingsRecord::kReadOnlyColours, 15, 7);
  s.setItemColours(config::SettingsRecord::kViewOnlyColours, 15, 7);
}

ui::Form displayPreferencesForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kDisplayPreferencesDialog;
  f.caption = "Display Preferences";
  f.size = {0, 0, 240, 150};
  f.controls.push_back({kBoldFontsCheck, K::CheckBox, "&Bold Fonts", {8, 8, 84, 10}});
  f.controls.push_back({kGridLinesCheck, K::CheckBox, "Use &Grid Lines", {8, 20, 84, 10}});
  f.controls.push_back({kGrid3dCheck, K::CheckBox, "&3D Grid Lines", {8, 32, 84, 10}});
  f.controls.push_back({kPreferenceLabelFirst, K::Static, "Font Si&ze", {8, 46, 44, 10}});
  // The drop-down's rectangle includes its open list of nine sizes.
  f.controls.push_back({kFontSizeList, K::DropDown, "", {56, 44, 36, 90}});
  for (int i = 0; i < kItems; ++i) {
    const int y = 8 + 12 * i;
    f.controls.push_back({kPreferenceLabelFirst + 1 + i, K::Static, kSampleLabels[i], {kSampleLabelX, y, 42, 10}});
    f.controls.push_back({sampleId(i), K::Static, "", {kSampleX, y, 76, 10}});
  }
  f.controls.push_back({kSelectColoursButton, K::Button, "Select &Colors", {kSampleX, 58, 76, 14}});
  f.controls.push_back({kProductionLevelList, K::ListBox, "", {8, 76, 224, 44}});
  f.controls.push_back(ui::defaultButton(ui::kIdOkButton, "OK", {8, 128, 50, 14}));
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {66, 128, 50, 14}));
  f.controls.push_back({kRestoreDefaultsButton, K::Button, "Restore Defaults", {150, 128, 82, 14}});
  f.firstFocus = ui::kIdOkButton;
  return f;
}

void DisplayPreferencesDialog::showSamples(ui::FormView& view) {
  for (int i = 0; i < kItems; ++i) {
    const auto item = static_cast<Item>(i);
    view.setText(sampleId(i), colourPairText(work_.itemText(item), work_.itemBack(item)));
  }
}

void DisplayPreferencesDialog::onInit(ui::FormView& view) {
  // 3D grid lines go with grid lines: shown off and cleared without them.
  if (!work_.gridLines()) work_.setGrid3d(false);
  view.setChecked(kBoldFontsCheck, work_.boldFonts());
  view.setChecked(kGridLinesCheck, work_.gridLines());
  view.setChecked(kGrid3dCheck, work_.grid3d());
  view.enable(kGrid3dCheck, work_.gridLines());
  showSamples(view);
  std::vector<std::string> sizes;
  for (int size : kFontSizes) sizes.push_back(std::to_string(size));
  view.setItems(kFontSizeList, sizes);
  view.setSelection(kFontSizeList, fontSizeChoice(work_.fontSize()));
  view.setItems(kProductionLevelList, std::vector<std::string>(kProductionLevelTexts.begin(), kProductionLevelTexts.end()));
  view.setSelection(kProductionLevelList, work_.productionLevel());
}

void DisplayPreferencesDialog::onCommand(ui::FormView& view, int id) {
  switch (id) {
    case kGridLinesCheck: {
      const bool grid = view.checked(kGridLinesCheck);
      if (!grid) view.setChecked(kGrid3dCheck, false);
      view.enable(kGrid3dCheck, grid);
      return;
    }
    case kSelectColoursButton:
      if (runEditColours(host_, work_)) showSamples(view);
      return;
    case kRestoreDefaultsButton:
      if (ui::askYesNo(host_, "Restore Defaults?", "Are You Sure?") != ui::kIdYes) return;
      restoreDisplayDefaults(work_);
      onInit(view);
      return;
    case ui::kIdOkButton: {
      const bool grid = view.checked(kGridLinesCheck);
      work_.setBoldFonts(view.checked(kBoldFontsCheck));
      work_.setGridLines(grid);
      work_.setGrid3d(grid && view.checked(kGrid3dCheck));
      const int size = view.selection(kFontSizeList);
      if (size >= 0 && size < static_cast<int>(kFontSizes.size()))
        work_.setFontSize(kFontSizes[static_cast<std::size_t>(size)]);
      const int level = view.selection(kProductionLevelList);
      work_.setProductionLevel(level >= 1 && level <= 4 ? level : 0);
      view.end(1);
      return;
    }
    case ui::kIdCancelButton:
      view.end(0);
      return;
    default:
      return;
  }
}

int runDisplayPreferences(ui::Host& host, const std::string& installRoot, config::SettingsRecord& settings, char sep) {
  // A file found unusable on the reloads is replaced from the paths in use.
  auto orElse = [&](std::string path, const char* folder) {
    return path.empty() ? installRoot + sep + folder : path;
  };
  const config::DefaultPaths defaults{installRoot, orElse(settings.path(config::SettingsRecord::Path::AppPath), "Apps"),
                                     orElse(settings.path(config::SettingsRecord::Path::DataPath), "Data")};
  // Saved and read back: the dialog works on a copy of what the file holds.
  config::saveSettings(host, installRoot, settings, sep);
  config::SettingsRecord work = settings;
  config::loadSettings(host, installRoot, defaults, work, sep);
  DisplayPreferencesDialog dialog(host, work);
  if (host.runForm(displayPreferencesForm(), dialog) == 1) {
    settings = work;
    return config::saveSettings(host, installRoot, settings, sep) == 1 ? 1 : 0;
  }
  config::loadSettings(host, installRoot, defaults, settings, sep);
  return 0;
}

}  // namespace editor
