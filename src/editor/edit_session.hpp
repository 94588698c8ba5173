#pragma once
// One data collection in a dataset: the edit window opened on the engine's
// Screen and key queue, the levels edited line by line (editor/data_collection.hpp),
// and the window closed again. Runs on the UI thread; the loop takes keys from the
// queue, or waits in 10 ms steps calling Host::pump(), which delivers input
// into the queue and draws a changed Screen.
#include <memory>
#include <string>

#include "editor/engine.hpp"
#include "editor/engine_hooks.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace ui {
class Host;
}
namespace apps {
struct AppContext;
}
namespace datasets {
struct DataSession;
}

namespace editor {

class EditSession {
 public:
  enum class End {
    Left,      // the crew left the first level
    Aborted,   // abort() ended it (the program is closing)
    NoWindow,  // the edit window could not be made (the host has shown why)
    Failed,    // the level-1 table does not fit its definition (shown)
  };

  // The session edits the tables session has open (level 1 at least), with
  // the definitions of ctx.app. hooks must outlive the session.
  EditSession(ui::Host& host, apps::AppContext& ctx, datasets::DataSession& session,
              EngineHooks& hooks = noHooks());
  ~EditSession();
  EditSession(const EditSession&) = delete;
  EditSession& operator=(const EditSession&) = delete;

  // Opens the edit window titled title (UTF-8) and runs data collection to
  // its end. The tables stay open (the caller closes them).
  End run(const std::string& title);

  // Ends every loop of the session at its next key (the abort code); safe
  // from the UI thread while run() is running, e.g. from a timer.
  void abort() { keys_.abort(); }
  bool running() const { return running_; }

  // The right mouse button: shows the hierarchy menu over the edit window
  // and, when a command is chosen, queues the key of its move (F4, F5 or
  // Alt+F5) with the chosen table preselected. Nothing while no level is
  // open or a menu is up already.
  void openHierarchyMenu();

  ui::Screen& screen() { return screen_; }
  ui::KeyQueue& keys() { return keys_; }

 private:

  ui::Host& host_;
  apps::AppContext& ctx_;
  datasets::DataSession& session_;
  EngineHooks& hooks_;
  ui::Screen screen_;
  ui::KeyQueue keys_;
  std::unique_ptr<Engine> engine_;
  bool running_ = false;
  bool helpRequested_ = false;
  bool actionKeysRequested_ = false;
  bool inActionKeys_ = false;
  bool inMenu_ = false;
};

}  // namespace editor
