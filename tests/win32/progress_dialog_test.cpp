// The progress window: a worker counting to 100 reports through the shared
// progress record; the window shows its last line and percentage and closes
// with the worker's result.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>

#include "progress_dialog.hpp"
#include "ui/progress.hpp"
#include "win32_host.hpp"
#include "win32_test_support.hpp"

namespace {

using win32_test::findThreadWindow;

// What the UI thread read from the window.
struct Seen {
  std::mutex lock;
  std::wstring caption, line1, line2;
  LRESULT position = -1;
  bool found = false;
};

TEST(ProgressWindow, ShowsTheWorkersLastReportAndEndsWithItsResult) {
  REQUIRE_WINDOWS();
  frontend::Win32Host host(GetModuleHandleW(nullptr));
  win32_test::Watchdog watchdog;
  ui::ProgressSpec desc;
  desc.title = "Counting";
  desc.line1 = "Counting to a hundred";
  desc.line2 = "";

  Seen seen;
  std::atomic<bool> showsLast{false};
  auto look = [&] {
    HWND d = findThreadWindow(L"#32770", L"Counting");
    if (!d) return;
    wchar_t text[128] = {};
    std::lock_guard<std::mutex> guard(seen.lock);
    seen.found = true;
    seen.caption = win32_test::windowText(d);
    GetDlgItemTextW(d, frontend::kProgressLine1, text, 128);
    seen.line1 = text;
    GetDlgItemTextW(d, frontend::kProgressLine2, text, 128);
    seen.line2 = text;
    seen.position = SendDlgItemMessageW(d, frontend::kProgressBar, PBM_GETPOS, 0, 0);
    if (seen.position == 100 && seen.line2 == L"Counted 100") showsLast = true;
  };

  int result = ui::runWithProgress(host, desc, [&](ui::Progress& progress) {
    for (int i = 0; i <= 100; ++i) progress.report(i, "Counted " + std::to_string(i));
    // The worker ends only once the window has caught up with its last
    // report (bounded, so a window that never does fails the test).
    for (int tries = 0; tries < 2000 && !showsLast; ++tries) {
      host.post(look);
      Sleep(10);
    }
    return 42;
  });

  EXPECT_EQ(result, 42);
  std::lock_guard<std::mutex> guard(seen.lock);
  ASSERT_TRUE(seen.found) << "no progress window";
  EXPECT_TRUE(showsLast);
  EXPECT_EQ(seen.caption, L"Counting");
  EXPECT_EQ(seen.line1, L"Counting to a hundred");
  EXPECT_EQ(seen.line2, L"Counted 100");
  EXPECT_EQ(seen.position, 100);
  EXPECT_EQ(findThreadWindow(L"#32770", L"Counting"), nullptr) << "the window stayed open";
  EXPECT_FALSE(watchdog.fired());
}

}  // namespace
