#pragma once
// The main window's command numbers (menu resource 206, the command bar and
// the choice dialogs) and what stands in front of each command.
#include <string>
#include <vector>

namespace shell {

namespace cmd {
// Command bar.
inline constexpr int kBarData = 40097, kBarApps = 40098, kBarSetups = 40099, kBarGps = 40100,
                     kBarHelps = 40101, kBarExit = 40102;
// Data.
inline constexpr int kCollectData = 40005, kTransferData = 40103, kTagAutoTransfer = 40026,
                     kEraseNonBundled = 40007, kEraseCoordFiles = 40029, kPendingDatasets = 40124,
                     kBundleDataset = 40093, kExtractDataset = 40094;
// Application.
inline constexpr int kSelectApplication = 40006, kEraseApplication = 40008, kAppVersion = 40027,
                     kLoadFromRemovable = 40109, kPendingApplications = 40125;
// Setups.
inline constexpr int kPreferences = 40025, kPassword1 = 40011, kPassword2 = 40012,
                     kTempCoordFiles = 40028, kSetDateTime = 40032, kTcpipSetups = 40090;
// GPS.
inline constexpr int kLogWaypoint = 40066, kNavigation = 40058, kGpsConnect = 40060,
                     kGpsPortSettings = 40067, kWarningFilters = 40063, kPresentation = 40064,
                     kNavParameters = 40065, kLoggingSetup = 40077, kEditWaypoints = 40084;
// Pending, help, exit.
inline constexpr int kViewMessages = 40118, kDeleteMessages = 40119;
inline constexpr int kVirtualKeystrokes = 40030, kLineKeystrokes = 40031, kAbout = 40003;
inline constexpr int kExit = 40048, kExitAlt = 40057;
// Messages the main window takes besides commands.
inline constexpr int kMsgEditClosed = 32778;  // the edit window has gone
inline constexpr int kMsgEndProgram = 1075;   // end the program
}  // namespace cmd

// What must hold before a command runs.
struct CommandGuard {
  bool noEdit = false;         // ignored while an edit session is open
  bool needsAppOpen = false;   // "AppOpen" must be set
  int password = 0;            // access level asked first (1 or 2), 0 none
};

struct CommandInfo {
  int id = 0;
  const char* name = "";  // the action, as the choice dialogs label it
  CommandGuard guard;
  bool available = false;  // built in this program; others are shown disabled
};

// Every command of the main window, in menu order.
const std::vector<CommandInfo>& commandTable();
const CommandInfo* findCommand(int id);

// Menus: top-level entries with their items (a submenu when items is not empty).
struct MenuItem {
  std::string text;
  int command = 0;  // 0 for a submenu
  std::vector<MenuItem> items;
};
const std::vector<MenuItem>& mainMenu();

// Accelerator table 298: Alt+letter → command.
struct Accelerator {
  char letter;
  int command;
};
const std::vector<Accelerator>& accelerators();

}  // namespace shell
