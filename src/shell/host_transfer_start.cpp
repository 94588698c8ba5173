#include "shell/host_transfer_start.hpp"

#include <algorithm>

#include "base/paths.hpp"
#include "config/auto_transfer.hpp"
#include "config/settings.hpp"
#include "platform/fileops.hpp"
#include "shell/dataset_exchange_commands.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_folders.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

// The list form of Extract Dataset with a third button between OK and Cancel.
ui::Form hostDatasetListForm() {
  ui::Form f = datasetListForm(kBundledDatasetsDialog, "Bundled Datasets");
  if (ui::Control* ok = f.find(ui::kIdOkButton)) ok->rect = {8, 98, 50, 14};
  if (ui::Control* cancel = f.find(ui::kIdCancelButton)) cancel->rect = {122, 98, 50, 14};
  f.controls.push_back({kNoDatasetButton, ui::ControlKind::Button, "&No Dataset", {65, 98, 50, 14}});
  return f;
}

constexpr int kGoOnWithout = 2;

class HostDatasetController : public ui::FormController {
 public:
  HostDatasetController(ui::Host& host, const std::vector<std::string>& names, int& chosen)
      : host_(host), names_(names), chosen_(chosen) {}
  void onInit(ui::FormView& view) override { view.setItems(kExchangeDatasetList, names_); }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdOkButton) take(view);
    if (id == kNoDatasetButton) view.end(kGoOnWithout);
    if (id == ui::kIdCancelButton) view.end(0);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kExchangeDatasetList) take(view);
  }

 private:
  void take(ui::FormView& view) {
    if (names_.empty()) return view.end(kGoOnWithout);
    const int i = view.selection(kExchangeDatasetList);
    if (!validIndex(i, names_)) {
      ui::inform(host_, "No Bundled Dataset Selected!", "Error!");
      return view.end(0);
    }
    chosen_ = i;
    view.end(1);
  }
  ui::Host& host_;
  const std::vector<std::string>& names_;
  int& chosen_;
};

}  // namespace

bool transferMarkersPresent(const std::string& receiveFolder, char sep) {
  return platform::fileExists(base::joinPath(receiveFolder, kHostControlMarker, sep)) &&
         platform::fileExists(base::joinPath(receiveFolder, kCompletionMarkerPattern, sep));
}

HostTransferOutcome startHostTransfer(ui::Host& host, StartupValues& values, const SessionRunner& runner) {
  reloadSettings(host, values);
  transfer::SessionSetup setup = hostSessionSetup(values, {});
  prepareTransferFolders(setup.folders);
  const std::vector<std::string> names =
      setup.folders.data.empty() ? std::vector<std::string>{} : bundledDatasetNames(setup.folders.data);
  int chosen = -1;
  HostDatasetController controller(host, names, chosen);
  const int answer = host.runForm(hostDatasetListForm(), controller);
  if (answer == 0) return HostTransferOutcome::kCancelled;

  std::vector<std::string> datasets;
  if (answer == 1 && validIndex(chosen, names)) {
    datasets.push_back(names[static_cast<std::size_t>(chosen)]);
    config::TransferPortRecord port;
    (void)config::loadTransferPort(host, values.installRoot, port, values.style.sep);
    (void)config::saveTransferPort(host, values.installRoot, port, values.style.sep);
  }
  std::vector<std::string> tagged;
  (void)config::readAutoTransfer(host, tagged);
  for (const std::string& t : tagged)
    if (std::find(datasets.begin(), datasets.end(), t) == datasets.end()) datasets.push_back(t);
  setup.taggedDatasets = datasets;

  const transfer::SessionResult result = runTransferStatusWindow(host, setup, runner);
  return result.completed && transferMarkersPresent(setup.folders.receive, setup.folders.sep)
             ? HostTransferOutcome::kCompleted
             : HostTransferOutcome::kIncomplete;
}

}  // namespace shell
