#pragma once
// The run entry the engine's hooks call: the process's one machine state and
// its program slots. A run loads its program when needed, keeps the display's
// colours and cursor as they were, runs the execution loop, closes what the
// program opened (its tables, and its serial port unless that is the
// sensor's), and shows a failure in the common warning prompt.
#include <string>

#include "editor/engine_hooks.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_slots.hpp"
#include "runtime/run_context.hpp"

namespace runtime {

class Runtime {
 public:
  // Runs fileName (in ctx.appFolder) in the slot of use and returns:
  //  - {ran=false} when the program could not be loaded (a warning box shows
  //    the loader's first line, the file name and the error's text);
  //  - {ran=true, failed=true} when a program is running already (error 27,
  //    "Can't Process", shown; the running program is not touched);
  //  - otherwise {ran=true, failed=(run error != 0), value=the program's value:
  //    the integer part of built-in 0's result, or 1 when it did not end so}.
  // A run error is shown as "runtime error", the file name and the error's
  // text. Warnings go to a message box through ctx.host (the engine's host
  // when ctx.host is null); with neither, nothing is shown.
  editor::ProgramResult run(editor::ProgramUse use, const std::string& fileName, RunContext& ctx);

  // The application closed or was erased: the keeping slots read their files
  // again next time (deferred to the end of a run under way).
  void clearMarks();

  Machine& machine() { return machine_; }
  ProgramSlots& slots() { return slots_; }

 private:
  Machine machine_;
  ProgramSlots slots_;
  bool clearPending_ = false;
};

}  // namespace runtime
