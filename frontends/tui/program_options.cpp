#include "program_options.hpp"

#include <string_view>

#include "shell/main_window.hpp"

namespace tui {

int parseProgramOptions(int argc, const char* const* argv, ProgramOptions& out, std::string& error) {
  out = {};
  error.clear();
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i] ? argv[i] : "";
    if (arg == "--root" || arg == "--select") {
      if (i + 1 >= argc || !argv[i + 1]) {
        error = std::string(arg) + " needs a value";
        return 2;
      }
      std::string value = argv[++i];
      if (arg == "--root") {
        out.startup.root = value;
      } else {
        if (value.find_first_not_of(' ') == std::string::npos) {
          error = "--select needs an application name";
          return 2;
        }
        out.select = value;
      }
    } else {
      if (!out.startup.commandLine.empty()) out.startup.commandLine += ' ';
      out.startup.commandLine += arg;
    }
  }
  return 0;
}

bool applyStartSelection(shell::MainWindow& window, const ProgramOptions& options) {
  if (!options.select) return true;
  return window.selectApplicationNamed(*options.select);
}

}  // namespace tui
