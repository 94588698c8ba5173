// The canvas window: a modal pop-up over the main window with its menu and
// title, ended by its close keys, the close box or the controller, its menu
// commands, timer and size passed on, its picture painted; the boxes and
// dialogs it opens belong to it, and the main window is as before after it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "canvas_painter.hpp"
#include "canvas_window.hpp"
#include "main_window_fixture.hpp"
#include "menu_data.hpp"
#include "window_classes.hpp"

namespace {

using win32_test::findDialogShowing;
using win32_test::findThreadWindow;

constexpr wchar_t kTitle[] = L"Navigation test";
constexpr int kZoomIn = 101, kZoomOut = 102, kCloseCommand = 103;
// Ends a window a broken test left open, so the run goes on.
constexpr int kGuardTicks = 400, kGuardResult = -99;

class TestController final : public ui::CanvasController {
 public:
  void onOpen(ui::CanvasView& view) override {
    ++opens;
    if (opened) opened(view);
  }
  ui::Drawing draw(const ui::CanvasMetrics& m) override {
    ++draws;
    drawnFor = m;
    return picture;
  }
  void onCommand(ui::CanvasView& view, int id) override {
    commands.push_back(id);
    if (command) command(view, id);
  }
  void onResize(ui::CanvasView&) override { ++resizes; }
  void onTimer(ui::CanvasView& view) override {
    if (++ticks >= kGuardTicks) view.end(kGuardResult);
    if (timer) timer(view);
  }

  std::function<void(ui::CanvasView&)> opened, timer;
  std::function<void(ui::CanvasView&, int)> command;
  ui::Drawing picture;
  ui::CanvasMetrics drawnFor;
  int opens = 0, draws = 0, resizes = 0, ticks = 0;
  std::vector<int> commands;
};

class CanvasWindow : public win32_test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    GetWindowRect(main_, &mainRect_);
    desc_.windowClass = "NavGraphWin";
    desc_.title = "Navigation test";
    desc_.timerMs = 50;
    ui::MenuItem view{0, "&View", true, {{kZoomIn, "Zoom &in", true, {}}, {kZoomOut, "Zoom &out", false, {}}}};
    desc_.menu = {view, {kCloseCommand, "&Close", true, {}}};
  }

  static HWND canvas() { return findThreadWindow(frontend::kNavGraphClass, kTitle); }
  // Runs work inside the window's loop once it is open.
  void whenOpen(std::function<void(HWND)> work) {
    host_.post([work] {
      HWND w = canvas();
      ASSERT_NE(w, nullptr) << "the canvas window is not open";
      work(w);
    });
  }
  ui::Host::CanvasOutcome run() {
    ui::Host::CanvasOutcome out = host_.runCanvasWindow(desc_, controller_);
    EXPECT_NE(out.result, kGuardResult) << "the window had to be ended by the guard";
    return out;
  }
  void expectMainWindowBack() {
    EXPECT_EQ(canvas(), nullptr) << "the canvas window is gone";
    EXPECT_TRUE(IsWindowEnabled(main_));
    EXPECT_EQ(GetFocus(), main_);
    RECT now;
    GetWindowRect(main_, &now);
    EXPECT_TRUE(EqualRect(&now, &mainRect_)) << "the main window kept its place and size";
  }

  ui::CanvasWindowDesc desc_;
  TestController controller_;
  RECT mainRect_{};
};

TEST_F(CanvasWindow, OpensOverTheMainWindowFocusedWithItsMenuAndKeepsTheMainWindowDisabled) {
  bool seen = false;
  whenOpen([&](HWND w) {
    seen = true;
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetWindow(w, GW_OWNER), main_);
    RECT rc;
    GetWindowRect(w, &rc);
    EXPECT_TRUE(EqualRect(&rc, &mainRect_));
    EXPECT_EQ(GetFocus(), w);
    EXPECT_FALSE(IsWindowEnabled(main_));

    HMENU menu = GetMenu(w);
    ASSERT_NE(menu, nullptr);
    const std::vector<shell::MenuItem> items = frontend::readMenu(menu);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "&View");
    ASSERT_EQ(items[0].items.size(), 2u);
    EXPECT_EQ(items[0].items[0].text, "Zoom &in");
    EXPECT_EQ(items[0].items[0].command, kZoomIn);
    EXPECT_EQ(items[0].items[1].command, kZoomOut);
    HMENU view = GetSubMenu(menu, 0);
    EXPECT_FALSE(GetMenuState(view, kZoomIn, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(view, kZoomOut, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(items[1].text, "&Close");
    EXPECT_EQ(items[1].command, kCloseCommand);
    SendMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  const ui::Host::CanvasOutcome out = run();
  EXPECT_TRUE(seen);
  EXPECT_TRUE(out.shown);
  EXPECT_EQ(out.error, 0);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(controller_.opens, 1);
  expectMainWindowBack();
}

TEST_F(CanvasWindow, F4EscapeAndTheCloseBoxCloseItAndOtherKeysDoNot) {
  const std::pair<UINT, WPARAM> closers[] = {{WM_KEYDOWN, VK_F4}, {WM_KEYDOWN, VK_ESCAPE}, {WM_CLOSE, 0}};
  for (const auto& [message, wParam] : closers) {
    whenOpen([&](HWND w) {
      for (WPARAM other : {static_cast<WPARAM>(VK_F5), static_cast<WPARAM>('A'), static_cast<WPARAM>(VK_RETURN)})
        SendMessageW(w, WM_KEYDOWN, other, 0);
      // An ended window takes no more commands: this one shows it is still open.
      SendMessageW(w, WM_COMMAND, MAKEWPARAM(kZoomIn, 0), 0);
      PostMessageW(w, message, wParam, 0);
    });
    const ui::Host::CanvasOutcome out = run();
    EXPECT_TRUE(out.shown);
    EXPECT_EQ(out.result, 0);
    expectMainWindowBack();
  }
  EXPECT_EQ(controller_.commands, (std::vector<int>{kZoomIn, kZoomIn, kZoomIn}));
}

TEST_F(CanvasWindow, MenuCommandsReachTheControllerWhichMayEndTheWindow) {
  controller_.command = [](ui::CanvasView& view, int id) {
    if (id == kCloseCommand) view.end(42);
  };
  whenOpen([](HWND w) {
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(kZoomIn, 0), 0);
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(kCloseCommand, 0), 0);
  });
  const ui::Host::CanvasOutcome out = run();
  EXPECT_EQ(controller_.commands, (std::vector<int>{kZoomIn, kCloseCommand}));
  EXPECT_EQ(out.result, 42);
  expectMainWindowBack();
}

TEST_F(CanvasWindow, TheTimerTicksAndARedrawItAsksForIsPainted) {
  int drawsAtFirstTick = -1, drawsAtSecondTick = -1;
  controller_.timer = [&](ui::CanvasView& view) {
    if (controller_.ticks == 1) {
      drawsAtFirstTick = controller_.draws;
      view.redraw();
    }
    if (controller_.ticks == 2) drawsAtSecondTick = controller_.draws;
    if (controller_.ticks == 3) view.end(3);
  };
  const ui::Host::CanvasOutcome out = run();
  EXPECT_EQ(out.result, 3);
  EXPECT_EQ(controller_.ticks, 3);
  EXPECT_GT(drawsAtSecondTick, drawsAtFirstTick) << "painted between the ticks";
  expectMainWindowBack();
}

TEST_F(CanvasWindow, ANewSizeReachesTheControllerAndTheNextDrawing) {
  int resizesAtOpen = -1;
  RECT before{}, after{};
  ui::CanvasMetrics first, second;
  whenOpen([&](HWND w) {
    resizesAtOpen = controller_.resizes;
    GetClientRect(w, &before);
    UpdateWindow(w);
    first = controller_.drawnFor;
    SetWindowPos(w, nullptr, 0, 0, 500, 360, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(w, &after);
    UpdateWindow(w);
    second = controller_.drawnFor;
    PostMessageW(w, WM_KEYDOWN, VK_F4, 0);
  });
  (void)run();
  EXPECT_EQ(resizesAtOpen, 0) << "the first size is not a change";
  EXPECT_EQ(controller_.resizes, 1);
  EXPECT_EQ(first.width, before.right);
  EXPECT_EQ(first.height, before.bottom);
  EXPECT_EQ(second.width, after.right);
  EXPECT_EQ(second.height, after.bottom);
  EXPECT_NE(second.width, first.width);
  EXPECT_EQ(second.lineHeight, frontend::canvasMetrics(0, 0).lineHeight);
  EXPECT_EQ(second.charWidth, frontend::canvasMetrics(0, 0).charWidth);
  EXPECT_TRUE(second.scalableText);
  EXPECT_EQ(second.pointRadius, 4);
  expectMainWindowBack();
}

TEST_F(CanvasWindow, PaintsTheControllersPicture) {
  controller_.picture.lines.push_back({{5, 30}, {300, 30}, ui::Ink::Leg});
  controller_.picture.circles.push_back({{60, 80}, 4, ui::Ink::Destination, "Goal"});
  COLORREF centre = CLR_INVALID, onLine = CLR_INVALID, off = CLR_INVALID;
  whenOpen([&](HWND w) {
    RECT rc;
    GetClientRect(w, &rc);
    HDC screen = GetDC(w);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ReleaseDC(w, screen);
    SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    centre = GetPixel(memory, 60, 80);
    onLine = GetPixel(memory, 150, 30);
    off = GetPixel(memory, 150, 50);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    PostMessageW(w, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  (void)run();
  EXPECT_EQ(centre, frontend::inkColour(ui::Ink::Destination));
  EXPECT_EQ(onLine, frontend::inkColour(ui::Ink::Leg));
  EXPECT_EQ(off, frontend::kCanvasBackground);
}

TEST_F(CanvasWindow, BoxesAndDialogsItsCommandsOpenBelongToIt) {
  HWND window = nullptr, boxOwner = nullptr, dialogOwner = nullptr, activeAfter = nullptr;
  bool mainEnabledMeanwhile = true;
  class Dialog final : public ui::FormController {
   public:
    explicit Dialog(HWND& owner) : owner_(owner) {}
    void onInit(ui::FormView& view) override { view.startTimer(1, 1); }
    void onTimer(ui::FormView& view, int) override {
      HWND d = findThreadWindow(L"#32770", L"Over the canvas");
      if (!d || !IsWindowVisible(d)) return;
      view.stopTimer(1);
      owner_ = GetWindow(d, GW_OWNER);
      view.end(0);
    }

   private:
    HWND& owner_;
  } dialog(dialogOwner);
  controller_.command = [&](ui::CanvasView& view, int id) {
    if (id != kZoomIn) return;
    window = canvas();
    host_.post([&] {
      HWND box = findDialogShowing(L"Point not found");
      ASSERT_NE(box, nullptr);
      boxOwner = GetWindow(box, GW_OWNER);
      mainEnabledMeanwhile = IsWindowEnabled(main_) != 0;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    (void)host_.messageBox("Point not found", "Navigation", ui::kMbOk);
    ui::Form form;
    form.caption = "Over the canvas";
    form.size = {0, 0, 120, 40};
    (void)host_.runForm(form, dialog);
    activeAfter = GetActiveWindow();
    view.end(1);
  };
  whenOpen([](HWND w) { PostMessageW(w, WM_COMMAND, MAKEWPARAM(kZoomIn, 0), 0); });
  const ui::Host::CanvasOutcome out = run();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(boxOwner, window);
  EXPECT_EQ(dialogOwner, window);
  EXPECT_FALSE(mainEnabledMeanwhile);
  EXPECT_EQ(activeAfter, window) << "the canvas is in front again, not the main window";
  EXPECT_EQ(out.result, 1);
  expectMainWindowBack();
}

TEST_F(CanvasWindow, EndedAtOpeningItIsNeverShown) {
  bool shownAtOpen = true;
  controller_.opened = [&](ui::CanvasView& view) {
    HWND w = canvas();
    shownAtOpen = w && IsWindowVisible(w);
    view.end(5);
  };
  const ui::Host::CanvasOutcome out = run();
  EXPECT_FALSE(shownAtOpen);
  EXPECT_TRUE(out.shown);
  EXPECT_EQ(out.result, 5);
  EXPECT_EQ(controller_.draws, 0);
  expectMainWindowBack();
}

TEST_F(CanvasWindow, AQuitMessageEndsItAndIsLeftForTheProgramsLoop) {
  whenOpen([](HWND) { PostQuitMessage(3); });
  const ui::Host::CanvasOutcome out = run();
  EXPECT_TRUE(out.shown);
  EXPECT_EQ(out.result, 0);
  EXPECT_TRUE(win32_test::takeQuit());
  expectMainWindowBack();
}

TEST_F(CanvasWindow, AWindowThatCannotBeMadeReportsTheSystemsError) {
  desc_.windowClass = "TfpNoSuchCanvasClass";
  const ui::Host::CanvasOutcome out = run();
  EXPECT_FALSE(out.shown);
  // Windows and Wine name the missing class with different codes.
  EXPECT_TRUE(out.error == ERROR_CANNOT_FIND_WND_CLASS || out.error == ERROR_CLASS_DOES_NOT_EXIST) << out.error;
  EXPECT_EQ(controller_.opens, 0);
  EXPECT_TRUE(IsWindowEnabled(main_));

  desc_.windowClass = "STATIC";  // a class that would never end the loop
  const ui::Host::CanvasOutcome other = run();
  EXPECT_FALSE(other.shown);
  EXPECT_NE(other.error, 0);
  EXPECT_EQ(controller_.opens, 0);
  EXPECT_EQ(findThreadWindow(L"Static", kTitle), nullptr);
}

}  // namespace
