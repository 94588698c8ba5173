#include "runtime/session_access.hpp"

#include "editor/engine.hpp"
#include "runtime/run_errors.hpp"
#include "ui/screen.hpp"

namespace runtime {

editor::Engine* sessionOf(Call& c, bool textResult) {
  if (c.ctx.engine) return c.ctx.engine;
  c.setStatus(kErrDataNotOpen);
  if (textResult) c.setText("");
  else c.setNumber(0);
  return nullptr;
}

void endForAbort(Call& c, editor::Engine& e) {
  e.aborted = true;
  c.setNumber(0);
  c.fail(kErrUserAborted);
}

bool cellOnScreen(const ui::Screen& screen, int row, int col) {
  return row >= 1 && col >= 1 && row <= screen.rows() && col <= screen.cols();
}

}  // namespace runtime
