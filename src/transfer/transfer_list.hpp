#pragma once
// The PC's control file: what the session tells the host about this unit and
// the files it lists — the datasets tagged for sending, the application
// packages it holds (installed and pending), and its message files.
#include <cstdint>
#include <string>
#include <vector>

#include "transfer/control_file.hpp"
#include "transfer/session.hpp"

namespace transfer {

struct TransferList {
  ControlFile control;
  std::string controlName;                // "XferFromHH~" + unit id + "~" + unit tag + ".bin"
  std::string controlPath;                // in the work folder
  std::vector<std::string> datasetPaths;  // the files to send after the control file, in order
  std::uint32_t totalBytes = 0;           // the listed files and the control file itself
};

// The control file's name for a unit.
std::string controlFileName(const std::string& unitId, const std::string& unitTag);

// Fills out from the folders of setup: the files matching "[" + name + "]*.*"
// of each tagged dataset in the data folder (count at offset 422, folder the
// application name), "*.tfa" of the applications and pending-applications
// folders (the pending ones' count at 424), "*.mes" of the messages folder
// (count at 426). Entries carry the name, the last-write time (also as the
// creation time, which the file search does not give) and the size; files
// whose size or name an entry cannot hold are left out. Then writes the file
// to the work folder. 0 on success; kErrInvalidParameter when the version
// text or unit id does not fit the header or the name would not be a plain
// file name; otherwise the error of the write.
[[nodiscard]] int buildTransferList(const SessionSetup& setup, TransferList& out);

}  // namespace transfer
