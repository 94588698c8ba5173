#pragma once
// The keys that leave the current line, and the level's two field-exit event
// programs that run after each field edit before the dispatcher acts on the
// key that ended it.
#include "editor/engine.hpp"
#include "ui/keys.hpp"

namespace editor {

// Whether key leaves the current line on a screen of displayType
// (VirtualDisplay: the line moves and lists; LineDisplay: the same without
// Up, Down, Ctrl+PageUp and Ctrl+PageDown, which move between columns there).
bool keyLeavesLine(int displayType, ui::KeyCode key);

// Runs the current level's field-exit programs for the exit key: the
// after-each-field program unless the line is unchanged and key leaves the
// line, then the when-the-line-changed program when the line changed. No
// program runs for a key that ends no field (0 after a refused value, the
// refresh and abort codes). A program that ran has the current line drawn
// again (it may have written columns). Returns false when a program returned
// 0: the command is cancelled and the cursor stays; a failed run counts as
// accepted and has put the column and line back.
[[nodiscard]] bool fieldExitEvents(Engine& e, ui::KeyCode key);

}  // namespace editor
