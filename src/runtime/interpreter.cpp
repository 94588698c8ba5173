#include "runtime/interpreter.hpp"

#include "runtime/run_errors.hpp"

namespace runtime {

int RunOutcome::programValue() const { return ended ? toInt32(value) : 1; }

RunOutcome execute(Machine& m, ProgramImage& image, RunContext& ctx) {
  (void)m;
  (void)image;
  (void)ctx;
  RunOutcome r;
  r.error = kErrUnknownCommand;  // not built yet
  return r;
}

}  // namespace runtime
