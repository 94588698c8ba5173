// The edit window: laid over the main window with the session's title and
// the level-1 table's lines, given the focus; Escape or a close request ends
// it and, through the posted WM_TFP_EDIT_CLOSED, the main window's session;
// a window that cannot be made is reported and ends the session too.
#include <windows.h>

#include <gtest/gtest.h>

#include "datasets/open_data.hpp"
#include "edit_view.hpp"
#include "edit_window.hpp"
#include "main_window_fixture.hpp"
#include "resource.h"
#include "window_classes.hpp"

namespace {

using win32_test::windowText;

class EditWindowTest : public win32_test::MainWindowFixture {
 protected:
  static datasets::EditSessionStart cruiseStart() {
    datasets::EditSessionStart start;
    start.title = datasets::editWindowTitle("Cruise", "North Block");
    start.tableName = "PLOTS";
    start.lineCount = 3;
    return start;
  }
  // Takes the edit-closed messages waiting for the main window; their number.
  int takeEditClosed() {
    MSG msg;
    int n = 0;
    while (PeekMessageW(&msg, main_, WM_TFP_EDIT_CLOSED, WM_TFP_EDIT_CLOSED, PM_REMOVE)) ++n;
    return n;
  }
};

TEST_F(EditWindowTest, OpensOverTheMainWindowWithTitleLinesAndFocus) {
  HWND edit = frontend::openEditWindow(GetModuleHandleW(nullptr), main_, cruiseStart());
  ASSERT_NE(edit, nullptr) << GetLastError();
  EXPECT_EQ(frontend::findEditWindow(), edit);
  EXPECT_EQ(windowText(edit), L"TFMobile   ~App\"Cruise\"  ~Dataset\"North Block\"");
  EXPECT_EQ(GetWindow(edit, GW_OWNER), main_);
  EXPECT_EQ(GetParent(edit), main_) << "a pop-up's parent is its owner";
  EXPECT_EQ(GetFocus(), edit);

  LONG style = GetWindowLongW(edit, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_TRUE(style & WS_CLIPCHILDREN);
  EXPECT_EQ(style & WS_CAPTION, WS_DLGFRAME) << "a dialog frame without a caption bar";

  RECT mainRect, editRect;
  GetWindowRect(main_, &mainRect);
  GetWindowRect(edit, &editRect);
  EXPECT_TRUE(EqualRect(&mainRect, &editRect));

  frontend::EditView* view = frontend::EditView::of(edit);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->screen().rowText(2).substr(0, 27), "  Table: PLOTS   Lines: 3  ");
  EXPECT_EQ(view->screen().rowText(4).substr(2, 31), "Escape: back to the main window");
  DestroyWindow(edit);
  EXPECT_EQ(takeEditClosed(), 1);
}

TEST_F(EditWindowTest, EscapeAndCloseRequestEndTheSessionThroughTheMainWindow) {
  for (UINT how : {UINT{WM_KEYDOWN}, UINT{WM_CLOSE}}) {
    window_->model().setEditSessionOpen(true);
    ASSERT_TRUE(window_->openEditWindow());
    HWND edit = frontend::findEditWindow();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindow(edit, GW_OWNER), main_);

    SendMessageW(edit, how, how == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
    EXPECT_FALSE(IsWindow(edit)) << how;
    // The main window hears of it through its queue, not at once.
    EXPECT_TRUE(window_->model().editSessionOpen()) << how;
    host_.pump();
    EXPECT_FALSE(window_->model().editSessionOpen()) << how;
    EXPECT_EQ(GetFocus(), main_) << how;
    EXPECT_EQ(takeEditClosed(), 0) << "told once only";
  }
}

TEST_F(EditWindowTest, OtherKeysLeaveTheWindowOpen) {
  HWND edit = frontend::openEditWindow(GetModuleHandleW(nullptr), main_, cruiseStart());
  ASSERT_NE(edit, nullptr);
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageW(edit, WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(IsWindow(edit));
  EXPECT_EQ(takeEditClosed(), 0);
  DestroyWindow(edit);
}

TEST_F(EditWindowTest, EditClosedMessageDestroysAWindowStillThereWithoutASecondNotice) {
  window_->model().setEditSessionOpen(true);
  ASSERT_TRUE(window_->openEditWindow());
  HWND edit = frontend::findEditWindow();
  ASSERT_NE(edit, nullptr);
  SendMessageW(main_, WM_TFP_EDIT_CLOSED, 0, 0);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_FALSE(window_->model().editSessionOpen());
  EXPECT_EQ(takeEditClosed(), 0) << "the window the main window closed itself posts nothing";
}

TEST_F(EditWindowTest, ClosingTheMainWindowTakesTheEditWindowAndSessionWithIt) {
  window_->model().setEditSessionOpen(true);
  ASSERT_TRUE(window_->openEditWindow());
  HWND edit = frontend::findEditWindow();
  ASSERT_NE(edit, nullptr);
  DestroyWindow(main_);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_FALSE(window_->model().editSessionOpen());
}

TEST_F(EditWindowTest, WindowThatCannotBeMadeIsReportedAndEndsTheSession) {
  // Without its class the window cannot be made; the class comes back after.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  ASSERT_TRUE(GetClassInfoExW(instance, frontend::kEditClass, &wc));
  wc.lpszClassName = frontend::kEditClass;
  ASSERT_TRUE(UnregisterClassW(frontend::kEditClass, instance));
  struct Reregister {
    WNDCLASSEXW& wc;
    ~Reregister() { EXPECT_TRUE(RegisterClassExW(&wc)) << "the edit class could not be registered again"; }
  } reregister{wc};

  // The code the system gives for a missing class (Windows and Wine differ).
  SetLastError(0);
  ASSERT_EQ(CreateWindowExW(0, frontend::kEditClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance,
                            nullptr),
            nullptr);
  const DWORD code = GetLastError();
  ASSERT_NE(code, 0u);

  window_->model().setEditSessionOpen(true);
  answerBox(L"Create TFP Edit Window error=" + std::to_wstring(code) + L".\r\n", IDOK);
  EXPECT_FALSE(window_->openEditWindow());
  EXPECT_EQ(answered_, 1);
  EXPECT_EQ(frontend::findEditWindow(), nullptr);
  EXPECT_FALSE(window_->model().editSessionOpen());
}

}  // namespace
