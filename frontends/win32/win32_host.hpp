#pragma once
// ui::Host for the Windows front end: message boxes, the UI thread's message
// handling (with the main window's accelerators) and the thread-safe post,
// and the edit window the engine opens.
#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/form.hpp"
#include "ui/host.hpp"
#include "ui/progress.hpp"

namespace frontend {

class Win32EditWindow;

class Win32Host final : public ui::Host {
 public:
  // Creates the hidden message window that carries posted work; call on the
  // UI thread.
  explicit Win32Host(HINSTANCE instance);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  int messageBox(std::string_view text, std::string_view caption, unsigned flags) override;
  void pump() override;
  void post(std::function<void()> fn) override;
  void beep() override;
  // A modal dialog built from the form, centred on the main window.
  int runForm(const ui::Form& form, ui::FormController& controller) override;
  void showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) override;
  // The scroll window over the main window (see scroll_window.hpp).
  bool toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) override;
  int scrollWindowColumns() override;
  // Whether the main window, or one of its buttons, has the keyboard focus.
  bool mainWindowHasFocus() override;
  // A native pop-up menu at the mouse pointer (TrackPopupMenu).
  int popupMenu(const std::vector<ui::MenuItem>& items) override;
  // The canvas window over the main window, owned by the window in front
  // (see canvas_window.hpp); boxes and dialogs it opens are owned by it.
  CanvasOutcome runCanvasWindow(const ui::CanvasWindowDesc& desc, ui::CanvasController& controller) override;
  // The edit window, as long as the object lives: its Screen is drawn at
  // every pump(), and its keys never go to the main window's accelerators.
  HWND editWindow() const;

  // The main window (owner of message boxes, target of the accelerators).
  void setMainWindow(HWND window) { mainWindow_ = window; }
  HWND mainWindow() const { return mainWindow_; }
  void setAccelerators(HACCEL table) { accelerators_ = table; }

  // Runs the message loop until WM_QUIT; returns its wParam.
  int runMessageLoop();

 protected:
  // The edit window over the main window (see edit_window.hpp).
  std::unique_ptr<ui::EditWindow> createEditWindow(ui::Screen& screen, ui::KeyQueue& keys,
                                                   const ui::EditWindowSetup& setup) override;

 private:
  // The main window while it exists: the owner of the scroll window.
  HWND owner() const;
  // The owner of boxes and dialogs: the main window's pop-up last active (a
  // dialog, the edit window; never the scroll window), else the main window.
  // A box owned by the main window behind a dialog would, when it closes,
  // bring the main window in front of that dialog.
  HWND frontOwner() const;
  // Hands a message to the accelerators first (unless it is for the edit
  // window), then to its window.
  void dispatch(MSG& msg);
  void runPosted();
  static LRESULT CALLBACK postWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  HWND postWindow_ = nullptr;
  HWND mainWindow_ = nullptr;
  HACCEL accelerators_ = nullptr;
  Win32EditWindow* edit_ = nullptr;
  std::mutex postLock_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace frontend
