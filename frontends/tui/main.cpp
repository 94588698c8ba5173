// tallyfin: the program in a terminal. Parses --root, runs the shared
// start-up, creates the main window and runs its loop until the window is
// closed (or the terminal goes away), then shuts down.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/clock.hpp"
#include "shell/main_window.hpp"
#include "shell/startup.hpp"
#include "tui/main_loop.hpp"
#include "tui/main_screen.hpp"
#include "tui/posix_terminal.hpp"
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
  shell::StartupOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--root") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "usage: tallyfin [--root DIR] [/x/y/width/height]\n");
        return 2;
      }
      options.root = argv[++i];
    } else {
      if (!options.commandLine.empty()) options.commandLine += ' ';
      options.commandLine += arg;
    }
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
  hooks.createMainWindow = [&](const shell::StartupValues& values) {
    host.setPainter([&values](tui::CellGrid& grid) { tui::drawMainScreen(grid, currentStatus(values)); });
    host.refresh();
    return true;
  };
  hooks.unitIdText = hostName;

  if (startup.run(host, options, hooks) == 1) {
    shell::MainWindow window(host, startup.values());
    window.create();
    tui::MainLoop loop(host, window);
    loop.run();
    startup.shutdown();
  }
  int signal = host.quitSignal();
  terminal->restore();
  return signal ? 128 + signal : 0;
}
