#include "transfer/session_steps.hpp"

#include "base/text.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "transfer/host_control.hpp"
#include "transfer/login_block.hpp"
#include "transfer/receive_file.hpp"
#include "transfer/send_file.hpp"
#include "transfer/session_text.hpp"
#include "transfer/wire_commands.hpp"

namespace transfer {

namespace {

constexpr const char* kCompletionPrefix = "xfer_complete";

bool containsNoCase(const std::string& text, const std::string& part) {
  return base::toUpper(text).find(base::toUpper(part)) != std::string::npos;
}

bool startsNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && base::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// A receive that failed: a cancel ends quietly, anything else is the
// receive error of the session.
void receiveFailed(SessionRun& r, int rc) {
  if (rc == kLinkCancelled || r.view.cancelled()) {
    r.cancel();
    return;
  }
  r.view.message(base::format("Rcv file error = %d", kLinkFileReceiveError), "IP Error 4");
  r.fail();
}

bool logIn(SessionRun& r) {
  r.result.stage = kStageConnected;
  r.view.setStatus("[ Logging in...]");
  LoginBlock login;
  if (!buildLoginBlock(r.setup.unitId, r.setup.versionText, login)) {
    r.view.message("File Send Error\nAborting Transfer", "Send Error");
    r.fail();
    return false;
  }
  const int rc = r.wait.send(login.bytes().data(), LoginBlock::kSize);
  if (rc == kLinkOk) return true;
  if (rc == kLinkCancelled) {
    r.cancel();
  } else {
    r.view.message(withErrorText(base::format("TCPSendData error=%d", rc), rc), "Send Error");
    r.fail();
  }
  return false;
}

bool sendControlFile(SessionRun& r) {
  const int built = buildTransferList(r.setup, r.list);
  r.view.setStatus("Initializing Transfer List");
  r.view.setFile(r.list.controlName.empty() ? controlFileName(r.setup.unitId, r.setup.unitTag)
                                            : r.list.controlName);
  r.view.setStatus("Sending Files...");
  if (built != platform::kOk || !platform::fileExists(r.list.controlPath)) {
    const std::string name = controlFileName(r.setup.unitId, r.setup.unitTag);
    r.view.setStatus(base::format("File:-%s- Not Found", name.c_str()));
    r.view.message(joinPath(r.setup.folders.work, r.setup.folders.sep, name), "File Not Found");
    r.fail();
    return false;
  }
  r.result.datasetFilesTagged = r.list.control.header.datasetCount();
  r.progress.fileNumber = 1;
  r.progress.fileCount = static_cast<int>(1 + r.list.datasetPaths.size());
  if (!sendFile(r.wait, r.list.controlPath, r.setup.folders.sep, r.progress)) {
    if (r.view.cancelled()) {
      r.cancel();
      return false;
    }
    r.view.setStatus(base::format("File:-%s- NOT Sent", r.list.controlName.c_str()));
    r.view.message(r.list.controlPath, "File NOT Sent");
    r.view.setStatus("Aborting Transfer");
    r.view.message("File Send Error\nAborting Transfer", "Send Error");
    r.fail();
    return false;
  }
  ++r.result.filesSent;
  r.result.stage = kStageControlSent;
  return true;
}

// Sends the tagged datasets' files; false when one failed (or was cancelled).
bool sendDatasets(SessionRun& r) {
  for (const std::string& path : r.list.datasetPaths) {
    ++r.progress.fileNumber;
    if (!sendFile(r.wait, path, r.setup.folders.sep, r.progress)) return false;
    ++r.result.filesSent;
    const std::string name = path.substr(path.rfind(r.setup.folders.sep) + 1);
    if (!containsNoCase(name, "complete") && !containsNoCase(name, ".bin")) ++r.result.datasetFilesSent;
  }
  return true;
}

void receiveFiles(SessionRun& r) {
  const SessionFolders& f = r.setup.folders;
  r.result.stage = kStageReceiving;
  r.view.setStatus("Receiving Files...");
  r.progress.fileNumber = 0;
  r.progress.fileCount = 1;
  std::string name;
  int rc = receiveFile(r.wait, r.partialFolder, f.sep, r.setup.maxReceiveBytes, r.progress, name);
  if (rc != kLinkOk) return receiveFailed(r, rc);
  ++r.result.filesReceived;
  std::uint32_t controlBytes = 0;
  if (!base::equalsNoCase(name, kHostControlFileName) ||
      !readHostControl(joinPath(r.partialFolder, f.sep, name), r.host, controlBytes)) {
    r.view.message("Parse xferfrompc.bin Failed", "recieve files");
    r.fail();
    return;
  }
  r.hostControlName = name;
  r.result.clockSet = applyHostClock(r.host, r.setup.clock);
  r.progress.bytesTotal = controlBytes + r.host.header.totalBytes();
  r.result.stage = kStageHostControlRead;
  r.result.hostEntries = static_cast<int>(r.host.entries.size());
  r.result.datasetFilesAcknowledged = r.host.header.datasetCount();

  r.progress.fileCount = r.result.hostEntries + 2;
  for (int i = 0; i <= r.result.hostEntries; ++i) {
    rc = receiveFile(r.wait, r.partialFolder, f.sep, r.setup.maxReceiveBytes, r.progress, name);
    if (rc != kLinkOk) return receiveFailed(r, rc);
    const bool last = i == r.result.hostEntries;
    if (last && !startsNoCase(name, kCompletionPrefix)) {
      // Not the completion file: the host's list did not end as it must,
      // so the file does not count and the session cannot verify.
      r.view.message("Did not get xfer completion file", "IP Error 5");
      r.fail();
      return;
    }
    ++r.result.filesReceived;
    if (last) r.completionName = name;
  }
}

}  // namespace

void exchangeFiles(SessionRun& r) {
  if (!logIn(r) || !sendControlFile(r)) return;
  const bool sent = sendDatasets(r);
  if (r.view.cancelled()) {
    r.cancel();
    return;
  }
  if (!sent) {
    r.view.message("Parse xferfrompc.bin Failed", "SendFile_error_code");
    r.fail();
    return;
  }
  receiveFiles(r);
}

void endSession(SessionRun& r) {
  if (r.result.cancelled) {
    r.view.setStatus("Aborting ");
  } else if (r.result.errors) {
    r.view.setStatus("Transfer ERRORS!!");
  } else {
    const int rc = r.wait.sendCommand(kCommandEndSession);
    if (rc == kLinkCancelled) {
      r.cancel();
      r.view.setStatus("Aborting ");
    } else if (rc != kLinkOk) {
      r.view.message(withErrorText(base::format("TCPSendData error = %d", rc), rc),
                     linkErrorIndex(rc) > 0 ? "IP Error 6" : "IP Error 7");
      r.view.setStatus("Transfer ERRORS!!");
      r.fail();
    } else {
      r.view.setStatus("Transfer Complete");
    }
  }
  int rc = r.link.disconnect();
  if (rc != kLinkOk)
    r.view.message(withErrorText(base::format("HHN_Disconnect error = %d", rc), rc),
                   linkErrorIndex(rc) > 0 ? "IP Error 8" : "IP Error 9");
  if (r.result.cancelled) {
    (void)r.link.shutdown();
    return;
  }
  r.view.setStatus("Breaking Connection...");
  rc = r.link.shutdown();
  if (rc != kLinkOk)
    r.view.message(withErrorText(base::format("HHN_Close error = %d", rc), rc),
                   linkErrorIndex(rc) > 0 ? "IP Error 10" : "IP Error 11");
}

}  // namespace transfer
