#pragma once
// Helpers of the Windows front-end tests: whether this process can make
// windows at all (plain Wine without a display or a null graphics driver
// cannot), finding windows of the test thread, and a watchdog that closes a
// dialog the test failed to end instead of hanging the run.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace win32_test {

// True when a window can be created here.
bool windowsAvailable();

#define REQUIRE_WINDOWS()                                                              \
  do {                                                                                 \
    if (!::win32_test::windowsAvailable())                                             \
      GTEST_SKIP() << "no windows can be created here (Wine without a display: run "   \
                      "under Xvfb, or give the prefix the null graphics driver)";      \
  } while (0)

// A window of this thread with the class and title (null title: any).
HWND findThreadWindow(const wchar_t* className, const wchar_t* title);
// A dialog of this thread showing text in one of its controls (message boxes).
HWND findDialogShowing(const std::wstring& text);
std::wstring windowText(HWND window);

// Registers the program's window classes once for the test process.
void registerClassesOnce();

// Removes a WM_QUIT left in this thread's queue; true when there was one.
bool takeQuit();

// While it lives, a dialog of this thread still open after the limit is
// closed (WM_CLOSE) and fired() turns true, so a broken test fails instead
// of waiting for ever.
class Watchdog {
 public:
  explicit Watchdog(UINT seconds = 60);
  ~Watchdog();
  bool fired() const;

 private:
  UINT_PTR timer_ = 0;
};

}  // namespace win32_test
