#pragma once
// The checks as the entry loop runs them: the standard checks with the
// override question for a refused value, and the use-anyway question of a
// check file that is missing or cannot be opened.
#include <string>
#include <string_view>

#include "editor/engine.hpp"

namespace editor {

// Runs checkValue on text for column k and, for a refusal, the override of
// the column: without override allowed the refusal beeps; with it, a blank
// value (and a zero for check types 1 and 4-9) is refused at once unless the
// override of empty is allowed too, otherwise the message box "Warning !"
// asks "Data Out of Range" / "Use Anyway  (Y/N)": Yes accepts the typed
// text, No refuses and marks the screen for a full redraw. True when the
// value may be stored (text then holds what to store).
[[nodiscard]] bool checkOrAsk(Engine& e, int k, std::string& text);

// The use-anyway question for a check file that is missing ("Can't Find
// Checkfile") or cannot be opened ("Can't Open Checkfile"): on production
// levels 0-2 a pop-up answered with Y or N, on levels 3 and 4 a Yes/No
// message box "Warning !". Yes returns true and makes the exit key Enter;
// No (or the session being stopped) returns false and clears the exit key.
[[nodiscard]] bool useAnyway(Engine& e, std::string_view message, std::string_view fileName);

}  // namespace editor
