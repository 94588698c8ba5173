#pragma once
// What the built-ins that reach the data-entry engine share: finding the
// edit session, its levels and columns with the statuses a program tests,
// the empty answer of a call that cannot be done, and the families the
// engine's built-ins come in (each in its own builtins_*.cpp).
#include <string>

#include "runtime/builtin_table.hpp"
#include "runtime/call.hpp"

namespace editor {
struct Engine;
struct LevelState;
}  // namespace editor
namespace apps {
struct AppContext;
}

namespace runtime::engine_builtins {

// The families, put into the table by addEngineBuiltins.
void addPositionBuiltins(BuiltinTable& t);  // 18-28, 50-53
void addColumnBuiltins(BuiltinTable& t);    // 29-49
void addDataBuiltins(BuiltinTable& t);      // 74-78, 89, 90, 165
void addAppBuiltins(BuiltinTable& t);       // 94-97, 125, 150, 151, 156, 157, 164, 166, 167

// The empty answer of a call: an empty text for the built-ins that yield a
// text (and for the "either" ones asked for a text), else 0.
void answerNothing(Call& c);
// Sets status code and gives the empty answer.
void refuse(Call& c, int status);

// The edit session with its current level open, or nullptr after status 12
// ("Data File Not Open") and the empty answer.
editor::Engine* engineOf(Call& c);

// Level number 0 (the current level) or 1-5 of the session: the open level,
// or nullptr after status 13 (no such level number) or 12 (not open) and the
// empty answer.
editor::LevelState* levelOf(Call& c, editor::Engine& e, int number);

// Whether k is a column (1..column count) of the level; otherwise status 17
// ("Column OverRange") and the empty answer.
bool columnOf(Call& c, const editor::LevelState& s, int k);

// The application the run belongs to: the edit session's, else the run
// context's; nullptr after status 12 and the empty answer when there is none.
apps::AppContext* appOf(Call& c);

// A value argument as a column's text takes it: texts as they are, numbers
// in their shortest form that reads back the same (at most 15 digits).
std::string valueText(Call& c, int i);

}  // namespace runtime::engine_builtins
