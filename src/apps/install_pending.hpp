#pragma once
// Installing a package that host transfer left in the pending-applications
// folder: the version comparison with the installed package, shown side by
// side, and its questions.
#include <string>

namespace ui {
class Host;
}

namespace apps {

inline constexpr const char* kPendingListTitle = "< Pending Applications >";

// The caption and question for a compareHeaders(pending, installed) result;
// both nullptr for -99 and any other result (no question).
struct PendingQuestion {
  const char* caption = nullptr;
  const char* text = nullptr;
};
PendingQuestion pendingQuestion(int compareResult);

enum PendingOutcome : int {
  kPendingCopied = 1,   // the package replaced (or became) the installed one; the pending file is gone
  kPendingKept = 0,     // nothing was copied; the pending file stays
  kPendingDeleted = 2,  // the user had the pending file deleted
  kPendingFailed = -1,  // the copy failed; the pending file stays
};

// Installs the pending package name (UTF-8 file name) from pendingFolder into
// appPath:
//  - its header must be readable whole ("No Application Version\nData
//    Available for Pending App", caption "Error!") and name its file ("%s
//    Appears to have been\n Renamed - App Not Valid\nCannot Copy App!",
//    caption "Error !"), else it is not copied, whether a package is
//    installed or not;
//  - no installed package of that name: copied without a question;
//  - else the installed header must be readable ("No Application
//    Version\nData Available for Current App", caption "Error!"), both are
//    shown side by side (Cancel ends), and compareHeaders(pending, installed)
//    picks the question: Yes on +-3, +-4, +-5 and 0 copies; +-10 never copies
//    (its three further prompts tell the user to erase the datasets first);
//    No on 0 offers to delete the pending file; -99 copies only when the
//    installed header has no version data and the pending one has.
// A copy replaces the installed package in one step, then the pending file is
// deleted ("Pending Application Successfully Copied", caption "Pending App
// Moved"); a failed copy ("Load Application Failed!!", caption "Error!")
// leaves both files as they were.
int installPendingPackage(ui::Host& host, const std::string& pendingFolder, const std::string& name,
                          const std::string& appPath, char sep);

// The dialogue: the pending packages ("*.tfa") in a list titled "< Pending
// Applications >"; nothing to choose or nothing chosen: "No App Selected"
// (caption "Error"). Returns the name of the package installed, "" when none.
std::string installPending(ui::Host& host, const std::string& pendingFolder, const std::string& appPath,
                           char sep);

}  // namespace apps
