#include "gps/nav_dialogs.hpp"

#include <algorithm>

#include "ui/form.hpp"
#include "ui/host.hpp"

namespace gps {

int clampIndex(int index, std::size_t count) {
  if (count == 0 || index < 0) return 0;
  return std::min(index, static_cast<int>(count) - 1);
}

namespace {

std::vector<std::string> namesOf(const std::vector<WaypointEntry>& entries, std::size_t from = 0) {
  std::vector<std::string> names;
  for (std::size_t i = from; i < entries.size(); ++i) names.push_back(entries[i].name);
  return names;
}

void addButtons(ui::Form& f, int width, int y) {
  f.controls.push_back(ui::defaultButton(ui::kIdOkButton, "OK", {width / 2 - 56, y, 50, 14}));
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {width / 2 + 6, y, 50, 14}));
}

ui::Form fromToForm() {
  constexpr int kWidth = 236, kListWidth = 106, kListHeight = 88;
  ui::Form f;
  f.resource = kFromToDialog;
  f.caption = "Navigation Waypoints";
  f.size = {0, 0, kWidth, 136};
  f.controls.push_back({kFromList + 10, ui::ControlKind::Static, "From Waypoint", {8, 8, kListWidth, 10}});
  f.controls.push_back({kFromList, ui::ControlKind::ListBox, "", {8, 20, kListWidth, kListHeight}});
  f.controls.push_back(
      {kToList + 10, ui::ControlKind::Static, "To Waypoint", {kWidth - 8 - kListWidth, 8, kListWidth, 10}});
  f.controls.push_back({kToList, ui::ControlKind::ListBox, "", {kWidth - 8 - kListWidth, 20, kListWidth, kListHeight}});
  addButtons(f, kWidth, 116);
  f.firstFocus = kToList;
  return f;
}

class FromToController : public ui::FormController {
 public:
  FromToController(const std::vector<WaypointEntry>& list, int& start, int& destination)
      : list_(list), start_(start), destination_(destination) {}
  void onInit(ui::FormView& view) override {
    const std::vector<std::string> names = namesOf(list_);
    view.setItems(kFromList, names);
    view.setItems(kToList, names);
    view.setSelection(kFromList, clampIndex(start_, list_.size()));
    view.setSelection(kToList, clampIndex(destination_, list_.size()));
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdOkButton) {
      start_ = clampIndex(view.selection(kFromList), list_.size());
      destination_ = clampIndex(view.selection(kToList), list_.size());
      view.end(1);
    } else if (id == ui::kIdCancelButton) {
      view.end(0);
    }
  }

 private:
  const std::vector<WaypointEntry>& list_;
  int& start_;
  int& destination_;
};

ui::Form backgroundForm() {
  constexpr int kWidth = 320, kListWidth = 110, kListHeight = 96;
  constexpr int kButtonsX = 8 + kListWidth + 6, kButtonWidth = kWidth - 2 * (8 + kListWidth + 6);
  ui::Form f;
  f.resource = kBackgroundDialog;
  f.caption = "Select Background Reference";
  f.size = {0, 0, kWidth, 160};
  f.controls.push_back(
      {kAvailableList + 10, ui::ControlKind::Static, "Available Background Points", {8, 8, kListWidth, 10}});
  f.controls.push_back({kAvailableList, ui::ControlKind::ListBox, "", {8, 20, kListWidth, kListHeight}});
  f.controls.push_back({kSelectedList + 10, ui::ControlKind::Static, "Selected Background Points",
                        {kWidth - 8 - kListWidth, 8, kListWidth, 10}});
  f.controls.push_back(
      {kSelectedList, ui::ControlKind::ListBox, "", {kWidth - 8 - kListWidth, 20, kListWidth, kListHeight}});
  const int ids[] = {kAddButton, kAddAllButton, kRemoveButton, kRemoveAllButton};
  const char* texts[] = {"&Add ->", "Add A&ll ->", "<- &Remove", "<- Re&move All"};
  for (int i = 0; i < 4; ++i)
    f.controls.push_back({ids[i], ui::ControlKind::Button, texts[i], {kButtonsX, 24 + i * 24, kButtonWidth, 14}});
  f.controls.push_back({kIncludeTrackCheck, ui::ControlKind::CheckBox, "Include TrackLog", {8, 122, 120, 10}});
  addButtons(f, kWidth, 140);
  f.firstFocus = kAvailableList;
  return f;
}

class BackgroundController : public ui::FormController {
 public:
  BackgroundController(const std::vector<WaypointEntry>& list, std::vector<WaypointEntry>& background,
                       bool& includeTrack)
      : background_(background), includeTrack_(includeTrack) {
    for (std::size_t i = 1; i < list.size(); ++i) {
      const bool chosen = std::find(background.begin(), background.end(), list[i]) != background.end();
      (chosen ? selected_ : available_).push_back(list[i]);
    }
  }
  void onInit(ui::FormView& view) override {
    view.setChecked(kIncludeTrackCheck, includeTrack_);
    show(view);
  }
  void onCommand(ui::FormView& view, int id) override {
    switch (id) {
      case kAddButton: move(view, available_, selected_, kAvailableList); break;
      case kRemoveButton: move(view, selected_, available_, kSelectedList); break;
      case kAddAllButton: moveAll(view, available_, selected_); break;
      case kRemoveAllButton: moveAll(view, selected_, available_); break;
      case ui::kIdOkButton:
        background_ = selected_;
        includeTrack_ = view.checked(kIncludeTrackCheck);
        view.end(1);
        break;
      case ui::kIdCancelButton: view.end(0); break;
      default: break;
    }
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kAvailableList) move(view, available_, selected_, kAvailableList);
    if (id == kSelectedList) move(view, selected_, available_, kSelectedList);
  }

 private:
  void show(ui::FormView& view) {
    view.setItems(kAvailableList, namesOf(available_));
    view.setItems(kSelectedList, namesOf(selected_));
  }
  void move(ui::FormView& view, std::vector<WaypointEntry>& from, std::vector<WaypointEntry>& to, int list) {
    const int i = view.selection(list);
    if (i < 0 || static_cast<std::size_t>(i) >= from.size()) return;
    to.push_back(from[static_cast<std::size_t>(i)]);
    from.erase(from.begin() + i);
    show(view);
    if (!from.empty()) view.setSelection(list, clampIndex(i, from.size()));
  }
  void moveAll(ui::FormView& view, std::vector<WaypointEntry>& from, std::vector<WaypointEntry>& to) {
    to.insert(to.end(), from.begin(), from.end());
    from.clear();
    show(view);
  }

  std::vector<WaypointEntry>& background_;
  bool& includeTrack_;
  std::vector<WaypointEntry> available_, selected_;
};

}  // namespace

int fromToDialog(ui::Host& host, const std::vector<WaypointEntry>& list, int& start, int& destination) {
  FromToController controller(list, start, destination);
  return host.runForm(fromToForm(), controller) == 1 ? 1 : 0;
}

int backgroundDialog(ui::Host& host, const std::vector<WaypointEntry>& list, std::vector<WaypointEntry>& background,
                     bool& includeTrack) {
  BackgroundController controller(list, background, includeTrack);
  if (host.runForm(backgroundForm(), controller) == 1) return 1;
  return 0;
}

}  // namespace gps
