#pragma once
// What waits in the outbox for a unit, in the order it is offered:
//   1. program update files (outbox/*/updates), only when the unit asked;
//      the program file itself ("Tallyfin PC.exe" or "tallyfin") first;
//   2. application packages (apps);
//   3. dataset files (datasets, and datasets/<application>/);
//   4. message files (messages).
// Within a kind, the unit's own files come before shared ones, each group by
// name. A shared file is left out when the unit's control file lists a file
// of the same name (in any case) and size: the unit has it. A name offered
// once is never offered again in the session (the unit's receive folder
// would overwrite the first), nor is a name the unit would take for the host
// control file or the completion file.
#include <cstdint>
#include <string>
#include <vector>

#include "hostlib/host_tree.hpp"
#include "platform/files.hpp"
#include "transfer/control_file.hpp"

namespace host {

struct OfferedFile {
  std::string path;    // where it lies now
  std::string name;    // the name it goes under
  std::uint8_t type = 0;  // transfer::kEntryApplication, ...
  std::uint32_t size = 0;
  platform::FileTime writeTime = 0;
  std::string folder;  // for datasets: the application name (may be empty)
  bool perUnit = false;  // from outbox/<unit>/: moved to sent/ once delivered
};

struct OfferNotes {
  std::vector<std::string> skipped;  // files left out, each with why (for the log)
};

// The offer for unit. The entry count stays within 65535 and the byte total
// within 32 bits; files beyond are left for a later session (noted).
std::vector<OfferedFile> listOffer(const HostTree& tree, const std::string& unit,
                                   const transfer::ControlFile& unitControl, OfferNotes& notes);

// The application a dataset file belongs to: the text between a leading "["
// and the first "]" of its name; "" when there is none.
std::string bracketApplication(const std::string& name);

// Moves the unit's own delivered files to outbox/<unit>/sent/<session>/
// (shared ones stay). 0, or the first error (the others are still moved).
int markSent(const HostTree& tree, const std::string& unit, const std::string& session,
             const std::vector<OfferedFile>& delivered);

}  // namespace host
