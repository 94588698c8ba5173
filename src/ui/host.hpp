#pragma once
// What the program asks of whoever shows it. The Win32 and terminal front ends
// implement Host; tests use the scripted host. Everything here is called on
// the UI thread except post(), which any thread may call.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <vector>

#include "ui/canvas.hpp"
#include "ui/edit_window.hpp"
#include "ui/form.hpp"
#include "ui/progress.hpp"

namespace ui {

// Message-box flags and answers carry the Win32 values, so code written
// against the Windows behaviour reads the same everywhere.
enum MessageBoxFlags : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbAbortRetryIgnore = 0x2,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbRetryCancel = 0x5,
  kMbButtonMask = 0xF,
  kMbIconStop = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
  kMbIconMask = 0xF0,
  kMbDefButton2 = 0x100,
  kMbDefButton3 = 0x200,
  kMbDefMask = 0xF00,
  kMbSystemModal = 0x1000,
  kMbTopmost = 0x40000,
};

enum DialogAnswer : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdAbort = 3,
  kIdRetry = 4,
  kIdIgnore = 5,
  kIdYes = 6,
  kIdNo = 7,
};

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box over the main window (or over the desktop before it
  // exists); returns the answer (kIdOk ... kIdNo). Texts are UTF-8 with "\n"
  // line breaks.
  virtual int messageBox(std::string_view text, std::string_view caption, unsigned flags) = 0;

  // Handles pending input and painting; modal loops call it while they wait.
  virtual void pump() = 0;

  // Runs fn on the UI thread at its next pump or message-loop turn. Safe from
  // any thread; the only way a worker reaches the user interface.
  virtual void post(std::function<void()> fn) = 0;

  // The system's default beep.
  virtual void beep() = 0;

  // Shows a form as a modal dialog centred on the main window, feeding its
  // controller until it ends; returns the value it ended with.
  virtual int runForm(const Form& form, FormController& controller) = 0;

  // Opens the scroll window (a pop-up over the main window showing 8-bit text
  // lines without wrapping, scrolled with the keys of ScrollView), or closes
  // it when one with the same title is open. False when it cannot be made.
  virtual bool toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) = 0;
  // How many characters a line of the scroll window shows at once when it is
  // opened over the main window.
  virtual int scrollWindowColumns() = 0;

  // Whether the main window has the keyboard focus.
  virtual bool mainWindowHasFocus() = 0;

  // Shows the progress window of desc until progress is finished, keeping
  // it current from progress.snapshot(). A host without such a window (this
  // default) only keeps the user interface alive meanwhile.
  virtual void showProgress(const ProgressSpec& desc, Progress& progress);

  // Shows a pop-up menu at the mouse pointer over the edit window and
  // returns the command id chosen, or 0 when it was closed without one. This
  // default shows the enabled commands (a submenu's as "Submenu: entry") in
  // the pop-up selection list on the edit window's Screen, titled
  // "< Hierarchy >" (the edit window's one menu); 0 when no edit
  // window is open or nothing can be chosen.
  virtual int popupMenu(const std::vector<MenuItem>& items);

  // Shows the canvas window of desc (a pop-up over the main window's area,
  // focused, with the desc's menu and title), driving controller through a
  // CanvasState until it ends; the main window gets its focus back after.
  // shown is false when the window cannot be made: error then holds the
  // system's error number (this default: a host without such a window, 0).
  struct CanvasOutcome {
    bool shown = false;
    int error = 0;
    int result = 0;
  };
  virtual CanvasOutcome runCanvasWindow(const CanvasWindowDesc& desc, CanvasController& controller);

  // Opens the edit window over the main window on screen and keys (both
  // outlive the window); it stays open until the returned object is
  // destroyed. Null when the window cannot be made (the host has shown why).
  // Only one edit window is open at a time: a second call returns null.
  std::unique_ptr<EditWindow> openEditWindow(Screen& screen, KeyQueue& keys, const EditWindowSetup& setup);
  // The Screen and KeyQueue of the open edit window, or null: the common
  // prompts draw into it while it is open.
  Screen* editScreen() const { return editScreen_; }
  KeyQueue* editKeys() const { return editKeys_; }

 protected:
  // The front end's part of openEditWindow.
  virtual std::unique_ptr<EditWindow> createEditWindow(Screen& screen, KeyQueue& keys,
                                                       const EditWindowSetup& setup);

 private:
  friend class EditWindow;
  Screen* editScreen_ = nullptr;
  KeyQueue* editKeys_ = nullptr;
};

// The box every failure report uses: OK, information icon, topmost.
inline int inform(Host& host, std::string_view text, std::string_view caption) {
  return host.messageBox(text, caption, kMbOk | kMbIconInformation | kMbTopmost);
}

// A Yes/No question (question icon, topmost); No as the default when asked.
inline int askYesNo(Host& host, std::string_view text, std::string_view caption,
                    bool noIsDefault = false) {
  return host.messageBox(text, caption,
                         kMbYesNo | kMbIconQuestion | kMbTopmost | (noIsDefault ? kMbDefButton2 : 0u));
}

}  // namespace ui
