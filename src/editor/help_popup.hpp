#pragma once
// The keystroke help shown as a pop-up on the display (F1 arriving through
// the key queue: a touch button or the action keys): the list of the
// current display type in a framed box with "< Up/Dn or Escape >", scrolled
// with Up, Down, PageUp, PageDown and the wheel until Escape (or Enter).
// The screen beneath is put back afterwards.
#include "editor/engine.hpp"

namespace editor {

void showHelpPopup(Engine& e, bool virtualDisplay);

// The scroll window with the same list (F1 pressed on the keyboard): opens
// it, or closes it when it is open; a beep when it cannot be opened.
void toggleHelpWindow(Engine& e, bool virtualDisplay);

}  // namespace editor
