#pragma once
// An edit window opened through the host on a Screen and KeyQueue of the
// test, with a fake clock (the refresh after a second without input is then
// the test's to cause), and the messages a key press sends its procedure.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "edit_view.hpp"
#include "edit_window.hpp"
#include "platform/clock.hpp"
#include "support/fake_clock.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"
#include "win32_host.hpp"
#include "win32_test_support.hpp"

namespace win32_test {

class EditWindowFixture : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_WINDOWS();
    registerClassesOnce();
  }
  void TearDown() override { window_.reset(); }

  // Opens the window; the test fails when it cannot.
  void open(const ui::EditWindowSetup& setup = {}) {
    window_ = host_.openEditWindow(screen_, keys_, setup);
    ASSERT_NE(window_, nullptr);
    edit_ = static_cast<frontend::Win32EditWindow*>(window_.get())->handle();
    ASSERT_NE(edit_, nullptr);
  }
  frontend::EditView& view() { return *frontend::EditView::of(edit_); }

  // Sends one message to the window's procedure.
  LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(edit_, message, wParam, lParam);
  }
  // The keys waiting, taken in order.
  std::vector<ui::KeyCode> takeAll() {
    std::vector<ui::KeyCode> out;
    while (ui::KeyCode k = keys_.take()) out.push_back(k);
    return out;
  }

  testing_support::FakeClock clock_;
  platform::ScopedClock scopedClock_{clock_};
  frontend::Win32Host host_{GetModuleHandleW(nullptr)};
  ui::Screen screen_{12, 40};
  ui::KeyQueue keys_;
  std::unique_ptr<ui::EditWindow> window_;
  HWND edit_ = nullptr;
};

}  // namespace win32_test
