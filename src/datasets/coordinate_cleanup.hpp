#pragma once
// Clearing the dataset's temporary coordinate and position files (every
// "*.??$" of the data folder) when another dataset is opened.
#include <string>

namespace ui {
class Host;
}

namespace datasets {

inline constexpr const char* kTemporaryFilesPattern = "*.??$";

// Deletes every file (not folder) of dataFolder (UTF-8) matching "*.??$" on
// a worker behind the progress window "Deleting Coordinate Files". Returns
// the number of files that could not be deleted (0 when all went, or none
// was there; no window is shown then).
int deleteTemporaryFiles(ui::Host& host, const std::string& dataFolder, char sep);

// The clean-up with its retry question: when some files stay, "All
// Coordinate\nFiles Can Not be Erased !" (caption "Error") offers Retry and
// Cancel. Retry deletes once more; when files stay again "Second Try
// for\nErase Coordinate Files Failed !" (caption "Error") is shown and the
// result is 0. Cancel, or all files gone: 1.
int clearTemporaryFiles(ui::Host& host, const std::string& dataFolder, char sep);

}  // namespace datasets
