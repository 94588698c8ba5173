#pragma once
// What the transfer dialogs share: the settings file written back, the
// folders they work between, and a check of a list selection.
#include <string>
#include <vector>

namespace ui {
class Host;
}

namespace shell {

struct StartupValues;

// True when i indexes v (a list box's selection, -1 when none).
template <class T>
bool validIndex(int i, const std::vector<T>& v) {
  return i >= 0 && i < static_cast<int>(v.size());
}

// Writes values.settings; 1 on success, 0 after the failure was shown.
int saveTransferSettings(ui::Host& host, StartupValues& values);

// The data folder (settings, else the start-up value), the pending-data
// folder likewise, and an application's data folder within the data folder.
std::string transferDataPath(const StartupValues& values);
std::string transferPendingDataPath(const StartupValues& values);
std::string transferAppPath(const StartupValues& values);
std::string applicationDataFolder(const StartupValues& values, const std::string& appName);

// The removable drives, each "E:(CARD)"; when there are none (or the system
// cannot list them) "Removable Storage Not Detected!!" (caption "Error!") has
// been shown and the list is empty.
std::vector<std::string> removableDrivesOrSay(ui::Host& host);

}  // namespace shell
