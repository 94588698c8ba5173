#pragma once
// Before a pending dataset (one the host sent) is posted, its version table
// is compared with the installed application's header, so that data of
// another structure never lands beside the application's own.
#include <string>

#include "exchange/transfer_selection.hpp"

namespace tablestore {
class TableStore;
}
namespace ui {
class Host;
}

namespace exchange {

// Results of checkPendingAppDataVersion.
enum PendingVersionCheck : int {
  kPendingVersionAgrees = 1,             // same name and data structure: posting may go on
  kPendingStructureDiffers = -1,         // HIER_VER differs
  kPendingVersionUnreadable = -10,       // the pending dataset's version table is missing or unreadable
  kPendingStructureDateDiffers = -11,    // HIER_DATE or HIER_TIME differs (letter case ignored)
  kPendingAppNameDiffers = -12,          // APP_NAME differs (letter case ignored)
  kInstalledVersionUnreadable = -13,     // the installed application's header cannot be read
};

// The message of a negative result ("-10 Can't Check the Data Version for the
// Application!!" ...), nullptr for any other value. They are shown with
// the caption kPendingVersionCaption.
const char* pendingVersionMessage(int result);
inline constexpr const char* kPendingVersionCaption = "Check_Pending_App_Data_Version Error";

// Whether the application appName is installed: its package
// (appPath/appName.tfa) or its folder (appPath/appName) exists.
bool applicationInstalled(const std::string& appPath, const std::string& appName);

// Compares the version table of the pending dataset ref in pendingFolder
// (raw "%02d 1A____[name]*#$$DataAppVer.dbf", bundled
// "[name]1A____*#$$DataAppVer.dbf"; the first found) with the installed
// application's header: the header copy "_tfa_app_hdr.dft" in appFolder,
// else the package's own header at packagePath. The header's texts are
// compared as the version table holds them (cut to the field widths and
// trimmed). Checked in this order: pending table (-10), installed header
// (-13), HIER_VER (-1), HIER_DATE and HIER_TIME (-11), APP_NAME (-12); else
// kPendingVersionAgrees. Nothing is shown and nothing written; the table is
// opened in store and closed again.
[[nodiscard]] int checkPendingAppDataVersion(tablestore::TableStore& store, ui::Host& host,
                                             const std::string& pendingFolder, const DatasetRef& ref,
                                             const std::string& appFolder, const std::string& packagePath);

}  // namespace exchange
