#pragma once
// Data limits (F2): what the current column allows, shown by its check type.
#include "editor/engine.hpp"

namespace editor {

enum class LimitsShown {
  kNothing,     // the column has no limits to show (check type 0, or none known)
  kShown,       // the limits were shown
  kFailed,      // a check file, its relation or its row could not be had; the user was told
  kListWanted,  // a code list (check type 3): the caller shows its pick list, which opens the file
};

// Shows the limits of the current column of the current level. Check type 1
// shows its absolute range, 2 its minimum text length in a message box, 4-6
// their relative bounds, 7-9 the bounds of the range row found for the
// current keys (through the column's relation when it has one); the range
// pop-up adds the warning range when the column has one. Types 1, 2 and 4-6
// never open a file. The pop-up stays 2 s or until a key; failures are told
// for 2 s.
[[nodiscard]] LimitsShown showLimits(Engine& e);

}  // namespace editor
