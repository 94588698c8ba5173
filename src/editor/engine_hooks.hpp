#pragma once
// What the data-entry engine asks of the subsystems above it: runtime
// programs, serial sensors, GPS logging and navigation. The engine holds an
// EngineHooks and calls it; shell plugs the real implementations in at start
// and tests plug fakes. Every answer here has a safe default for a subsystem
// that is not there: programs count as not present, the other commands are
// unavailable (the engine then beeps, never pretends).
#include <string>

#include "ui/keys.hpp"

namespace editor {

struct Engine;

// The moves that leave the current line, as GPS logging tells them apart:
// into a child level the record stays the one being logged.
enum class LineMove { OtherLine, ChildLevel, ParentLevel, SiblingLevel };

// Which program slot a run uses: the field-exit and line-event programs are
// read once and kept while the application stays open; every other run reads
// its file anew.
enum class ProgramUse { FieldExit, LineEvent, General };

struct ProgramResult {
  bool ran = false;     // false: no program could be run (no interpreter, no file)
  bool failed = false;  // the interpreter reported an error while it ran
  int value = 1;        // what the program returned; 0 refuses
};

class EngineHooks {
 public:
  virtual ~EngineHooks() = default;

  // Runs the application's program name (an event program or one picked
  // from a program list) on the edit session e, in the slot use names.
  virtual ProgramResult runProgram(Engine& e, ProgramUse use, const std::string& name) {
    (void)e;
    (void)use;
    (void)name;
    return {};
  }
  // Whether programs can be run at all (the program lists F7 and F8).
  virtual bool programsAvailable() const { return false; }

  // A serial sensor column (field type 5) of the session e is entered (key
  // 0), or Ctrl+T is pressed on it (key: that key): the sensor input runs
  // and returns the key that ended it (13 when it stored a value), or 0 when
  // no sensor input is available or its port could not be opened (the
  // engine then lets the crew key the value, or beeps for Ctrl+T).
  virtual ui::KeyCode sensorInput(Engine& e, int column, ui::KeyCode key) {
    (void)e;
    (void)column;
    (void)key;
    return 0;
  }
  // The COM port the current column of e reads its sensor from, 0 when it
  // is no sensor column (a program may not take that port).
  virtual int sensorPort(const Engine& e) const {
    (void)e;
    return 0;
  }

  // Whether the current line of e may be left by move. A GPS log running for
  // the record must be stopped first: the GPS subsystem asks, and refuses
  // the move when the crew keeps logging. No GPS subsystem: always true.
  virtual bool lineMoveAllowed(Engine& e, LineMove move) {
    (void)e;
    (void)move;
    return true;
  }

  // Ctrl+G on e: GPS logging on or off for the current level; false when not
  // available (the engine beeps).
  virtual bool toggleGpsLog(Engine& e) {
    (void)e;
    return false;
  }
  // Ctrl+N: the navigation display; false when not available.
  virtual bool openNavigation() { return false; }
  // The GPS status line of the edit window; empty while GPS is off or there
  // is no GPS subsystem.
  virtual std::string gpsStatusLine() { return {}; }
};

// The hooks of a program without those subsystems.
inline EngineHooks& noHooks() {
  static EngineHooks none;
  return none;
}

}  // namespace editor
