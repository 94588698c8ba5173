#include "apps/install_pending.hpp"

#include <algorithm>
#include <vector>

#include "apps/package_install.hpp"
#include "apps/version_dialog.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"
#include "ui/pick_list.hpp"

namespace apps {

namespace {

constexpr const char* kNewer = "Replace The Current App with the Pending App (NEWER)\nContinue?";
constexpr const char* kVersionNewer = "The Current App Version Is NEWER than the Pending App Version\nContinue?";

bool yes(ui::Host& host, const char* text, const char* caption) {
  return ui::askYesNo(host, text, caption) == ui::kIdYes;
}

int copyIn(ui::Host& host, const std::string& source, const std::string& target) {
  if (copyPackage(source, target) != 0) {
    ui::inform(host, "Load Application Failed!!", "Error!");
    return kPendingFailed;
  }
  platform::deleteFile(source);
  ui::inform(host, "Pending Application Successfully Copied", "Pending App Moved");
  return kPendingCopied;
}

// No on "the same version": the pending file may go.
int offerDelete(ui::Host& host, const std::string& source) {
  if (yes(host, "The Pending App Will Not be Copied\nDelete The Pending App ?", "Pending App Not New") &&
      platform::deleteFile(source) == 0) {
    ui::inform(host, "The Pending Application Successfully Deleted", "Pending App Deleted");
    return kPendingDeleted;
  }
  ui::inform(host, "The Pending Application was NOT Deleted", "App Still Pending");
  return kPendingKept;
}

// A new data structure cannot replace the installed application while its
// datasets exist: the user is told so, and nothing is copied.
void refuseNewStructure(ui::Host& host) {
  if (!yes(host, "This will require any collected data to be erased\nContinue?", "Selected Pending App \nNOA"))
    return;
  if (!yes(host, "You Must Delete Datasets Before Overwriting the Current Application", "Replace Current App"))
    return;
  ui::inform(host, "This Erase all datasets for the current app", "Pending App Moved");
}

}  // namespace

PendingQuestion pendingQuestion(int result) {
  switch (result) {
    case kHdrNewerBuild: return {"Replace Current App +3", kNewer};
    case kHdrNewerMinor: return {"Replace Current App +4", kNewer};
    case kHdrNewerMajor: return {"Replace Current App +5", kNewer};
    case kHdrOlderMajor: return {"Replace Current App -5", kVersionNewer};
    case kHdrOlderMinor: return {"Replace Current App -4", kVersionNewer};
    case kHdrOlderBuild:
      return {"Replace Current App -3", "The Current App Build Is NEWER than the Pending App Build\nContinue?"};
    case kHdrNewerStructure:
      return {"Replace Current App +10",
              "Replace The Current App with the Pending App (NEWER)\nThis will require any collected data to be "
              "erased\nContinue?"};
    case kHdrOlderStructure:
      return {"Replace Current App -10",
              "The Current App Data Structure Is NEWER than the in the Pending App\nThis will require any "
              "collected data to be erased\nContinue?"};
    case kHdrSame:
      return {"Replace Current App", "The Current App and Pending App are the same\nReplace Current the App Anyway?"};
    default:
      return {};
  }
}

int installPendingPackage(ui::Host& host, const std::string& pendingFolder, const std::string& name,
                          const std::string& appPath, char sep) {
  const std::string source = base::joinPath(pendingFolder, name, sep);
  const std::string target = base::joinPath(appPath, name, sep);
  TfaHeader pending;
  if (readPackageHeader(source, pending) != kHeaderOk) {
    ui::inform(host, "No Application Version\nData Available for Pending App", "Error!");
    return kPendingKept;
  }
  if (!headerNamesPackage(pending, platform::toNarrow(name))) {
    ui::inform(host, base::format("%s Appears to have been\n Renamed - App Not Valid\nCannot Copy App!", name.c_str()),
               "Error !");
    return kPendingKept;
  }
  if (!platform::fileExists(target)) return copyIn(host, source, target);

  TfaHeader current;
  if (readPackageHeader(target, current) != kHeaderOk) {
    ui::inform(host, "No Application Version\nData Available for Current App", "Error!");
    return kPendingKept;
  }
  if (!confirmPendingVersion(host, current, pending)) return kPendingKept;

  const int result = compareHeaders(pending, current);
  const PendingQuestion q = pendingQuestion(result);
  if (q.text == nullptr) {
    // Another name: only a package with version data replaces one without.
    if (!current.hasVersion() && pending.hasVersion()) return copyIn(host, source, target);
    return kPendingKept;
  }
  const bool agreed = yes(host, q.text, q.caption);
  if (result == kHdrNewerStructure || result == kHdrOlderStructure) {
    if (agreed) refuseNewStructure(host);
    return kPendingKept;
  }
  if (agreed) return copyIn(host, source, target);
  return result == kHdrSame ? offerDelete(host, source) : kPendingKept;
}

std::string installPending(ui::Host& host, const std::string& pendingFolder, const std::string& appPath,
                           char sep) {
  std::vector<platform::FindEntry> found;
  platform::findFiles(base::joinPath(pendingFolder, "*.tfa", sep), found);
  std::vector<std::string> names;
  for (const auto& e : found)
    if (!e.isFolder) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  const ui::PickListTexts texts{"Pending Applications", kPendingListTitle, "< Enter to Select >"};
  const int chosen = names.empty() ? -1 : ui::runPickList(host, texts, names);
  if (chosen < 0) {
    ui::inform(host, "No App Selected", "Error");
    return {};
  }
  const std::string& name = names[static_cast<std::size_t>(chosen)];
  return installPendingPackage(host, pendingFolder, name, appPath, sep) == kPendingCopied ? name : std::string();
}

}  // namespace apps
