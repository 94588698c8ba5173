#pragma once
// The main window's command bar: six owner-drawn push buttons (commands
// 40097-40102), each painted by stretching its 125 x 125 picture (bitmaps
// 272-277) over its whole face. A button stays checked while the command it
// started runs.
#include <windows.h>

#include <array>

#include "shell/main_layout.hpp"

namespace frontend {

class CommandBar {
 public:
  static constexpr int kCount = 6;

  CommandBar() = default;
  ~CommandBar();
  CommandBar(const CommandBar&) = delete;
  CommandBar& operator=(const CommandBar&) = delete;

  // Loads the pictures and creates the buttons as children of parent. False
  // when a button cannot be created (a missing picture only leaves its face
  // plain).
  bool create(HINSTANCE instance, HWND parent);
  // Frees the pictures (the buttons go with their parent).
  void release();

  // Places the buttons where layout says.
  void place(const shell::ButtonLayout& layout);
  // Paints an item of WM_DRAWITEM; false when it is not one of the buttons.
  bool draw(const DRAWITEMSTRUCT& item) const;

  // Marks the button of command id as checked (0: none) and repaints.
  void setChecked(int id);
  int checked() const { return checked_; }

  static bool isButton(int id);
  HWND button(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
  // The command and label of button index (0-5).
  static int commandOf(int index);
  static const wchar_t* labelOf(int index);

 private:
  std::array<HWND, kCount> buttons_{};
  std::array<HBITMAP, kCount> pictures_{};
  int checked_ = 0;
};

}  // namespace frontend
