#pragma once
// The state one session carries from step to step (inside the session's
// own files only).
#include <string>

#include "transfer/control_file.hpp"
#include "transfer/host_address.hpp"
#include "transfer/link_wait.hpp"
#include "transfer/session.hpp"
#include "transfer/transfer_list.hpp"

namespace transfer {

struct SessionRun {
  SessionRun(HostLink& l, const SessionSetup& s, SessionView& v) : link(l), setup(s), view(v), wait(l, v) {}

  HostLink& link;
  const SessionSetup& setup;
  SessionView& view;
  LinkWait wait;
  SessionResult result;
  SessionProgress progress;
  std::string partialFolder;
  HostAddress address;
  TransferList list;
  ControlFile host;
  std::string hostControlName;  // the marker files as they arrived
  std::string completionName;

  void fail() { result.errors = true; }
  void cancel() { result.cancelled = true; }
};

// Reads the host's address, starts the socket library and the monitor, and
// connects, with every status text and message of those steps. True when
// connected; false when the session ends here (the link is then shut down,
// and result says whether it was cancelled or failed).
[[nodiscard]] bool connectToHost(SessionRun& run);

}  // namespace transfer
