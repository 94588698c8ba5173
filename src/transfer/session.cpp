#include "transfer/session.hpp"

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/placement.hpp"
#include "transfer/receive_file.hpp"
#include "transfer/session_run.hpp"
#include "transfer/session_steps.hpp"
#include "transfer/session_text.hpp"
#include "transfer/summary.hpp"

namespace transfer {

namespace {

constexpr const char* kCompletionPattern = "xfer_complete*";

bool isMarkerName(const std::string& name) {
  return base::equalsNoCase(name, kHostControlFileName) ||
         base::toUpper(name).rfind("XFER_COMPLETE", 0) == 0;
}

// Deletes the files (not folders) of folder matching pattern, skipping the
// marker files when keepMarkers is set.
void deleteMatching(const std::string& folder, char sep, const std::string& pattern, bool keepMarkers) {
  std::vector<platform::FindEntry> found;
  if (folder.empty() || platform::findFiles(joinPath(folder, sep, pattern), found) != platform::kOk) return;
  for (const platform::FindEntry& e : found) {
    if (e.isFolder || e.isLink || (keepMarkers && isMarkerName(e.name))) continue;
    (void)platform::deleteFile(joinPath(folder, sep, e.name));
  }
}

// The markers of an earlier session go, and so do partial files a session
// that ended abruptly left behind, so the folder holds one session at most.
void prepareReceiveFolder(SessionRun& r) {
  const SessionFolders& f = r.setup.folders;
  r.partialFolder = joinPath(f.receive, f.sep, kPartialFolderName);
  deleteMatching(f.receive, f.sep, kHostControlFileName, false);
  deleteMatching(f.receive, f.sep, kCompletionPattern, false);
  (void)platform::makeFolder(f.receive);
  (void)platform::makeFolder(r.partialFolder);
  deleteMatching(r.partialFolder, f.sep, "*", false);
}

void placeMarkers(SessionRun& r) {
  const SessionFolders& f = r.setup.folders;
  bool placed = true;
  for (const std::string& name : {r.hostControlName, r.completionName})
    placed = platform::replaceFile(joinPath(r.partialFolder, f.sep, name), joinPath(f.receive, f.sep, name)) ==
                 platform::kOk &&
             placed;
  r.result.completed = placed;
}

void archiveSent(SessionRun& r) {
  const SessionSetup& s = r.setup;
  if (!s.archiveAfterTransfer || s.taggedDatasets.empty() || !s.archiveDataset) return;
  for (const std::string& dataset : s.taggedDatasets) {
    if (s.archiveDataset(dataset) == 0) {
      r.view.message("Data Archive Failed!!", "IP Error 12");
      return;
    }
  }
}

void verifyAndPlace(SessionRun& r) {
  if (const auto failure = verifySession(r.result)) {
    r.view.message(verifyFailureText(*failure), "File Xfer ERRORS!!");
    return;
  }
  // Counts that add up do not make a session whose end failed a good one.
  if (r.result.errors) return;
  r.result.stage = kStageVerified;
  PlacementCounts placed = placeReceivedFiles(r.host.entries, r.partialFolder, r.setup);
  r.result.appsReceived = placed.apps;
  r.result.datasetsReceived = placed.datasets;
  r.result.messagesReceived = placed.messages;
  r.result.updatesPending = placed.updates;
  r.result.receivedMessages = std::move(placed.messageNames);
  archiveSent(r);
  placeMarkers(r);
  r.view.message(summaryText(r.result, r.list.control.header.appCount()), "File Transfer Complete");
  if (r.result.datasetsReceived > 0) r.view.message(kPendingDataText, "Pending Data");
  if (r.result.messagesReceived > 0) r.view.message(kPendingMessagesText, "Pending Messages");
}

// What a session leaves behind it: no partial file, and none of the working
// files building the transfer list wrote.
void clearUp(SessionRun& r) {
  const SessionFolders& f = r.setup.folders;
  deleteMatching(r.partialFolder, f.sep, "*", false);
  (void)platform::removeFolder(r.partialFolder);
  deleteMatching(f.work, f.sep, "*.~~~", true);
  deleteMatching(f.work, f.sep, "*.bin", true);
}

}  // namespace

SessionResult runSession(HostLink& link, const SessionSetup& setup, SessionView& view) {
  SessionRun r(link, setup, view);
  prepareReceiveFolder(r);
  if (connectToHost(r)) {
    exchangeFiles(r);
    endSession(r);
    if (!r.result.cancelled) verifyAndPlace(r);
  }
  clearUp(r);
  return r.result;
}

}  // namespace transfer
