#include "ui/pick_list.hpp"

#include <algorithm>

#include "ui/host.hpp"

namespace ui {

namespace {

class PickListController : public ui::FormController {
 public:
  PickListController(const PickListTexts& texts, const std::vector<std::string>& names)
      : texts_(texts), names_(names) {}

  void onInit(ui::FormView& view) override {
    std::vector<std::string> items;
    items.push_back(texts_.title);
    items.insert(items.end(), names_.begin(), names_.end());
    items.push_back(texts_.closing);
    view.setItems(kPickListControl, items);
    view.setSelection(kPickListControl, names_.empty() ? 0 : 1);
    view.setFocus(kPickListControl);
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) {
      view.end(-1);
    } else if (id == ui::kIdOkButton) {
      take(view);
    }
  }

  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kPickListControl) take(view);
  }

 private:
  void take(ui::FormView& view) {
    int sel = view.selection(kPickListControl);
    // Only the candidates between the title and the closing entry count.
    if (sel >= 1 && sel <= static_cast<int>(names_.size())) view.end(sel - 1);
  }

  const PickListTexts& texts_;
  const std::vector<std::string>& names_;
};

}  // namespace

ui::Form pickListForm(const PickListTexts& texts, const std::vector<std::string>& names) {
  std::size_t widest = std::max(texts.title.size(), texts.closing.size());
  for (const auto& n : names) widest = std::max(widest, n.size());
  int width = std::clamp(static_cast<int>(widest) * 4 + 24, 160, 300);
  int rows = std::clamp(static_cast<int>(names.size()) + 2, 6, 14);
  int listHeight = rows * 8 + 4;
  ui::Form f;
  f.resource = kPickListResource;
  f.caption = texts.caption;
  f.size = {0, 0, width, listHeight + 36};
  using K = ui::ControlKind;
  ui::Control list{kPickListControl, K::ListBox, "", {8, 8, width - 16, listHeight}};
  f.controls = {list, ui::defaultButton(ui::kIdOkButton, "OK", {width / 2 - 58, listHeight + 16, 50, 14}),
                ui::cancelButton(ui::kIdCancelButton, "Cancel", {width / 2 + 8, listHeight + 16, 50, 14})};
  f.firstFocus = kPickListControl;
  return f;
}

int runPickList(ui::Host& host, const PickListTexts& texts, const std::vector<std::string>& names) {
  PickListController controller(texts, names);
  return host.runForm(pickListForm(texts, names), controller);
}

}  // namespace ui
