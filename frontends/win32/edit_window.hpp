#pragma once
// The edit window ("TFP_EditWin"): the window data are entered in, a pop-up
// with a dialog frame laid over the main window and owned by it. It draws the
// engine's Screen with GDI and puts the user's keys, clicks and touch buttons
// into the engine's KeyQueue (edit_view.hpp does the work).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/edit_window.hpp"

namespace datasets { struct EditSessionStart; }
namespace ui { class Host; class KeyQueue; class Screen; }

namespace frontend {

class EditView;

class Win32EditWindow final : public ui::EditWindow {
 public:
  Win32EditWindow(ui::Host& host, std::unique_ptr<EditView> view, HWND mainWindow);
  // Destroys the window (when still there), gives the focus back to the main
  // window and repaints it.
  ~Win32EditWindow() override;

  bool cellBased() const override { return false; }
  // Whole cells of the client area at the current cell size.
  int cellRows() const override;
  int cellColumns() const override;
  int clientWidth() const override;
  int clientHeight() const override;
  ui::FontMetrics useFont(const ui::FontRequest& request) override;
  void setCellGeometry(const ui::CellGeometry& geometry) override;
  void focus() override;

  // Draws what changed in the Screen since the last call (Host::pump).
  void refresh();
  // The key queue holds all it can: keyboard and mouse input then waits in
  // the thread's message queue until the engine has taken a key.
  bool queueFull() const;
  // The window, or null once it has been destroyed (its owner closing takes it along).
  HWND handle() const;
  // Called from the destructor, before the focus goes back.
  void setClosedHook(std::function<void()> hook) { closed_ = std::move(hook); }

 private:
  std::unique_ptr<EditView> view_;
  HWND mainWindow_;
  std::function<void()> closed_;
};

// Creates the edit window on screen and keys titled setup.title over owner's
// window rectangle (the work area when owner is null), owned by owner, shown
// and given the focus. Null when it cannot be made; host has then shown
// "Create TFP Edit Window error=%d.\r\n" or, when the window's DC cannot be
// had, "GetDC error=%d.\r\n" with the system's error (caption "Error").
std::unique_ptr<Win32EditWindow> createEditWindow(ui::Host& host, HINSTANCE instance, HWND owner,
                                                  ui::Screen& screen, ui::KeyQueue& keys,
                                                  const ui::EditWindowSetup& setup);

// The edit window of this thread, or null.
HWND findEditWindow();

}  // namespace frontend
