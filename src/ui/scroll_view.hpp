#pragma once
// The scroll window's contents and position: a long list of text lines seen
// through a window of rows × columns, moved by keys, the wheel and scroll bars.
// Lines are 8-bit text (ANSI code page), one byte a column; front ends
// convert when they draw.
#include <string>
#include <vector>

#include "ui/keys.hpp"

namespace ui {

class ScrollView {
 public:
  ScrollView(std::string title, std::vector<std::string> lines);

  // The visible size in lines and columns (front ends call it on resize).
  void setVisible(int rows, int columns);

  // Escape closes (returns false); Up/Down a line; PageUp/PageDown the visible
  // lines less one; Left/Right a column; Home/End the visible columns less one;
  // the wheel a line. Returns true while the window stays open.
  bool key(KeyCode k);
  // Scroll-bar positions, clamped.
  void scrollTo(int firstLine, int firstColumn);

  const std::string& title() const { return title_; }
  const std::vector<std::string>& lines() const { return lines_; }
  int firstLine() const { return top_; }
  int firstColumn() const { return left_; }
  int visibleRows() const { return rows_; }
  int visibleColumns() const { return cols_; }
  int widest() const { return widest_; }
  int maxFirstLine() const;
  int maxFirstColumn() const;
  // The text of visible row r (0-based), cut to the visible columns.
  std::string row(int r) const;

 private:
  std::string title_;
  std::vector<std::string> lines_;
  int widest_ = 0;
  int top_ = 0, left_ = 0, rows_ = 1, cols_ = 1;
};

}  // namespace ui
