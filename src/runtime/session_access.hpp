#pragma once
// What the screen, key and input built-ins share: the edit session a call
// works in, the end of the run when the session is being shut down, and the
// check of a cell against the Screen.
#include "runtime/builtin_table.hpp"
#include "runtime/call.hpp"

namespace editor {
struct Engine;
}
namespace ui {
class Screen;
}

namespace runtime {

// The edit session of the call's run. Null when the run has none: status 12
// ("Data File Not Open") is then set and the result is 0 (or an empty text
// for a built-in that yields one).
editor::Engine* sessionOf(Call& c, bool textResult = false);

// The abort code reached a built-in: the session must end, so the engine's
// abort flag is set and the run stops with error 25 ("USER ABORTED").
void endForAbort(Call& c, editor::Engine& e);

// Whether row and column (from 1) name a cell of the screen.
bool cellOnScreen(const ui::Screen& screen, int row, int col);

// The family parts that builtins_screen.cpp gathers.
void addKeyBuiltins(BuiltinTable& t);    // 81, 84-88
void addInputBuiltins(BuiltinTable& t);  // 91, 92, 104, 143, 144, 162, 163

}  // namespace runtime
