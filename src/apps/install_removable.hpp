#pragma once
// Loading an application package from removable storage (dialog 292): the
// removable drives, the packages in "Tallyfin Mobile\Apps" on the chosen
// drive, and the version rules with their questions before an installed
// package is replaced.
#include <string>
#include <vector>

namespace ui {
class Host;
}

namespace apps {

inline constexpr int kRemovableDialog = 292;
inline constexpr int kDriveList = 2921;
inline constexpr int kRemovablePackageList = 2922;
inline constexpr int kLoadButton = 1314;

// List_Storage_Cards: fills entries with the removable drives ("E:(CARD)")
// and returns their number. When the system cannot report its drives:
// "_getdrives() failed with failure code: %d\n" (caption
// "List_Storage_Cards()"), entries empty, 0.
int listStorageCards(ui::Host& host, std::vector<std::string>& entries);

// The package folder of a drive entry: its path + "Tallyfin Mobile" + sep + "Apps".
std::string removableAppsFolder(const std::string& driveEntry, char sep);

// The question for a compareHeaders(source, installed) result, with %s for
// the package name; nullptr for -99 and any other result (no question).
const char* removableQuestion(int compareResult);

enum LoadOutcome : int {
  kLoadCopied = 1,    // "Load Application Succeeded!!" (caption "Load App!")
  kLoadDeclined = 0,  // the user said No: "Load Application Aborted!" (caption "Not Copied")
  kLoadFailed = -1,   // a header or the copy failed: "Load Application Failed!!" (caption "Error!")
};

// Loads the package name (UTF-8 file name) from sourceFolder into appPath
// under the same name, reporting the outcome as above.
//  - The package's header must be readable whole, else "%s On Removable
//    Storage Appears to not be a Valid Application\nCannot Copy App!", and
//    must name the package's file, else "%s Appears to have been\n Renamed -
//    App Not Valid\nCannot Copy App!" (both caption "Error !"): a truncated or
//    garbage package is never copied, installed package or not.
//  - No installed package of that name: copied without a question.
//  - An installed one whose header cannot be read: "%s Is Aready Present but
//    not Accessable\nCannot Copy App!" (caption "Error !"); not copied.
//  - Otherwise compareHeaders(source, installed) picks the question (caption
//    "Warning !", Yes copies); -99 gives the "Renamed" message instead.
// Copies never leave a part of a package under the installed name.
int loadFromRemovable(ui::Host& host, const std::string& sourceFolder, const std::string& name,
                      const std::string& appPath, char sep);

// The dialog. Without a removable drive: "Removable Storage Not Detected!!"
// (caption "Error") and no dialog. Choosing a drive lists its packages; the
// load button loads the chosen one ("No App Selected", caption "Error", when
// none is); the dialog stays open until it is closed.
void installFromRemovable(ui::Host& host, const std::string& appPath, char sep);

}  // namespace apps
