#pragma once
// Built-in 116: runs text x through the system's command interpreter after
// writing every open level table of the edit session to its file, so the
// command sees the data as it stands. The result is the command's exit
// status; a command that cannot be started gives −1 with status 27 ("Can't
// Process").
#include "runtime/call.hpp"

namespace runtime {

void runSystemCommand(Call& c);

}  // namespace runtime
