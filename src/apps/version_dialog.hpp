#pragma once
// Showing application versions: the version dialog of the current application
// (resource 137) and the current and pending versions side by side (resource
// 296).
#include <string>

#include "ui/form.hpp"

namespace ui {
class Host;
}

namespace apps {

class TfaHeader;

inline constexpr int kVersionDialog = 137;
inline constexpr int kSideBySideDialog = 296;

// The texts a header shows: its name, the version as "%03d.%03d" (major,
// minor), the date, the build, the structure version and the structure date.
// A header without version data shows its name and nothing else.
struct VersionTexts {
  std::string name, version, date, build, structure, structureDate;
};
VersionTexts versionTexts(const TfaHeader& header);

// Control ids of the value fields: row r (0 name ... 5 structure date) of the
// version dialog is kVersionValue + r; the side-by-side dialog has the current
// application at kCurrentValue + r and the pending one at kPendingValue + r.
inline constexpr int kVersionValue = 1371;
inline constexpr int kCurrentValue = 2961;
inline constexpr int kPendingValue = 2971;

ui::Form versionForm(const TfaHeader& header);
ui::Form sideBySideForm(const TfaHeader& current, const TfaHeader& pending);

// The version dialog of the installed application in appFolder: its header
// copy, or when that cannot be read the package at packagePath. Without a
// readable header with version data: "No Application Version\nData
// Available" (caption "Error!") instead. True when the dialog was shown.
bool showApplicationVersion(ui::Host& host, const std::string& appFolder, const std::string& packagePath,
                            char sep);

// Shows both versions side by side; a pending header without version data
// is first told ("No Application Version\nData Available for Pending App",
// caption "Error!"). True on OK; on Cancel "Pending Application Version
// Operation Canceled" (caption "Pending App Aborted") and false.
bool confirmPendingVersion(ui::Host& host, const TfaHeader& current, const TfaHeader& pending);

}  // namespace apps
