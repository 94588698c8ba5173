#pragma once
// The "Set Edit Display Colors" dialog: the text and background colours of
// the four kinds of screen item (constant texts, prompts, read-only and
// view-only values), each chosen from the sixteen palette names.
#include "config/settings.hpp"
#include "ui/form.hpp"

namespace ui { class Host; }

namespace editor {

inline constexpr int kEditColoursDialog = 141;
// The eight lists: text of item i at kColourListFirst + 2 i, its background
// at kColourListFirst + 2 i + 1 (i: SettingsRecord::ColourItem).
inline constexpr int kColourListFirst = 1460;
inline constexpr int kColourLabelFirst = 1470;  // row and column headings
inline constexpr const char* kSameColoursText = "Text Color and Backgound Color\nCan not be the Same !";
inline constexpr const char* kSameColoursCaption = "Set Colors Error";

ui::Form editColoursForm();

// Controls the dialog over the colour pairs of settings. OK refuses a row
// whose text and background are the same (a message, the dialog stays open);
// otherwise it stores the eight colours and ends with 1. Cancel ends with 0
// and leaves the colours as they were.
class EditColoursDialog : public ui::FormController {
 public:
  explicit EditColoursDialog(ui::Host& host, config::SettingsRecord& settings) : host_(host), settings_(settings) {}
  void onInit(ui::FormView& view) override;
  void onCommand(ui::FormView& view, int id) override;

 private:
  ui::Host& host_;
  config::SettingsRecord& settings_;
};

// Runs the dialog; true when new colours were stored in settings (nothing is
// saved to the file here).
[[nodiscard]] bool runEditColours(ui::Host& host, config::SettingsRecord& settings);

}  // namespace editor
