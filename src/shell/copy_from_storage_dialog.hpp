#pragma once
// The copy-from-storage dialog of the exchange dialog's copy button: the
// removable drives, the application folders of "Tallyfin Mobile\Data" on
// the chosen drive, that application's bundled datasets, and the Copy
// button, which copies the chosen dataset into the application's data folder
// on this PC.
#include "ui/form.hpp"

namespace ui {
class Host;
}

namespace shell {

struct StartupValues;

// Portrait and landscape layouts of the same controls.
inline constexpr int kCopyFromStorageDialog = 172, kCopyFromStoragePortraitDialog = 173;
inline constexpr int kCopyDriveList = 1721, kCopyAppList = 1722, kCopyDatasetList = 1723, kCopyButton = 1724;

ui::Form copyFromStorageForm(bool portrait);

// No removable drive: "Removable Storage Not Detected!!" (caption "Error!")
// and no dialog. Copy with a drive, application or dataset missing: "Copy
// Dataset Failed!!\nCan't Access Dataset!!" (caption "Copy Error!");
// otherwise the copy's outcome, "Copy Dataset Succeeded!!" (caption "Copy
// Dataset") or "Copy Dataset Failed!!" (caption "Copy Error!"). Returns the
// number of datasets copied while it was open.
int copyFromStorageDialog(ui::Host& host, StartupValues& values);

}  // namespace shell
