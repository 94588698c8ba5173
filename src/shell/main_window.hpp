#pragma once
// The main window as a model: the command dispatch with its guards, the
// one-second timer (abort file, program updates, clock), closing, and what
// the window shows. Front ends draw it and pass it their input; they act on
// the MainAction it returns.
#include <optional>
#include <string>

#include "datasets/data_session.hpp"
#include "datasets/open_data.hpp"
#include "editor/engine_hooks.hpp"
#include "runtime/program_hooks.hpp"
#include "shell/gps_commands.hpp"
#include "shell/main_layout.hpp"
#include "shell/startup.hpp"

namespace ui { class Host; }
namespace editor { class EditSession; }
namespace platform { class ClockSetter; }

namespace shell {

enum class MainAction {
  None,
  Destroy,     // close the window (the program then ends)
  EndProgram,  // end at once (abort file, update starter taking over)
};

class MainWindow {
 public:
  MainWindow(ui::Host& host, StartupValues& values);

  // Creation: reads the settings, fixes the abort and update paths, creates
  // the applications folder and the application's data folder.
  void create();

  // A menu command, accelerator or command-bar button.
  MainAction command(int id);
  // Enter in the main window: the first button (Data).
  MainAction enterKey() { return command(40097); }
  // The one-second timer.
  MainAction timer();
  // A request to close: the level-2 password, then the exit question.
  MainAction close();

  // Whether a command can be chosen now (built, and not hidden by an edit session).
  bool commandEnabled(int id) const;

  // The edit session (the edit window) is open: Collect Data runs it to its
  // end inside command(), on the UI thread. While it runs, the timer and a
  // close request that must end the program abort it; command() then
  // returns what they asked for (EndProgram, Destroy) once it has ended.
  bool editSessionOpen() const { return editOpen_; }
  // Marks a session open or closed without running one, for the tests of
  // the guards that hold while one runs.
  void setEditSessionOpen(bool open) { editOpen_ = open; }
  // What the running edit session was opened on.
  const datasets::EditSessionStart& editStart() const { return editStart_; }
  // The engine's way to the subsystems above it (programs, sensors, GPS);
  // shell plugs them in as they are built.
  void setEngineHooks(editor::EngineHooks& hooks) { hooks_ = &hooks; }
  // The runtime programs as the engine's hooks; the window tells them when
  // the application is closed or opened anew, so its programs are read again.
  void setProgramHooks(runtime::ProgramHooks& hooks) {
    hooks_ = &hooks;
    programs_ = &hooks;
  }
  // The GPS commands; without them the GPS commands do nothing and the
  // status area has no GPS block.
  void setGps(GpsCommands& gps) { gps_ = &gps; }
  // What Set Date - Time sets the clock with (the native setter by default).
  void setClockSetter(platform::ClockSetter& setter) { clockSetter_ = &setter; }
  const datasets::DataSession& dataSession() const { return session_; }
  // Selects and opens the application named (with or without ".tfa") as the
  // Select Application command does after the user picked it; used to start
  // the program on a given application. True when it is current.
  bool selectApplicationNamed(const std::string& name);

  // The edit session has ended: the level tables are closed (their positions
  // kept when the application asks for it).
  void editWindowClosed();

  // What the status area shows at the given time.
  StatusLines status(int month, int day, int year, int hour, int minute, int second) const;
  // The command bar for that client size; the portrait layout gives up 20
  // pixels of height when the taskbar window was found at start.
  ButtonLayout buttons(int clientWidth, int clientHeight) const;
  bool portrait() const { return values_.geometry.portrait; }

  // Paths fixed at creation.
  const std::string& abortPath() const { return abortPath_; }
  const std::string& updatePath() const { return updatePath_; }
  const std::string& updateStarterPath() const { return starterPath_; }
  bool updatesSilenced() const { return silenced_; }

 private:
  MainAction dispatch(int id);
  void gpsCommand(int id);
  void setDateTime();
  MainAction checkForUpdate();
  void about();
  void preferences();
  // Ends a running edit session; when it has ended command() returns action.
  void endEditSession(MainAction action);
  MainAction collectData();
  void eraseCoordinateFiles();
  // The application commands.
  void selectApplication(const std::optional<std::string>& name = std::nullopt);
  void applicationVersion();
  std::string pendingAppFolder() const;
  // The current application is about to be closed or read again.
  void applicationClosing() {
    if (programs_) programs_->applicationClosed();
  }

  ui::Host& host_;
  StartupValues& values_;
  std::string abortPath_, updatePath_, starterPath_;
  bool editOpen_ = false;
  editor::EditSession* edit_ = nullptr;  // while Collect Data runs it
  MainAction afterEdit_ = MainAction::None;
  editor::EngineHooks* hooks_ = &editor::noHooks();
  runtime::ProgramHooks* programs_ = nullptr;
  GpsCommands* gps_ = nullptr;
  platform::ClockSetter* clockSetter_ = nullptr;
  datasets::DataSession session_;
  datasets::EditSessionStart editStart_;
  bool silenced_ = false;
  bool updateRefused_ = false;
  int ticks_ = 0;
};

// The about box: version, date and the unit identification, with the
// button (1034) that changes the identification.
ui::Form aboutForm(const std::string& unitId);
inline constexpr int kChangeUnitIdButton = 1034;

}  // namespace shell
