// The main window with its model: the command bar laid out by the model,
// the menu's enable states, commands, Enter, the timer and closing.
#include <windows.h>

#include <gtest/gtest.h>

#include "editor/help_lists.hpp"
#include "main_window_fixture.hpp"
#include "menu_data.hpp"
#include "resource.h"
#include "scroll_window.hpp"
#include "shell/commands.hpp"

namespace {

namespace cmd = shell::cmd;
using win32_test::findThreadWindow;

using MainWindowTest = win32_test::MainWindowFixture;

TEST_F(MainWindowTest, CommandBarFollowsTheModelsLayout) {
  RECT client;
  GetClientRect(main_, &client);
  shell::ButtonLayout layout = window_->model().buttons(client.right, client.bottom);
  for (int i = 0; i < frontend::CommandBar::kCount; ++i) {
    HWND b = GetDlgItem(main_, cmd::kBarData + i);
    ASSERT_NE(b, nullptr) << i;
    EXPECT_EQ(GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(win32_test::windowText(b), frontend::CommandBar::labelOf(i));
    RECT rc;
    GetWindowRect(b, &rc);
    MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&rc), 2);
    const ui::Rect& want = layout.buttons[static_cast<std::size_t>(i)];
    EXPECT_EQ(rc.left, want.x) << i;
    EXPECT_EQ(rc.top, want.y) << i;
    EXPECT_EQ(rc.right - rc.left, want.width) << i;
    EXPECT_EQ(rc.bottom - rc.top, want.height) << i;
  }
  // The status lines start below the buttons.
  const ui::Rect& last = layout.buttons[5];
  EXPECT_GE(window_->statusArea().area().top, last.y + last.height);

  // A portrait client lays out two rows of three.
  SetWindowPos(main_, nullptr, 0, 0, 600, 900, SWP_NOMOVE | SWP_NOZORDER);
  GetClientRect(main_, &client);
  layout = window_->model().buttons(client.right, client.bottom);
  ASSERT_TRUE(layout.portrait);
  RECT fourth;
  GetWindowRect(GetDlgItem(main_, cmd::kBarGps), &fourth);
  MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&fourth), 2);
  EXPECT_EQ(fourth.left, layout.buttons[3].x);
  EXPECT_EQ(fourth.top, layout.buttons[3].y);
}

TEST_F(MainWindowTest, MenuIsTheSharedMenuWithStatesFromTheModel) {
  HMENU menu = GetMenu(main_);
  ASSERT_NE(menu, nullptr);
  std::vector<shell::MenuItem> items = frontend::readMenu(menu);
  ASSERT_EQ(items.size(), shell::mainMenu().size());
  HMENU help = GetSubMenu(menu, 5);
  ASSERT_EQ(items[5].text, "&Help");

  window_->model().setEditSessionOpen(true);
  SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), MAKELPARAM(5, FALSE));
  EXPECT_TRUE(GetMenuState(help, cmd::kAbout, MF_BYCOMMAND) & MF_GRAYED) << "no About while editing";
  EXPECT_FALSE(GetMenuState(help, cmd::kVirtualKeystrokes, MF_BYCOMMAND) & MF_GRAYED);

  // The session has ended: About comes back.
  window_->model().setEditSessionOpen(false);
  SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(help), MAKELPARAM(5, FALSE));
  EXPECT_FALSE(GetMenuState(help, cmd::kAbout, MF_BYCOMMAND) & MF_GRAYED);

  HMENU data = GetSubMenu(menu, 0);
  SendMessageW(main_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(data), MAKELPARAM(0, FALSE));
  for (const shell::MenuItem& item : items[0].items) {
    bool grey = GetMenuState(data, static_cast<UINT>(item.command), MF_BYCOMMAND) & MF_GRAYED;
    EXPECT_EQ(!grey, window_->model().commandEnabled(item.command)) << item.text;
  }
}

TEST_F(MainWindowTest, HelpCommandOpensAndClosesTheScrollWindow) {
  SendMessageW(main_, WM_COMMAND, cmd::kVirtualKeystrokes, 0);
  HWND help = frontend::findScrollWindow(editor::kVirtualHelpTitle);
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(GetWindow(help, GW_OWNER), main_);
  SendMessageW(main_, WM_COMMAND, cmd::kVirtualKeystrokes, 0);
  EXPECT_EQ(frontend::findScrollWindow(editor::kVirtualHelpTitle), nullptr);
}

TEST_F(MainWindowTest, EnterRunsTheDataChoiceWithTheFirstButtonChecked) {
  int checkedMeanwhile = 0;
  host_.post([&] {
    HWND d = findThreadWindow(L"#32770", L"Data");
    ASSERT_NE(d, nullptr) << "no Data choice dialog";
    checkedMeanwhile = window_->commandBar().checked();
    PostMessageW(GetDlgItem(d, ui::kIdCancelButton), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  SendMessageW(main_, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(checkedMeanwhile, cmd::kBarData);
  EXPECT_EQ(window_->commandBar().checked(), 0) << "Cancel unchecks the buttons";
  EXPECT_EQ(findThreadWindow(L"#32770", L"Data"), nullptr);
}

TEST_F(MainWindowTest, CloseAsksAndOnlyYesDestroysTheWindow) {
  answerBox(L"Exit Tallyfin?", IDNO);
  SendMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(answered_, 1);
  ASSERT_TRUE(IsWindow(main_));
  EXPECT_FALSE(win32_test::takeQuit());

  answerBox(L"Exit Tallyfin?", IDYES);
  SendMessageW(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(answered_, 2);
  EXPECT_FALSE(IsWindow(main_));
  EXPECT_EQ(window_->handle(), nullptr);
  EXPECT_TRUE(win32_test::takeQuit());
}

TEST_F(MainWindowTest, EndProgramMessageAndAbortFileEndTheLoop) {
  SendMessageW(main_, WM_TFP_END_PROGRAM, 0, 0);
  EXPECT_TRUE(win32_test::takeQuit());
  EXPECT_TRUE(IsWindow(main_));

  SendMessageW(main_, WM_TIMER, IDT_MAIN_CLOCK, 0);
  EXPECT_FALSE(win32_test::takeQuit()) << "no abort file yet";
  testing_support::writeBytes(window_->model().abortPath(), "");
  SendMessageW(main_, WM_TIMER, IDT_MAIN_CLOCK, 0);
  EXPECT_TRUE(win32_test::takeQuit());
}

}  // namespace
