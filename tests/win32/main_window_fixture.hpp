#pragma once
// A main window with its model over a private install folder, for the tests
// of the main window and of the windows it opens; a message box is answered
// through the host's post, which runs inside the box's own message loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "main_window.hpp"
#include "shell/startup.hpp"
#include "support/temp_dir.hpp"
#include "win32_host.hpp"
#include "win32_test_support.hpp"

namespace win32_test {

class MainWindowFixture : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_WINDOWS();
    registerClassesOnce();
    shell::StartupValues& v = startup_.values();
    v.style = config::windowsPathStyle();
    v.geometry = {20, 10, 1024, 700, false, 6, 1};
    v.installRoot = dir_.path();
    v.appPath = dir_.file("Apps");
    v.dataPath = dir_.file("Data");
    window_ = std::make_unique<frontend::MainWindow>(host_, startup_);
    ASSERT_TRUE(window_->create(GetModuleHandleW(nullptr), SW_SHOWNORMAL));
    window_->start();
    main_ = window_->handle();
  }
  void TearDown() override {
    window_.reset();
    takeQuit();  // destroying the window ends the (absent) message loop
    EXPECT_FALSE(watchdog_.fired()) << "a dialog had to be closed by the watchdog";
  }

  // Answers the next message box showing text by pressing answer.
  void answerBox(const std::wstring& text, int answer) {
    host_.post([text, answer, this] {
      HWND box = findDialogShowing(text);
      ASSERT_NE(box, nullptr) << "no box showing the expected text";
      ++answered_;
      PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    });
  }

  testing_support::TempDir dir_;
  frontend::Win32Host host_{GetModuleHandleW(nullptr)};
  shell::Startup startup_;
  std::unique_ptr<frontend::MainWindow> window_;
  HWND main_ = nullptr;
  int answered_ = 0;
  Watchdog watchdog_;
};

}  // namespace win32_test
