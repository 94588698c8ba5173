#include "transfer/session_run.hpp"

#include "base/text.hpp"
#include "transfer/session_text.hpp"

namespace transfer {

namespace {

constexpr int kMonitorPeriodSeconds = 1;
constexpr std::uint32_t kMonitorTimeoutMs = 500;
constexpr int kMonitorTries = 29;
constexpr int kConnectCount = 30;
constexpr int kCountStep = 2;
constexpr int kErrNetUnreachable = 10051;
constexpr int kErrHostUnreachable = 10065;
constexpr int kErrTimedOut = 10060;
constexpr int kErrRefused = 10061;

// The monitor must report no run of answered probes before the session
// goes on; otherwise it is started again, up to the count.
bool startMonitor(SessionRun& r) {
  for (int count = kMonitorTries;; count -= kCountStep) {
    const int rc = r.link.startPingThread(r.address.address, kMonitorPeriodSeconds, kMonitorTimeoutMs);
    if (rc != kLinkOk) {
      r.view.message(withErrorText(base::format("HHN_StartPingThread error=%d", rc), rc), "TCPIP Ping Error");
      const int down = r.link.shutdown();
      if (down != kLinkOk) r.view.message(base::format("HHN_Shutdown error=%d", down), "TCPIP Ping Error");
      r.fail();
      return false;
    }
    if (r.link.monitorStatistics().runLength == 0) return true;
    (void)r.link.shutdown();
    if (count <= 0) {
      r.view.message("  Failed to Connect", "Failed to Connect");
      r.fail();
      return false;
    }
    r.view.setStatus(base::format("[ Connecting:%d]", count));
    if (!r.wait.pause(r.setup.retryPauseMs)) {
      r.cancel();
      return false;
    }
    // The shutdown ended the socket library's start: start it again.
    if (r.link.startSockets() != kLinkOk) {
      r.view.message("Can't initialize TCP/IP\nAborting Transfer", "IP Error 1");
      r.fail();
      return false;
    }
  }
}

bool connect(SessionRun& r) {
  int count = kConnectCount;
  r.view.setStatus(base::format("  Looking For Tallyfin Host:%d", count));
  int rc = r.link.connect(r.address.address, r.address.portNumber);
  // An unreachable network may come up (a cradle, a radio): try again.
  while (rc == kErrNetUnreachable || rc == kErrHostUnreachable) {
    count -= kCountStep;
    if (count <= 0) break;
    if (!r.wait.pause(r.setup.retryPauseMs)) {
      (void)r.link.shutdown();
      r.cancel();
      return false;
    }
    r.view.setStatus(base::format("  Looking For Tallyfin Host:%d", count));
    rc = r.link.connect(r.address.address, r.address.portNumber);
  }
  if (rc == kLinkOk) return true;

  std::string text;
  if (rc == kErrNetUnreachable || rc == kErrHostUnreachable) {
    text = base::format("  Failed to Find Tallyfin Host:%d", count);
    r.view.message(text, "Failed to Find Tallyfin Host");
  } else if (rc == kErrTimedOut) {
    text = "10060: Connection timed out";
  } else if (rc == kErrRefused) {
    text = "10061: Connection refused";
  } else {
    text = base::format("%d: Connection error_code\n%s \n%s ", rc, "Transfer Abort", "Aborting Transfer");
    r.view.message(text, "Aborting Transfer");
  }
  (void)r.link.shutdown();
  r.view.message(withErrorText(text, rc), "IP Error 3");
  r.view.setStatus(text);
  r.cancel();
  return false;
}

}  // namespace

bool connectToHost(SessionRun& r) {
  const SessionFolders& f = r.setup.folders;
  r.view.setStatus("Reading TFM_Host_IP.txt");
  if (readHostAddress(f.settings, r.address) != HostAddressRead::kOk) {
    r.view.message(base::format("Can't read:%s\\TFM_Host_IP.txt", f.settings.c_str()), "Get IP Error");
    r.fail();
    return false;
  }
  r.view.setStatus("Initializing ");
  if (r.link.startSockets() != kLinkOk) {
    r.view.message("Can't initialize TCP/IP\nAborting Transfer", "IP Error 1");
    r.fail();
    return false;
  }
  r.view.setStatus("[ Connecting...]");
  if (!startMonitor(r)) return false;
  return connect(r);
}

}  // namespace transfer
