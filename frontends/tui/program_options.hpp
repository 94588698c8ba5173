#pragma once
// The command line of tallyfin: "--root DIR" (a private install root),
// "--select NAME" (start on that application) and the geometry numbers
// ("/x/y/width/height") the shared start-up reads.
#include <optional>
#include <string>

#include "shell/startup.hpp"

namespace shell {
class MainWindow;
}

namespace tui {

inline constexpr const char* kUsage = "usage: tallyfin [--root DIR] [--select NAME] [/x/y/width/height]";

struct ProgramOptions {
  shell::StartupOptions startup;      // root and the geometry text
  std::optional<std::string> select;  // the application to start on
};

// Reads argv[1] onwards into out. "--root" and "--select" take the next
// argument (a later one replaces an earlier one); every other argument joins
// the geometry text, blank-separated. Returns 0, or 2 with error set when an
// option has no value or "--select" an empty one.
int parseProgramOptions(int argc, const char* const* argv, ProgramOptions& out, std::string& error);

// Run after MainWindow::create(): selects the application --select named, as
// the Select Application command does. A failure has shown its message and
// the program goes on. True when nothing was asked or the application is
// current.
bool applyStartSelection(shell::MainWindow& window, const ProgramOptions& options);

}  // namespace tui
