#include "datasets/child_choice.hpp"

#include <algorithm>

#include "apps/level_records.hpp"
#include "base/text.hpp"
#include "config/prompts.hpp"
#include "ui/host.hpp"

namespace datasets {

namespace {

class ChildListController : public ui::FormController {
 public:
  ChildListController(const std::vector<std::string>& names, int preselect) : names_(names), preselect_(preselect) {}
  void onInit(ui::FormView& view) override {
    view.setItems(kChildListControl, names_);
    view.setSelection(kChildListControl, preselect_);
    view.setFocus(kChildListControl);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) view.end(0);
    if (id == ui::kIdOkButton) take(view);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kChildListControl) take(view);
  }

 private:
  void take(ui::FormView& view) {
    const int sel = view.selection(kChildListControl);
    if (sel >= 0 && sel < static_cast<int>(names_.size())) view.end(sel + 1);
  }
  const std::vector<std::string>& names_;
  int preselect_;
};

struct Offer {
  const char* title;
  const char* refusal;
  std::vector<std::string> names;
  std::vector<bool> blocked;
};

int choose(ui::Host& host, const Offer& offer, std::string& remembered) {
  const int n = static_cast<int>(offer.names.size());
  if (n == 0) return 0;
  int chosen = 1;
  if (n > 1) {
    int preselect = 0;
    for (int i = 0; i < n; ++i)
      if (!remembered.empty() && offer.names[static_cast<std::size_t>(i)] == remembered) preselect = i;
    ChildListController controller(offer.names, preselect);
    chosen = host.runForm(childListForm(offer.title, offer.names), controller);
    if (chosen < 1 || chosen > n) return 0;
  }
  if (offer.blocked[static_cast<std::size_t>(chosen - 1)]) {
    config::warn(host, offer.refusal, "", kBlockedWarnTime, false, false);
    return 0;
  }
  remembered = offer.names[static_cast<std::size_t>(chosen - 1)];
  return chosen;
}

// Counts come from a file: never more entries than the record holds.
int entries(int count) { return std::clamp(count, 0, static_cast<int>(apps::layout::level_bct::kMaxChildren)); }

}  // namespace

ui::Form childListForm(const std::string& title, const std::vector<std::string>& names) {
  std::size_t widest = std::string(kChildListHint).size();
  for (const auto& n : names) widest = std::max(widest, n.size());
  const int width = std::clamp(static_cast<int>(widest) * 4 + 24, 140, 240);
  const int rows = std::clamp(static_cast<int>(names.size()), 4, 14);
  const int listHeight = rows * 8 + 4;
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kChildListResource;
  f.caption = title;
  f.size = {0, 0, width, listHeight + 52};
  ui::Control hint{3011, K::Static, kChildListHint, {8, 6, width - 16, 10}};
  hint.centred = true;
  ui::Control list{kChildListControl, K::ListBox, "", {8, 20, width - 16, listHeight}};
  ui::Control ok{ui::kIdOkButton, K::Button, "OK", {width / 2 - 58, listHeight + 30, 50, 14}};
  ok.defaultButton = true;
  ui::Control cancel{ui::kIdCancelButton, K::Button, "Cancel", {width / 2 + 8, listHeight + 30, 50, 14}};
  cancel.cancelButton = true;
  f.controls = {hint, list, ok, cancel};
  f.firstFocus = kChildListControl;
  return f;
}

int chooseChild(ui::Host& host, const apps::LevelBct& parent, std::string& remembered) {
  Offer offer{kSelectChildTitle, "Child Blocked", {}, {}};
  for (int i = 1; i <= entries(parent.childCount()); ++i) {
    offer.names.push_back(base::trimRight(parent.childName(i)));
    offer.blocked.push_back(parent.childBlocked(i));
  }
  return choose(host, offer, remembered);
}

int chooseSibling(ui::Host& host, const apps::LevelBct& current, std::string& remembered) {
  Offer offer{kSelectSiblingTitle, "Sibling Blocked", {}, {}};
  for (int i = 1; i <= entries(current.siblingCount()); ++i) {
    offer.names.push_back(base::trimRight(current.siblingName(i)));
    offer.blocked.push_back(current.siblingBlocked(i));
  }
  return choose(host, offer, remembered);
}

}  // namespace datasets
