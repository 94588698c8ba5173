#pragma once
// The steps of a connected session, with every status text and message.
#include "transfer/session_run.hpp"

namespace transfer {

// Logs in, sends the PC control file and the tagged datasets' files, then
// receives the host's control file, the files it lists and the completion
// file into the partial folder. Stops at the first failure (result.errors)
// or cancel (result.cancelled), after showing its message.
void exchangeFiles(SessionRun& run);

// Ends the session on the link: 'Z' when all went well, then disconnects
// and shuts the link down, with the status texts and messages of that step.
void endSession(SessionRun& run);

}  // namespace transfer
