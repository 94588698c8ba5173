#include "canvas_window.hpp"

#include <string>

#include "canvas_painter.hpp"
#include "menu_data.hpp"
#include "platform/win32/wide.hpp"
#include "ui/keys.hpp"
#include "window_classes.hpp"

namespace frontend {

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// One open canvas window; lives on runCanvasWindow's stack.
struct CanvasWindow {
  CanvasWindow(const ui::CanvasWindowDesc& desc, ui::CanvasController& controller)
      : state(desc, controller), font(canvasMetrics(0, 0)) {}

  ui::CanvasMetrics sized(int width, int height) const {
    ui::CanvasMetrics m = font;
    m.width = width;
    m.height = height;
    return m;
  }

  ui::CanvasState state;
  ui::CanvasMetrics font;  // the normal font's metrics, measured once
  HWND window = nullptr;   // null once destroyed
};

CanvasWindow* canvasOf(HWND window) {
  return reinterpret_cast<CanvasWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The rectangle the window covers: the main window's, else the work area.
RECT areaOver(HWND owner) {
  HWND main = owner ? GetAncestor(owner, GA_ROOTOWNER) : nullptr;
  if (!main) main = owner;
  RECT rc{};
  if (main && IsWindow(main) && GetWindowRect(main, &rc)) return rc;
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0))
    rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return rc;
}

ui::KeyCode keyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_F4: return ui::key::kF4;
    case VK_ESCAPE: return ui::key::kEscape;
    default: return 0;
  }
}

void afterEvent(HWND window, CanvasWindow& c) {
  if (c.state.takeRedraw() && !c.state.ended()) InvalidateRect(window, nullptr, FALSE);
}

void resizeTo(HWND window, CanvasWindow& c) {
  RECT rc{};
  GetClientRect(window, &rc);
  c.state.resize(c.sized(rc.right, rc.bottom));
}

// Painted into a bitmap first and copied at once, so a timer's redraw does
// not flicker.
void paint(HWND window, CanvasWindow& c) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT rc{};
  GetClientRect(window, &rc);
  if (dc && rc.right > 0 && rc.bottom > 0) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, rc.right, rc.bottom) : nullptr;
    if (bitmap) {
      HGDIOBJ old = SelectObject(memory, bitmap);
      paintDrawing(memory, c.state.draw(), rc);
      BitBlt(dc, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(bitmap);
    } else {
      paintDrawing(dc, c.state.draw(), rc);  // no memory for a bitmap: flicker rather than nothing
    }
    if (memory) DeleteDC(memory);
  }
  EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK canvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  CanvasWindow* c = canvasOf(window);
  if (!c) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_KEYDOWN:
      if (const ui::KeyCode code = keyOf(wParam)) {
        (void)c->state.key(code);
        afterEvent(window, *c);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lParam == 0) {  // a menu command (or an accelerator), not a control's notice
        c->state.command(LOWORD(wParam));
        afterEvent(window, *c);
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kTimerId) {
        c->state.tick();
        afterEvent(window, *c);
        return 0;
      }
      break;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        c->state.resize(c->sized(LOWORD(lParam), HIWORD(lParam)));
        afterEvent(window, *c);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers all of it
    case WM_PAINT:
      paint(window, *c);
      return 0;
    case WM_PRINTCLIENT: {  // PrintWindow: the picture into the caller's DC
      RECT rc{};
      GetClientRect(window, &rc);
      paintDrawing(reinterpret_cast<HDC>(wParam), c->state.draw(), rc);
      return 0;
    }
    case WM_CLOSE:
      // The close box and Alt+F4 end it like the close keys; the loop destroys it.
      c->state.end(0);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kTimerId);
      c->state.end(0);
      c->window = nullptr;
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

ui::Host::CanvasOutcome runCanvasWindow(HINSTANCE instance, HWND owner, const ui::CanvasWindowDesc& desc,
                                        ui::CanvasController& controller) {
  using platform::win32::toUtf16;
  CanvasWindow c(desc, controller);
  HMENU menu = nullptr;
  if (!desc.menu.empty()) {
    menu = CreateMenu();
    if (!menu || !appendMenuItems(menu, desc.menu)) {
      const DWORD error = GetLastError();
      if (menu) DestroyMenu(menu);
      return {false, static_cast<int>(error), 0};
    }
  }
  const std::wstring className = desc.windowClass.empty() ? std::wstring(kNavGraphClass) : toUtf16(desc.windowClass);
  const RECT area = areaOver(owner);
  HWND window = CreateWindowExW(0, className.c_str(), toUtf16(desc.title).c_str(), kStyle, area.left, area.top,
                                area.right - area.left, area.bottom - area.top, owner, menu, instance, &c);
  if (!window) {
    const DWORD error = GetLastError();
    if (menu) DestroyMenu(menu);
    return {false, static_cast<int>(error), 0};
  }
  if (canvasOf(window) != &c) {
    // A class of another procedure would never end the loop below.
    DestroyWindow(window);
    return {false, ERROR_CANNOT_FIND_WND_CLASS, 0};
  }
  c.window = window;
  resizeTo(window, c);  // the first size is only recorded
  c.state.open();

  const bool ownerWasDisabled = owner && EnableWindow(owner, FALSE);
  if (!c.state.ended()) {
    ShowWindow(window, SW_SHOWNORMAL);
    if (desc.timerMs > 0) SetTimer(window, kTimerId, static_cast<UINT>(desc.timerMs), nullptr);
    SetFocus(window);
    afterEvent(window, c);
  }
  MSG msg;
  while (!c.state.ended()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the program's loop ends on it
      c.state.end(0);
    } else if (got == -1) {
      c.state.end(0);
    } else {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // Enabled before the window goes, so Windows activates the owner and not
  // some other program's window.
  if (owner && IsWindow(owner) && !ownerWasDisabled) EnableWindow(owner, TRUE);
  if (c.window) DestroyWindow(c.window);
  if (owner && IsWindow(owner)) SetFocus(owner);
  return {true, 0, c.state.result()};
}

}  // namespace frontend
