#include "main_window.hpp"

#include <array>
#include <string>

#include "platform/clock.hpp"
#include "platform/win32/wide.hpp"
#include "resource.h"
#include "shell/exit_prompt.hpp"
#include "shell/startup.hpp"
#include "win32_host.hpp"
#include "window_classes.hpp"

namespace frontend {

namespace {

// The status area: four lines (application, the two paths, date and time)
// from two fifths down the client area, in a bold font one 25th of the client
// height high (narrowed to 1/80 of the width in portrait).
struct StatusLayout {
  int fontHeight = 0;
  int fontWidth = 0;
  int left = 0;
  int top = 0;
  int lineHeight = 0;
  bool portrait = false;
};

constexpr int kStatusLineCount = 4;
constexpr int kDateTimeLine = 3;

StatusLayout measure(HWND window) {
  RECT rc;
  GetClientRect(window, &rc);
  int width = rc.right - rc.left;
  int height = rc.bottom - rc.top;
  StatusLayout l;
  l.portrait = width < height;
  l.fontHeight = height / 25 > 1 ? height / 25 : 1;
  l.fontWidth = l.portrait ? width / 80 : 0;
  l.left = l.fontHeight / 2;
  l.top = height * 2 / 5;
  l.lineHeight = l.fontHeight * 3 / 2;
  return l;
}

RECT lineRect(HWND window, const StatusLayout& l, int line) {
  RECT rc;
  GetClientRect(window, &rc);
  rc.top = l.top + line * l.lineHeight;
  rc.bottom = rc.top + l.lineHeight;
  return rc;
}

}  // namespace

MainWindow::MainWindow(Win32Host& host, shell::Startup& startup)
    : host_(host), startup_(startup), green_(CreateSolidBrush(kMainGreen)) {}

MainWindow::~MainWindow() {
  if (window_) DestroyWindow(window_);
  DeleteObject(green_);
}

bool MainWindow::create(HINSTANCE instance, int showCommand) {
  const shell::Geometry& g = startup_.values().geometry;
  HWND window = CreateWindowExW(0, kMainClass, kMainTitle, WS_OVERLAPPEDWINDOW, g.x, g.y, g.width,
                                g.height, nullptr, nullptr, instance, this);
  if (!window) return false;
  host_.setMainWindow(window);
  HDC dc = GetDC(window);
  fillClient(dc);
  ReleaseDC(window, dc);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
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
      SetTimer(window_, IDT_MAIN_CLOCK, 1000, nullptr);
      return 0;
    case WM_ERASEBKGND:
      fillClient(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_TIMER:
      if (wParam == IDT_MAIN_CLOCK) {
        RECT band = lineRect(window_, measure(window_), kDateTimeLine);
        InvalidateRect(window_, &band, FALSE);
      }
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CMD_EXIT_PROGRAM:
        case IDM_EXIT:
        case IDM_EXIT_OTHER:
          SendMessageW(window_, WM_CLOSE, 0, 0);
          break;
        default:
          break;
      }
      return 0;
    case WM_CLOSE:
      if (shell::confirmExit(host_, false)) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      KillTimer(window_, IDT_MAIN_CLOCK);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainWindow::fillClient(HDC dc) {
  RECT rc;
  GetClientRect(window_, &rc);
  FillRect(dc, &rc, green_);
}

void MainWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  FillRect(dc, &ps.rcPaint, green_);
  StatusLayout l = measure(window_);
  HFONT font = CreateFontW(l.fontHeight, l.fontWidth, 0, 0, 600, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Tahoma");
  HGDIOBJ oldFont = SelectObject(dc, font);
  // Opaque green behind the text, so a shorter line covers a longer one.
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, kMainGreen);
  SetTextColor(dc, RGB(255, 255, 255));

  platform::DateTime now = platform::clock().localTime();
  shell::StatusLines s = shell::statusLines(startup_.values(), l.portrait, now.month, now.day,
                                            now.year, now.hour, now.minute, now.second);
  const std::array<const std::string*, kStatusLineCount> lines = {&s.application, &s.appPath,
                                                                  &s.dataPath, &s.dateTime};
  for (int i = 0; i < kStatusLineCount; ++i) {
    std::wstring text = platform::win32::toUtf16(*lines[static_cast<std::size_t>(i)]);
    TextOutW(dc, l.left, l.top + i * l.lineHeight, text.c_str(), static_cast<int>(text.size()));
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  EndPaint(window_, &ps);
}

}  // namespace frontend
