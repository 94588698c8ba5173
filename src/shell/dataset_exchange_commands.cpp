#include "shell/dataset_exchange_commands.hpp"

#include <algorithm>

#include "apps/hierarchy.hpp"
#include "config/settings.hpp"
#include "config/unit_code.hpp"
#include "datasets/data_names.hpp"
#include "datasets/dataset_list.hpp"
#include "exchange/bundle.hpp"
#include "exchange/dataset_files.hpp"
#include "exchange/extract.hpp"
#include "platform/fileops.hpp"
#include "shell/startup.hpp"
#include "tablestore/table_store.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"
#include "ui/progress.hpp"

namespace shell {

namespace {

using Path = config::SettingsRecord::Path;

// Enter, OK or a double click take the selected entry.
class DatasetListController : public ui::FormController {
 public:
  DatasetListController(const std::vector<std::string>& entries, int& chosen) : entries_(entries), chosen_(chosen) {}
  void onInit(ui::FormView& view) override {
    view.setItems(kExchangeDatasetList, entries_);
    view.setSelection(kExchangeDatasetList, 0);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdOkButton) take(view);
    if (id == ui::kIdCancelButton) view.end(0);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kExchangeDatasetList) take(view);
  }

 private:
  void take(ui::FormView& view) {
    const int i = view.selection(kExchangeDatasetList);
    if (i < 0 || static_cast<std::size_t>(i) >= entries_.size()) return;
    chosen_ = i;
    view.end(1);
  }
  const std::vector<std::string>& entries_;
  int& chosen_;
};

// The index chosen in the list, or -1.
int chooseFrom(ui::Host& host, int resource, const char* caption, const std::vector<std::string>& entries) {
  int chosen = -1;
  DatasetListController controller(entries, chosen);
  if (host.runForm(datasetListForm(resource, caption), controller) != 1) return -1;
  return chosen;
}

// The current application's folder and data folder, with the settings read
// anew; false (the reason shown) when there is no usable data folder.
bool currentFolders(ui::Host& host, StartupValues& values, std::string& appFolder, std::string& dataFolder) {
  reloadSettings(host, values);
  if (!values.settings.appOpen()) {
    ui::inform(host, "Must Select a Valid Application!", "Error");
    return false;
  }
  appFolder = values.settings.path(Path::AppFolder);
  dataFolder = values.settings.path(Path::AppDataFolder);
  if (dataFolder.empty() || !platform::folderExists(dataFolder)) {
    ui::inform(host, "No Data Folder Present!", "Error");
    return false;
  }
  return true;
}

}  // namespace

ui::Form datasetListForm(int resource, const char* caption) {
  ui::Form f;
  f.resource = resource;
  f.caption = caption;
  f.size = {0, 0, 180, 120};
  f.controls.push_back({kExchangeDatasetList, ui::ControlKind::ListBox, "", {8, 8, 164, 80}});
  f.controls.push_back(ui::defaultButton(ui::kIdOkButton, "OK", {34, 98, 50, 14}));
  f.controls.push_back(ui::cancelButton(ui::kIdCancelButton, "Cancel", {96, 98, 50, 14}));
  f.firstFocus = kExchangeDatasetList;
  return f;
}

std::vector<std::string> bundledDatasetNames(const std::string& dataFolder) {
  std::vector<std::string> names;
  for (const std::string& file : exchange::listDataFiles(dataFolder, "[*]1A____*.dbf").tables) {
    datasets::BundleName b;
    if (!datasets::parseBundleName(file, b) || b.level != 1) continue;
    if (std::find(names.begin(), names.end(), b.datasetName) == names.end()) names.push_back(b.datasetName);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int bundleDatasetCommand(ui::Host& host, StartupValues& values) {
  std::string appFolder, dataFolder;
  if (!currentFolders(host, values, appFolder, dataFolder)) return 0;
  const std::vector<datasets::DatasetEntry> raw = datasets::findDatasets(dataFolder, values.style.sep);
  if (raw.empty()) {
    ui::inform(host, "No Extracted (Raw) Datasets Present!", "Bundle Dataset");
    return 0;
  }
  std::vector<std::string> entries;
  for (const auto& e : raw) entries.push_back(datasets::datasetListEntry(e));
  const int chosen = chooseFrom(host, kRawDatasetsDialog, "Extracted (Raw) Datasets", entries);
  if (chosen < 0) return 0;

  exchange::BundleJob job;
  job.dataFolder = dataFolder;
  job.datasetNumber = raw[static_cast<std::size_t>(chosen)].number;
  if (apps::loadHierarchy(host, values.tables, appFolder, job.hierarchy) == 0) return 0;
  exchange::BundleOutcome outcome;
  const int result = ui::runWithProgress(host, exchange::bundleProgressTexts(entries[static_cast<std::size_t>(chosen)]),
                                         [&](ui::Progress& progress) {
                                           // The worker's tables are its own.
                                           tablestore::TableStore store;
                                           exchange::BundleJob mine = job;
                                           mine.progress = &progress;
                                           outcome = exchange::bundleDataset(store, mine);
                                           return outcome.result;
                                         });
  for (const auto& m : outcome.messages) ui::inform(host, m.text, m.caption);
  if (!outcome.unerased.empty()) {
    std::string files;
    for (const auto& f : outcome.unerased) files += "\n" + f;
    ui::inform(host, "Files" + files + "\nCannot be Erased", "Bundle Dataset");
  }
  return result == 1 ? 1 : 0;
}

int extractDatasetCommand(ui::Host& host, StartupValues& values) {
  std::string appFolder, dataFolder;
  if (!currentFolders(host, values, appFolder, dataFolder)) return 0;
  const std::vector<std::string> names = bundledDatasetNames(dataFolder);
  if (names.empty()) {
    ui::inform(host, "No Bundled Datasets Present!", "Extract Dataset");
    return 0;
  }
  const int chosen = chooseFrom(host, kBundledDatasetsDialog, "Bundled Datasets", names);
  if (chosen < 0) return 0;

  exchange::ExtractRequest request;
  request.folder = dataFolder;
  request.datasetName = names[static_cast<std::size_t>(chosen)];
  request.thisUnitCode = config::thisUnitCode(values.settings);
  exchange::ExtractResult extracted;
  exchange::ExtractOutcome outcome = exchange::ExtractOutcome::kFailed;
  (void)ui::runWithProgress(host, exchange::extractProgressTexts(request.datasetName), [&](ui::Progress& progress) {
    tablestore::TableStore store;
    outcome = exchange::extractDataset(store, request, extracted, &progress);
    return outcome == exchange::ExtractOutcome::kDone ? 1 : 0;
  });
  for (const auto& m : extracted.messages) ui::inform(host, m, "Extract Dataset");
  if (outcome != exchange::ExtractOutcome::kDone) {
    ui::inform(host, extracted.failure.empty() ? std::string("Dataset Not Extracted") : extracted.failure,
               "Extract Dataset");
    return 0;
  }
  return 1;
}

}  // namespace shell
