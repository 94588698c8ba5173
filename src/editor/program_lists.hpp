#pragma once
// The program lists of F7 (the application's global programs) and F8 (the
// current level's programs): the names in a selection list, the chosen one
// run in the general slot, the screen drawn again afterwards.
#include <string>
#include <vector>

#include "editor/engine.hpp"

namespace editor {

inline constexpr const char* kProgramListTitle = "< Select Program >";
inline constexpr const char* kProgramListFooter = "< Esc - Abort >";

enum class ProgramList { Global, Level };

// The names the list offers: the definition's slots up to its count (at
// most 10), trailing blanks trimmed, empty slots left out.
std::vector<std::string> programListNames(Engine& e, ProgramList which);

// F7 / F8. Beeps when programs cannot be run at all. Nothing happens when
// the list is empty or the crew leaves it with Escape. A chosen program runs
// through the hooks; a run that fails is not reported a second time here:
// the run entry has already shown the crew the program's name and the
// interpreter's message for the error. Afterwards the whole screen is
// drawn again (the program may have written anywhere on it).
void programList(Engine& e, ProgramList which);

}  // namespace editor
