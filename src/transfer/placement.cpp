#include "transfer/placement.hpp"

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/received_names.hpp"
#include "transfer/session_text.hpp"

namespace transfer {

namespace {

// Moves from into folder/name (replacing), then sets the write time.
bool moveInto(const std::string& from, const std::string& folder, char sep, const std::string& name,
              std::uint64_t writeTime) {
  if (folder.empty() || !platform::makeFolder(folder)) return false;
  const std::string to = joinPath(folder, sep, name);
  if (platform::replaceFile(from, to) != platform::kOk) return false;
  if (writeTime != 0) (void)platform::setFileTime(to, writeTime);
  return true;
}

}  // namespace

std::string datasetAppFolder(const std::string& fileName, const std::string& entryFolder) {
  const std::size_t open = fileName.find('[');
  if (open != std::string::npos) {
    const std::size_t close = fileName.find(']', open + 1);
    if (close != std::string::npos) {
      const std::string inside = fileName.substr(open + 1, close - open - 1);
      if (plainReceivedName(inside)) return inside;
    }
  }
  if (plainReceivedName(entryFolder)) return entryFolder;
  return kUnknownAppFolder;
}

PlacementCounts placeReceivedFiles(const std::vector<ControlEntry>& entries,
                                   const std::string& partialFolder, const SessionSetup& setup) {
  const SessionFolders& f = setup.folders;
  PlacementCounts counts;
  bool programSeen = false;
  for (const ControlEntry& entry : entries) {
    const std::string name = entry.name();
    if (!plainReceivedName(name)) continue;
    const std::string from = joinPath(partialFolder, f.sep, name);
    if (!platform::fileExists(from)) continue;
    const std::uint64_t time = entry.writeTime();
    switch (entry.type()) {
      case kEntryApplication:
        if (moveInto(from, f.pendingApps, f.sep, name, time)) ++counts.apps;
        break;
      case kEntryDataset: {
        const std::string app = datasetAppFolder(name, entry.folder());
        if (!f.pendingData.empty() && platform::makeFolder(f.pendingData) &&
            moveInto(from, joinPath(f.pendingData, f.sep, app), f.sep, name, time))
          ++counts.datasets;
        break;
      }
      case kEntryMessage:
        if (moveInto(from, f.messages, f.sep, name, time)) {
          ++counts.messages;
          counts.messageNames.push_back(name);
        }
        break;
      case kEntryUpdate:
        if (!setup.programFileName.empty() && base::equalsNoCase(name, setup.programFileName)) {
          if (moveInto(from, joinPath(f.receive, f.sep, kUpdateFolder), f.sep, name, time)) {
            programSeen = true;
            ++counts.updates;
          }
        } else if (programSeen && updateMayReplace(name) && !f.install.empty()) {
          const std::string to = joinPath(f.install, f.sep, name);
          if (platform::copyFile(from, to, false) == platform::kOk) {
            if (time != 0) (void)platform::setFileTime(to, time);
            ++counts.updates;
          }
        }
        break;
      default:
        break;
    }
  }
  return counts;
}

}  // namespace transfer
