#pragma once
// The commands of the edit window that the dispatcher hands on, each defined
// in the file of the work it does (lists and limits here; search, line
// operations, level moves, automatic entry and timers in their own files).
#include "editor/engine.hpp"

namespace editor {

void showDataLimits(Engine& e);   // F2
void chooseFromList(Engine& e);   // Alt+E
void searchColumn(Engine& e);     // F3, Ctrl+F
void checkAndLeave(Engine& e);    // F4, Ctrl+X, Alt+X
void childLevel(Engine& e);       // F5, Ctrl+Y, Alt+Y
void siblingJump(Engine& e);      // Alt+F5, Ctrl+Z, Alt+Z
void goToLinePrompt(Engine& e);   // F6, Ctrl+L
void insertLine(Engine& e);       // F9, Alt+I
void deleteLine(Engine& e);       // F10, Alt+D
void autoEntryMenu(Engine& e);    // Ctrl+R, Alt+R
void timerKey(Engine& e, int k);  // Ctrl+T on a timer column

// Leaving the level with Escape: the current line is stored; on a level
// without missing-data checks on leaving the crew is asked "Exit Without
// Missing" " Data Checks? (Y/N)" first; the empty lines at the end go when
// the level asks for it; then the level's leave flag is set.
void leaveLevel(Engine& e);

// The line operations of insertLine and deleteLine without their questions
// (runtime programs call them): a blank line inserted before the current
// one, or the current line deleted with the child data below it. Each
// stores the current line first. False when refused: not allowed on the
// level, the line limit reached, the line cannot be left or stored, the
// table refused; deleting the only line of level 1 is refused too. A level
// left without lines is left, as the key command leaves it.
[[nodiscard]] bool insertBlankLine(Engine& e);
[[nodiscard]] bool deleteCurrentLine(Engine& e);

}  // namespace editor
