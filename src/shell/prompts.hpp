#pragma once
// The common warning prompts. While the edit window is open they draw a
// framed box in its text display and read its keys; otherwise they use a
// message box. The edit window lends itself through PromptSurface.
#include <string>
#include <string_view>
#include <vector>

#include "ui/keys.hpp"

namespace ui { class Host; }

namespace shell {

// What the prompts need of the edit window.
class PromptSurface {
 public:
  virtual ~PromptSurface() = default;
  // Throws away the keys waiting in the edit window's queue.
  virtual void drainKeys() = 0;
  // Draws a framed box with a title over the display, keeping what lies under it.
  virtual void showBox(std::string_view title, const std::vector<std::string>& lines) = 0;
  // Puts back what lay under the box.
  virtual void hideBox() = 0;
  // The next key, or 0 when none waits.
  virtual ui::KeyCode takeKey() = 0;
  // True when the edit session is being stopped.
  virtual bool stopping() = 0;
  // Gives the keyboard focus back to the edit window.
  virtual void focus() = 0;
};

// The edit window registers itself while it is open (nullptr when it closes).
void setPromptSurface(PromptSurface* surface);
PromptSurface* promptSurface();

// Two-line warning. With tenths > 0 (in tens of milliseconds) and the edit
// window open: a framed box "< Warning ! >" with a beep, up until the time has
// passed or a key is pressed. Otherwise, unless quiet: a beep and a "Warning !"
// message box ("%s\n%s\n"). Returns 1 for Yes (or when no question is asked)
// and 2 for No.
int warn(ui::Host& host, std::string_view line1, std::string_view line2, int tenths, bool yesNo,
         bool quiet);
// The same with three lines.
int warn3(ui::Host& host, std::string_view line1, std::string_view line2, std::string_view line3,
          int tenths, bool yesNo, bool quiet);

// Shows the box lines and waits for one of two answer letters (case ignored):
// 1 for letterA, 2 for letterB, 0 when the edit session ends meanwhile.
// Without the edit window a Yes/No box stands in (Yes = letterA).
int askLetter(ui::Host& host, const std::vector<std::string>& box, char letterA, char letterB);

}  // namespace shell
