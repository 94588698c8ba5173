#pragma once
// The main window: green ground, the status lines, the one-second clock and
// the exit prompt. Its commands arrive with the main-window work.
#include <windows.h>

namespace shell { class Startup; }

namespace frontend {

class Win32Host;

// The main window's background, RGB(0, 160, 0).
inline constexpr COLORREF kMainGreen = RGB(0, 160, 0);

class MainWindow {
 public:
  // host and startup must outlive this object; this object outlives the window.
  MainWindow(Win32Host& host, shell::Startup& startup);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window at the start-up geometry, fills its client area green
  // and shows it. False when it cannot be created (GetLastError says why).
  bool create(HINSTANCE instance, int showCommand);
  HWND handle() const { return window_; }

  // The procedure of the "TALLYFIN_PC" class.
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  void fillClient(HDC dc);

  Win32Host& host_;
  shell::Startup& startup_;
  HWND window_ = nullptr;
  HBRUSH green_ = nullptr;
};

}  // namespace frontend
