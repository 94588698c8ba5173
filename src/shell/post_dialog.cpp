#include "shell/post_dialog.hpp"

#include <vector>

#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "exchange/dataset_transfer.hpp"
#include "exchange/pending_version.hpp"
#include "platform/fileops.hpp"
#include "shell/startup.hpp"
#include "shell/transfer_commands.hpp"
#include "shell/transfer_folders.hpp"
#include "tablestore/table_store.hpp"
#include "ui/form.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

ui::Form postForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kPostDialog;
  f.caption = "Post Pending Datasets";
  f.size = {0, 0, 240, 150};
  f.controls = {{1744, K::Static, "Pending Applications", {8, 4, 108, 10}},
                {kPendingAppList, K::ListBox, "", {8, 16, 108, 104}},
                {1745, K::Static, "Pending Datasets", {124, 4, 108, 10}},
                {kPendingDatasetList, K::ListBox, "", {124, 16, 108, 104}},
                ui::defaultButton(kPostButton, "&Post", {108, 128, 56, 16}),
                ui::cancelButton(ui::kIdCancelButton, "Close", {176, 128, 56, 16})};
  f.firstFocus = kPendingAppList;
  return f;
}

class PostController : public ui::FormController {
 public:
  PostController(ui::Host& host, StartupValues& values, std::vector<std::string> apps)
      : host_(host), values_(values), pending_(transferPendingDataPath(values)), apps_(std::move(apps)) {}

  int posted() const { return posted_; }

  void onInit(ui::FormView& view) override { fillApps(view); }
  void onSelectionChange(ui::FormView& view, int id) override {
    if (id == kPendingAppList) fillDatasets(view);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton || id == ui::kIdOkButton) return view.end(0);
    if (id == kPostButton) post(view);
  }

 private:
  std::string pendingAppFolder(const std::string& app) const {
    return base::joinPath(pending_, app, platform::kSep);
  }

  void fillApps(ui::FormView& view) {
    view.setItems(kPendingAppList, apps_);
    view.setSelection(kPendingAppList, apps_.empty() ? -1 : 0);
    fillDatasets(view);
  }

  void fillDatasets(ui::FormView& view) {
    datasets_.clear();
    const int a = view.selection(kPendingAppList);
    if (validIndex(a, apps_)) datasets_ = exchange::datasetsIn(pendingAppFolder(apps_[static_cast<std::size_t>(a)]), true);
    std::vector<std::string> entries;
    for (const auto& d : datasets_) entries.push_back(exchange::datasetEntryText(d));
    view.setItems(kPendingDatasetList, entries);
    view.setSelection(kPendingDatasetList, entries.empty() ? -1 : 0);
  }

  // The version check, with its question or message; true when posting may go on.
  bool versionAllows(const std::string& app, const exchange::DatasetRef& ref) {
    const std::string appPath = transferAppPath(values_);
    if (!exchange::applicationInstalled(appPath, app)) {
      const std::string q = base::format(
          "The Application \"%s\" \nfor Dataset \"%s\"\n is Not Present!\nPost This Dataset Anyway??", app.c_str(),
          ref.name.c_str());
      return ui::askYesNo(host_, q, "Post Dataset") == ui::kIdYes;
    }
    tablestore::TableStore store;  // the check's own: it shows nothing
    const int check = exchange::checkPendingAppDataVersion(
        store, host_, pendingAppFolder(app), ref, base::joinPath(appPath, app, platform::kSep),
        apps::packagePath(appPath, app, platform::kSep));
    if (check > 0) return true;
    const char* text = exchange::pendingVersionMessage(check);
    ui::inform(host_, text != nullptr ? text : base::format("%d", check), exchange::kPendingVersionCaption);
    return false;
  }

  void post(ui::FormView& view) {
    const int a = view.selection(kPendingAppList), s = view.selection(kPendingDatasetList);
    if (!validIndex(a, apps_) || !exchange::safeTransferName(apps_[static_cast<std::size_t>(a)])) {
      ui::inform(host_, "Post Dataset Failed!!\nCan't Access Dataset!!", "Post Dataset Error! 3");
      return;
    }
    if (!validIndex(s, datasets_)) {
      ui::inform(host_, "Post Dataset Failed!!\nCan't Access Dataset!!", "Post Dataset Error! 2");
      return;
    }
    const std::string app = apps_[static_cast<std::size_t>(a)];
    const exchange::DatasetRef ref = datasets_[static_cast<std::size_t>(s)];
    if (!versionAllows(app, ref)) return;

    const std::string from = pendingAppFolder(app);
    const int result =
        exchange::copyDatasetIntoApplication(host_, applicationDataFolder(values_, app), from, ref, true);
    if (result == 0) {
      ui::inform(host_, "Post Dataset Failed!!", "Post Dataset Error! 1");
      return;
    }
    if (result == exchange::kCopyDeclined) {
      ui::inform(host_, "Post Dataset Aborted!", "Post Dataset Aborted");
      return;
    }
    ++posted_;
    ui::inform(host_, "Post Dataset Succeeded!!", "Post Dataset Success");
    if (!platform::fileExists(base::joinPath(from, "*.dbf", platform::kSep))) {
      // A folder still holding other files stays; nothing in it is lost.
      (void)platform::removeFolder(from);
      apps_ = exchange::subfoldersOf(pending_);
      fillApps(view);
    } else {
      fillDatasets(view);
    }
  }

  ui::Host& host_;
  StartupValues& values_;
  std::string pending_;
  std::vector<std::string> apps_;
  std::vector<exchange::DatasetRef> datasets_;
  int posted_ = 0;
};

}  // namespace

int pendingDatasetsCommand(ui::Host& host, StartupValues& values) {
  reloadSettings(host, values);
  const std::string pending = transferPendingDataPath(values);
  std::vector<std::string> apps = pending.empty() ? std::vector<std::string>{} : exchange::subfoldersOf(pending);
  if (apps.empty()) {
    ui::inform(host, "There Are No Pending Datasets", "No Pendng Datasets");
    return 0;
  }
  PostController controller(host, values, std::move(apps));
  (void)host.runForm(postForm(), controller);
  return controller.posted();
}

}  // namespace shell
