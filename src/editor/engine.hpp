#pragma once
// The data-entry engine's state for one edit session: the Screen and the key
// queue it draws into and reads, the open levels' edit states, the colours,
// the copy buffer and the hooks to the subsystems above. The operations of
// the engine (drawing, the entry loop, the dispatcher, the line operations)
// are free functions over it, each in its own file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/copy_buffer.hpp"
#include "editor/engine_hooks.hpp"
#include "editor/field_context.hpp"
#include "editor/level_state.hpp"
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
namespace config {
class SettingsRecord;
}

namespace editor {

// A text and background palette index.
struct ColourPair {
  int text = ui::kBlack;
  int back = ui::kWhite;
};

// The colours of the screen's items, read from the settings when the session starts.
struct ItemColours {
  ColourPair constant{15, 13}, prompts{0, 10}, readOnly{15, 7}, viewOnly{15, 7};
  ColourPair edited{ui::kWhite, ui::kBlack};  // the cell being edited
};

struct Engine {
  Engine(ui::Host& host, apps::AppContext& ctx, datasets::DataSession& session, EngineHooks& hooks,
         ui::Screen& screen, ui::KeyQueue& keys);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  ui::Host& host;
  apps::AppContext& ctx;
  datasets::DataSession& session;
  EngineHooks& hooks;
  ui::Screen& screen;
  ui::KeyQueue& keys;
  CopyBuffer copy;
  FieldContext field;  // what the field editors work with

  ItemColours colours;
  int productionLevel = 1;
  bool mousePositioning = true;  // a click on another cell moves there

  // Levels 1-5 (index 0 unused); current is the level being edited.
  std::array<LevelState, 6> levels;
  int current = 1;
  LevelState& level() { return levels[static_cast<std::size_t>(current)]; }

  // The screen number drawn on the Screen (0: none yet), and the page of
  // columns it shows (its first column), so a move to another page redraws.
  int drawnScreen = 0;
  int drawnPage = 0;
  // The line last drawn as current (its number is marked), so that it is
  // drawn plain again when another line becomes current.
  std::int32_t markedLine = 0;

  // What the move now leaving the current line is (storeLine tells the GPS
  // subsystem); OtherLine unless a level move says otherwise (LineMoveScope).
  LineMove lineMove = LineMove::OtherLine;

  // Set when the session must end at once (the abort code came).
  bool aborted = false;

  // What the level being left asks of the data collection loop: set together
  // with the level's leave flag by the command that leaves it.
  enum class LevelChange { None, Leave, Child, Sibling };
  LevelChange change = LevelChange::None;
  std::string changeTable;  // the child or sibling table chosen (8-bit)
  int changeNumber = 0;     // its entry number in the list it came from (1-based)

  // The pseudo-random generator of the random fills (values 0-32767), seeded
  // from the tick count when the session starts; tests set it.
  std::uint32_t randomState = 1;

  // The stopwatch slots of each level (1-25; 0 unused): the millisecond tick
  // at which the timer in the slot started, 0 when the slot is free.
  static constexpr int kTimerSlots = 25;
  std::array<std::array<std::int64_t, kTimerSlots + 1>, 6> timerStarts{};

  // The search of F3, kept while the level stays the same (level 0: none yet).
  int searchLevel = 0;
  int searchColumn = 0;
  std::string searchText;
};

// Reads the item colours and the production level from the settings.
void readDisplaySettings(Engine& e, const config::SettingsRecord& settings);

// The warning pop-up over the display: a framed box with the lines, shown
// for tenths × 10 ms or until a key, then the screen beneath put back.
void warnOnScreen(Engine& e, const std::vector<std::string>& lines, int tenths);

// Marks the move that leaves the current line while it lives.
class LineMoveScope {
 public:
  LineMoveScope(Engine& e, LineMove move) : e_(e), saved_(e.lineMove) { e.lineMove = move; }
  ~LineMoveScope() { e_.lineMove = saved_; }
  LineMoveScope(const LineMoveScope&) = delete;
  LineMoveScope& operator=(const LineMoveScope&) = delete;

 private:
  Engine& e_;
  LineMove saved_;
};

}  // namespace editor
