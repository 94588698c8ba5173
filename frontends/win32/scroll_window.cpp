#include "scroll_window.hpp"

#include <algorithm>
#include <memory>

#include "platform/win32/wide.hpp"
#include "ui/keys.hpp"
#include "ui/scroll_view.hpp"
#include "window_classes.hpp"

namespace frontend {

namespace {

using platform::win32::toUtf16;

constexpr int kFontHeight = 16;  // pixels

HFONT createScrollFont() {
  return CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, L"Courier New");
}

TEXTMETRICW metricsOf(HFONT font) {
  TEXTMETRICW tm{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm;
}

// The rectangle the window is placed over: the owner's, else the work area.
RECT areaOf(HWND owner) {
  RECT rc{};
  if (owner && IsWindow(owner)) {
    GetWindowRect(owner, &rc);
  } else if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0)) {
    rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return rc;
}

// One open scroll window; lives from WM_NCCREATE to WM_NCDESTROY.
struct ScrollWindow {
  ScrollWindow(const std::string& title, const std::vector<std::string>& lines, HWND back)
      : view(title, lines), returnTo(back), font(createScrollFont()) {
    TEXTMETRICW tm = metricsOf(font);
    charWidth = std::max<int>(tm.tmAveCharWidth, 1);
    lineHeight = std::max<int>(tm.tmHeight + tm.tmExternalLeading, 1);
  }
  ~ScrollWindow() { DeleteObject(font); }

  ui::ScrollView view;
  HWND returnTo;  // gets the focus back when the window goes
  HFONT font;
  int charWidth = 1, lineHeight = 1;
};

struct CreateParams {
  const std::string* title;
  const std::vector<std::string>* lines;
  HWND returnTo;
};

ScrollWindow* stateOf(HWND window) {
  return reinterpret_cast<ScrollWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void updateBars(HWND window, const ScrollWindow& s) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  // Both bars stay, greyed when there is nothing to scroll.
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(static_cast<int>(s.view.lines().size()) - 1, 0);
  si.nPage = static_cast<UINT>(s.view.visibleRows());
  si.nPos = s.view.firstLine();
  SetScrollInfo(window, SB_VERT, &si, TRUE);
  si.nMax = std::max(s.view.widest() - 1, 0);
  si.nPage = static_cast<UINT>(s.view.visibleColumns());
  si.nPos = s.view.firstColumn();
  SetScrollInfo(window, SB_HORZ, &si, TRUE);
}

void measure(HWND window, ScrollWindow& s) {
  RECT rc;
  GetClientRect(window, &rc);
  s.view.setVisible((rc.bottom - rc.top) / s.lineHeight, (rc.right - rc.left) / s.charWidth);
}

// Applies a change of position: the contents and the bars follow.
void moved(HWND window, ScrollWindow& s, int oldLine, int oldColumn) {
  if (s.view.firstLine() == oldLine && s.view.firstColumn() == oldColumn) return;
  updateBars(window, s);
  InvalidateRect(window, nullptr, TRUE);
}

ui::KeyCode keyOf(WPARAM vk) {
  switch (vk) {
    case VK_ESCAPE: return ui::key::kEscape;
    case VK_F1: return ui::key::kEscape;  // a second F1 closes the help F1 opened
    case VK_UP: return ui::key::kUp;
    case VK_DOWN: return ui::key::kDown;
    case VK_PRIOR: return ui::key::kPageUp;
    case VK_NEXT: return ui::key::kPageDown;
    case VK_LEFT: return ui::key::kLeft;
    case VK_RIGHT: return ui::key::kRight;
    case VK_HOME: return ui::key::kHome;
    case VK_END: return ui::key::kEnd;
    default: return 0;
  }
}

// A scroll-bar request: lines and pages as the keys do; the thumb, the top
// and the bottom as positions.
void onScroll(HWND window, ScrollWindow& s, int bar, int request) {
  const bool vertical = bar == SB_VERT;
  int line = s.view.firstLine(), column = s.view.firstColumn();
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_TRACKPOS;
  switch (request) {
    case SB_LINEUP: s.view.key(vertical ? ui::key::kUp : ui::key::kLeft); break;
    case SB_LINEDOWN: s.view.key(vertical ? ui::key::kDown : ui::key::kRight); break;
    case SB_PAGEUP: s.view.key(vertical ? ui::key::kPageUp : ui::key::kHome); break;
    case SB_PAGEDOWN: s.view.key(vertical ? ui::key::kPageDown : ui::key::kEnd); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      // The 32-bit track position, not the 16 bits of the message.
      GetScrollInfo(window, bar, &si);
      if (vertical) s.view.scrollTo(si.nTrackPos, column);
      else s.view.scrollTo(line, si.nTrackPos);
      break;
    case SB_TOP:
      if (vertical) s.view.scrollTo(0, column);
      else s.view.scrollTo(line, 0);
      break;
    case SB_BOTTOM:
      if (vertical) s.view.scrollTo(s.view.maxFirstLine(), column);
      else s.view.scrollTo(line, s.view.maxFirstColumn());
      break;
    default: return;
  }
  moved(window, s, line, column);
}

void paint(HWND window, ScrollWindow& s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  HGDIOBJ old = SelectObject(dc, s.font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (int r = 0; r < s.view.visibleRows(); ++r) {
    // The lines are 8-bit text in the ANSI code page.
    std::wstring text = toUtf16(s.view.row(r), CP_ACP);
    if (!text.empty()) TextOutW(dc, 0, r * s.lineHeight, text.c_str(), static_cast<int>(text.size()));
  }
  SelectObject(dc, old);
  EndPaint(window, &ps);
}

bool isScrollWindow(HWND w) {
  wchar_t name[64] = {};
  return GetClassNameW(w, name, 64) && lstrcmpW(name, kScrollClass) == 0;
}

}  // namespace

RECT scrollWindowRect(const RECT& area) {
  int dx = (area.right - area.left) / 10, dy = (area.bottom - area.top) / 10;
  return {area.left + dx, area.top + dy, area.right - dx, area.bottom - dy};
}

int scrollWindowColumns(HWND owner) {
  RECT inner = scrollWindowRect(areaOf(owner));
  HFONT font = createScrollFont();
  TEXTMETRICW tm = metricsOf(font);
  DeleteObject(font);
  int columns = (inner.right - inner.left) / (static_cast<int>(tm.tmAveCharWidth) + 1);
  return std::max(columns, 1);
}

HWND findScrollWindow(const std::string& title) {
  struct Search {
    std::wstring title;
    HWND found = nullptr;
  } search{toUtf16(title), nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (!isScrollWindow(w)) return TRUE;
        int n = GetWindowTextLengthW(w);
        std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
        if (text != s->title) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool toggleScrollWindow(HINSTANCE instance, HWND owner, const std::string& title,
                        const std::vector<std::string>& lines) {
  if (HWND open = findScrollWindow(title)) {
    ScrollWindow* s = stateOf(open);
    HWND back = s && IsWindow(s->returnTo) ? s->returnTo : owner;
    if (s) s->returnTo = nullptr;  // the focus is given back here, not on destruction
    DestroyWindow(open);
    if (back && IsWindow(back)) {
      SetFocus(back);
      InvalidateRect(back, nullptr, TRUE);
      UpdateWindow(back);
    }
    return true;
  }
  // The window that had the focus (the edit window, or the main window) gets
  // it back; a control of the main window (a command-bar button) gives it to
  // the main window itself, where Enter and the accelerators work.
  HWND focus = GetFocus();
  if (!focus || (owner && IsChild(owner, focus))) focus = owner;
  CreateParams params{&title, &lines, focus};
  RECT rc = scrollWindowRect(areaOf(owner));
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_DLGMODALFRAME, kScrollClass,
                                toUtf16(title).c_str(),
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VSCROLL | WS_HSCROLL,
                                rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, owner,
                                nullptr, instance, &params);
  if (!window) return false;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetFocus(window);
  return true;
}

LRESULT CALLBACK scrollWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* p = static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (!p) return FALSE;  // only toggleScrollWindow makes these windows
    auto* s = new ScrollWindow(*p->title, *p->lines, p->returnTo);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  ScrollWindow* s = stateOf(window);
  if (!s) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete s;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
      measure(window, *s);
      updateBars(window, *s);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      paint(window, *s);
      return 0;
    case WM_KEYDOWN: {
      ui::KeyCode k = keyOf(wParam);
      if (!k) break;
      int line = s->view.firstLine(), column = s->view.firstColumn();
      if (!s->view.key(k)) {
        DestroyWindow(window);
        return 0;
      }
      moved(window, *s, line, column);
      return 0;
    }
    case WM_MOUSEWHEEL: {
      int line = s->view.firstLine(), column = s->view.firstColumn();
      s->view.key(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? ui::key::kWheelForward : ui::key::kWheelBack);
      moved(window, *s, line, column);
      return 0;
    }
    case WM_VSCROLL:
      onScroll(window, *s, SB_VERT, LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      onScroll(window, *s, SB_HORZ, LOWORD(wParam));
      return 0;
    case WM_DESTROY: {
      // Closed with Escape or its close box while it had the focus: the
      // window it came from gets the focus back.
      HWND back = s->returnTo;
      if (back && IsWindow(back) && GetActiveWindow() == window) SetFocus(back);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace frontend
