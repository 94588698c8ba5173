#include "shell/commands.hpp"

namespace shell {

using namespace cmd;

const std::vector<CommandInfo>& commandTable() {
  // {id, name, {noEdit, needsAppOpen, password}, available}
  static const std::vector<CommandInfo> table = {
      {kCollectData, "Collect Data", {true, false, 0}, true},
      {kTransferData, "Transfer Data", {false, false, 0}, true},
      {kTagAutoTransfer, "Tag For Auto Transfer", {false, false, 0}, true},
      // The command asks for the application, the data folder and the level-2
      // password itself, in that order, each with its own message.
      {kEraseNonBundled, "Erase NonBundled Data", {true, false, 0}, true},
      {kEraseCoordFiles, "Erase Coordinate Files", {true, false, 0}, true},
      {kPendingDatasets, "Pending Datasets", {false, false, 0}, true},
      {kBundleDataset, "Bundle Dataset", {true, false, 0}, true},
      {kExtractDataset, "Extract Dataset", {true, false, 0}, true},
      {kSelectApplication, "Select Application", {true, false, 0}, true},
      {kEraseApplication, "Erase Application", {true, false, 1}, true},
      {kAppVersion, "Application Version", {true, true, 0}, true},
      {kLoadFromRemovable, "Load From Removable Storage", {true, false, 0}, true},
      {kPendingApplications, "Pending Applications", {true, false, 0}, true},
      {kPreferences, "Preferences", {false, false, 2}, true},
      {kPassword1, "Level 1 Password", {true, false, 1}, true},
      {kPassword2, "Level 2 Password", {true, false, 2}, true},
      {kTempCoordFiles, "Temp Coordinate Files", {true, false, 0}, true},
      {kSetDateTime, "Set Date - Time", {true, false, 0}, true},
      {kTcpipSetups, "TCP/IP Transfer Setups", {false, false, 0}, true},
      {kLogWaypoint, "Log Waypoint", {false, false, 0}, true},
      {kNavigation, "Navigation", {false, false, 0}, true},
      {kGpsConnect, "Connect / Disconnect", {false, false, 0}, true},
      {kGpsPortSettings, "Port Settings", {false, false, 0}, true},
      {kWarningFilters, "Warning Filters", {false, false, 0}, true},
      {kPresentation, "Presentation", {false, false, 0}, true},
      {kNavParameters, "Navigation Parameters", {false, false, 0}, true},
      {kLoggingSetup, "Position Logging Setup", {false, false, 0}, true},
      {kEditWaypoints, "Edit Waypoints", {false, false, 0}, true},
      {kViewMessages, "View Messages", {false, false, 0}, true},
      {kDeleteMessages, "Delete Messages", {false, false, 0}, true},
      {kVirtualKeystrokes, "Virtual Display Keystrokes", {false, false, 0}, true},
      {kLineKeystrokes, "Line Display Keystrokes", {false, false, 0}, true},
      {kAbout, "About Tallyfin PC", {true, false, 0}, true},
      {kExit, "Exit", {false, false, 0}, true},
      {kExitAlt, "Exit", {false, false, 0}, true},
      {kBarExit, "Exit Program", {false, false, 0}, true},
  };
  return table;
}

const CommandInfo* findCommand(int id) {
  for (const CommandInfo& c : commandTable())
    if (c.id == id) return &c;
  return nullptr;
}

const std::vector<MenuItem>& mainMenu() {
  static const std::vector<MenuItem> menu = {
      {"&Data", 0,
       {{"&Collect Data", kCollectData},
        {"&Transfer Data", kTransferData},
        {"&Tag For Auto Transfer", kTagAutoTransfer},
        {"&Erase NonBundled Data", kEraseNonBundled},
        {"E&rase Coordinate Files", kEraseCoordFiles},
        {"&Pending Datasets", kPendingDatasets},
        {"&Bundle Dataset", kBundleDataset},
        {"E&xtract Dataset", kExtractDataset}}},
      {"&Application", 0,
       {{"&Select Application", kSelectApplication},
        {"&Erase Application", kEraseApplication},
        {"Application &Version", kAppVersion},
        {"&Load From Removable Storage", kLoadFromRemovable},
        {"&Pending Applications", kPendingApplications}}},
      {"&Setups", 0,
       {{"&Preferences", kPreferences},
        {"Level &1 Password", kPassword1},
        {"Level &2 Password", kPassword2},
        {"Temp &Coordinate Files", kTempCoordFiles},
        {"Set &Date - Time", kSetDateTime},
        {"TCP/IP Transfer Setups", kTcpipSetups}}},
      {"&GPS", 0,
       {{"Log &Waypoint", kLogWaypoint},
        {"&Navigation", kNavigation},
        {"&Connect / Disconnect", kGpsConnect},
        {"Port &Settings", kGpsPortSettings},
        {"Position &Parameters", 0,
         {{"&Warning Filters", kWarningFilters},
          {"&Presentation", kPresentation},
          {"&Navigation Parameters", kNavParameters}}},
        {"Position &Logging Setup", kLoggingSetup},
        {"&Edit Waypoints", kEditWaypoints}}},
      {"&Pending", 0,
       {{"&Applications", 0, {{"Post Pending Apps", kPendingApplications}}},
        {"&Datasets", 0, {{"Post Pending Datasets", kPendingDatasets}}},
        {"Messages", 0, {{"&View Messages", kViewMessages}, {"&Delete Messages", kDeleteMessages}}}}},
      {"&Help", 0,
       {{"&Virtual Display Keystrokes", kVirtualKeystrokes},
        {"&Line Display Keystrokes", kLineKeystrokes},
        {"&About Tallyfin PC", kAbout}}},
      {"Exit", kExit, {}},
  };
  return menu;
}

const std::vector<Accelerator>& accelerators() {
  static const std::vector<Accelerator> table = {{'D', kBarData},   {'A', kBarApps}, {'S', kBarSetups},
                                                 {'G', kBarGps},    {'H', kBarHelps}, {'E', kBarExit}};
  return table;
}

}  // namespace shell
