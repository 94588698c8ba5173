#include "datasets/choose_dataset.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "datasets/create_dataset.hpp"
#include "datasets/dataset_list.hpp"
#include "ui/host.hpp"

namespace datasets {

namespace {

constexpr int kNewResult = -1;

// Ends with the chosen entry's index + 1, kNewResult for New, 0 for Cancel.
class ChooseDatasetController : public ui::FormController {
 public:
  ChooseDatasetController(const std::vector<std::string>& items, int& selection) : items_(items), selection_(selection) {}
  void onInit(ui::FormView& view) override {
    view.setItems(kDatasetListControl, items_);
    view.setSelection(kDatasetListControl, selection_);
    view.setFocus(kDatasetListControl);
  }
  void onCommand(ui::FormView& view, int id) override {
    selection_ = view.selection(kDatasetListControl);
    if (id == kOpenDatasetButton || id == ui::kIdOkButton) take(view);
    if (id == kNewDatasetButton) view.end(kNewResult);
    if (id == ui::kIdCancelButton) view.end(0);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kDatasetListControl) take(view);
  }

 private:
  void take(ui::FormView& view) {
    const int sel = view.selection(kDatasetListControl);
    if (sel >= 0 && sel < static_cast<int>(items_.size())) view.end(sel + 1);
  }
  const std::vector<std::string>& items_;
  int& selection_;
};

int commit(apps::AppContext& ctx, const DatasetChoice& choice, DatasetChoice& out) {
  apps::AppCtl& app = ctx.app.appCtl();
  app.setDatasetNumber(choice.number);
  app.setDatasetName(choice.name);
  app.setDatasetChosen(true);
  ctx.values.settings.setCurDatasetName(choice.name);
  config::saveSettings(ctx.host, ctx.values.installRoot, ctx.values.settings, ctx.values.style.sep);
  out = choice;
  return 1;
}

int createAndCommit(apps::AppContext& ctx, const std::string& folder, const std::string& unitCode,
                    DatasetChoice& out) {
  NewDataset created;
  if (!createDataset(ctx.host, folder, ctx.values.style.sep, created)) return 0;
  return commit(ctx, DatasetChoice{created.number, created.name, unitCode, true}, out);
}

}  // namespace

ui::Form chooseDatasetForm(const std::vector<std::string>& entries) {
  std::size_t widest = 24;
  for (const auto& e : entries) widest = std::max(widest, e.size());
  const int width = std::clamp(static_cast<int>(widest) * 4 + 24, 180, 280);
  const int rows = std::clamp(static_cast<int>(entries.size()), 6, 14);
  const int listHeight = rows * 8 + 4;
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kChooseDatasetResource;
  f.caption = "Select Dataset";
  f.size = {0, 0, width, listHeight + 36};
  const int buttonY = listHeight + 16;
  const int left = width / 2 - 86;
  ui::Control open{kOpenDatasetButton, K::Button, "&Open", {left, buttonY, 50, 14}};
  open.defaultButton = true;
  ui::Control create{kNewDatasetButton, K::Button, "&New", {left + 61, buttonY, 50, 14}};
  ui::Control cancel{ui::kIdCancelButton, K::Button, "Cancel", {left + 122, buttonY, 50, 14}};
  cancel.cancelButton = true;
  f.controls = {{kDatasetListControl, K::ListBox, "", {8, 8, width - 16, listHeight}}, open, create, cancel};
  f.firstFocus = kDatasetListControl;
  return f;
}

int chooseDataset(apps::AppContext& ctx, const std::string& dataFolder, const std::string& unitCode,
                  DatasetChoice& out) {
  const std::vector<DatasetEntry> found = findDatasets(dataFolder, ctx.values.style.sep);
  if (found.empty()) return createAndCommit(ctx, dataFolder, unitCode, out);

  std::vector<std::string> items;
  int selection = 0;
  const std::string current = base::trim(ctx.values.settings.curDatasetName());
  for (std::size_t i = 0; i < found.size(); ++i) {
    items.push_back(datasetListEntry(found[i]));
    if (found[i].name == current) selection = static_cast<int>(i);
  }
  for (;;) {
    ChooseDatasetController controller(items, selection);
    const int result = ctx.host.runForm(chooseDatasetForm(items), controller);
    if (result >= 1 && result <= static_cast<int>(found.size())) {
      const DatasetEntry& e = found[static_cast<std::size_t>(result - 1)];
      // A dataset keeps the unit code its files were named with.
      return commit(ctx, DatasetChoice{e.number, base::trim(e.name), e.unitCode.empty() ? unitCode : e.unitCode, false},
                    out);
    }
    if (result != kNewResult) return 0;
    // A new name given closes the list; a cancelled one leaves it up again.
    if (createAndCommit(ctx, dataFolder, unitCode, out)) return 1;
  }
}

}  // namespace datasets
