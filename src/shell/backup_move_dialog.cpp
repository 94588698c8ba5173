#include "shell/backup_move_dialog.hpp"

#include <vector>

#include "config/settings.hpp"
#include "exchange/dataset_transfer.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_folders.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

using Path = config::SettingsRecord::Path;

ui::Form backupMoveForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kBackupMoveDialog;
  f.caption = "Backup / Move Dataset";
  f.size = {0, 0, 200, 200};
  f.controls = {{1716, K::Static, "Removable Storage", {8, 4, 184, 10}},
                {kBackupDriveList, K::ListBox, "", {8, 16, 184, 48}},
                {1717, K::Static, "Datasets", {8, 68, 184, 10}},
                {kBackupDatasetList, K::ListBox, "", {8, 80, 184, 72}},
                {kArchiveBeforeMoveBox, K::CheckBox, "&Archive Before Move", {8, 156, 184, 12}},
                ui::defaultButton(kBackupButton, "&Backup", {8, 176, 56, 16}),
                {kMoveButton, K::Button, "&Move", {72, 176, 56, 16}},
                ui::cancelButton(ui::kIdCancelButton, "Close", {136, 176, 56, 16})};
  f.firstFocus = kBackupDriveList;
  return f;
}

class BackupMoveController : public ui::FormController {
 public:
  BackupMoveController(ui::Host& host, StartupValues& values, std::vector<std::string> drives)
      : host_(host), values_(values), drives_(std::move(drives)) {
    appName_ = values_.settings.path(Path::CurAppName);
    dataFolder_ = values_.settings.path(Path::AppDataFolder);
  }

  int done() const { return done_; }

  void onInit(ui::FormView& view) override {
    view.setItems(kBackupDriveList, drives_);
    view.setSelection(kBackupDriveList, 0);
    view.setChecked(kArchiveBeforeMoveBox, values_.settings.archiveBeforeMove() == 1);
    fillDatasets(view);
  }

  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton || id == ui::kIdOkButton) {
      save(view);
      view.end(0);
      return;
    }
    if (id == kArchiveBeforeMoveBox) return save(view);
    if (id == kBackupButton) {
      save(view);
      backup(view);
    } else if (id == kMoveButton) {
      save(view);
      move(view);
    }
  }

 private:
  void save(ui::FormView& view) {
    values_.settings.setArchiveBeforeMove(view.checked(kArchiveBeforeMoveBox) ? 1 : 0);
    (void)saveTransferSettings(host_, values_);
  }

  void fillDatasets(ui::FormView& view) {
    datasets_ = exchange::datasetsIn(dataFolder_, true);
    std::vector<std::string> entries;
    for (const auto& d : datasets_) entries.push_back(exchange::datasetEntryText(d));
    view.setItems(kBackupDatasetList, entries);
    view.setSelection(kBackupDatasetList, entries.empty() ? -1 : 0);
  }

  // The chosen drive and dataset; false when either is missing.
  bool chosen(ui::FormView& view, std::string& drive, exchange::DatasetRef& ref) const {
    const int d = view.selection(kBackupDriveList), s = view.selection(kBackupDatasetList);
    if (d < 0 || d >= static_cast<int>(drives_.size()) || s < 0 || s >= static_cast<int>(datasets_.size()))
      return false;
    drive = drives_[static_cast<std::size_t>(d)];
    ref = datasets_[static_cast<std::size_t>(s)];
    return true;
  }

  void backup(ui::FormView& view) {
    std::string drive;
    exchange::DatasetRef ref;
    if (chosen(view, drive, ref) &&
        exchange::copyDatasetToFolder(host_, drive, appName_, dataFolder_, ref, false) > 0) {
      ++done_;
      ui::inform(host_, "Backup Dataset Succeeded!!", "Backup Dataset");
    } else {
      ui::inform(host_, "Backup Dataset Failed!!", "Backup Error!");
    }
  }

  void move(ui::FormView& view) {
    std::string drive;
    exchange::DatasetRef ref;
    if (!chosen(view, drive, ref)) {
      ui::inform(host_, "Move Dataset Failed!!", "Move Error!");
      return;
    }
    if (view.checked(kArchiveBeforeMoveBox) && exchange::archiveDataset(host_, dataFolder_, ref, false) == 0) {
      ui::inform(host_, "Can't Archive Dataset!!\nDataset Not Moved!!", "Archive Error!");
      return;
    }
    if (exchange::copyDatasetToFolder(host_, drive, appName_, dataFolder_, ref, true) > 0) {
      ++done_;
      ui::inform(host_, "Move Dataset Succeeded!!", "Move Dataset");
    } else {
      ui::inform(host_, "Move Dataset Failed!!", "Move Error!");
    }
    fillDatasets(view);
  }

  ui::Host& host_;
  StartupValues& values_;
  std::vector<std::string> drives_;
  std::vector<exchange::DatasetRef> datasets_;
  std::string appName_, dataFolder_;
  int done_ = 0;
};

}  // namespace

int backupMoveDialog(ui::Host& host, StartupValues& values) {
  reloadSettings(host, values);
  const std::int32_t option = values.settings.archiveBeforeMove();
  values.settings.setArchiveBeforeMove(option < 0 ? 0 : (option > 1 ? 1 : option));
  if (!values.settings.appOpen() || values.settings.path(Path::AppDataFolder).empty()) {
    ui::inform(host, "Must Select a Valid Application!", "Error");
    return 0;
  }
  std::vector<std::string> drives = removableDrivesOrSay(host);
  if (drives.empty()) return 0;
  BackupMoveController controller(host, values, std::move(drives));
  (void)host.runForm(backupMoveForm(), controller);
  return controller.done();
}

}  // namespace shell
