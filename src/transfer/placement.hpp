#pragma once
// Placing the files of a verified session: each entry of the host's control
// file names a received file (in the partial folder) and says by its type
// letter where it goes.
#include <string>
#include <vector>

#include "transfer/control_file.hpp"
#include "transfer/session.hpp"

namespace transfer {

inline constexpr const char* kUnknownAppFolder = "Unknown_App";
inline constexpr const char* kUpdateFolder = "Temp";

struct PlacementCounts {
  int apps = 0;
  int datasets = 0;
  int messages = 0;
  int updates = 0;
  std::vector<std::string> messageNames;
};

// The pending-data folder name for a dataset file: the text in the name's
// first brackets, else the entry's folder, else "Unknown_App"; a text that
// is not a plain file name is passed over in the same way.
std::string datasetAppFolder(const std::string& fileName, const std::string& entryFolder);

// Places every entry whose file stands in partialFolder:
//   'A' -> pendingApps, 'D' -> pendingData/<datasetAppFolder>, 'M' -> messages
//   (moved, replacing a file of the same name, folders created as needed);
//   'E' -> the program file (setup.programFileName, any case) to
//   <receive>/Temp; later 'E' files copied into the install folder unless
//   updateMayReplace refuses the name.
// Each placed file gets the entry's last-write time. Entries whose name is not
// a plain file name, whose file did not arrive, or with other letters are
// passed over. A file that cannot be placed stays where it was.
PlacementCounts placeReceivedFiles(const std::vector<ControlEntry>& entries,
                                   const std::string& partialFolder, const SessionSetup& setup);

}  // namespace transfer
