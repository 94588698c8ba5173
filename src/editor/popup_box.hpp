#pragma once
// A framed box of text lines centred on the Screen over a saved image of
// what lies beneath; the image, the colours and the cursor are put back when
// the box goes.
#include <string>
#include <vector>

#include "ui/screen.hpp"

namespace editor {

class PopupBox {
 public:
  // Lines are cut to the screen; minWidth widens the box (an edit cell).
  // When every pop-up image slot is taken nothing is drawn (shown() false).
  PopupBox(ui::Screen& screen, const std::vector<std::string>& lines, int minWidth = 0);
  ~PopupBox();
  PopupBox(const PopupBox&) = delete;
  PopupBox& operator=(const PopupBox&) = delete;

  bool shown() const { return image_ != 0; }
  // Text rows top() .. top() + lines - 1, columns left() .. left() + width() - 1.
  int top() const { return top_; }
  int left() const { return left_; }
  int width() const { return width_; }

 private:
  ui::Screen& screen_;
  int image_;
  ui::CursorShape cursor_;
  int text_, back_;
  int top_ = 0, left_ = 0, width_ = 0;
};

}  // namespace editor
