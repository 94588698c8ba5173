#include "apps/app_open.hpp"

#include <algorithm>
#include <vector>

#include "apps/app_definition.hpp"
#include "apps/app_password.hpp"
#include "apps/hierarchy.hpp"
#include "apps/level_load_error.hpp"
#include "apps/package_install.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/process_values.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"
#include "ui/host.hpp"
#include "ui/pick_list.hpp"

namespace apps {

namespace {

using Path = config::SettingsRecord::Path;

void saveSettings(AppContext& ctx) {
  config::saveSettings(ctx.host, ctx.values.installRoot, ctx.values.settings, ctx.values.style.sep);
}

std::string withoutTfa(const std::string& name) {
  if (name.size() >= 4 && base::equalsNoCase(std::string_view(name).substr(name.size() - 4), ".tfa"))
    return name.substr(0, name.size() - 4);
  return name;
}

std::vector<std::string> installedPackages(const AppContext& ctx) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(ctx.values.appPath, "*.tfa", ctx.values.style.sep), found);
  std::vector<std::string> names;
  for (const auto& e : found)
    if (!e.isFolder) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

// The application list: the shared pick list with the current application
// preselected.
class ApplicationList : public ui::FormController {
 public:
  ApplicationList(const std::vector<std::string>& names, int current) : names_(names), current_(current) {}
  void onInit(ui::FormView& view) override {
    std::vector<std::string> items{kApplicationListTitle};
    items.insert(items.end(), names_.begin(), names_.end());
    items.push_back(kApplicationListClosing);
    view.setItems(ui::kPickListControl, items);
    view.setSelection(ui::kPickListControl, current_ >= 0 ? current_ + 1 : 1);
    view.setFocus(ui::kPickListControl);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) view.end(-1);
    if (id == ui::kIdOkButton) take(view);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == ui::kPickListControl) take(view);
  }

 private:
  void take(ui::FormView& view) {
    const int sel = view.selection(ui::kPickListControl);
    if (sel >= 1 && sel <= static_cast<int>(names_.size())) view.end(sel - 1);
  }
  const std::vector<std::string>& names_;
  int current_;
};

int pickApplication(AppContext& ctx, const std::vector<std::string>& names, const std::string& current) {
  int preselect = -1;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (!current.empty() && base::equalsNoCase(names[i], current + ".tfa")) preselect = static_cast<int>(i);
  const ui::PickListTexts texts{"Select Application", kApplicationListTitle, kApplicationListClosing};
  ApplicationList controller(names, preselect);
  return ctx.host.runForm(ui::pickListForm(texts, names), controller);
}

// The current application stays when it still opens; otherwise it is forgotten.
void keepOrForget(AppContext& ctx, const std::string& current) {
  if (!current.empty() && openApplication(ctx, current, false) == kOpenOk) return;
  ctx.values.settings.setPath(Path::CurAppName, "");
  ctx.values.settings.setAppOpen(false);
  ctx.values.curAppName.clear();
  saveSettings(ctx);
}

}  // namespace

int openApplication(AppContext& ctx, const std::string& nameIn, bool askPassword, TfaHeader* headerOut) {
  const std::string name = base::trimRight(nameIn);
  if (name.empty()) return kOpenNoName;
  const char sep = ctx.values.style.sep;
  ctx.app.releaseAll();
  ctx.tables.closeAll();
  const std::string appFolder = base::joinPath(ctx.values.appPath, name, sep);

  TfaHeader header;
  if (getPackageHeader(ctx.host, ctx.values.appPath, name, sep, header) != kHeaderOk) {
    ui::inform(ctx.host, "Cannot Get App Info\nCannot Open App", "App Open ERROR");
    return kOpenNoHeader;
  }
  if (askPassword && header.hasAppPassword() && !checkAppPassword(ctx.host, header)) return kOpenRefused;

  if (int status = ctx.app.loadAppCtl(appFolder)) {
    // A file read whole but not compiled has the opener's own text.
    if (status == kAppCtlNotCompiled) reportAppCtlError(ctx.host, name, status, kNotCompiledText);
    else reportAppCtlError(ctx.host, name, status);
    return kOpenAppCtl;
  }
  std::string file;
  const LevelLoad level = ctx.app.loadLevel(appFolder, 1, file);
  if (!level.ok) {
    reportLevelLoadError(ctx.host, name, 1, level.status, level.phase, file);
    return kOpenLevel;
  }
  // The hierarchy gives the child and sibling tables their letters. Data
  // collection does without it (the level lists name the tables), so an
  // application that has none opens quietly; the bundler, which cannot do
  // without it, says so when it loads it. One that cannot be read is shown.
  ctx.app.hierarchy().clear();
  if (platform::fileExists(base::joinPath(appFolder, kHierarchyName, sep)))
    (void)loadHierarchy(ctx.host, ctx.tables, appFolder, ctx.app.hierarchy());

  config::SettingsRecord& s = ctx.values.settings;
  s.setAppOpen(true);
  s.setPath(Path::CurAppName, name);
  s.setPath(Path::AppFolder, appFolder);
  s.setPath(Path::AppDataFolder, base::joinPath(ctx.values.dataPath, name, sep));
  ctx.values.curAppName = name;
  saveSettings(ctx);
  if (headerOut != nullptr) *headerOut = header;
  return kOpenOk;
}

int selectApplication(AppContext& ctx, const std::optional<std::string>& name) {
  const char sep = ctx.values.style.sep;
  const std::string current = ctx.values.settings.path(Path::CurAppName);
  const std::vector<std::string> names = installedPackages(ctx);
  if (names.empty()) {
    ui::inform(ctx.host, "No Applications Available.", "Error");
    keepOrForget(ctx, current);
    return kSelectNoApps;
  }
  std::string chosen;
  if (name) {
    chosen = withoutTfa(base::trimRight(*name));
  } else {
    const int index = pickApplication(ctx, names, current);
    if (index < 0) {
      keepOrForget(ctx, current);
      return kSelectCancelled;
    }
    chosen = withoutTfa(names[static_cast<std::size_t>(index)]);
  }

  const std::string package = base::joinPath(ctx.values.appPath, chosen + ".tfa", sep);
  const std::string folder = base::joinPath(ctx.values.appPath, chosen, sep);
  if (extractApplication(ctx.host, package, folder) < 0) {
    ui::inform(ctx.host, "Can't Extract", chosen + ".tfa");
    return kSelectExtractFailed;
  }
  // The folder now holds this package's files: its header copy must say so.
  TfaHeader packageHeader;
  if (readPackageHeader(package, packageHeader) == kHeaderOk) refreshHeaderCopy(ctx.host, folder, sep, packageHeader);

  const int opened = openApplication(ctx, chosen, true);
  if (opened == kOpenOk) return kSelectOk;
  // The current application that no longer opens is current no more; one
  // whose password was not given still opens for the commands that reopen it.
  if (opened != kOpenRefused && base::equalsNoCase(chosen, current)) {
    ctx.values.settings.setAppOpen(false);
    saveSettings(ctx);
  }
  return kSelectOpenFailed;
}

}  // namespace apps
