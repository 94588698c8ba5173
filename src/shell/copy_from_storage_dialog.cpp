#include "shell/copy_from_storage_dialog.hpp"

#include <vector>

#include "base/paths.hpp"
#include "exchange/dataset_transfer.hpp"
#include "platform/removable.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_folders.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

class CopyFromStorageController : public ui::FormController {
 public:
  CopyFromStorageController(ui::Host& host, StartupValues& values, std::vector<std::string> drives)
      : host_(host), values_(values), drives_(std::move(drives)) {}

  int done() const { return done_; }

  void onInit(ui::FormView& view) override {
    view.setItems(kCopyDriveList, drives_);
    view.setSelection(kCopyDriveList, 0);
    fillApps(view);
  }
  void onSelectionChange(ui::FormView& view, int id) override {
    if (id == kCopyDriveList) fillApps(view);
    if (id == kCopyAppList) fillDatasets(view);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton || id == ui::kIdOkButton) return view.end(0);
    if (id == kCopyButton) copy(view);
  }

 private:
  // The card's "Tallyfin Mobile\Data" folder of the chosen drive, or "".
  std::string cardDataFolder(ui::FormView& view) const {
    const int d = view.selection(kCopyDriveList);
    if (!validIndex(d, drives_)) return {};
    const std::string root = platform::removableEntryPath(drives_[static_cast<std::size_t>(d)], platform::kSep) +
                             exchange::kRemovableRootFolder;
    return base::joinPath(root, exchange::kRemovableDataFolder, platform::kSep);
  }

  void fillApps(ui::FormView& view) {
    const std::string folder = cardDataFolder(view);
    apps_ = folder.empty() ? std::vector<std::string>{} : exchange::subfoldersOf(folder);
    view.setItems(kCopyAppList, apps_);
    view.setSelection(kCopyAppList, apps_.empty() ? -1 : 0);
    fillDatasets(view);
  }

  void fillDatasets(ui::FormView& view) {
    datasets_.clear();
    const int a = view.selection(kCopyAppList);
    if (validIndex(a, apps_))
      datasets_ = exchange::datasetsIn(
          base::joinPath(cardDataFolder(view), apps_[static_cast<std::size_t>(a)], platform::kSep), false);
    std::vector<std::string> entries;
    for (const auto& d : datasets_) entries.push_back(exchange::datasetEntryText(d));
    view.setItems(kCopyDatasetList, entries);
    view.setSelection(kCopyDatasetList, entries.empty() ? -1 : 0);
  }

  void copy(ui::FormView& view) {
    const int a = view.selection(kCopyAppList), s = view.selection(kCopyDatasetList);
    const std::string cardData = cardDataFolder(view);
    // The application's name comes from the card and names a folder here: it
    // must stay one folder name.
    if (cardData.empty() || !validIndex(a, apps_) || !validIndex(s, datasets_) ||
        !exchange::safeTransferName(apps_[static_cast<std::size_t>(a)])) {
      ui::inform(host_, "Copy Dataset Failed!!\nCan't Access Dataset!!", "Copy Error!");
      return;
    }
    const std::string& app = apps_[static_cast<std::size_t>(a)];
    const std::string source = base::joinPath(cardData, app, platform::kSep);
    if (exchange::copyDatasetIntoApplication(host_, applicationDataFolder(values_, app), source,
                                             datasets_[static_cast<std::size_t>(s)], false) > 0) {
      ++done_;
      ui::inform(host_, "Copy Dataset Succeeded!!", "Copy Dataset");
    } else {
      ui::inform(host_, "Copy Dataset Failed!!", "Copy Error!");
    }
  }

  ui::Host& host_;
  StartupValues& values_;
  std::vector<std::string> drives_, apps_;
  std::vector<exchange::DatasetRef> datasets_;
  int done_ = 0;
};

}  // namespace

ui::Form copyFromStorageForm(bool portrait) {
  using K = ui::ControlKind;
  ui::Form f;
  f.caption = "Copy Dataset From Removable Storage";
  ui::Rect drives, apps, sets, driveLabel, appLabel, setLabel, copy, close;
  if (portrait) {
    // One column: drives, applications and datasets stacked.
    f.resource = kCopyFromStoragePortraitDialog;
    f.size = {0, 0, 160, 236};
    driveLabel = {8, 4, 144, 10};
    drives = {8, 16, 144, 40};
    appLabel = {8, 60, 144, 10};
    apps = {8, 72, 144, 56};
    setLabel = {8, 132, 144, 10};
    sets = {8, 144, 144, 64};
    copy = {8, 214, 68, 16};
    close = {84, 214, 68, 16};
  } else {
    f.resource = kCopyFromStorageDialog;
    f.size = {0, 0, 320, 140};
    driveLabel = {8, 4, 96, 10};
    drives = {8, 16, 96, 96};
    appLabel = {112, 4, 96, 10};
    apps = {112, 16, 96, 96};
    setLabel = {216, 4, 96, 10};
    sets = {216, 16, 96, 96};
    copy = {188, 118, 56, 16};
    close = {256, 118, 56, 16};
  }
  f.controls = {{1725, K::Static, "Removable Storage", driveLabel},
                {kCopyDriveList, K::ListBox, "", drives},
                {1726, K::Static, "Applications", appLabel},
                {kCopyAppList, K::ListBox, "", apps},
                {1727, K::Static, "Bundled Datasets", setLabel},
                {kCopyDatasetList, K::ListBox, "", sets},
                ui::defaultButton(kCopyButton, "&Copy", copy),
                ui::cancelButton(ui::kIdCancelButton, "Close", close)};
  f.firstFocus = kCopyDriveList;
  return f;
}

int copyFromStorageDialog(ui::Host& host, StartupValues& values) {
  std::vector<std::string> drives = removableDrivesOrSay(host);
  if (drives.empty()) return 0;
  reloadSettings(host, values);
  CopyFromStorageController controller(host, values, std::move(drives));
  (void)host.runForm(copyFromStorageForm(values.geometry.portrait), controller);
  return controller.done();
}

}  // namespace shell
