#pragma once
// The "Action Key Events" dialog (the "AK" touch button, Ctrl+K): a button
// for each command key; a press puts its key into the key queue and closes
// the dialog, so the edit window acts on it at once. Closing it with Escape
// queues the refresh code.
#include "ui/form.hpp"
#include "ui/key_queue.hpp"

namespace ui {
class Host;
}

namespace editor {

inline constexpr int kActionKeysResource = 142;

struct ActionKey {
  int id;            // the button's control id
  const char* text;  // its label, with the access letter
  ui::KeyCode key;
};
// The buttons in the order the dialog shows them.
const std::vector<ActionKey>& actionKeys();

ui::Form actionKeysForm();

// Shows the dialog; the key of the button pressed (or the refresh code) goes
// into keys. Returns the key queued.
ui::KeyCode runActionKeys(ui::Host& host, ui::KeyQueue& keys);

}  // namespace editor
