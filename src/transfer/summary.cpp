#include "transfer/summary.hpp"

#include "base/text.hpp"

namespace transfer {

std::optional<VerifyFailure> verifySession(const SessionResult& r) {
  constexpr const char* kTransmission = "Data Transmission Errors";
  if (r.stage <= kStageConnected) return VerifyFailure{kTransmission, "Connection Not Established"};
  if (r.stage == kStageControlSent || r.stage == kStageReceiving)
    return VerifyFailure{kTransmission, "Data Not Sent to Host"};
  if (r.filesReceived != r.hostEntries + 2)
    return VerifyFailure{"Application File(s) Missing",
                         base::format("Expecting:%d Received:%d", r.hostEntries, r.filesReceived - 2)};
  if (r.datasetFilesSent != r.datasetFilesTagged)
    return VerifyFailure{"Not All Files Sent to Host",
                         base::format("Tried:%d    Sent:%d", r.datasetFilesTagged, r.datasetFilesSent)};
  if (r.datasetFilesSent != r.datasetFilesAcknowledged)
    return VerifyFailure{"Not All Files Received by Host",
                         base::format("Sent:%d Acknowleged:%d", r.datasetFilesSent,
                                      r.datasetFilesAcknowledged)};
  return std::nullopt;
}

std::string verifyFailureText(const VerifyFailure& f) {
  return "Transfer Failed !!\n " + f.reason + "\n " + f.detail + "\n Transfer ERRORS!!";
}

std::string summaryText(const SessionResult& r, int appsPendingUpdate) {
  const int received = r.filesReceived - 2;  // without the host control and completion files
  std::string second;
  if (appsPendingUpdate > 0) {
    second = base::format("Total Tallyfin Files Received:%d\nPosted Apps Rcvd:%d\nApps Pending Update:%d\n",
                          received, r.appsReceived, appsPendingUpdate);
    second += r.datasetsReceived > 0 ? base::format("Datasets Received:%d", r.datasetsReceived)
                                     : std::string("No Datasets Received");
  } else if (r.datasetsReceived > 0) {
    second = base::format("Total Tallyfin Files Received:%d\nPosted Apps Rcvd:%d\nDatasets Received:%d",
                          received, r.appsReceived, r.datasetsReceived);
  } else if (r.appsReceived > 0) {
    second = base::format("Total Tallyfin Files Received:%d\nPosted Apps Rcvd:%d", received, r.appsReceived);
  } else {
    second = base::format("Total Tallyfin Files Received:%d\nAll Applications Up to Date", received);
  }
  const std::string updates = r.updatesPending > 0
                                  ? base::format("Program Updates:Yes  (%d Updates)", r.updatesPending)
                                  : std::string("No Program Updates");
  return base::format("Dataset Files Sent:%d\n", r.datasetFilesSent) + second +
         base::format("\nMessages Rcvd:%d\n", r.messagesReceived) + updates + "\n\nTransfer Successful!";
}

}  // namespace transfer
