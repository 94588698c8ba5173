#pragma once
// The main window's status area below the command bar: the current
// application, the GPS block while GPS is on, the two paths and the
// date-and-time line, in a bold font one
// 25th of the client height high (and 1/80 of its width wide in portrait).
#include <windows.h>

#include "shell/startup.hpp"

namespace frontend {

class StatusArea {
 public:
  StatusArea() = default;
  ~StatusArea();
  StatusArea(const StatusArea&) = delete;
  StatusArea& operator=(const StatusArea&) = delete;

  // Measures for a client area of width × height whose lines start at
  // (left, top); remakes the font when its size changes.
  void layout(int width, int height, int left, int top);
  // Draws the lines, each over its whole band of green, so that a shorter
  // text covers a longer one.
  void paint(HDC dc, const shell::StatusLines& lines) const;

  // The bands of every line, the GPS block's included (repainted every second).
  RECT area() const;
  HFONT font() const { return font_; }
  int lineHeight() const { return lineHeight_; }

 private:
  static constexpr int kMostLines = 4 + 4;  // with the GPS block
  RECT band(int line) const;

  HFONT font_ = nullptr;
  int fontHeight_ = 0, fontWidth_ = 0;
  int width_ = 0, left_ = 0, top_ = 0, lineHeight_ = 0;
};

}  // namespace frontend
