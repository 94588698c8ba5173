#pragma once
// The main window: the green ground, the command bar, the status area and
// the menu, driven by the main-window model of the shell (commands, Enter,
// the one-second timer, closing). This class only draws and passes input on.
#include <windows.h>

#include "command_bar.hpp"
#include "shell/main_window.hpp"
#include "status_area.hpp"

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

  // Creates the window at the start-up geometry with its command bar, fills
  // its client area green and shows it. False when it cannot be created
  // (GetLastError says why).
  bool create(HINSTANCE instance, int showCommand);
  // Once start-up has finished: the model's creation (settings, abort and
  // update paths, folders); from then on commands and the timer reach it.
  void start();

  HWND handle() const { return window_; }
  shell::MainWindow& model() { return model_; }
  const CommandBar& commandBar() const { return bar_; }
  const StatusArea& statusArea() const { return status_; }

  // The procedure of the "TALLYFIN_PC" class.
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCreate();
  void onDestroy();
  // A command from the menu, an accelerator or a button; Enter when enter.
  void onCommand(int id, bool enter);
  void onTimer();
  void act(shell::MainAction action);
  void layout();
  void paint();
  void fillClient(HDC dc);

  Win32Host& host_;
  shell::Startup& startup_;
  shell::MainWindow model_;
  HWND window_ = nullptr;
  HBRUSH green_ = nullptr;
  CommandBar bar_;
  StatusArea status_;
  bool started_ = false;
  bool inCommand_ = false;  // a command runs (its dialogs pump messages)
  bool inTimer_ = false;    // the timer's own prompts pump messages too

  // The system's font smoothing, turned on while the window lives.
  struct Smoothing {
    BOOL on = FALSE;
    UINT type = 0, contrast = 0;
    bool saved = false;
  } smoothing_;
};

}  // namespace frontend
