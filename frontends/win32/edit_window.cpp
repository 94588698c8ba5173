#include "edit_window.hpp"

#include <algorithm>

#include "datasets/open_data.hpp"
#include "platform/win32/wide.hpp"
#include "resource.h"
#include "window_classes.hpp"

namespace frontend {

namespace {

using platform::win32::toUtf16;

constexpr int kMargin = 16;  // pixels around the text lines

struct CreateParams {
  const std::vector<std::string>* lines;
};

// One open edit window; lives from WM_NCCREATE to WM_NCDESTROY.
struct EditWindow {
  std::vector<std::string> lines;
  HFONT font = nullptr;
  bool tellOwner = true;  // cleared when the owner closes the window itself
};

EditWindow* stateOf(HWND window) {
  return reinterpret_cast<EditWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool isEditWindow(HWND w) {
  wchar_t name[64] = {};
  return GetClassNameW(w, name, 64) && lstrcmpW(name, kEditClass) == 0;
}

HFONT createLineFont(int clientHeight) {
  int height = std::clamp(clientHeight / 30, 14, 32);
  return CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     FIXED_PITCH | FF_MODERN, L"Courier New");
}

// The text lines as static controls, one under the other.
void createLines(HWND window, EditWindow& s) {
  RECT rc;
  GetClientRect(window, &rc);
  s.font = createLineFont(rc.bottom - rc.top);
  TEXTMETRICW tm{};
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, s.font);
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  const int lineHeight = tm.tmHeight + tm.tmExternalLeading;
  auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const int ids[] = {kEditTableLine, kEditHintLine};
  for (std::size_t i = 0; i < s.lines.size() && i < 2; ++i) {
    HWND line = CreateWindowExW(0, L"STATIC", toUtf16(s.lines[i]).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
                                kMargin, kMargin + static_cast<int>(i) * lineHeight * 3 / 2,
                                std::max<int>(rc.right - rc.left - 2 * kMargin, 1), lineHeight, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids[i])), instance, nullptr);
    if (line) SendMessageW(line, WM_SETFONT, reinterpret_cast<WPARAM>(s.font), FALSE);
  }
}

}  // namespace

std::vector<std::string> editWindowLines(const std::string& tableName, std::int64_t lineCount) {
  return {"Table: " + tableName + "   Lines: " + std::to_string(lineCount), "Escape: back to the main window"};
}

HWND openEditWindow(HINSTANCE instance, HWND owner, const datasets::EditSessionStart& start) {
  RECT rc{};
  if (!owner || !GetWindowRect(owner, &rc)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<std::string> lines = editWindowLines(start.tableName, start.lineCount);
  CreateParams params{&lines};
  SetLastError(0);
  HWND window = CreateWindowExW(0, kEditClass, toUtf16(start.title).c_str(),
                                WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_DLGFRAME, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, owner, nullptr, instance, &params);
  if (!window) {
    // The report shows the code; a failure that set none still says "failed".
    if (GetLastError() == 0) SetLastError(ERROR_GEN_FAILURE);
    return nullptr;
  }
  ShowWindow(window, SW_SHOW);
  SetFocus(window);
  UpdateWindow(window);
  return window;
}

HWND findEditWindow() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        if (!isEditWindow(w)) return TRUE;
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void closeEditWindows() {
  // Collected first: destroying while enumerating may skip windows.
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        if (isEditWindow(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  for (HWND w : windows) {
    if (EditWindow* s = stateOf(w)) s->tellOwner = false;
    DestroyWindow(w);
  }
}

LRESULT CALLBACK editWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* p = static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (!p) return FALSE;  // only openEditWindow makes these windows
    auto* s = new EditWindow{*p->lines};
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  EditWindow* s = stateOf(window);
  if (!s) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      createLines(window, *s);
      return 0;
    case WM_CTLCOLORSTATIC: {
      // The lines sit on the window's white ground.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
      }
      break;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY: {
      // Posted, so the owner ends the session once this window has gone.
      HWND owner = GetWindow(window, GW_OWNER);
      if (s->tellOwner && owner && IsWindow(owner)) PostMessageW(owner, WM_TFP_EDIT_CLOSED, 0, 0);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (s->font) DeleteObject(s->font);
      delete s;
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace frontend
