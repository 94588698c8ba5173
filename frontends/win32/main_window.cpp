#include "main_window.hpp"

#include "base/text.hpp"
#include "menu_data.hpp"
#include "platform/clock.hpp"
#include "resource.h"
#include "shell/startup.hpp"
#include "ui/host.hpp"
#include "win32_host.hpp"
#include "window_classes.hpp"

namespace frontend {

MainWindow::MainWindow(Win32Host& host, shell::Startup& startup)
    : host_(host),
      startup_(startup),
      model_(host, startup.values()),
      green_(CreateSolidBrush(kMainGreen)) {}

MainWindow::~MainWindow() {
  if (window_) DestroyWindow(window_);
  DeleteObject(green_);
}

bool MainWindow::create(HINSTANCE instance, int showCommand) {
  const shell::Geometry& g = startup_.values().geometry;
  HWND window = CreateWindowExW(0, kMainClass, kMainTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                g.x, g.y, g.width, g.height, nullptr, nullptr, instance, this);
  if (!window) return false;
  host_.setMainWindow(window);
  HDC dc = GetDC(window);
  fillClient(dc);
  ReleaseDC(window, dc);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

void MainWindow::start() {
  model_.create();
  started_ = true;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->host_.setMainWindow(nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->onMessage(message, wParam, lParam);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate();
      return 0;
    case WM_SIZE:
      layout();
      return 0;
    case WM_ERASEBKGND:
      fillClient(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_DRAWITEM:
      if (bar_.draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      break;
    case WM_TIMER:
      if (wParam == IDT_MAIN_CLOCK) onTimer();
      return 0;
    case WM_INITMENUPOPUP:
      if (!HIWORD(lParam))  // not the system menu
        setEnableStates(reinterpret_cast<HMENU>(wParam),
                        [this](int id) { return model_.commandEnabled(id); });
      return 0;
    case WM_COMMAND: {
      // Buttons report more than clicks; menus (0) and accelerators (1) only commands.
      if (lParam != 0 && HIWORD(wParam) != BN_CLICKED) return 0;
      onCommand(LOWORD(wParam), false);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) {
        onCommand(IDC_CMD_DATA, true);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (!inCommand_) act(model_.close());
      return 0;
    case WM_TFP_END_PROGRAM:
      PostQuitMessage(0);
      return 0;
    case WM_DESTROY:
      onDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::onCreate() {
  auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  bar_.create(instance, window_);
  // Smoother status text while the program runs; only for this session, so
  // nothing stays changed should the program not end normally.
  smoothing_.saved = SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing_.on, 0) &&
                     SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &smoothing_.type, 0) &&
                     SystemParametersInfoW(SPI_GETFONTSMOOTHINGCONTRAST, 0, &smoothing_.contrast, 0);
  if (smoothing_.saved) {
    SystemParametersInfoW(SPI_SETFONTSMOOTHING, TRUE, nullptr, 0);
    SystemParametersInfoW(SPI_SETFONTSMOOTHINGCONTRAST, 0, reinterpret_cast<PVOID>(UINT_PTR{2000}), 0);
  }
  SetTimer(window_, IDT_MAIN_CLOCK, 1000, nullptr);
}

void MainWindow::onDestroy() {
  KillTimer(window_, IDT_MAIN_CLOCK);
  if (smoothing_.saved) {
    SystemParametersInfoW(SPI_SETFONTSMOOTHING, smoothing_.on, nullptr, 0);
    SystemParametersInfoW(SPI_SETFONTSMOOTHINGTYPE, 0,
                          reinterpret_cast<PVOID>(static_cast<UINT_PTR>(smoothing_.type)), 0);
    SystemParametersInfoW(SPI_SETFONTSMOOTHINGCONTRAST, 0,
                          reinterpret_cast<PVOID>(static_cast<UINT_PTR>(smoothing_.contrast)), 0);
    smoothing_.saved = false;
  }
  bar_.release();
  PostQuitMessage(0);
}

void MainWindow::onCommand(int id, bool enter) {
  // A command's dialogs keep messages flowing; a second command meanwhile
  // (an accelerator through a pump) waits for the first to end.
  if (!started_ || inCommand_) return;
  inCommand_ = true;
  if (CommandBar::isButton(id) && id != IDC_CMD_EXIT_PROGRAM) bar_.setChecked(id);
  shell::MainAction action = enter ? model_.enterKey() : model_.command(id);
  inCommand_ = false;
  if (!window_) return;
  bar_.setChecked(0);
  // A clicked button keeps the focus; Enter and the update watch want the window's.
  if (GetFocus() && IsChild(window_, GetFocus())) SetFocus(window_);
  // The command may have changed what the status area shows.
  InvalidateRect(window_, nullptr, FALSE);
  act(action);
}

void MainWindow::onTimer() {
  if (started_ && !inTimer_) {
    inTimer_ = true;
    shell::MainAction action = model_.timer();
    inTimer_ = false;
    act(action);
  }
  if (window_) {
    RECT area = status_.area();
    InvalidateRect(window_, &area, FALSE);
  }
}

void MainWindow::act(shell::MainAction action) {
  switch (action) {
    case shell::MainAction::Destroy:
      if (window_) DestroyWindow(window_);
      break;
    case shell::MainAction::EndProgram:
      PostQuitMessage(0);
      break;
    case shell::MainAction::None:
      break;
  }
}

void MainWindow::layout() {
  RECT rc;
  GetClientRect(window_, &rc);
  int width = rc.right - rc.left, height = rc.bottom - rc.top;
  shell::ButtonLayout buttons = model_.buttons(width, height);
  bar_.place(buttons);
  const ui::Rect& last = buttons.buttons[CommandBar::kCount - 1];
  int top = last.y + last.height + height / 25;
  int left = buttons.buttons[0].x > 4 ? buttons.buttons[0].x : 4;
  status_.layout(width, height, left, top);
  InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::fillClient(HDC dc) {
  RECT rc;
  GetClientRect(window_, &rc);
  FillRect(dc, &rc, green_);
}

void MainWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  platform::DateTime now = platform::clock().localTime();
  status_.paint(dc, model_.status(now.month, now.day, now.year, now.hour, now.minute, now.second));
  EndPaint(window_, &ps);
}

}  // namespace frontend
