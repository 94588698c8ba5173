#include "editor/edit_colours.hpp"

#include <array>
#include <string>
#include <vector>

#include "ui/host.hpp"
#include "ui/palette.hpp"

namespace editor {

namespace {

constexpr int kItems = 4;
constexpr const char* kRowLabels[kItems] = {"Constant:", "Prompts:", "Read Only:", "View Only:"};
// Rows 14 units apart, so that each falls on its own line of character cells.
constexpr int kFirstRowY = 20, kRowStep = 14;
constexpr int kTextX = 64, kBackX = 136, kListWidth = 64;
// A drop-down's rectangle includes its open list (sixteen names).
constexpr int kListHeight = 140;

std::vector<std::string> colourNames() {
  std::vector<std::string> names;
  for (int i = 0; i < ui::kPaletteSize; ++i) names.emplace_back(ui::colourName(i));
  return names;
}

int listId(int item, bool back) { return kColourListFirst + 2 * item + (back ? 1 : 0); }

}  // namespace

ui::Form editColoursForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kEditColoursDialog;
  f.caption = "Set Edit Display Colors";
  f.size = {0, 0, 212, 104};
  f.controls.push_back({kColourLabelFirst, K::Static, "Data Type", {8, 6, 52, 10}});
  f.controls.push_back({kColourLabelFirst + 1, K::Static, "Text", {kTextX, 6, kListWidth, 10}});
  f.controls.push_back({kColourLabelFirst + 2, K::Static, "Background", {kBackX, 6, kListWidth, 10}});
  for (int i = 0; i < kItems; ++i) {
    const int y = kFirstRowY + kRowStep * i;
    f.controls.push_back({kColourLabelFirst + 3 + i, K::Static, kRowLabels[i], {8, y + 1, 52, 10}});
    f.controls.push_back({listId(i, false), K::DropDown, "", {kTextX, y, kListWidth, kListHeight}});
    f.controls.push_back({listId(i, true), K::DropDown, "", {kBackX, y, kListWidth, kListHeight}});
  }
  f.controls.push_back(ui::defaultButton(ui::kIdOkButton, "OK", {46, 82, 50, 14}));
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {116, 82, 50, 14}));
  f.firstFocus = listId(0, false);
  return f;
}

void EditColoursDialog::onInit(ui::FormView& view) {
  const std::vector<std::string> names = colourNames();
  for (int i = 0; i < kItems; ++i) {
    const auto item = static_cast<config::SettingsRecord::ColourItem>(i);
    view.setItems(listId(i, false), names);
    view.setItems(listId(i, true), names);
    view.setSelection(listId(i, false), ui::clampColour(settings_.itemText(item)));
    view.setSelection(listId(i, true), ui::clampColour(settings_.itemBack(item)));
  }
}

void EditColoursDialog::onCommand(ui::FormView& view, int id) {
  if (id == ui::kIdCancelButton) return view.end(0);
  if (id != ui::kIdOkButton) return;
  std::array<int, 2 * kItems> chosen{};
  for (int i = 0; i < kItems; ++i) {
    const auto item = static_cast<config::SettingsRecord::ColourItem>(i);
    // A list left without a selection keeps its colour.
    const int text = view.selection(listId(i, false));
    const int back = view.selection(listId(i, true));
    chosen[static_cast<std::size_t>(2 * i)] = text >= 0 ? text : ui::clampColour(settings_.itemText(item));
    chosen[static_cast<std::size_t>(2 * i + 1)] = back >= 0 ? back : ui::clampColour(settings_.itemBack(item));
    if (chosen[static_cast<std::size_t>(2 * i)] == chosen[static_cast<std::size_t>(2 * i + 1)]) {
      ui::inform(host_, kSameColoursText, kSameColoursCaption);
      return;
    }
  }
  for (int i = 0; i < kItems; ++i)
    settings_.setItemColours(static_cast<config::SettingsRecord::ColourItem>(i), chosen[static_cast<std::size_t>(2 * i)],
                             chosen[static_cast<std::size_t>(2 * i + 1)]);
  view.end(1);
}

bool runEditColours(ui::Host& host, config::SettingsRecord& settings) {
  EditColoursDialog dialog(host, settings);
  return host.runForm(editColoursForm(), dialog) == 1;
}

}  // namespace editor
