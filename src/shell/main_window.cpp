#include "shell/main_window.hpp"

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "apps/install_pending.hpp"
#include "apps/install_removable.hpp"
#include "apps/version_dialog.hpp"
#include "apps/versions.hpp"
#include "base/paths.hpp"
#include "base/text.hpp"
#include "config/auto_transfer.hpp"
#include "config/unit_id.hpp"
#include "datasets/coordinate_cleanup.hpp"
#include "datasets/level_tables.hpp"
#include "editor/display_preferences.hpp"
#include "editor/edit_session.hpp"
#include "editor/help_lists.hpp"
#include "platform/clock.hpp"
#include "platform/clock_set.hpp"
#include "platform/codepage.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "platform/system.hpp"
#include "shell/auto_transfer_dialog.hpp"
#include "shell/choice_dialogs.hpp"
#include "shell/commands.hpp"
#include "shell/dataset_exchange_commands.hpp"
#include "shell/erase_commands.hpp"
#include "shell/transfer_commands.hpp"
#include "shell/date_time_dialog.hpp"
#include "shell/exit_prompt.hpp"
#include "shell/host_address_dialog.hpp"
#include "shell/messages.hpp"
#include "shell/passwords.hpp"
#include "shell/temp_coord_dialog.hpp"
#include "ui/host.hpp"

namespace shell {

namespace {

constexpr const char* kStarterClass = "RESET_TF_MOBILE";
constexpr const char* kStarterTitle = "Reset_TFMobile";
constexpr int kUpdateEvery = 100;  // seconds between looks for a program update

std::string starterName(const config::PathStyle& style) {
  return style.sep == '\\' ? "ResetTFM_PC.exe" : "ResetTFM_PC";
}

// The about box; its unit-ID button asks the level-1 password first, since
// the identification names every data file the unit writes.
class AboutController : public ui::FormController {
 public:
  AboutController(ui::Host& host, StartupValues& values) : host_(host), values_(values) {}
  void onCommand(ui::FormView& view, int id) override {
    if (id != kChangeUnitIdButton) return ui::FormController::onCommand(view, id);
    if (!checkAccess(host_, values_, 1)) return;
    if (config::changeUnitIdentification(host_, values_.settings, values_.unitIdDefault)) {
      config::saveSettings(host_, values_.installRoot, values_.settings, values_.style.sep);
      view.setText(1035, "Unit ID: " + platform::toWide(values_.settings.unitIdText()));
    }
  }

 private:
  ui::Host& host_;
  StartupValues& values_;
};

}  // namespace

ui::Form aboutForm(const std::string& unitId) {
  using K = ui::ControlKind;
  ui::Form f;
  f.resource = 103;
  f.caption = "About Tallyfin PC";
  f.size = {0, 0, 180, 96};
  ui::Control title{1031, K::Static, "Tallyfin PC", {10, 10, 160, 10}};
  title.centred = true;
  ui::Control version{1032, K::Static, std::string("Version") + kAboutVersionText, {10, 24, 160, 10}};
  version.centred = true;
  ui::Control date{1033, K::Static, kAboutDateText, {10, 36, 160, 10}};
  date.centred = true;
  ui::Control unit{1035, K::Static, "Unit ID: " + unitId, {10, 50, 160, 10}};
  unit.centred = true;
  ui::Control change{kChangeUnitIdButton, K::Button, "&Unit ID...", {22, 70, 60, 14}};
  ui::Control ok{ui::kIdOkButton, K::Button, "OK", {98, 70, 60, 14}};
  ok.defaultButton = true;
  ok.cancelButton = true;
  f.controls = {title, version, date, unit, change, ok};
  f.firstFocus = ui::kIdOkButton;
  return f;
}

MainWindow::MainWindow(ui::Host& host, StartupValues& values) : host_(host), values_(values) {}

void MainWindow::create() {
  const char sep = values_.style.sep;
  reloadSettings(host_, values_);
  abortPath_ = base::joinPath(values_.installRoot, "abort.dat", sep);
  updatePath_ = values_.installRoot + sep + "TCPIP_Receive" + sep + "Temp" + sep + values_.style.exeName;
  starterPath_ = values_.installRoot + sep + starterName(values_.style);
  platform::makeFolder(values_.appPath);
  std::string app = values_.settings.path(config::SettingsRecord::Path::CurAppName);
  if (!app.empty()) platform::makeFolder(values_.dataPath + sep + app);
}

bool MainWindow::commandEnabled(int id) const {
  const CommandInfo* info = findCommand(id);
  if (!info) return id >= cmd::kBarData && id <= cmd::kBarExit;  // the command bar itself
  if (!info->available) return false;
  return !(info->guard.noEdit && editOpen_);
}

MainAction MainWindow::command(int id) {
  switch (id) {
    case ui::kIdCancelButton:  // Cancel in the main window leaves, as Exit does
      return close();
    case cmd::kBarData:
    case cmd::kBarApps:
    case cmd::kBarSetups:
    case cmd::kBarGps:
    case cmd::kBarHelps: {
      static constexpr Choice kChoices[] = {Choice::Data, Choice::Apps, Choice::Setups, Choice::Gps,
                                            Choice::Helps};
      int button = runChoice(host_, kChoices[id - cmd::kBarData], portrait());
      int next = commandOfChoiceButton(button);
      return next ? dispatch(next) : MainAction::None;
    }
    default:
      return dispatch(id);
  }
}

MainAction MainWindow::dispatch(int id) {
  const CommandInfo* info = findCommand(id);
  if (!info || !info->available) return MainAction::None;
  if (info->guard.noEdit && editOpen_) return MainAction::None;
  if (info->guard.needsAppOpen && !values_.settings.appOpen()) return MainAction::None;
  if (info->guard.password && !checkAccess(host_, values_, info->guard.password)) return MainAction::None;
  const char sep = values_.style.sep;
  switch (id) {
    case cmd::kPassword1: changePassword(host_, values_, 1); break;
    case cmd::kPassword2: changePassword(host_, values_, 2); break;
    case cmd::kViewMessages: viewMessagesCommand(host_, values_.installRoot, sep); break;
    case cmd::kDeleteMessages: deleteMessagesCommand(host_, values_.installRoot, sep); break;
    case cmd::kVirtualKeystrokes:
      host_.toggleScrollWindow(editor::kVirtualHelpTitle, editor::helpWindowLines(editor::virtualDisplayHelp()));
      break;
    case cmd::kLineKeystrokes:
      host_.toggleScrollWindow(editor::kLineHelpTitle, editor::helpWindowLines(editor::lineDisplayHelp()));
      break;
    case cmd::kAbout: about(); break;
    case cmd::kPreferences: preferences(); break;
    case cmd::kCollectData: return collectData();
    case cmd::kEraseCoordFiles: eraseCoordinateFiles(); break;
    case cmd::kSelectApplication: selectApplication(); break;
    case cmd::kAppVersion: applicationVersion(); break;
    case cmd::kLoadFromRemovable: apps::installFromRemovable(host_, values_.appPath, sep); break;
    case cmd::kPendingApplications: apps::installPending(host_, pendingAppFolder(), values_.appPath, sep); break;
    case cmd::kSetDateTime: setDateTime(); break;
    case cmd::kBundleDataset: (void)bundleDatasetCommand(host_, values_); break;
    case cmd::kExtractDataset: (void)extractDatasetCommand(host_, values_); break;
    case cmd::kEraseNonBundled:
      applicationClosing();  // the command opens the application anew
      (void)eraseNonBundledCommand(host_, values_);
      break;
    case cmd::kEraseApplication:
      (void)eraseApplicationCommand(host_, values_);
      if (values_.settings.path(config::SettingsRecord::Path::CurAppName).empty()) applicationClosing();
      break;
    case cmd::kTransferData: (void)transferDataCommand(host_, values_); break;
    case cmd::kPendingDatasets: (void)pendingDatasetsCommand(host_, values_); break;
    case cmd::kTagAutoTransfer: (void)autoTransferCommand(host_, values_); break;
    case cmd::kTcpipSetups: (void)hostAddressDialog(host_, values_); break;
    case cmd::kTempCoordFiles: {
      reloadSettings(host_, values_);
      (void)tempCoordinateFilesDialog(host_, values_.installRoot, values_.settings, sep);
      break;
    }
    case cmd::kGpsConnect:
    case cmd::kGpsPortSettings:
    case cmd::kWarningFilters:
    case cmd::kPresentation:
    case cmd::kNavParameters:
    case cmd::kLoggingSetup:
    case cmd::kLogWaypoint:
    case cmd::kNavigation:
    case cmd::kEditWaypoints: gpsCommand(id); break;
    case cmd::kExit:
    case cmd::kExitAlt:
    case cmd::kBarExit: return close();
    default: break;
  }
  return MainAction::None;
}

void MainWindow::gpsCommand(int id) {
  if (gps_ == nullptr) {
    host_.beep();  // a program without a receiver
    return;
  }
  switch (id) {
    case cmd::kGpsConnect: gps_->connectOrDisconnect(); break;
    case cmd::kGpsPortSettings: gps_->portSettings(); break;
    case cmd::kWarningFilters: gps_->warningFilters(); break;
    case cmd::kPresentation: gps_->presentation(); break;
    case cmd::kNavParameters: gps_->navigationParameters(); break;
    case cmd::kLoggingSetup: gps_->loggingSetup(); break;
    case cmd::kLogWaypoint: gps_->logWaypoint(); break;
    case cmd::kNavigation: gps_->navigation(); break;
    case cmd::kEditWaypoints: gps_->editWaypoints(); break;
    default: break;
  }
}

void MainWindow::setDateTime() {
  (void)setDateTimeDialog(host_, clockSetter_ ? *clockSetter_ : platform::nativeClockSetter());
}

namespace {

using Path = config::SettingsRecord::Path;

}  // namespace

bool MainWindow::selectApplicationNamed(const std::string& name) {
  selectApplication(name);
  std::string current = values_.settings.path(Path::CurAppName);
  auto stem = [](std::string n) {
    if (n.size() >= 4 && base::equalsNoCase(n.substr(n.size() - 4), ".tfa")) n.resize(n.size() - 4);
    return n;
  };
  return values_.settings.appOpen() && base::equalsNoCase(stem(current), stem(name));
}

void MainWindow::selectApplication(const std::optional<std::string>& name) {
  const char sep = values_.style.sep;
  values_.tables.closeAll();
  values_.tables.init();
  reloadSettings(host_, values_);
  const std::string before = values_.settings.path(Path::CurAppName);
  if (!platform::makeFolder(values_.appPath)) {
    values_.settings.setPath(Path::CurAppName, "");
    values_.settings.setAppOpen(false);
    values_.curAppName.clear();
    ui::inform(host_, "Selected Application Location\nNot Available.\nSelect New Location.", "Error");
    if (!platform::putAppSetting("CurAppName", "")) ui::inform(host_, "CurAppName Registry Access Error.", "Error");
    config::clearAutoTransfer(host_);
    config::saveSettings(host_, values_.installRoot, values_.settings, sep);
    return;
  }
  apps::AppContext ctx{host_, apps::currentApp(), values_, values_.tables};
  applicationClosing();
  apps::selectApplication(ctx, name);
  const std::string after = values_.settings.path(Path::CurAppName);
  if (!platform::putAppSetting("CurAppName", after)) ui::inform(host_, "CurAppName Registry Access Error.", "Error");
  if (!base::equalsNoCase(before, after)) config::clearAutoTransfer(host_);
  config::saveSettings(host_, values_.installRoot, values_.settings, sep);
}

void MainWindow::applicationVersion() {
  const char sep = values_.style.sep;
  const std::string name = values_.settings.path(Path::CurAppName);
  apps::AppContext ctx{host_, apps::currentApp(), values_, values_.tables};
  if (apps::openApplication(ctx, name, false) != apps::kOpenOk) return;
  apps::showApplicationVersion(host_, base::joinPath(values_.appPath, name, sep),
                               apps::packagePath(values_.appPath, name, sep), sep);
}

std::string MainWindow::pendingAppFolder() const {
  return values_.pendingAppPath.empty() ? values_.appPath + "_Pending" : values_.pendingAppPath;
}

void MainWindow::about() {
  AboutController controller(host_, values_);
  host_.runForm(aboutForm(platform::toWide(values_.settings.unitIdText())), controller);
}

MainAction MainWindow::collectData() {
  reloadSettings(host_, values_);
  if (!values_.settings.appOpen()) {
    ui::inform(host_, "Must Select a Valid Application!", "Error");
    return MainAction::None;
  }
  // Every command reopens the current application before it uses it.
  const std::string name = values_.settings.path(Path::CurAppName);
  apps::AppContext ctx{host_, apps::currentApp(), values_, values_.tables};
  // The application is read anew, its programs with it.
  applicationClosing();
  if (apps::openApplication(ctx, name, false) != apps::kOpenOk) {
    ui::inform(host_, "Can't Open Current Application!", "Error");
    return MainAction::None;
  }
  const std::string dataFolder = values_.settings.path(Path::AppDataFolder);
  if (dataFolder.empty() || !platform::makeFolder(dataFolder) || !platform::folderExists(dataFolder)) {
    ui::inform(host_, "Application Not Valid!", "Error");
    return MainAction::None;
  }
  if (datasets::openData(ctx, session_, editStart_) != 1) return MainAction::None;
  editOpen_ = true;
  afterEdit_ = MainAction::None;
  {
    editor::EditSession edit(host_, ctx, session_, *hooks_);
    edit_ = &edit;
    (void)edit.run(editStart_.title);
    edit_ = nullptr;
  }
  editWindowClosed();
  MainAction after = afterEdit_;
  afterEdit_ = MainAction::None;
  return after;
}

void MainWindow::endEditSession(MainAction action) {
  if (afterEdit_ != MainAction::EndProgram) afterEdit_ = action;
  if (edit_) edit_->abort();
}

void MainWindow::preferences() {
  (void)editor::runDisplayPreferences(host_, values_.installRoot, values_.settings, values_.style.sep);
}

void MainWindow::eraseCoordinateFiles() {
  const char sep = values_.style.sep;
  const std::string dataFolder = values_.settings.path(Path::AppDataFolder);
  if (dataFolder.empty() || !platform::fileExists(dataFolder + sep + datasets::kTemporaryFilesPattern)) {
    ui::inform(host_, "No Coordinate Files Present.", "Error");
    return;
  }
  if (ui::askYesNo(host_, "Erase All Coordinate Files\nAre You Sure ?", "Erase Coordinate Files", true) !=
      ui::kIdYes) {
    ui::inform(host_, "Coordinate Files Not Erased !\nUser Aborted", "Erase Coordinate Files");
    return;
  }
  datasets::clearTemporaryFiles(host_, dataFolder, sep);
}

void MainWindow::editWindowClosed() {
  apps::AppContext ctx{host_, apps::currentApp(), values_, values_.tables};
  for (int level = datasets::kMaxLevel; level >= 1; --level)
    if (session_.level(level)->table) datasets::closeLevelTable(ctx, session_, level);
  editStart_ = {};
  editOpen_ = false;
  // The ports the sensors left open close with the edit window.
  if (programs_) programs_->editWindowClosed();
}

MainAction MainWindow::close() {
  if (!checkAccess(host_, values_, 2)) return MainAction::None;
  if (!confirmExit(host_, editOpen_)) return MainAction::None;
  if (editOpen_) {
    // The window goes once the session has ended and closed its tables.
    endEditSession(MainAction::Destroy);
    return MainAction::None;
  }
  if (gps_) gps_->shutdown();
  return MainAction::Destroy;
}

MainAction MainWindow::timer() {
  if (platform::fileExists(abortPath_)) {
    // Right after the user refused an update the starter's abort file is
    // not obeyed but removed.
    if (updateRefused_) {
      platform::deleteFile(abortPath_);
      updateRefused_ = false;
    } else if (editOpen_) {
      endEditSession(MainAction::EndProgram);
      return MainAction::None;
    } else {
      return MainAction::EndProgram;
    }
  }
  if (ticks_++ % kUpdateEvery == 0 && !silenced_ && host_.mainWindowHasFocus()) {
    if (checkForUpdate() == MainAction::EndProgram) return MainAction::EndProgram;
  }
  return MainAction::None;
}

MainAction MainWindow::checkForUpdate() {
  if (!platform::fileExists(updatePath_) || !platform::fileExists(starterPath_)) return MainAction::None;
  int answer = host_.messageBox(
      "Program Updates Are Pending \n Press OK To Install \n Press CANCEL to Keep Current Version!",
      "Program Updates", ui::kMbOkCancel | ui::kMbIconInformation | ui::kMbTopmost);
  if (answer != ui::kIdOk) {
    if (ui::askYesNo(host_, "Program Update Aborted\nWould you like to Delete the Pending Update?", "") ==
        ui::kIdYes)
      platform::deleteFile(updatePath_);
    else
      ui::inform(host_, "Program Update Silenced Until Tallyfin is Restarted", "");
    silenced_ = true;
    updateRefused_ = true;
    return MainAction::None;
  }
  if (int err = platform::startProgram(starterPath_, "\"" + updatePath_ + "\"")) {
    ui::inform(host_, base::format("CreateProcess Error:%d\n on -%s-", err, starterPath_.c_str()),
               "Program Update Error");
    return MainAction::None;
  }
  platform::Clock& clock = platform::clock();
  for (int i = 0; i < 20; ++i) {
    if (platform::outsideWindowExists(kStarterClass, kStarterTitle, values_.installRoot))
      return MainAction::EndProgram;
    host_.pump();
    clock.sleep(100);
  }
  if (platform::outsideWindowExists(kStarterClass, kStarterTitle, values_.installRoot))
    return MainAction::EndProgram;
  ui::inform(host_, "Program Udate Failed\nKeeping Current Version", "Program Update Error");
  return MainAction::None;
}

StatusLines MainWindow::status(int month, int day, int year, int hour, int minute, int second) const {
  StatusLines lines = statusLines(values_, portrait(), month, day, year, hour, minute, second);
  if (gps_) lines.gps = gps_->statusLines();
  return lines;
}

ButtonLayout MainWindow::buttons(int clientWidth, int clientHeight) const {
  return layoutButtons(clientWidth, clientHeight, values_.taskbarFound);
}

}  // namespace shell
