#pragma once
// Labels with an access letter: "&Data" shows "Data" with the D underlined,
// and Alt+D (or D where plain letters count) picks it. "&&" is a plain "&".
#include <string>
#include <string_view>

#include "ui/keys.hpp"

namespace tui {

struct AccessText {
  std::u32string text;  // one cell per character, the markers removed
  int underline = -1;   // index of the access letter in text, or -1
  char letter = 0;      // the access letter (upper case for letters), 0 when none
};

// Parses a UTF-8 label; the first single "&" marks the letter after it.
AccessText accessText(std::string_view utf8);

// The letter an Alt+letter key code stands for (upper case), or 0.
char letterOfAlt(ui::KeyCode key);

// Whether key picks the label: Alt+letter always, the plain letter (either
// case) or digit when plain is true.
bool picks(const AccessText& label, ui::KeyCode key, bool plain);

}  // namespace tui
