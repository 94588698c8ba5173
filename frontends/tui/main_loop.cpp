#include "main_loop.hpp"

#include <algorithm>

#include "access_text.hpp"
#include "main_screen.hpp"
#include "menu.hpp"
#include "platform/clock.hpp"
#include "shell/commands.hpp"

namespace tui {

namespace k = ui::key;
using shell::MainAction;

namespace {

// Milliseconds to the next full second of the wall clock (the clock line).
int toNextSecond() { return std::max(1000 - platform::clock().localTime().millisecond, 1); }

}  // namespace

MainLoop::MainLoop(TerminalHost& host, shell::MainWindow& window) : host_(host), window_(window) {
  host_.setPainter([this](CellGrid& grid) { drawMainScreen(grid, status(), pressed_); });
  // While the edit session runs inside a command, the model's timer runs
  // from the host's pumps (the abort file, the update watch).
  host_.setTicker([this] {
    if (window_.editSessionOpen()) (void)window_.timer();
  });
  host_.refresh();
}

MainLoop::~MainLoop() { host_.setTicker(nullptr); }

shell::StatusLines MainLoop::status() const {
  platform::DateTime now = platform::clock().localTime();
  return window_.status(now.month, now.day, now.year, now.hour, now.minute, now.second);
}

MainAction MainLoop::run() {
  platform::Clock& clock = platform::clock();
  std::uint64_t nextTimer = clock.ticks() + kTimerMs;
  while (!host_.stopping()) {
    std::uint64_t now = clock.ticks();
    int wait = std::min(toNextSecond(), nextTimer > now ? static_cast<int>(nextTimer - now) : 0);
    std::optional<InputEvent> e = host_.nextEvent(std::max(wait, 0));
    MainAction action = e ? onEvent(*e) : MainAction::None;
    if (action == MainAction::None) {
      now = clock.ticks();
      if (now >= nextTimer) {
        // A late turn (a dialog ran meanwhile) does not make up missed ticks.
        nextTimer = std::max(nextTimer + kTimerMs, now + 1);
        action = window_.timer();
      }
    }
    if (action != MainAction::None) return action;
    host_.refresh();
  }
  return MainAction::None;
}

MainAction MainLoop::onEvent(const InputEvent& e) { return mainEvent(e); }

MainAction MainLoop::mainEvent(const InputEvent& e) {
  const auto& menu = shell::mainMenu();
  auto runButton = [&](int i) {
    pressed_ = i;
    host_.refresh();
    MainAction a = window_.command(shell::cmd::kBarData + i);
    pressed_ = -1;
    host_.refresh();
    return a;
  };
  switch (e.key) {
    case k::kF10:
      return runMenu(0);
    case k::kEnter:
      return window_.enterKey();
    case k::kMouseClick:
    case k::kMouseDoubleClick: {
      MainScreenLayout l = layoutMainScreen(host_.rows(), host_.cols(), static_cast<int>(status().gps.size()));
      MenuLayout ml = layoutMenu(menu, nullptr, l.menuRow, host_.rows(), host_.cols());
      if (int t = menuTitleAt(ml, e.row, e.col); t >= 0) return runMenu(t);
      if (int b = commandButtonAt(l.bar, e.row, e.col); b >= 0) return runButton(b);
      return MainAction::None;
    }
    default:
      break;
  }
  if (char letter = letterOfAlt(e.key)) {
    // The accelerators come before the menus' letters.
    for (const shell::Accelerator& a : shell::accelerators())
      if (a.letter == letter) return runButton(a.command - shell::cmd::kBarData);
    for (std::size_t i = 0; i < menu.size(); ++i)
      if (accessText(menu[i].text).letter == letter) return runMenu(static_cast<int>(i));
  }
  return MainAction::None;
}

MainAction MainLoop::runMenu(int top) {
  const auto& menu = shell::mainMenu();
  MenuState state(menu, [this](int id) { return window_.commandEnabled(id); });
  MenuState::Result result = state.clickTitle(top);
  if (result != MenuState::Result::Chosen) {
    MenuLayout layout;
    TerminalHost::Overlay overlay = [&](CellGrid& grid, CursorState&) {
      layout = layoutMenu(menu, &state, layoutMainScreen(grid.rows(), grid.cols()).menuRow, grid.rows(), grid.cols());
      drawMenu(grid, layout, menu, &state);
    };
    TerminalHost::OverlayScope shown(host_, overlay);
    while (result == MenuState::Result::Open && !host_.stopping()) {
      std::optional<InputEvent> e = host_.nextEvent(toNextSecond());
      if (!e) {
        host_.refresh();  // the clock beneath
        continue;
      }
      if (e->key == k::kMouseClick || e->key == k::kMouseDoubleClick) result = menuClick(state, layout, e->row, e->col);
      else if (e->key != k::kMouseRelease) result = state.key(*e);
      host_.refresh();
    }
  }
  if (result != MenuState::Result::Chosen) return MainAction::None;
  return window_.command(state.chosen());
}

}  // namespace tui
