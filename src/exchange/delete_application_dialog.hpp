#pragma once
// The delete-application dialog: the installed applications in a list and a
// Delete button that removes the chosen one with its data folder, its
// control folder and its package.
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace apps { struct AppContext; }

namespace exchange {

inline constexpr int kDeleteApplicationDialog = 113;
inline constexpr int kInstalledApplications = 1131, kDeleteApplicationButton = 1132;

// The installed applications: the packages ("*.tfa", folders skipped) of
// appPath, named without ".tfa", sorted. A name that could not be a folder
// of its own ("", ".", "..", or holding a separator) is left out: its
// folders would be the applications or data folder itself, or lie outside.
std::vector<std::string> installedApplications(const std::string& appPath);

ui::Form deleteApplicationForm();

inline constexpr int kDeleteDone = 1, kDeleteDeclined = 0, kDeleteStopped = -1;

// Deletes the installed application name (without ".tfa"):
//  1 "Delete This Application\nand All Associated Data\nAre You Sure ?"
//    (caption the name, No the default); No: "Application Not Deleted !".
//  2 the current application asks "Delete The CURRENT Application\nand All
//    Associated Data Files\nAre You Sure ?" as well; Yes empties "AutoXfer",
//    clears the current application's names and AppOpen, saves the settings
//    file and writes "CurAppName" empty; when that write fails
//    "CurAppName Registry Access Error." and nothing is deleted.
//  3 every table is closed.
//  4 the data folder (data folder + name): its files are erased quietly; a
//    failure asks "All Data Files for\nApplication:%s\nCan not be Erased"
//    (Retry, Cancel): Retry erases behind "Erasing Data Files" ("Data File
//    Delete\nApplication:%s\nFailed !\n Skipping" when files stay), Cancel
//    shows the folder's path. Then the folder goes with everything in it,
//    archives too, links removed but never followed; what stays is shown as
//    "%s\nAppData RemoveDirectory Failed:%d\n".
//  5 the control folder (applications folder + name) the same, with "All
//    Control Files in\nApplication:%s\nCan not be Erased", "Erasing
//    Application", "Control File Delete\nApplication:%s\nFailed !" and
//    "%s\nRemoveDirectory Failed:%d\n"; its subfolders are kept.
//  6 the package (applications folder + name + ".tfa") is deleted.
// A folder without files is removed without the erase and its questions.
// Returns kDeleteDone, kDeleteDeclined (No, or a name that is no
// application's), or kDeleteStopped (step 2's registry failure).
[[nodiscard]] int deleteApplication(apps::AppContext& ctx, const std::string& name);

// Runs the dialog until it is closed; after each deletion the list is read
// anew. Returns how many applications were deleted.
int runDeleteApplicationDialog(apps::AppContext& ctx);

}  // namespace exchange
