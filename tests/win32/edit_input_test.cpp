// The edit window as the host opens it, and its input beyond the key table:
// over and owned by the main window, the focus given back when it goes; keys
// kept from the main window's accelerators; F1 and Ctrl+K to their
// callbacks; close as Escape; mouse clicks with their cells; touch buttons;
// the editor image while the focus is away; the refresh after a pause.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "edit_window_fixture.hpp"
#include "resource.h"

namespace {

namespace key = ui::key;

// A stand-in main window that records the commands it gets.
struct FakeMain {
  HWND window = nullptr;
  std::vector<int> commands;

  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND) {
      if (auto* self = reinterpret_cast<FakeMain*>(GetWindowLongPtrW(w, GWLP_USERDATA)))
        self->commands.push_back(LOWORD(wp));
      return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  FakeMain() {
    static const ATOM cls = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = &FakeMain::proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"TfpTestMain";
      return RegisterClassExW(&wc);
    }();
    (void)cls;
    window = CreateWindowExW(0, L"TfpTestMain", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 500,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~FakeMain() {
    if (IsWindow(window)) DestroyWindow(window);
  }
};

// While it lives the thread's key state shows Alt (and Ctrl with it: AltGr)
// held, as the accelerators and the key rules read it.
class AltHeld {
 public:
  explicit AltHeld(bool withCtrl = false) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(saved_, saved_ + 256, state);
    state[VK_MENU] = 0x80;
    if (withCtrl) state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
  }
  ~AltHeld() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256] = {};
};

constexpr LPARAM kAltDown = (LPARAM{1} << 29) | 1;

class EditWindowInput : public win32_test::EditWindowFixture {
 protected:
  // Cells of 10 × 20 pixels, so positions are easy to read.
  void useTenByTwenty() {
    ui::CellGeometry g;
    g.cellWidth = 10;
    g.cellHeight = 20;
    window_->setCellGeometry(g);
  }
  static LPARAM at(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }
  HWND button(const wchar_t* label) const { return FindWindowExW(edit_, nullptr, L"BUTTON", label); }
  RECT clientRectOf(HWND child) const {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, edit_, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
};

TEST_F(EditWindowInput, OpensOverTheMainWindowOwnedByItAndGivesTheFocusBackWhenItGoes) {
  FakeMain main;
  host_.setMainWindow(main.window);
  ui::EditWindowSetup setup;
  setup.title = "TFP Edit Window";
  open(setup);
  EXPECT_EQ(win32_test::windowText(edit_), L"TFP Edit Window");
  EXPECT_EQ(GetWindow(edit_, GW_OWNER), main.window);
  RECT mainRect, editRect, client;
  GetWindowRect(main.window, &mainRect);
  GetWindowRect(edit_, &editRect);
  EXPECT_TRUE(EqualRect(&mainRect, &editRect));
  EXPECT_TRUE(GetWindowLongW(edit_, GWL_STYLE) & WS_POPUP);
  EXPECT_EQ(GetFocus(), edit_);
  GetClientRect(edit_, &client);
  EXPECT_FALSE(window_->cellBased());
  EXPECT_EQ(window_->clientWidth(), client.right);
  EXPECT_EQ(window_->clientHeight(), client.bottom);
  EXPECT_EQ(host_.editWindow(), edit_);
  EXPECT_EQ(host_.editScreen(), &screen_);

  ui::Screen other;
  ui::KeyQueue otherKeys;
  EXPECT_EQ(host_.openEditWindow(other, otherKeys, setup), nullptr) << "one edit window at a time";

  window_.reset();
  EXPECT_FALSE(IsWindow(edit_));
  EXPECT_EQ(GetFocus(), main.window);
  EXPECT_EQ(host_.editWindow(), nullptr);
  EXPECT_EQ(host_.editScreen(), nullptr);
}

TEST_F(EditWindowInput, ItsKeysSkipTheMainWindowsAccelerators) {
  FakeMain main;
  host_.setMainWindow(main.window);
  host_.setAccelerators(LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN)));
  open();
  {
    AltHeld alt;
    // The accelerators are live: Alt+E to the main window is Exit.
    PostMessageW(main.window, WM_SYSKEYDOWN, 'E', kAltDown);
    host_.pump();
    ASSERT_EQ(main.commands, std::vector<int>{IDC_CMD_EXIT_PROGRAM});
    main.commands.clear();

    PostMessageW(edit_, WM_SYSKEYDOWN, 'E', kAltDown);
    host_.pump();
  }
  PostMessageW(edit_, WM_SYSKEYDOWN, VK_F10, 1);
  host_.pump();
  EXPECT_TRUE(main.commands.empty());
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{0x1200, key::kF10}));
}

TEST_F(EditWindowInput, AltGrWithAKeyTypesTheCharacterTheLayoutMakes) {
  open();
  AltHeld altGr(true);
  PostMessageW(edit_, WM_KEYDOWN, 'Q', 1);
  PostMessageW(edit_, WM_CHAR, L'@', 1);
  host_.pump();
  // Without a character from the layout it is Alt+Q.
  PostMessageW(edit_, WM_KEYDOWN, 'Q', 1);
  host_.pump();
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{'@', 0x1000}));
}

TEST_F(EditWindowInput, F1OnTheKeyboardCallsTheKeyboardHelpAndQueuesNothing) {
  ui::EditWindowSetup setup;
  int helps = 0;
  setup.keyboardHelp = [&] { ++helps; };
  open(setup);
  send(WM_KEYDOWN, VK_F1, 1);
  EXPECT_EQ(helps, 1);
  EXPECT_EQ(keys_.count(), 0);
  // The F1 code from Ctrl+1, and Shift+F1, are keys like others.
  send(WM_KEYDOWN, VK_CONTROL, 1);
  send(WM_KEYDOWN, '1', 1);
  send(WM_KEYDOWN, VK_SHIFT, 1);
  send(WM_KEYDOWN, VK_F1, 1);
  EXPECT_EQ(helps, 1);
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{key::kF1, key::kShiftF1}));
}

TEST_F(EditWindowInput, CtrlKCallsTheActionKeysOnceFromLevelOneAndIsQueuedBelow) {
  ui::EditWindowSetup setup;
  setup.productionLevel = 1;
  int calls = 0;
  setup.actionKeys = [&] {
    ++calls;
    // Pressed again while the dialog is up: nothing.
    send(WM_KEYDOWN, VK_CONTROL, 1);
    send(WM_KEYDOWN, 'K', 1);
  };
  open(setup);
  send(WM_KEYDOWN, VK_CONTROL, 1);
  send(WM_KEYDOWN, 'K', 1);
  send(WM_CHAR, 11, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(keys_.count(), 0);

  window_.reset();
  setup.productionLevel = 0;
  open(setup);
  send(WM_KEYDOWN, VK_CONTROL, 1);
  send(WM_KEYDOWN, 'K', 1);
  send(WM_CHAR, 11, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kCtrlK});
}

TEST_F(EditWindowInput, CloseRequestQueuesEscapeAndLeavesTheWindowOpen) {
  open();
  send(WM_CLOSE);
  EXPECT_TRUE(IsWindow(edit_));
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kEscape});
}

TEST_F(EditWindowInput, ClicksGiveTheirCellsAndDragsTheirRelease) {
  open();  // production level 1
  useTenByTwenty();
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(35, 45));
  EXPECT_EQ(GetCapture(), edit_);
  EXPECT_EQ(keys_.lastClick().row, 3);
  EXPECT_EQ(keys_.lastClick().col, 4);
  send(WM_LBUTTONUP, 0, at(35, 45));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kMouseClick}) << "a click without a move has no release";

  send(WM_LBUTTONDOWN, MK_LBUTTON, at(0, 0));
  EXPECT_EQ(keys_.lastClick().row, 1);
  EXPECT_EQ(keys_.lastClick().col, 1);
  send(WM_MOUSEMOVE, MK_LBUTTON, at(59, 79));
  send(WM_LBUTTONUP, 0, at(59, 79));
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{key::kMouseClick, key::kMouseRelease}));
  EXPECT_EQ(keys_.lastClick().row, 4);
  EXPECT_EQ(keys_.lastClick().col, 6);

  // Released outside the window (the capture reports it): the nearest cell.
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(15, 25));
  send(WM_MOUSEMOVE, MK_LBUTTON, at(20, 30));
  send(WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-30), static_cast<WORD>(-50)));
  EXPECT_EQ(keys_.lastClick().row, 1);
  EXPECT_EQ(keys_.lastClick().col, 1);
  (void)takeAll();

  send(WM_LBUTTONDBLCLK, MK_LBUTTON, at(95, 5));
  send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{key::kMouseDoubleClick, key::kWheelForward, key::kWheelBack}));
  EXPECT_EQ(keys_.lastClick().row, 1);
  EXPECT_EQ(keys_.lastClick().col, 10);
}

TEST_F(EditWindowInput, BelowLevelOneTheMouseGivesNothing) {
  ui::EditWindowSetup setup;
  setup.productionLevel = 0;
  open(setup);
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(35, 45));
  send(WM_LBUTTONUP, 0, at(35, 45));
  send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(keys_.count(), 0);
}

TEST_F(EditWindowInput, TouchButtonsRunRightToLeftAlongTheBottomAndPushTheirKeys) {
  ui::EditWindowSetup setup;
  setup.productionLevel = 3;
  setup.buttons = {{"AK", 0}, {"F10", key::kF10}, {"F9", key::kF9}, {"A5", key::kAltF1 + 4 * 0x100},
                  {"F5", key::kF5}};
  int actions = 0;
  setup.actionKeys = [&] { ++actions; };
  open(setup);
  useTenByTwenty();
  RECT client;
  GetClientRect(edit_, &client);
  const int width = static_cast<int>(0.99 * client.right / 12);
  HWND ak = button(L"AK"), f10 = button(L"F10"), f5 = button(L"F5"), a5 = button(L"A5");
  ASSERT_TRUE(ak && f10 && f5 && a5);
  RECT rc = clientRectOf(ak);
  EXPECT_EQ(rc.right, client.right);
  EXPECT_EQ(rc.right - rc.left, width);
  EXPECT_EQ(rc.bottom - rc.top, 20) << "a cell high";
  EXPECT_EQ(rc.bottom, client.bottom);
  EXPECT_EQ(clientRectOf(f10).right, rc.left);
  EXPECT_EQ(clientRectOf(f5).right, client.right - 4 * width);

  SendMessageW(f5, BM_CLICK, 0, 0);
  EXPECT_EQ(GetFocus(), edit_);
  SendMessageW(a5, BM_CLICK, 0, 0);
  SendMessageW(ak, BM_CLICK, 0, 0);
  EXPECT_EQ(actions, 1);
  EXPECT_EQ(GetFocus(), edit_);
  EXPECT_EQ(takeAll(), (std::vector<ui::KeyCode>{key::kF5, 0x6C00}));
}

TEST_F(EditWindowInput, LevelOneHasNoTouchButtons) {
  ui::EditWindowSetup setup;
  setup.productionLevel = 1;
  setup.buttons = {{"AK", 0}};
  open(setup);
  EXPECT_EQ(button(L"AK"), nullptr);
}

TEST_F(EditWindowInput, LosingTheFocusSavesOneEditorImageAndGettingItBackFreesIt) {
  FakeMain other;
  open();
  screen_.putText("SEEN");
  SetFocus(other.window);
  EXPECT_TRUE(screen_.imageInUse(11));
  send(WM_KILLFOCUS);
  EXPECT_FALSE(screen_.imageInUse(12)) << "saved once";
  SetFocus(edit_);
  EXPECT_FALSE(screen_.imageInUse(11));
  EXPECT_EQ(screen_.rowText(1).substr(0, 4), "SEEN");

  // What the engine drew meanwhile stays: the image is older.
  SetFocus(other.window);
  (void)screen_.gotoCell(1, 1);
  screen_.putText("NEW!");
  SetFocus(edit_);
  EXPECT_EQ(screen_.rowText(1).substr(0, 4), "NEW!");
  EXPECT_FALSE(screen_.imageInUse(11));

  // Disabled (a box over it) counts as losing the focus.
  EnableWindow(edit_, FALSE);
  EXPECT_TRUE(screen_.imageInUse(11));
  EnableWindow(edit_, TRUE);
  SetFocus(edit_);
  EXPECT_FALSE(screen_.imageInUse(11));
}

TEST_F(EditWindowInput, EraseAfterMoreThanASecondWithoutInputAsksForARefresh) {
  open();
  HDC dc = GetDC(edit_);
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(keys_.count(), 0);
  clock_.advance(1000);
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(keys_.count(), 0) << "not more than a second";
  clock_.advance(1);
  FakeMain other;
  SetFocus(other.window);
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(takeAll(), std::vector<ui::KeyCode>{key::kRefresh});
  EXPECT_EQ(GetFocus(), edit_);

  // A key is input: the next erase soon after asks for nothing.
  clock_.advance(5000);
  send(WM_CHAR, 'a', 1);
  (void)takeAll();
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(keys_.count(), 0);
}

TEST_F(EditWindowInput, TheWindowMayBeClosedFromInsideItsOwnCallback) {
  ui::EditWindowSetup setup;
  setup.keyboardHelp = [this] { window_.reset(); };
  open(setup);
  HWND edit = edit_;
  send(WM_KEYDOWN, VK_F1, 1);
  EXPECT_EQ(window_, nullptr);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(host_.editScreen(), nullptr);
}

}  // namespace
