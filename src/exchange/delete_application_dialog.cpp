#include "exchange/delete_application_dialog.hpp"

#include <algorithm>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/auto_transfer.hpp"
#include "config/process_values.hpp"
#include "datasets/erase_files.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"

namespace exchange {

namespace {

using Path = config::SettingsRecord::Path;
constexpr unsigned kQuestion = ui::kMbYesNo | ui::kMbIconStop | ui::kMbDefButton2 | ui::kMbTopmost;

bool ownFolderName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find('/') == std::string::npos && name.find('\\') == std::string::npos;
}

std::string withoutTfa(const std::string& name) {
  if (name.size() >= 4 && base::equalsNoCase(std::string_view(name).substr(name.size() - 4), ".tfa"))
    return name.substr(0, name.size() - 4);
  return name;
}

// The texts of one folder's erase.
struct FolderTexts {
  const char* cannotErase;   // Retry / Cancel question
  const char* progress;      // progress window title
  const char* retryFailed;
  const char* removeFailed;  // path, system error
};

constexpr FolderTexts kDataTexts{"All Data Files for\nApplication:%s\nCan not be Erased", datasets::kErasingDataFiles,
                                 "Data File Delete\nApplication:%s\nFailed !\n Skipping",
                                 "%s\nAppData RemoveDirectory Failed:%d\n"};
constexpr FolderTexts kControlTexts{"All Control Files in\nApplication:%s\nCan not be Erased",
                                    datasets::kErasingApplication, "Control File Delete\nApplication:%s\nFailed !",
                                    "%s\nRemoveDirectory Failed:%d\n"};

// Erases folder's files with the retry question, then removes the folder
// (with its tree when wholeTree is set).
void eraseFolder(ui::Host& host, const std::string& folder, const std::string& name, const FolderTexts& texts,
                 bool wholeTree) {
  // Without its parent the path would name a folder relative to wherever the program runs.
  if (base::folderPart(folder, platform::kSep).empty() || !platform::folderExists(folder)) return;
  const std::string pattern = base::joinPath(folder, "*.*", platform::kSep);
  // An empty folder has nothing to fail on: it is only removed.
  if (!datasets::matchingFiles(pattern).empty() && datasets::eraseFilesQuietly(host, pattern) == 0) {
    const int answer = host.messageBox(base::format(texts.cannotErase, name.c_str()), "Error",
                                       ui::kMbRetryCancel | ui::kMbIconQuestion | ui::kMbTopmost);
    if (answer == ui::kIdRetry) {
      if (datasets::eraseFilesWithProgress(host, pattern, texts.progress) == 0)
        ui::inform(host, base::format(texts.retryFailed, name.c_str()), "Error");
    } else {
      ui::inform(host, folder, "if(!file_exists(t_path))");
    }
  }
  const int rc = wholeTree ? datasets::removeFolderTree(folder) : platform::removeFolder(folder);
  if (rc != 0) ui::inform(host, base::format(texts.removeFailed, folder.c_str(), rc), "Error");
}

// The current application is about to go: nothing may name it any more.
bool forgetCurrent(apps::AppContext& ctx) {
  config::clearAutoTransfer(ctx.host);
  config::SettingsRecord& s = ctx.values.settings;
  for (Path p : {Path::CurAppName, Path::AppFolder, Path::AppDataFolder}) s.setPath(p, "");
  s.setCurDatasetName("");
  s.setVersionTableName("");
  s.setAppOpen(false);
  ctx.values.curAppName.clear();
  ctx.app.releaseAll();
  (void)config::saveSettings(ctx.host, ctx.values.installRoot, s, ctx.values.style.sep);
  if (platform::putAppSetting("CurAppName", "")) return true;
  ui::inform(ctx.host, "CurAppName Registry Access Error.", "Error");
  return false;
}

class DeleteApplicationController : public ui::FormController {
 public:
  explicit DeleteApplicationController(apps::AppContext& ctx) : ctx_(ctx) {}
  void onInit(ui::FormView& view) override { reread(view); }
  void onCommand(ui::FormView& view, int id) override {
    if (id != kDeleteApplicationButton) return ui::FormController::onCommand(view, id);
    const int i = view.selection(kInstalledApplications);
    if (i < 0 || static_cast<std::size_t>(i) >= names_.size()) return;
    if (deleteApplication(ctx_, names_[static_cast<std::size_t>(i)]) == kDeleteDone) ++deleted_;
    reread(view);
  }
  int deleted() const { return deleted_; }

 private:
  void reread(ui::FormView& view) {
    names_ = installedApplications(ctx_.values.appPath);
    view.setItems(kInstalledApplications, names_);
    if (!names_.empty()) view.setSelection(kInstalledApplications, 0);
  }
  apps::AppContext& ctx_;
  std::vector<std::string> names_;
  int deleted_ = 0;
};

}  // namespace

std::vector<std::string> installedApplications(const std::string& appPath) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(appPath, "*.tfa", platform::kSep), found);
  std::vector<std::string> names;
  for (const platform::FindEntry& e : found) {
    const std::string name = withoutTfa(e.name);
    if (!e.isFolder && ownFolderName(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

ui::Form deleteApplicationForm() {
  ui::Form f;
  f.resource = kDeleteApplicationDialog;
  f.caption = "Delete Application";
  f.size = {0, 0, 180, 140};
  f.controls = {
      {1133, ui::ControlKind::Static, "Installed Applications", {8, 6, 164, 10}},
      {kInstalledApplications, ui::ControlKind::ListBox, "", {8, 18, 164, 92}},
      ui::defaultButton(kDeleteApplicationButton, "&Delete", {34, 118, 50, 14}),
      ui::cancelButton(ui::kIdCancelButton, "Close", {96, 118, 50, 14}),
  };
  f.firstFocus = kInstalledApplications;
  return f;
}

int deleteApplication(apps::AppContext& ctx, const std::string& nameIn) {
  const std::string name = withoutTfa(base::trimRight(nameIn));
  if (!ownFolderName(name)) return kDeleteDeclined;
  ui::Host& host = ctx.host;
  if (host.messageBox("Delete This Application\nand All Associated Data\nAre You Sure ?", name, kQuestion) !=
      ui::kIdYes) {
    ui::inform(host, "Application Not Deleted !", "");
    return kDeleteDeclined;
  }
  const std::string current = base::trimRight(ctx.values.settings.path(Path::CurAppName));
  if (base::equalsNoCase(withoutTfa(current), name)) {
    if (host.messageBox("Delete The CURRENT Application\nand All Associated Data Files\nAre You Sure ?", name,
                        kQuestion) != ui::kIdYes) {
      ui::inform(host, "Application Not Deleted !", "");
      return kDeleteDeclined;
    }
    if (!forgetCurrent(ctx)) return kDeleteStopped;
  }
  (void)ctx.tables.closeAll();
  const char sep = platform::kSep;
  eraseFolder(host, base::joinPath(ctx.values.dataPath, name, sep), name, kDataTexts, true);
  eraseFolder(host, base::joinPath(ctx.values.appPath, name, sep), name, kControlTexts, false);
  (void)platform::deleteFile(apps::packagePath(ctx.values.appPath, name, sep));
  return kDeleteDone;
}

int runDeleteApplicationDialog(apps::AppContext& ctx) {
  DeleteApplicationController controller(ctx);
  (void)ctx.host.runForm(deleteApplicationForm(), controller);
  return controller.deleted();
}

}  // namespace exchange
