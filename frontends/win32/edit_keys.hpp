#pragma once
// The edit window's keyboard: Windows key messages become key codes by the
// shared key rules (ui/key_rules.hpp). Keys whose code depends on the key
// rather than on the character the layout makes (cursor, editing and
// function keys, digits with a modifier, the number pad, Ctrl/Alt+letters,
// the punctuation keys of the US layout) are translated at their key-down and
// the character Windows makes of them is dropped; every other key arrives as
// its character.
#include <windows.h>

#include "ui/key_rules.hpp"
#include "ui/keys.hpp"

namespace frontend {

class EditKeys {
 public:
  // WM_KEYDOWN or WM_SYSKEYDOWN of virtual key vk. Shift, Ctrl and Alt are
  // noted and give nothing; Caps Lock gives nothing. Returns the key's code,
  // or 0 when it has none here (its character follows, or the combination
  // has no code). After a translated key the noted modifiers are cleared.
  // characterQueued says the layout has made a printable character of the
  // key: with Ctrl and Alt both held (AltGr) a character key is then left to
  // that character.
  ui::KeyCode keyDown(WPARAM vk, bool characterQueued = false);
  // WM_KEYUP or WM_SYSKEYUP: a modifier released.
  void keyUp(WPARAM vk);
  // WM_CHAR or WM_SYSCHAR: the code of the character, or 0 when its key-down
  // already gave the key (or the character has no code). Characters outside
  // ASCII go through the system's code page; those it lacks give 0.
  ui::KeyCode character(wchar_t c);
  // Forgets the modifiers (their key-ups go elsewhere while the window has no focus).
  void reset();

  // The modifiers a key pressed now would have: those noted from messages,
  // and those the thread's key state shows held (a modifier held down over
  // several keys is noted only once).
  ui::Modifiers modifiers() const;

 private:
  // The code of a key translated at its key-down; handled false leaves the
  // key to its character.
  struct Translation {
    bool handled = false;
    ui::KeyCode code = 0;
  };
  static Translation translate(WPARAM vk, ui::Modifiers m);

  bool shift_ = false, ctrl_ = false, alt_ = false;
  // The key-down gave the key: the character TranslateMessage makes of it
  // (or, for Alt with the number pad, makes when Alt is released) is dropped.
  bool dropChar_ = false;
};

}  // namespace frontend
