#pragma once
// The execution loop: runs a program image on the machine state from its
// entry index until built-in 0 ends it, a run error stops it or the run's
// instruction budget is spent.
#include "runtime/machine.hpp"
#include "runtime/run_context.hpp"

namespace runtime {

struct RunOutcome {
  int error = 0;       // the run error (0: none)
  bool ended = false;  // built-in 0 ended the run
  double value = 0;    // its result (|x|)
  // What the engine takes from the run: the integer part of the end value,
  // or 1 when the program did not end through built-in 0.
  int programValue() const;
};

// Resets m for image (step 1 of the loop) and runs it. A run started while
// another runs on m is refused with error 27 ("Can't Process") and m is left
// as it is. With ctx.budget ≥ 0 the run may execute that many instructions
// (error 25, "USER ABORTED", when they are spent) and ctx.budget is left
// with what remains. When the run stops, m.sp and m.counter show the stack
// and the instruction it stopped at; m is idle again (running false, image null).
RunOutcome execute(Machine& m, ProgramImage& image, RunContext& ctx);

}  // namespace runtime
