#include "editor/timers.hpp"

#include <cmath>
#include <string>

#include "editor/auto_fill.hpp"
#include "editor/column_values.hpp"
#include "editor/field_formats.hpp"
#include "editor/later_commands.hpp"
#include "editor/screen_draw.hpp"
#include "platform/clock.hpp"
#include "tablestore/number_text.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

constexpr int kNoTimerTenths = 50;  // half a second

bool isTimerColumn(const LevelState& s, int k) {
  const apps::ColumnCheck* c = s.def ? s.def->check(k) : nullptr;
  return c && c->fieldType() == kTypeTimer && k <= s.columnCount();
}

// The number a timer column holds (character fields hold it as text too).
double storedValue(const LevelState& s, int k) { return tablestore::parseNumber(currentText(s, k)); }

std::array<std::int64_t, Engine::kTimerSlots + 1>& slotsOf(Engine& e) {
  return e.timerStarts[static_cast<std::size_t>(e.current)];
}

std::int64_t nowTicks() {
  // 0 marks a free slot, so a timer started at tick 0 is stamped 1.
  const auto t = static_cast<std::int64_t>(platform::clock().ticks());
  return t > 0 ? t : 1;
}

// The seconds shown in the cell, as the field would hold them.
void showSeconds(Engine& e, int k, std::int64_t seconds) {
  LevelState& s = e.level();
  const CellPlace p = cellPlace(e, s, k);
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  std::string text(static_cast<std::size_t>(f.width), ' ');
  if (f.type == 'N') {
    (void)tablestore::formatNumber(static_cast<double>(seconds), f.decimals, text.data(), f.width);
  } else {
    const std::string digits = std::to_string(seconds);
    text.replace(0, std::min(digits.size(), text.size()), digits.substr(0, text.size()));
  }
  const ColourPair colours = valueColours(e, s, k);
  e.screen.gotoCell(p.row, p.col);
  const int oldText = e.screen.setTextColour(colours.text);
  const int oldBack = e.screen.setBackColour(colours.back);
  e.screen.putTextN(cutToWidth(text, p.width), p.width);
  e.screen.setTextColour(oldText);
  e.screen.setBackColour(oldBack);
  e.screen.gotoCell(p.row, p.col);
}

}  // namespace

int timerSlot(Engine& e, int k) {
  LevelState& s = e.level();
  if (!s.open() || !isTimerColumn(s, k)) return 0;
  const double v = storedValue(s, k);
  if (!(v < 0)) return 0;
  const double slot = std::round(-v);
  if (slot < 1 || slot > Engine::kTimerSlots) return 0;
  const int i = static_cast<int>(slot);
  return slotsOf(e)[static_cast<std::size_t>(i)] != 0 ? i : 0;
}

std::int64_t timerSeconds(Engine& e, int k) {
  const int slot = timerSlot(e, k);
  if (slot != 0) return (nowTicks() - slotsOf(e)[static_cast<std::size_t>(slot)]) / 1000;
  const double v = storedValue(e.level(), k);
  if (!(v > 0)) return 0;
  return v > 9.0e15 ? static_cast<std::int64_t>(9.0e15) : static_cast<std::int64_t>(v);
}

int runningTimer(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return 0;
  for (int k = 1; k <= s.columnCount(); ++k) {
    if (timerSlot(e, k) != 0) return k;
  }
  return 0;
}

bool toggleTimer(Engine& e, int k) {
  LevelState& s = e.level();
  if (!s.open() || !isTimerColumn(s, k)) return false;
  auto& slots = slotsOf(e);
  const int running = timerSlot(e, k);
  double value = 0;
  if (running != 0) {
    value = static_cast<double>(timerSeconds(e, k));
    slots[static_cast<std::size_t>(running)] = 0;
  } else {
    int free = 0;
    for (int i = 1; i <= Engine::kTimerSlots && free == 0; ++i) {
      if (slots[static_cast<std::size_t>(i)] == 0) free = i;
    }
    if (free == 0) {
      warnOnScreen(e, {"No Timers", "Available"}, kNoTimerTenths);
      return false;
    }
    slots[static_cast<std::size_t>(free)] = nowTicks();
    value = -free;
  }
  if (!writeColumnNumber(s, k, value)) return false;
  s.header().setLineModified(true);
  // The reading is the crew's measurement: on file now, not when the line is left.
  if (!storeLineNow(s)) e.host.beep();
  return true;
}

ui::KeyCode runTimer(Engine& e, int k) {
  platform::Clock& clock = platform::clock();
  for (;;) {
    std::int64_t shown = timerSeconds(e, k);
    showSeconds(e, k, shown);
    ui::KeyCode key = 0;
    while ((key = e.keys.take()) == 0) {
      if (timerSlot(e, k) != 0) {
        const std::int64_t now = timerSeconds(e, k);
        if (now != shown) showSeconds(e, k, shown = now);
      }
      e.host.pump();
      clock.sleep(10);
    }
    if (key == ui::key::kRefresh) continue;
    if (key != edit_key::kCtrlT) return key;
    (void)toggleTimer(e, k);
  }
}

void timerKey(Engine& e, int k) {
  if (!isTimerColumn(e.level(), k)) {
    e.host.beep();
    return;
  }
  if (toggleTimer(e, k) && onPage(e.level(), k, e.level().column())) showSeconds(e, k, timerSeconds(e, k));
}

}  // namespace editor
