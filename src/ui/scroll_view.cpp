#include "ui/scroll_view.hpp"

#include <algorithm>

namespace ui {

ScrollView::ScrollView(std::string title, std::vector<std::string> lines)
    : title_(std::move(title)), lines_(std::move(lines)) {
  for (const auto& l : lines_) widest_ = std::max(widest_, static_cast<int>(l.size()));
}

void ScrollView::setVisible(int rows, int columns) {
  rows_ = std::max(rows, 1);
  cols_ = std::max(columns, 1);
  scrollTo(top_, left_);
}

int ScrollView::maxFirstLine() const { return std::max(0, static_cast<int>(lines_.size()) - rows_); }
int ScrollView::maxFirstColumn() const { return std::max(0, widest_ - cols_); }

void ScrollView::scrollTo(int firstLine, int firstColumn) {
  top_ = std::clamp(firstLine, 0, maxFirstLine());
  left_ = std::clamp(firstColumn, 0, maxFirstColumn());
}

bool ScrollView::key(KeyCode k) {
  switch (k) {
    case key::kEscape: return false;
    case key::kUp:
    case key::kWheelForward: scrollTo(top_ - 1, left_); break;
    case key::kDown:
    case key::kWheelBack: scrollTo(top_ + 1, left_); break;
    case key::kPageUp: scrollTo(top_ - std::max(rows_ - 1, 1), left_); break;
    case key::kPageDown: scrollTo(top_ + std::max(rows_ - 1, 1), left_); break;
    case key::kLeft: scrollTo(top_, left_ - 1); break;
    case key::kRight: scrollTo(top_, left_ + 1); break;
    case key::kHome: scrollTo(top_, left_ - std::max(cols_ - 1, 1)); break;
    case key::kEnd: scrollTo(top_, left_ + std::max(cols_ - 1, 1)); break;
    default: break;
  }
  return true;
}

std::string ScrollView::row(int r) const {
  int i = top_ + r;
  if (r < 0 || i >= static_cast<int>(lines_.size())) return std::string();
  const std::string& l = lines_[static_cast<std::size_t>(i)];
  if (left_ >= static_cast<int>(l.size())) return std::string();
  return l.substr(static_cast<std::size_t>(left_), static_cast<std::size_t>(cols_));
}

}  // namespace ui
