#include "transfer/transfer_list.hpp"

#include <algorithm>
#include <limits>

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/received_names.hpp"
#include "transfer/session_text.hpp"

namespace transfer {

namespace {

// The files (not folders) of folder matching pattern, sorted by name so the
// list does not depend on the order the system lists a folder in.
std::vector<platform::FindEntry> filesMatching(const std::string& folder, char sep,
                                               const std::string& pattern) {
  std::vector<platform::FindEntry> found;
  if (folder.empty() || platform::findFiles(joinPath(folder, sep, pattern), found) != platform::kOk)
    return {};
  std::erase_if(found, [](const platform::FindEntry& e) { return e.isFolder; });
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return base::toUpper(a.name) < base::toUpper(b.name); });
  return found;
}

std::string lastComponent(const std::string& folder, char sep) {
  const std::size_t at = folder.rfind(sep);
  return at == std::string::npos ? folder : folder.substr(at + 1);
}

// Appends entries for the files; returns how many were listed.
std::uint16_t addEntries(const std::vector<platform::FindEntry>& files, const std::string& folderName,
                         TransferList& list, const std::string& folder, char sep, bool send) {
  std::uint16_t listed = 0;
  for (const platform::FindEntry& f : files) {
    if (f.size > std::numeric_limits<std::uint32_t>::max()) continue;
    if (list.control.entries.size() >= std::numeric_limits<std::uint16_t>::max()) break;
    ControlEntry entry;
    if (!entry.setName(f.name)) continue;
    (void)entry.setFolder(folderName.size() < ControlEntry::kFolderSize ? folderName : "");
    entry.setWriteTime(f.writeTime);
    entry.setCreateTime(f.writeTime);
    entry.setFileSize(static_cast<std::uint32_t>(f.size));
    list.control.entries.push_back(entry);
    list.totalBytes += static_cast<std::uint32_t>(f.size);
    if (send) list.datasetPaths.push_back(joinPath(folder, sep, f.name));
    ++listed;
  }
  return listed;
}

}  // namespace

std::string controlFileName(const std::string& unitId, const std::string& unitTag) {
  return "XferFromHH~" + unitId + "~" + unitTag + ".bin";
}

int buildTransferList(const SessionSetup& setup, TransferList& out) {
  const SessionFolders& f = setup.folders;
  TransferList list;
  list.controlName = controlFileName(setup.unitId, setup.unitTag);
  if (!plainReceivedName(list.controlName) || !list.control.header.stamp(setup.versionText, setup.unitId))
    return platform::kErrInvalidParameter;
  list.controlPath = joinPath(f.work, f.sep, list.controlName);

  std::uint16_t datasets = 0;
  for (const std::string& name : setup.taggedDatasets)
    datasets = static_cast<std::uint16_t>(
        datasets + addEntries(filesMatching(f.data, f.sep, "[" + name + "]*.*"), setup.appName, list,
                              f.data, f.sep, true));
  (void)addEntries(filesMatching(f.applications, f.sep, "*.tfa"), lastComponent(f.applications, f.sep),
                   list, f.applications, f.sep, false);
  const std::uint16_t pending = addEntries(filesMatching(f.pendingApps, f.sep, "*.tfa"),
                                           lastComponent(f.pendingApps, f.sep), list, f.pendingApps,
                                           f.sep, false);
  const std::uint16_t messages = addEntries(filesMatching(f.messages, f.sep, "*.mes"),
                                            lastComponent(f.messages, f.sep), list, f.messages, f.sep,
                                            false);

  ControlHeader& h = list.control.header;
  h.setDatasetCount(datasets);
  h.setAppCount(pending);
  h.setMessageCount(messages);
  h.setTotalBytes(list.totalBytes);
  h.setRequestUpdate(setup.requestProgramUpdate);
  h.setListCount(static_cast<std::uint32_t>(list.control.entries.size()));

  std::vector<std::uint8_t> bytes;
  if (!buildControlFile(list.control, bytes)) return platform::kErrInvalidParameter;
  list.control.header.setEntryCount(static_cast<std::uint16_t>(list.control.entries.size()));
  const int rc = platform::writeWholeFile(list.controlPath, bytes.data(), bytes.size());
  if (rc != platform::kOk) return rc;
  list.totalBytes += static_cast<std::uint32_t>(bytes.size());
  out = std::move(list);
  return platform::kOk;
}

}  // namespace transfer
