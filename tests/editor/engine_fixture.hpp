#pragma once
// The set-up of the engine tests: an install root, a private registry and
// clock, an application built from a small description by the package
// builder, a dataset opened as the program opens it, and an edit session run
// on the scripted host with a script of keys. Keys are given one at a time
// whenever the engine waits with an empty queue, as a crew types them.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "apps/app_definition.hpp"
#include "apps/app_open.hpp"
#include "datasets/data_session.hpp"
#include "datasets/open_data.hpp"
#include "editor/edit_session.hpp"
#include "platform/clock.hpp"
#include "platform/registry.hpp"
#include "shell/startup.hpp"
#include "support/fake_clock.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace editor_test {

// A key of a script: a code, or a click on a cell.
struct Key {
  ui::KeyCode code = 0;
  int row = 0, col = 0;
};
// The keys of a text, one per character.
std::vector<Key> typed(const std::string& text);

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Builds the application from the levels part of a description (a JSON
  // list) and opens it; application name "Fields".
  void buildApp(const std::string& levelsJson, const std::string& tablesJson = "[]",
                const std::string& filesJson = "[]");
  // Opens a dataset as Collect Data does: a new one named name, or the one
  // the list offers.
  void openDataset(bool existing = false, const std::string& name = "Test");
  // Runs the edit session with the keys (and the hooks); when the script is
  // used up while the engine still waits, the session is aborted and
  // ranDry() is true. A key with a negative row opens the hierarchy menu, as
  // the right mouse button does.
  editor::EditSession::End run(const std::vector<Key>& keys, editor::EngineHooks& hooks = editor::noHooks());
  // The records of the level-1 table, read from a fresh open of its file:
  // for each record the trimmed text of each field.
  std::vector<std::vector<std::string>> level1Records();
  // The Screen text of a row as the session left it at its last key.
  std::string screenRow(int row) const;
  bool ranDry() const { return ranDry_; }
  // True when text stood on the Screen before some key of the last run.
  bool shownBeforeAnyKey(const std::string& text) const;
  // The Screen as it stood when the key at index i was about to be given.
  std::vector<std::string> screenBeforeKey(std::size_t i) const;

  testing_support::TempDir dir;
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry useRegistry{*registry};
  testing_support::ScriptedHost host;
  shell::StartupValues v;
  apps::AppDefinition app;
  apps::AppContext ctx{host, app, v, v.tables};
  datasets::DataSession session;
  datasets::EditSessionStart start;
  std::unique_ptr<editor::EditSession> edit;

 private:
  std::vector<std::vector<std::string>> snapshots_;
  std::vector<std::string> last_;
  bool ranDry_ = false;
};

}  // namespace editor_test
