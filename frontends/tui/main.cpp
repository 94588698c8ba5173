// tallyfin: the program in a terminal. Parses --root, runs the shared
// start-up, shows the main screen and runs the main loop until the user
// confirms the exit.
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.hpp"
#include "shell/exit_prompt.hpp"
#include "shell/startup.hpp"
#include "tui/main_screen.hpp"
#include "tui/posix_terminal.hpp"
#include "tui/terminal_host.hpp"
#include "ui/keys.hpp"

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
    while (!host.stopping()) {
      // Wake at the next full second to keep the clock line current.
      int wait = 1000 - platform::clock().localTime().millisecond;
      std::optional<tui::InputEvent> e = host.nextEvent(wait < 1 ? 1 : wait);
      if (e && e->key == ui::key::altLetter('e') && shell::confirmExit(host, false)) break;
      host.refresh();
    }
    startup.shutdown();
  }
  int signal = host.quitSignal();
  terminal->restore();
  return signal ? 128 + signal : 0;
}
