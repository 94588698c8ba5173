#pragma once
// Stopwatch columns (field type 7): Ctrl+T starts and stops them; a running
// timer holds -slot in its value, the slot the tick at which it started.
#include <cstdint>

#include "editor/engine.hpp"
#include "ui/keys.hpp"

namespace editor {

// The slot (1-25) a running timer in column k of the current line holds: its
// value is negative and names a slot in use on this level in this session.
// 0 when the timer is stopped, including a value left negative by an earlier
// session whose slot is free now.
int timerSlot(Engine& e, int k);

// The seconds column k shows: the elapsed whole seconds of a running timer,
// the stored value of a stopped one (0 for one left negative earlier).
std::int64_t timerSeconds(Engine& e, int k);

// The first timer column of the current line that is running, or 0.
int runningTimer(Engine& e);

// Ctrl+T on timer column k: a running timer stops (the value becomes the
// elapsed seconds, its slot is freed); a stopped one starts in the first free
// slot (the value becomes -slot) or, with none free, "No Timers" "Available"
// shows for half a second. The value is written into the record, the line is
// marked changed and put on file at once. False when nothing changed.
bool toggleTimer(Engine& e, int k);

// The editor of timer column k: shows the seconds (a running timer counts on
// until a key comes); Ctrl+T starts or stops it; any other key is returned
// as the exit key (the abort code at once).
ui::KeyCode runTimer(Engine& e, int k);

}  // namespace editor
