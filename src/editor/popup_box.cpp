#include "editor/popup_box.hpp"

#include <algorithm>

namespace editor {

PopupBox::PopupBox(ui::Screen& screen, const std::vector<std::string>& lines, int minWidth)
    : screen_(screen),
      image_(screen.pushImage()),
      cursor_(screen.cursor()),
      text_(screen.textColour()),
      back_(screen.backColour()) {
  if (image_ == 0) return;
  std::size_t widest = static_cast<std::size_t>(std::max(0, minWidth));
  for (const std::string& l : lines) widest = std::max(widest, l.size());
  // A blank column each side inside the frame, the frame one cell further out.
  width_ = std::clamp(static_cast<int>(std::min<std::size_t>(widest, ui::Screen::kMaxText)), 1,
                      std::max(1, screen.cols() - 4));
  const int height = std::max(1, static_cast<int>(lines.size()));
  top_ = std::max(2, (screen.rows() - height) / 2 + 1);
  left_ = std::max(3, (screen.cols() - width_) / 2 + 1);
  screen.suspendCursor(true);
  screen.setTextColour(ui::kBlack);
  screen.setBackColour(ui::kWhite);
  screen.drawBox(top_, left_ - 1, top_ + height - 1, left_ + width_);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    screen.gotoCell(top_ + static_cast<int>(i), left_);
    screen.putText(lines[i].substr(0, static_cast<std::size_t>(width_)));
  }
}

PopupBox::~PopupBox() {
  if (image_ == 0) return;
  screen_.popImage(image_);
  screen_.setTextColour(text_);
  screen_.setBackColour(back_);
  if (cursor_.row >= 1 && cursor_.col >= 1) screen_.gotoCell(cursor_.row, cursor_.col);
  screen_.setInsertCursor(cursor_.insert);
  screen_.suspendCursor(cursor_.suspended);
}

}  // namespace editor
