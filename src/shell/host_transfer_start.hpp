#pragma once
// The exchange dialog's host button: the dataset to send is chosen from the
// "Bundled Datasets" list of the current application, and the session runs
// behind the status window.
#include "shell/host_transfer_window.hpp"

namespace ui { class Host; }

namespace shell {

struct StartupValues;

// The list's button that goes on without a dataset.
inline constexpr int kNoDatasetButton = 1602;

// The file the host sends first and the one it sends last.
inline constexpr const char* kHostControlMarker = "XferFromPC.bin";
inline constexpr const char* kCompletionMarkerPattern = "xfer_complete*";

enum class HostTransferOutcome {
  kCancelled,   // the user did not go on: the exchange dialog closes
  kIncomplete,  // a session ran without completing: the exchange dialog stays
  kCompleted,   // a session completed: the exchange dialog closes with 1
};

// True when both marker files stand in the receive folder.
bool transferMarkersPresent(const std::string& receiveFolder, char sep);

// Reads the settings file anew, makes the transfer folders and opens the
// "Bundled Datasets" list (nothing selected at first). OK (Enter or a double
// click) with an entry selected keeps that dataset, writes "xsu.dft" and goes
// on; OK with entries but none selected shows "No Bundled Dataset Selected!"
// (caption "Error!") and cancels; OK on an empty list or the "No Dataset"
// button goes on without one; Escape or Cancel cancels. Going on runs the
// status window over the chosen dataset and those of "AutoXfer" (each
// once). kCompleted only when the session says it completed and both marker
// files stand in the receive folder, so markers left by an earlier session
// never count.
HostTransferOutcome startHostTransfer(ui::Host& host, StartupValues& values, const SessionRunner& runner = {});

}  // namespace shell
