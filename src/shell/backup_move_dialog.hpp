#pragma once
// The backup / move dialog of the exchange dialog's storage button: a list of
// removable drives, the current application's datasets, the "Archive Before
// Move" check box and the Move and Backup buttons.
namespace ui {
class Host;
}

namespace shell {

struct StartupValues;

inline constexpr int kBackupMoveDialog = 171;
inline constexpr int kBackupDriveList = 1711, kBackupDatasetList = 1712, kArchiveBeforeMoveBox = 1713,
                     kMoveButton = 1714, kBackupButton = 1715;

// Reads the settings file anew, clamps the archive-before-move option to 0
// or 1 and lists the datasets (raw, then bundled) and the removable drives.
// No removable drive: "Removable Storage Not Detected!!" (caption "Error!")
// and no dialog. No open application: "Must Select a Valid Application!"
// (caption "Error") and no dialog. Every command and the closing write the
// settings file with the check box's state. Returns the number of datasets
// backed up or moved while it was open.
int backupMoveDialog(ui::Host& host, StartupValues& values);

}  // namespace shell
