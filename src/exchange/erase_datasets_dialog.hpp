#pragma once
// The erase-datasets dialog: the raw datasets of the current application's
// data folder in one list, the ones to erase in another, buttons that move
// the selected entry or all entries either way, and the two erases: Erase
// Selected (the datasets of the erase list) and Erase All Nonbundled (every
// raw dataset file; bundles, whose names begin with "[", stay).
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace ui { class Host; }

namespace exchange {

inline constexpr int kEraseDatasetsLandscape = 142, kEraseDatasetsPortrait = 112;
// Controls of the dialog.
inline constexpr int kAvailableDatasets = 1121, kDatasetsToErase = 1122;
inline constexpr int kMoveToErase = 1123, kMoveAllToErase = 1124;
inline constexpr int kMoveBack = 1125, kMoveAllBack = 1126;
inline constexpr int kEraseSelected = 1127, kEraseAllNonbundled = 1128;

// The files of every raw dataset: "?? *.*" (two characters and a blank).
inline constexpr const char* kNonBundledPattern = "?? *.*";

// The entries of the available list: each raw dataset of dataFolder once,
// as its two-digit number, a blank and its name ("03 North Block").
std::vector<std::string> erasableDatasets(const std::string& dataFolder);

// The dialog's form: the lists side by side in landscape (resource 142),
// one above the other in portrait (resource 112).
ui::Form eraseDatasetsForm(bool portrait);

// Runs the dialog over dataFolder until it is closed.
//
// Erase Selected: a data folder without any file shows its "*.*" pattern
// as text and caption, and nothing else happens. Otherwise it asks "Erase
// Selected Datasets\nAre You Sure ?" (also with an empty erase list); No
// shows "Datasets Not Deleted !". Yes walks the erase list from its last
// entry to its first, 50 ms before each: the files of the entry's number
// ("NN*.*") are erased behind "Erasing Data Files" when there are any; a
// failure asks "All Files in\nDataset:%s\nCan not be Erased" (Abort, Retry,
// Ignore): Retry tries once more and, failing again, shows "Second Try
// for\nDataset:%s\nFailed !\n Skipping Dataset"; Abort ends the walk. Each
// entry walked leaves the erase list, with 50 ms after. Then "AutoXfer" is
// emptied and the available list read anew (a dataset that stayed is
// offered again).
//
// Erase All Nonbundled: no raw dataset file gives "No Datasets to Delete !";
// two questions (No: "Datasets Not Deleted !\nUser Aborted", then
// "Datasets Not Deleted !"), the erase behind "Erasing Data Files" with the
// same Retry / Ignore handling ("All Nonbundled Files in\nDataset:%s\nCan
// not be Erased"; Abort ends at once), "AutoXfer" emptied and both lists
// read anew from the folder (the erase list keeps the entries still there;
// after Abort too).
void runEraseDatasetsDialog(ui::Host& host, const std::string& dataFolder, bool portrait);

}  // namespace exchange
