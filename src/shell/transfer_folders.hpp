#pragma once
// What the transfer dialogs share: the settings file read anew and written
// back, and the folders they work between.
#include <string>
#include <vector>

namespace ui {
class Host;
}

namespace shell {

struct StartupValues;

// Reads the settings file of the install root into values.settings.
void reloadTransferSettings(ui::Host& host, StartupValues& values);
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
