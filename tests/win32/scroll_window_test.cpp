// The scroll window: placed inside the main window with a tenth free on
// every side, opened and closed by the same request, moved by its keys, the
// wheel and its scroll bars, and wide enough for lines broken at the width
// the message viewer is given.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scroll_window.hpp"
#include "win32_host.hpp"
#include "win32_test_support.hpp"

namespace {

constexpr const char* kTitle = " < Test list > ";

std::vector<std::string> numberedLines(int count, int width) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    std::string line = "Line " + std::to_string(i) + " ";
    line.resize(static_cast<std::size_t>(width), '.');
    lines.push_back(line);
  }
  return lines;
}

SCROLLINFO barOf(HWND window, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &si);
  return si;
}

class ScrollWindow : public testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_WINDOWS();
    win32_test::registerClassesOnce();
    main_ = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 1000,
                            700, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(main_, nullptr);
    SetFocus(main_);
    host_.setMainWindow(main_);
  }
  void TearDown() override {
    if (HWND w = frontend::findScrollWindow(kTitle)) DestroyWindow(w);
    if (main_) DestroyWindow(main_);
  }
  void send(HWND w, UINT message, WPARAM wParam) { SendMessageW(w, message, wParam, 0); }

  frontend::Win32Host host_{GetModuleHandleW(nullptr)};
  HWND main_ = nullptr;
};

TEST_F(ScrollWindow, OpensInsideTheMainWindowAndTheSameTitleClosesIt) {
  ASSERT_TRUE(host_.toggleScrollWindow(kTitle, numberedLines(50, 120)));
  HWND w = frontend::findScrollWindow(kTitle);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(win32_test::windowText(w), L" < Test list > ");
  RECT rc;
  GetWindowRect(w, &rc);
  EXPECT_EQ(rc.left, 200);
  EXPECT_EQ(rc.top, 120);
  EXPECT_EQ(rc.right, 1000);
  EXPECT_EQ(rc.bottom, 680);
  LONG style = GetWindowLongW(w, GWL_STYLE), exStyle = GetWindowLongW(w, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & WS_HSCROLL);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(w, GW_OWNER), main_);

  // Another title opens a second window; the first title closes only its own.
  ASSERT_TRUE(host_.toggleScrollWindow("Other", {"x"}));
  ASSERT_NE(frontend::findScrollWindow("Other"), nullptr);
  ASSERT_TRUE(host_.toggleScrollWindow(kTitle, {}));
  EXPECT_EQ(frontend::findScrollWindow(kTitle), nullptr);
  EXPECT_NE(frontend::findScrollWindow("Other"), nullptr);
  ASSERT_TRUE(host_.toggleScrollWindow("Other", {}));
  EXPECT_EQ(frontend::findScrollWindow("Other"), nullptr);
  EXPECT_EQ(GetFocus(), main_) << "the focus goes back where it came from";
}

TEST_F(ScrollWindow, KeysWheelAndBarsMoveTheView) {
  ASSERT_TRUE(host_.toggleScrollWindow(kTitle, numberedLines(100, 300)));
  HWND w = frontend::findScrollWindow(kTitle);
  ASSERT_NE(w, nullptr);
  const int rows = static_cast<int>(barOf(w, SB_VERT).nPage);
  const int columns = static_cast<int>(barOf(w, SB_HORZ).nPage);
  ASSERT_GT(rows, 2);
  ASSERT_GT(columns, 2);
  EXPECT_EQ(barOf(w, SB_VERT).nMax, 99);
  EXPECT_EQ(barOf(w, SB_HORZ).nMax, 299);

  send(w, WM_KEYDOWN, VK_NEXT);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, rows - 1);
  send(w, WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, rows);
  send(w, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA));
  EXPECT_EQ(barOf(w, SB_VERT).nPos, rows - 1);
  send(w, WM_KEYDOWN, VK_UP);
  send(w, WM_KEYDOWN, VK_PRIOR);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, 0);
  send(w, WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, 100 - rows);
  send(w, WM_VSCROLL, SB_LINEDOWN);  // already at the end
  EXPECT_EQ(barOf(w, SB_VERT).nPos, 100 - rows);
  send(w, WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, 100 - rows - (rows - 1));
  send(w, WM_VSCROLL, SB_TOP);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, 0);

  send(w, WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, 1);
  send(w, WM_KEYDOWN, VK_END);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, columns);
  send(w, WM_KEYDOWN, VK_HOME);
  send(w, WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, 0);
  send(w, WM_HSCROLL, SB_PAGERIGHT);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, columns - 1);
  send(w, WM_HSCROLL, SB_BOTTOM);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, 300 - columns);
  send(w, WM_HSCROLL, SB_LINELEFT);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, 299 - columns);

  send(w, WM_KEYDOWN, VK_ESCAPE);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(frontend::findScrollWindow(kTitle), nullptr);
}

TEST_F(ScrollWindow, ASecondF1ClosesTheHelp) {
  ASSERT_TRUE(host_.toggleScrollWindow(kTitle, {"one", "two"}));
  HWND w = frontend::findScrollWindow(kTitle);
  ASSERT_NE(w, nullptr);
  send(w, WM_KEYDOWN, VK_F1);
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(ScrollWindow, ShortListsDoNotScroll) {
  ASSERT_TRUE(host_.toggleScrollWindow(kTitle, {"one", "two"}));
  HWND w = frontend::findScrollWindow(kTitle);
  ASSERT_NE(w, nullptr);
  send(w, WM_KEYDOWN, VK_NEXT);
  send(w, WM_KEYDOWN, VK_END);
  send(w, WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(barOf(w, SB_VERT).nPos, 0);
  EXPECT_EQ(barOf(w, SB_HORZ).nPos, 0);
}

TEST_F(ScrollWindow, LinesBrokenAtTheViewersWidthFitWithoutScrollingSideways) {
  const int width = host_.scrollWindowColumns();
  EXPECT_GT(width, 20);
  ASSERT_TRUE(host_.toggleScrollWindow(kTitle, numberedLines(3, width)));
  HWND w = frontend::findScrollWindow(kTitle);
  ASSERT_NE(w, nullptr);
  EXPECT_LE(width, static_cast<int>(barOf(w, SB_HORZ).nPage));
  // A narrower main window gives fewer columns.
  SetWindowPos(main_, nullptr, 0, 0, 500, 700, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_LT(host_.scrollWindowColumns(), width);
}

}  // namespace
