#include "exchange/erase_datasets_dialog.hpp"

#include <algorithm>

#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/auto_transfer.hpp"
#include "datasets/dataset_list.hpp"
#include "datasets/erase_files.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"

namespace exchange {

namespace {

constexpr int kPauseMs = 50;
constexpr unsigned kQuestion = ui::kMbIconStop | ui::kMbDefButton2 | ui::kMbTopmost;

std::string inFolder(const std::string& folder, const std::string& name) {
  return base::joinPath(folder, name, platform::kSep);
}

class EraseDatasetsController : public ui::FormController {
 public:
  EraseDatasetsController(ui::Host& host, const std::string& folder) : host_(host), folder_(folder) {}

  void onInit(ui::FormView& view) override {
    available_ = erasableDatasets(folder_);
    show(view);
  }

  void onCommand(ui::FormView& view, int id) override {
    switch (id) {
      case kMoveToErase: moveOne(view, kAvailableDatasets, available_, toErase_); break;
      case kMoveBack: moveOne(view, kDatasetsToErase, toErase_, available_); break;
      case kMoveAllToErase: moveAll(view, available_, toErase_); break;
      case kMoveAllBack: moveAll(view, toErase_, available_); break;
      case kEraseSelected: eraseSelected(view); break;
      case kEraseAllNonbundled: eraseAllNonbundled(view); break;
      default: ui::FormController::onCommand(view, id);
    }
  }

  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kAvailableDatasets) moveOne(view, id, available_, toErase_);
    if (id == kDatasetsToErase) moveOne(view, id, toErase_, available_);
  }

 private:
  void show(ui::FormView& view) {
    // The available list stays in dataset order; the erase list in the order chosen.
    std::sort(available_.begin(), available_.end());
    view.setItems(kAvailableDatasets, available_);
    view.setItems(kDatasetsToErase, toErase_);
    if (!available_.empty()) view.setSelection(kAvailableDatasets, 0);
    if (!toErase_.empty()) view.setSelection(kDatasetsToErase, static_cast<int>(toErase_.size()) - 1);
  }
  void moveOne(ui::FormView& view, int list, std::vector<std::string>& from, std::vector<std::string>& to) {
    const int i = view.selection(list);
    if (i < 0 || static_cast<std::size_t>(i) >= from.size()) return;
    to.push_back(from[static_cast<std::size_t>(i)]);
    from.erase(from.begin() + i);
    show(view);
  }
  void moveAll(ui::FormView& view, std::vector<std::string>& from, std::vector<std::string>& to) {
    to.insert(to.end(), from.begin(), from.end());
    from.clear();
    show(view);
  }

  void eraseSelected(ui::FormView& view) {
    const std::string any = inFolder(folder_, "*.*");
    if (!platform::fileExists(any)) {
      ui::inform(host_, any, any);
      return;
    }
    if (host_.messageBox("Erase Selected Datasets\nAre You Sure ?", "Erase Selected Datasets",
                         ui::kMbYesNo | kQuestion) != ui::kIdYes) {
      ui::inform(host_, "Datasets Not Deleted !", "");
      return;
    }
    platform::Clock& clock = platform::clock();
    bool goOn = true;
    while (goOn && !toErase_.empty()) {
      clock.sleep(kPauseMs);
      const std::string entry = toErase_.back();
      const std::string pattern = inFolder(folder_, entry.substr(0, 2) + "*.*");
      if (platform::fileExists(pattern)) {
        const char* name = entry.c_str();
        goOn = datasets::eraseWithSecondTry(host_, pattern, datasets::kErasingDataFiles,
                                            base::format("All Files in\nDataset:%s\nCan not be Erased", name),
                                            base::format("Second Try for\nDataset:%s\nFailed !\n Skipping Dataset", name)) !=
               datasets::kEraseAborted;
      }
      toErase_.pop_back();
      show(view);
      clock.sleep(kPauseMs);
    }
    config::clearAutoTransfer(host_);
    // A dataset that could not be erased is offered again.
    reread(view);
  }

  void eraseAllNonbundled(ui::FormView& view) {
    static constexpr const char* kCaption = "Erase All Nonbundled Data";
    const std::string pattern = inFolder(folder_, kNonBundledPattern);
    if (!platform::fileExists(pattern)) {
      ui::inform(host_, "No Datasets to Delete !", "");
      return;
    }
    if (host_.messageBox("Erase All Nonbundled Data for\nCurrent Application\nAre You Sure ?", kCaption,
                         ui::kMbYesNo | kQuestion) != ui::kIdYes) {
      ui::inform(host_, "Datasets Not Deleted !\nUser Aborted", "");
      return;
    }
    if (host_.messageBox("This Will Remove All Nonbundled Data !!!\nAre You Sure ?", kCaption,
                         ui::kMbYesNo | kQuestion) != ui::kIdYes) {
      ui::inform(host_, "Datasets Not Deleted !", "");
      return;
    }
    const char* name = pattern.c_str();
    const int erased = datasets::eraseWithSecondTry(
        host_, pattern, datasets::kErasingDataFiles,
        base::format("All Nonbundled Files in\nDataset:%s\nCan not be Erased", name),
        base::format("Second Try for\nDataset:%s\nFailed !\n Skipping Dataset", name));
    if (erased != datasets::kEraseAborted) config::clearAutoTransfer(host_);
    // Even after Abort the lists show only what is still there.
    reread(view);
  }

  void reread(ui::FormView& view) {
    const std::vector<std::string> found = erasableDatasets(folder_);
    auto there = [&](const std::string& e) { return std::find(found.begin(), found.end(), e) != found.end(); };
    std::erase_if(toErase_, [&](const std::string& e) { return !there(e); });
    available_.clear();
    for (const std::string& e : found)
      if (std::find(toErase_.begin(), toErase_.end(), e) == toErase_.end()) available_.push_back(e);
    show(view);
  }

  ui::Host& host_;
  const std::string folder_;
  std::vector<std::string> available_, toErase_;
};

}  // namespace

std::vector<std::string> erasableDatasets(const std::string& dataFolder) {
  std::vector<std::string> entries;
  for (const datasets::DatasetEntry& e : datasets::findDatasets(dataFolder, platform::kSep))
    entries.push_back(base::format("%02d %s", e.number, e.name.c_str()));
  return entries;
}

ui::Form eraseDatasetsForm(bool portrait) {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = portrait ? kEraseDatasetsPortrait : kEraseDatasetsLandscape;
  f.caption = "Erase Datasets";
  auto button = [](int id, const char* text, ui::Rect r) { return ui::Control{id, K::Button, text, r}; };
  if (portrait) {
    f.size = {0, 0, 160, 252};
    f.controls = {
        {1131, K::Static, "Datasets", {8, 6, 144, 10}},
        {kAvailableDatasets, K::ListBox, "", {8, 18, 144, 72}},
        button(kMoveToErase, "v", {8, 94, 32, 14}),
        button(kMoveAllToErase, "vv", {45, 94, 32, 14}),
        button(kMoveBack, "^", {83, 94, 32, 14}),
        button(kMoveAllBack, "^^", {120, 94, 32, 14}),
        {1132, K::Static, "Datasets to Erase", {8, 112, 144, 10}},
        {kDatasetsToErase, K::ListBox, "", {8, 124, 144, 72}},
        button(kEraseSelected, "Erase &Selected", {8, 202, 70, 14}),
        button(kEraseAllNonbundled, "Erase &All Nonbundled", {82, 202, 70, 14}),
        ui::cancelButton(ui::kIdCancelButton, "Close", {55, 226, 50, 14}),
    };
  } else {
    f.size = {0, 0, 300, 150};
    f.controls = {
        {1131, K::Static, "Datasets", {8, 6, 118, 10}},
        {kAvailableDatasets, K::ListBox, "", {8, 18, 118, 96}},
        button(kMoveToErase, ">", {134, 24, 32, 14}),
        button(kMoveAllToErase, ">>", {134, 44, 32, 14}),
        button(kMoveBack, "<", {134, 70, 32, 14}),
        button(kMoveAllBack, "<<", {134, 90, 32, 14}),
        {1132, K::Static, "Datasets to Erase", {174, 6, 118, 10}},
        {kDatasetsToErase, K::ListBox, "", {174, 18, 118, 96}},
        button(kEraseSelected, "Erase &Selected", {8, 126, 90, 14}),
        button(kEraseAllNonbundled, "Erase &All Nonbundled", {105, 126, 90, 14}),
        ui::cancelButton(ui::kIdCancelButton, "Close", {242, 126, 50, 14}),
    };
  }
  f.firstFocus = kAvailableDatasets;
  return f;
}

void runEraseDatasetsDialog(ui::Host& host, const std::string& dataFolder, bool portrait) {
  EraseDatasetsController controller(host, dataFolder);
  (void)host.runForm(eraseDatasetsForm(portrait), controller);
}

}  // namespace exchange
