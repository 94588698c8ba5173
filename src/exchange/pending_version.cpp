#include "exchange/pending_version.hpp"

#include <algorithm>
#include <vector>

#include "apps/tfa_header.hpp"
#include "apps/version_table.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "datasets/data_names.hpp"
#include "datasets/version_check.hpp"
#include "exchange/dataset_files.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "tablestore/table_store.hpp"

namespace exchange {

namespace {

std::string versionTablePattern(const DatasetRef& ref) {
  if (ref.bundled) return "[" + ref.name + "]1A____*" + datasets::kVersionTableSuffix;
  return base::format("%02d 1A____[", ref.number) + ref.name + "]*" + datasets::kVersionTableSuffix;
}

// The first version table of ref in folder, or "".
std::string findVersionTable(const std::string& folder, const DatasetRef& ref) {
  std::vector<platform::FindEntry> found;
  if (platform::findFiles(dataFilePath(folder, versionTablePattern(ref)), found) != 0) return {};
  std::vector<std::string> names;
  for (const auto& e : found)
    if (!e.isFolder && safeTransferName(e.name)) names.push_back(e.name);
  if (names.empty()) return {};
  std::sort(names.begin(), names.end());
  return names.front();
}

bool readPendingStamp(tablestore::TableStore& store, ui::Host& host, const std::string& path, apps::TfaHeader& out) {
  store.clearError();
  apps::VersionTable vt;
  vt.table = store.openTable(platform::toNarrow(path));
  if (vt.table == nullptr) {
    store.clearError();
    return false;
  }
  // An empty table holds no stamp; reading record 1 fails then.
  const bool ok = vt.table->recordCount() >= 1 &&
                  apps::readVersionTable(host, vt, apps::TfaHeader{}, std::string{}, out) == apps::kVersionOk;
  store.clearError();
  (void)store.closeTable(vt.table);
  store.clearError();
  return ok;
}

// The header copy when it is whole, else the package's header; read without
// a word.
bool readInstalledHeader(const std::string& appFolder, const std::string& packagePath, apps::TfaHeader& out) {
  const std::string copy = apps::headerCopyPath(appFolder, platform::kSep);
  std::string bytes;
  if (platform::fileExists(copy) && platform::readWholeFile(copy, bytes, apps::TfaHeader::kSize + 1) == 0 &&
      bytes.size() == apps::TfaHeader::kSize) {
    std::copy(bytes.begin(), bytes.end(), out.bytes().begin());
    return true;
  }
  return platform::fileExists(packagePath) && apps::readPackageHeader(packagePath, out) == apps::kHeaderOk;
}

}  // namespace

const char* pendingVersionMessage(int result) {
  switch (result) {
    case kPendingStructureDiffers: return "-1 This Data Version Does Not Match the Loaded Application!!";
    case kPendingVersionUnreadable: return "-10 Can't Check the Data Version for the Application!!";
    case kPendingStructureDateDiffers: return "-11 This Data Version Does Not Match the Loaded Application!!";
    case kPendingAppNameDiffers: return "-12 This Data Version Does Not Match the Loaded Application - 2!!";
    case kInstalledVersionUnreadable: return "-13 Can't Check the Data Version in the Application -2!!";
    default: return nullptr;
  }
}

bool applicationInstalled(const std::string& appPath, const std::string& appName) {
  if (appName.empty()) return false;
  return platform::fileExists(apps::packagePath(appPath, appName, platform::kSep)) ||
         platform::folderExists(base::joinPath(appPath, appName, platform::kSep));
}

int checkPendingAppDataVersion(tablestore::TableStore& store, ui::Host& host, const std::string& pendingFolder,
                               const DatasetRef& ref, const std::string& appFolder, const std::string& packagePath) {
  const std::string table = findVersionTable(pendingFolder, ref);
  apps::TfaHeader pending;
  if (table.empty() || !readPendingStamp(store, host, dataFilePath(pendingFolder, table), pending))
    return kPendingVersionUnreadable;
  apps::TfaHeader installed;
  if (!readInstalledHeader(appFolder, packagePath, installed)) return kInstalledVersionUnreadable;
  const apps::TfaHeader stamped = datasets::asStamped(installed);
  if (pending.hierVer() != stamped.hierVer()) return kPendingStructureDiffers;
  if (!base::equalsNoCase(pending.hierDate(), stamped.hierDate()) ||
      !base::equalsNoCase(pending.hierTime(), stamped.hierTime()))
    return kPendingStructureDateDiffers;
  if (!base::equalsNoCase(pending.appName(), stamped.appName())) return kPendingAppNameDiffers;
  return kPendingVersionAgrees;
}

}  // namespace exchange
