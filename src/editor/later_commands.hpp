#pragma once
// The commands of the edit window whose work is built with the checks, the
// line operations, the search and automatic entry. Each is reached through
// its own function so that the dispatcher stays as it is when the work
// lands; until then each one beeps and changes nothing.
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

}  // namespace editor
