#include "apps/package_install.hpp"

#include <vector>

#include "apps/package_extract.hpp"
#include "apps/package_reader.hpp"
#include "apps/package_required_files.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "ui/host.hpp"
#include "ui/progress.hpp"

namespace apps {

namespace {

ui::ProgressSpec extractionWindow() {
  ui::ProgressSpec desc;
  desc.resource = 230;
  desc.title = "Tallyfin Mobile App Extraction ";
  desc.line1 = "           Please Wait         ";
  desc.line2 = "     Preparing App For Use     ";
  return desc;
}

// What the worker leaves for the UI thread to report.
struct WorkerFailure {
  std::string member8;  // the member that failed; empty for none
};

int extractListed(Package& package, const std::string& appFolder, ui::Progress& progress,
                  WorkerFailure& failure) {
  PackageEntry entry;
  int index = 0;
  int rc = findMember(package, kRequiredFilesName, entry, index);
  if (rc == kPkgBadIndex) return kInstallNoRequiredFiles;
  // A list that cannot be extracted is no list.
  if (rc == kPkgOk) rc = extractEntry(package, entry, appFolder);
  if (rc != kPkgOk) return kInstallNoRequiredFiles;
  // The list is read under the name it was stored with: folders may tell
  // letter case apart.
  std::vector<std::string> names;
  if (readRequiredFiles(base::joinPath(appFolder, platform::toWide(entry.name), platform::kSep), names) == 0) {
    return kInstallNoRequiredFiles;
  }
  const int count = static_cast<int>(names.size());
  for (int i = 0; i < count; ++i) {
    progress.report(i * 100 / count, platform::toWide(names[i]));
    rc = extractByName(package, names[i], appFolder);
    if (rc != kPkgOk) {
      failure.member8 = names[i];
      return rc;
    }
  }
  return kInstallOk;
}

// The header copy is read when it exists, else written from the package.
void settleHeaderCopy(ui::Host& host, const std::string& appFolder, const TfaHeader& packageHeader,
                      TfaHeader* appHeader) {
  const std::string path = base::joinPath(appFolder, kHeaderCopyName, platform::kSep);
  TfaHeader copy = packageHeader;
  if (platform::fileExists(path)) {
    if (readHeaderCopy(host, path, copy) != 0) copy = packageHeader;
  } else {
    writeHeaderCopy(host, path, packageHeader);
  }
  if (appHeader != nullptr) *appHeader = copy;
}

}  // namespace

int extractApplication(ui::Host& host, const std::string& packagePath, const std::string& appFolder,
                       TfaHeader* appHeader) {
  if (!platform::fileExists(packagePath)) {
    ui::inform(host, packagePath, "Can't Find Error");
    ui::inform(host, "TFA_Extract Can't Find TFA File", "Error");
    return kInstallPackageMissing;
  }
  platform::makeFolder(appFolder);

  TfaHeader header;
  Package package = openPackage(packagePath, header);
  if (!package.isOpen()) {
    ui::inform(host, packagePath, "Can't Open TFA File");
    return kInstallCannotOpen;
  }
  std::string fileName;
  base::fileNamePart(packagePath, fileName, platform::kSep);
  if (fileName.empty() || !base::equalsNoCase(platform::toNarrow(fileName), header.appName())) {
    ui::inform(
        host,
        base::format("\"%s\" File is Not Valid\n  Can't Open Application!!", fileName.c_str()),
        "App Not Valid!!");
    package.close();
    return kInstallNotValid;
  }

  settleHeaderCopy(host, appFolder, header, appHeader);

  // The worker never shows a box itself: its failure is told here, on the UI
  // thread, once the progress window has closed.
  WorkerFailure failure;
  const int result = ui::runWithProgress(host, extractionWindow(), [&](ui::Progress& progress) {
    return extractListed(package, appFolder, progress, failure);
  });
  if (!failure.member8.empty()) {
    ui::inform(host, "Can't Extract:" + platform::toWide(failure.member8), "TFA_Extract Error");
  }
  package.close();
  return result;
}

int copyPackage(const std::string& from, const std::string& to) {
  const std::string temp = to + ".new";
  int rc = platform::copyFile(from, temp, false);
  if (rc == 0) rc = platform::replaceFile(temp, to);
  if (rc != 0) platform::deleteFile(temp);
  return rc;
}

}  // namespace apps
