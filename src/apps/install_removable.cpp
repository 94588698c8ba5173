#include "apps/install_removable.hpp"

#include <algorithm>

#include "apps/package_install.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "platform/removable.hpp"
#include "ui/host.hpp"

namespace apps {

namespace {

constexpr const char* kNotValid = "%s On Removable Storage Appears to not be a Valid Application\nCannot Copy App!";
constexpr const char* kRenamed = "%s Appears to have been\n Renamed - App Not Valid\nCannot Copy App!";
constexpr const char* kNotAccessible = "%s Is Aready Present but not Accessable\nCannot Copy App!";

void tell(ui::Host& host, const char* form, const std::string& name, const char* caption) {
  ui::inform(host, base::format(form, name.c_str()), caption);
}

int report(ui::Host& host, int outcome) {
  switch (outcome) {
    case kLoadCopied: ui::inform(host, "Load Application Succeeded!!", "Load App!"); break;
    case kLoadDeclined: ui::inform(host, "Load Application Aborted!", "Not Copied"); break;
    default: ui::inform(host, "Load Application Failed!!", "Error!"); break;
  }
  return outcome;
}

std::vector<std::string> packagesIn(const std::string& folder, char sep) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(folder, "*.tfa", sep), found);
  std::vector<std::string> names;
  for (const auto& e : found)
    if (!e.isFolder) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

ui::Form removableForm() {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = kRemovableDialog;
  f.caption = "Load From Removable Storage";
  f.size = {0, 0, 300, 150};
  ui::Control load = ui::defaultButton(kLoadButton, "&Load", {90, 128, 50, 14});
  ui::Control close = ui::cancelButton(ui::kIdCancelButton, "Close", {160, 128, 50, 14});
  f.controls = {{2923, K::Static, "Removable Storage", {8, 6, 120, 10}},
                {kDriveList, K::ListBox, "", {8, 18, 120, 100}},
                {2924, K::Static, "Applications", {136, 6, 156, 10}},
                {kRemovablePackageList, K::ListBox, "", {136, 18, 156, 100}},
                load,
                close};
  f.firstFocus = kDriveList;
  return f;
}

class RemovableController : public ui::FormController {
 public:
  RemovableController(ui::Host& host, std::vector<std::string> drives, const std::string& appPath, char sep)
      : host_(host), drives_(std::move(drives)), appPath_(appPath), sep_(sep) {}

  void onInit(ui::FormView& view) override {
    view.setItems(kDriveList, drives_);
    view.setSelection(kDriveList, 0);
    fillPackages(view);
  }
  void onSelectionChange(ui::FormView& view, int id) override {
    if (id == kDriveList) fillPackages(view);
  }
  void onCommand(ui::FormView& view, int id) override {
    if (id == ui::kIdCancelButton) return view.end(0);
    if (id != kLoadButton && id != ui::kIdOkButton) return;
    const int chosen = view.selection(kRemovablePackageList);
    if (chosen < 0 || chosen >= static_cast<int>(packages_.size())) {
      ui::inform(host_, "No App Selected", "Error");
      return;
    }
    loadFromRemovable(host_, folder_, packages_[static_cast<std::size_t>(chosen)], appPath_, sep_);
  }
  void onDoubleClick(ui::FormView& view, int id) override {
    if (id == kRemovablePackageList) onCommand(view, kLoadButton);
  }

 private:
  void fillPackages(ui::FormView& view) {
    const int drive = view.selection(kDriveList);
    folder_.clear();
    packages_.clear();
    if (drive >= 0 && drive < static_cast<int>(drives_.size())) {
      folder_ = removableAppsFolder(drives_[static_cast<std::size_t>(drive)], platform::kSep);
      packages_ = packagesIn(folder_, platform::kSep);
    }
    view.setItems(kRemovablePackageList, packages_);
    view.setSelection(kRemovablePackageList, packages_.empty() ? -1 : 0);
  }

  ui::Host& host_;
  std::vector<std::string> drives_;
  std::string appPath_;
  char sep_;
  std::string folder_;
  std::vector<std::string> packages_;
};

}  // namespace

int listStorageCards(ui::Host& host, std::vector<std::string>& entries) {
  if (int err = platform::listRemovableDrives(entries)) {
    entries.clear();
    ui::inform(host, base::format("_getdrives() failed with failure code: %d\n", err), "List_Storage_Cards()");
    return 0;
  }
  return static_cast<int>(entries.size());
}

std::string removableAppsFolder(const std::string& driveEntry, char sep) {
  return platform::removableEntryPath(driveEntry, sep) + "Tallyfin Mobile" + sep + "Apps";
}

const char* removableQuestion(int result) {
  switch (result) {
    case kHdrNewerBuild:
      return "%s On REMOVABLE Storage has an Newer Build Version Than Your Current Application!\nOverwrite ?";
    case kHdrOlderBuild:
      return "%s On REMOVABLE Storage has an OLDER Build Version Than Your Current Application!\nCopy Anyway?";
    case kHdrNewerMinor:
      return "%s On REMOVABLE Storage has an Newer Minor Version Than Your Current Application!\nOverwrite ?";
    case kHdrOlderMinor:
      return "%s On REMOVABLE Storage has an OLDER Minor Version Than Your Current Application!\nCopy Anyway?";
    case kHdrNewerMajor:
      return "%s On REMOVABLE Storage has an Newer Major Version Than Your Current Application!\nOverwrite ?";
    case kHdrOlderMajor:
      return "%s On REMOVABLE Storage has an OLDER Major Version Than Your Current Application!\nCopy Anyway?";
    case kHdrNewerStructure:
      return "%s On Removable Storage Has an NEWER File Structure!\nHowever, This May Render Current Data "
             "Non-Accessable!\nCopy Anyway?";
    case kHdrOlderStructure:
      return "%s On REMOVABLE Storage Has an OLDER File Structure!\nThis May Render Current Data "
             "Non-Accessable!\nCopy Anyway?";
    case kHdrSame:
      return "%s Is Already Present\n OverWrite ?";
    default:
      return nullptr;
  }
}

int loadFromRemovable(ui::Host& host, const std::string& sourceFolder, const std::string& name,
                      const std::string& appPath, char sep) {
  const std::string source = base::joinPath(sourceFolder, name, platform::kSep);
  const std::string target = base::joinPath(appPath, name, sep);
  TfaHeader sourceHeader;
  if (readPackageHeader(source, sourceHeader) != kHeaderOk) {
    tell(host, kNotValid, name, "Error !");
    return report(host, kLoadFailed);
  }
  if (!headerNamesPackage(sourceHeader, platform::toNarrow(name))) {
    tell(host, kRenamed, name, "Error !");
    return report(host, kLoadFailed);
  }
  if (platform::fileExists(target)) {
    TfaHeader installed;
    if (readPackageHeader(target, installed) != kHeaderOk) {
      tell(host, kNotAccessible, name, "Error !");
      return report(host, kLoadFailed);
    }
    const char* question = removableQuestion(compareHeaders(sourceHeader, installed));
    if (question == nullptr) {
      tell(host, kRenamed, name, "Error !");
      return report(host, kLoadFailed);
    }
    if (ui::askYesNo(host, base::format(question, name.c_str()), "Warning !") != ui::kIdYes)
      return report(host, kLoadDeclined);
  }
  return report(host, copyPackage(source, target) == 0 ? kLoadCopied : kLoadFailed);
}

void installFromRemovable(ui::Host& host, const std::string& appPath, char sep) {
  std::vector<std::string> drives;
  if (listStorageCards(host, drives) == 0) {
    ui::inform(host, "Removable Storage Not Detected!!", "Error");
    return;
  }
  RemovableController controller(host, std::move(drives), appPath, sep);
  host.runForm(removableForm(), controller);
}

}  // namespace apps
