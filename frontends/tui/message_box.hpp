#pragma once
// The message box of the terminal: a framed box centred on the screen with
// the caption in its top edge, the text (long lines wrapped) and a row of
// buttons. Layout, drawing and key handling are separate pure parts so they
// are tested without a terminal.
#include <string>
#include <string_view>
#include <vector>

#include "cell_grid.hpp"
#include "input_event.hpp"

namespace tui {

struct BoxButton {
  std::u32string label;  // "Yes"
  int answer = 0;        // ui::kIdYes ...
  char hotkey = 0;       // the underlined letter, upper case
  int row = 0, col = 0;  // where "[ Yes ]" starts
  int width = 0;         // label size + 4
};

struct MessageBoxLayout {
  int screenRows = 0, screenCols = 0;   // the screen it was laid out for
  int top = 0, left = 0, bottom = 0, right = 0;  // the frame, inclusive
  std::u32string caption;               // clipped to the frame
  std::vector<std::u32string> lines;    // wrapped text lines
  int textTop = 0, textLeft = 0;
  std::vector<BoxButton> buttons;
  int defaultButton = 0;                // index into buttons
  int escapeAnswer = 0;                 // what Escape answers; 0 when it does nothing
  int endAnswer = 0;                    // the answer when input ends or the program must stop
};

// Lays out a box for the message-box flags (ui::kMbOk ... kMbRetryCancel,
// kMbDefButton2/3) on a rows × cols screen. Text and caption are UTF-8 with
// "\n" line breaks; lines wider than the screen allows are wrapped at blanks
// (or cut where a word is too long) and lines that do not fit the height are
// left out. Unknown button flags give OK.
MessageBoxLayout layoutMessageBox(std::string_view text, std::string_view caption, unsigned flags,
                                  int rows, int cols);

// Draws the box over what the grid holds, with the focused button marked.
void drawMessageBox(CellGrid& grid, const MessageBoxLayout& box, int focused);

// Keys in an open box: Left/Right/Tab/Shift+Tab move the focus, Enter takes
// the focused button, Escape answers escapeAnswer, a button's letter
// (either case) takes it, a click on a button takes it.
class MessageBoxInput {
 public:
  explicit MessageBoxInput(const MessageBoxLayout& box) : box_(&box), focused_(box.defaultButton) {}
  int focused() const { return focused_; }
  // The answer the event gives, or 0 when the box stays open.
  int onEvent(const InputEvent& e);

 private:
  const MessageBoxLayout* box_;
  int focused_;
};

}  // namespace tui
