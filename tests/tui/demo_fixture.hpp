#pragma once
// The main window in the fake terminal over a private install root, with
// the demo application "Cruise" built into its applications folder by the
// package builder, this unit named "ABC", and a helper that feeds bytes and
// hands each event to the main loop as the program's loop does.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/paths.hpp"
#include "config/settings.hpp"
#include "fake_terminal.hpp"
#include "platform/clock.hpp"
#include "platform/fileops.hpp"
#include "platform/registry.hpp"
#include "shell/main_window.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/install_root.hpp"
#include "support/temp_dir.hpp"
#include "tui/main_loop.hpp"
#include "tui/terminal_host.hpp"
#ifdef TALLYFIN_EXAMPLES_DIR
#include "tfabuild/build.hpp"
#endif

namespace tui_testing {

class DemoTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*reg};
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  FakeTerminal term{clock};
  tui::TerminalHost host{term};
  shell::StartupValues v;
  std::unique_ptr<shell::MainWindow> window;
  std::unique_ptr<tui::MainLoop> loop;

  void SetUp() override {
    testing_support::makeInstallRoot(v, dir);
    v.tables.setHost(&host);
    v.tables.init();
    window = std::make_unique<shell::MainWindow>(host, v);
    window->create();
    // The unit's identification names the data files; the window read the
    // settings file (which has none yet) and the commands read it again, so
    // it goes there.
    v.settings.setUnitIdText("ABC");
    v.settings.setUnitCode("ABC___");
    config::saveSettings(host, v.installRoot, v.settings, v.style.sep);
    loop = std::make_unique<tui::MainLoop>(host, *window);
  }

  // Builds the demo application, package and folder, into the applications
  // folder (as a load from removable storage would leave the package).
  void buildDemo() {
#ifdef TALLYFIN_EXAMPLES_DIR
    tfabuild::Diagnostics diag;
    tfabuild::BuildOptions options;
    options.appFolder = base::joinPath(v.appPath, "Cruise", platform::kSep);
    options.packagePath = base::joinPath(v.appPath, "Cruise.tfa", platform::kSep);
    ASSERT_EQ(tfabuild::buildFromFile(std::string(TALLYFIN_EXAMPLES_DIR) + "/cruise/cruise.json", options, diag), 0)
        << diag.text();
#else
    GTEST_SKIP() << "the package builder is not built";
#endif
  }

  std::string dataFile(const std::string& name) const {
    return base::joinPath(base::joinPath(v.dataPath, "Cruise", platform::kSep), name, platform::kSep);
  }

  // Appends the chunks to the terminal's input and hands every event read to
  // the loop until the input is used up or the loop answers something else
  // than None (that answer). A chunk "" is a read in which nothing came.
  // Once the input has ended (something read past it) nothing more is read.
  shell::MainAction feed(const std::vector<std::string>& chunks) {
    term.input.insert(term.input.end(), chunks.begin(), chunks.end());
    while (!term.input.empty() && !host.inputEnded()) {
      std::optional<tui::InputEvent> e = host.nextEvent(tui::MainLoop::kTimerMs);
      if (!e) continue;
      shell::MainAction a = loop->onEvent(*e);
      if (a != shell::MainAction::None) return a;
    }
    return shell::MainAction::None;
  }
};

// Key chunks.
inline const std::string kAltA = "\x1b" "a", kAltD = "\x1b" "d", kAltE = "\x1b" "e";
inline const std::string kF10 = "\x1b[21~";
// Escape alone, then enough empty reads for its time-out to pass.
inline std::vector<std::string> escapeKey() {
  std::vector<std::string> out{"\x1b"};
  out.insert(out.end(), 12, "");
  return out;
}
inline std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace tui_testing
