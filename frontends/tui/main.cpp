// tallyfin: the program in a terminal. Parses its options, runs the shared
// start-up, creates the main window (selecting the application --select
// names) and runs its loop until the window is closed (or the terminal goes
// away), then shuts down.
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/clock.hpp"
#include "gps/gps_logging.hpp"
#include "gps/receiver.hpp"
#include "serial/port_layer.hpp"
#include "shell/gps_commands.hpp"
#include "shell/main_window.hpp"
#include "shell/session_hooks.hpp"
#include "shell/startup.hpp"
#include "tui/main_loop.hpp"
#include "tui/main_screen.hpp"
#include "tui/posix_terminal.hpp"
#include "tui/program_options.hpp"
#include "tui/terminal_host.hpp"

namespace {

std::string hostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

shell::StatusLines currentStatus(const shell::StartupValues& values) {
  platform::DateTime now = platform::clock().localTime();
  return shell::statusLines(values, values.geometry.portrait, now.month, now.day, now.year, now.hour,
                            now.minute, now.second);
}

}  // namespace

int main(int argc, char** argv) {
  tui::ProgramOptions options;
  std::string error;
  if (int rc = tui::parseProgramOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "tallyfin: %s\n%s\n", error.c_str(), tui::kUsage);
    return rc;
  }

  auto terminal = tui::PosixTerminal::open();
  if (!terminal) {
    std::fprintf(stderr, "tallyfin: standard input and output must be a terminal\n");
    return 1;
  }
  tui::TerminalHost host(*terminal);

  shell::Startup startup;
  shell::StartupHooks hooks;
  hooks.workArea = [&](int& width, int& height) { width = host.cols(), height = host.rows(); };
  hooks.createMainWindow = [&](const shell::StartupValues& values, int&) {
    host.setPainter([&values](tui::CellGrid& grid) { tui::drawMainScreen(grid, currentStatus(values)); });
    host.refresh();
    return true;
  };
  hooks.unitIdText = hostName;

  if (startup.run(host, options.startup, hooks) == 1) {
    // The process's one runtime, for every edit session (on the heap: its
    // machine and slots are large).
    // The serial ports outlive the hooks that read sensors through them.
    serial::PortLayer ports(platform::nativeSerialOpener());
    ports.setHost(&host);
    // The receiver closes its port before the ports go.
    gps::Receiver receiver(ports, shell::gpsServices(host, startup.values()));
    auto programs = std::make_unique<shell::SessionHooks>();
    programs->attachSerialPorts(ports);
    shell::MainWindow window(host, startup.values());
    shell::GpsCommands gpsCommands(host, startup.values(), receiver);
    gps::GpsLogging gpsLogging(host, [&receiver] { return receiver.enabled(); }, receiver.state(),
                             startup.values().installRoot, startup.values().style.sep);
    programs->attachGps(gpsCommands, gpsLogging);
    window.setProgramHooks(*programs);
    window.setGps(gpsCommands);
    window.create();
    tui::MainLoop loop(host, window);
    tui::applyStartSelection(window, options);
    loop.run();
    startup.shutdown();
  }
  int signal = host.quitSignal();
  terminal->restore();
  return signal ? 128 + signal : 0;
}
