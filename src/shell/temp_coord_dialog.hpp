#pragma once
// "Temp Coordinate Files": whether a dataset change clears the temporary
// coordinate and position files of the data folder (the ClearCoordFiles
// setting of the settings record).
#include <string>

namespace config { class SettingsRecord; }
namespace ui { class Host; }

namespace shell {

inline constexpr int kTempCoordDialog = 139;
inline constexpr int kClearCoordCheck = 1391;

// Shows the setting of record as a check box. OK stores it in record and
// writes the settings file of installRoot: 1; Cancel changes nothing: 0.
int tempCoordinateFilesDialog(ui::Host& host, const std::string& installRoot, config::SettingsRecord& record,
                              char sep);

}  // namespace shell
