#include "edit_view.hpp"

#include <windowsx.h>

#include <algorithm>

#include "platform/clock.hpp"
#include "platform/win32/wide.hpp"
#include "resource.h"
#include "window_classes.hpp"

namespace frontend {

namespace {

namespace key = ui::key;

constexpr UINT kCursorMs = 300;
// Past this long without input, an erase of the background (the window was
// uncovered) asks the engine to redraw.
constexpr std::uint64_t kRefreshAfterMs = 1000;
constexpr int kButtonBase = 100;  // control id of the first touch button

std::uint64_t now() { return platform::clock().ticks(); }

}  // namespace

EditView::EditView(ui::Screen& screen, ui::KeyQueue& keys, const ui::EditWindowSetup& setup)
    : screen_(screen), keys_(keys), setup_(setup) {}

EditView::~EditView() {
  if (window_) {
    // Still there (a view freed with its window alive): the window must not call back.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    if (dc_ && oldFont_) SelectObject(dc_, oldFont_);
  }
  if (font_) DeleteObject(font_);
}

EditView* EditView::of(HWND window) {
  wchar_t name[64] = {};
  if (!window || !GetClassNameW(window, name, 64) || lstrcmpW(name, kEditClass) != 0) return nullptr;
  return reinterpret_cast<EditView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool EditView::create(HINSTANCE instance, HWND owner, const RECT& where, const std::wstring& title) {
  lastInput_ = now();
  SetLastError(0);
  HWND window = CreateWindowExW(0, kEditClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN | WS_DLGFRAME,
                                where.left, where.top, where.right - where.left, where.bottom - where.top, owner,
                                nullptr, instance, this);
  if (!window) {
    // The report shows the code; a failure that set none still says "failed".
    if (GetLastError() == 0) SetLastError(ERROR_GEN_FAILURE);
    return false;
  }
  // The class keeps one DC for the window: got once, drawn on for its life.
  SetLastError(0);
  dc_ = GetDC(window);
  if (!dc_) {
    dcFailed_ = true;
    const DWORD error = GetLastError() ? GetLastError() : ERROR_DC_NOT_FOUND;
    DestroyWindow(window);
    SetLastError(error);
    return false;
  }
  drawnChanges_ = screen_.changeCount();
  drawnRows_ = screen_.rows();
  drawnCols_ = screen_.cols();
  screen_.clearDirty();  // the first paint draws every row
  return true;
}

void EditView::show() {
  if (!window_) return;
  ShowWindow(window_, SW_SHOW);
  SetFocus(window_);
  UpdateWindow(window_);
}

void EditView::adopt(std::unique_ptr<EditView> self) { self_ = std::move(self); }

ui::FontMetrics EditView::useFont(const ui::FontRequest& request) {
  if (!dc_) return metrics_;
  // Fixed pitch, modern family (0x31), character set 0.
  HFONT font = CreateFontW(request.height, request.width, 0, 0, request.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                           L"Courier New");
  if (!font) return metrics_;
  cursorOff();  // inverted pixels must go before anything is drawn differently
  HGDIOBJ previous = SelectObject(dc_, font);
  if (!oldFont_) oldFont_ = previous;
  if (font_) DeleteObject(font_);
  font_ = font;
  TEXTMETRICW tm{};
  if (GetTextMetricsW(dc_, &tm))
    metrics_ = ui::FontMetrics{static_cast<int>(tm.tmHeight), static_cast<int>(tm.tmInternalLeading),
                               static_cast<int>(tm.tmAveCharWidth)};
  InvalidateRect(window_, nullptr, FALSE);
  return metrics_;
}

void EditView::setCellGeometry(const ui::CellGeometry& geometry) {
  cursorOff();
  painter_.setGeometry(geometry);
  placeButtons();
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

bool EditView::refresh() {
  if (!window_ || screen_.changeCount() == drawnChanges_) return false;
  drawnChanges_ = screen_.changeCount();
  RECT client{};
  GetClientRect(window_, &client);
  if (screen_.rows() != drawnRows_ || screen_.cols() != drawnCols_) {
    // A new size: what lay outside the smaller one must go as well.
    drawnRows_ = screen_.rows();
    drawnCols_ = screen_.cols();
    InvalidateRect(window_, nullptr, FALSE);
  } else {
    for (int row = 1; row <= screen_.rows(); ++row) {
      if (!screen_.rowDirty(row)) continue;
      RECT band = painter_.rowRect(row, client.right);
      InvalidateRect(window_, &band, FALSE);
    }
  }
  screen_.clearDirty();
  // The cursor may have moved or changed its shape: off at the old place,
  // on at the new one once the rows are drawn.
  cursorOff();
  UpdateWindow(window_);
  cursorOn();
  return true;
}

void EditView::blink() {
  if (!window_) return;
  if (cursorDrawn_ || !screen_.cursor().visible(screen_.rows(), screen_.cols()))
    cursorOff();
  else
    cursorOn();
}

void EditView::cursorOff() {
  if (!cursorDrawn_) return;
  cursorDrawn_ = false;
  if (dc_)
    PatBlt(dc_, cursorAt_.left, cursorAt_.top, cursorAt_.right - cursorAt_.left, cursorAt_.bottom - cursorAt_.top,
           DSTINVERT);
}

void EditView::cursorOn() {
  if (cursorDrawn_ || !dc_ || !screen_.cursor().visible(screen_.rows(), screen_.cols())) return;
  // The rectangle is kept, so taking it off inverts exactly these pixels again.
  cursorAt_ = painter_.cursorRect(screen_.cursor());
  PatBlt(dc_, cursorAt_.left, cursorAt_.top, cursorAt_.right - cursorAt_.left, cursorAt_.bottom - cursorAt_.top,
         DSTINVERT);
  cursorDrawn_ = true;
}

void EditView::paint() {
  // Off before the cells are drawn and on after, outside the paint's clipping,
  // so no half of an inverted cursor is left behind.
  cursorOff();
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  if (dc) {
    painter_.paint(dc, screen_, ps.rcPaint);
    paintStatusBand(dc);
  }
  EndPaint(window_, &ps);
  cursorOn();
}

void EditView::push(ui::KeyCode code) {
  lastInput_ = now();
  keys_.push(code);
  if (keyHook_) keyHook_();
}

void EditView::pushMouse(ui::KeyCode code, LPARAM lParam) {
  lastInput_ = now();
  // Positions outside the cells (the capture reports them) count as the nearest cell.
  const int x = std::max(GET_X_LPARAM(lParam), 0), y = std::max(GET_Y_LPARAM(lParam), 0);
  const int row = std::min(y / painter_.cellHeight() + 1, screen_.rows());
  const int col = std::min(x / painter_.cellWidth() + 1, screen_.cols());
  keys_.pushMouse(code, row, col);
  if (keyHook_) keyHook_();
}

void EditView::deliver(ui::KeyCode code, WPARAM vk) {
  if (vk == VK_F1 && code == key::kF1 && setup_.keyboardHelp) {
    lastInput_ = now();
    setup_.keyboardHelp();
    return;
  }
  if (code == key::kCtrlK && setup_.productionLevel >= 1 && setup_.actionKeys) {
    lastInput_ = now();
    runActionKeys();
    return;
  }
  push(code);
}

void EditView::runActionKeys() {
  // Its dialog keeps messages flowing: a second Ctrl+K or "AK" meanwhile does nothing.
  if (!setup_.actionKeys || inActionKeys_) return;
  inActionKeys_ = true;
  setup_.actionKeys();
  inActionKeys_ = false;
}

void EditView::createButtons() {
  if (setup_.productionLevel < 2) return;
  auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  for (std::size_t i = 0; i < setup_.buttons.size(); ++i) {
    HWND b = CreateWindowExW(0, L"BUTTON", platform::win32::toUtf16(setup_.buttons[i].label).c_str(),
                             WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 1, 1, window_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonBase + static_cast<int>(i))),
                             instance, nullptr);
    if (b) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    buttons_.push_back(b);
  }
  placeButtons();
}

void EditView::placeButtons() {
  if (!window_ || buttons_.empty()) return;
  RECT client{};
  GetClientRect(window_, &client);
  // Right to left along the bottom, the first at the right edge.
  const int width = static_cast<int>(0.99 * client.right / 12);
  const int height = painter_.cellHeight();
  const int bottom = client.bottom - statusBandHeight();
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (!buttons_[i]) continue;
    const int x = client.right - static_cast<int>(i + 1) * width;
    MoveWindow(buttons_[i], x, bottom - height, width, height, TRUE);
  }
}

void EditView::onButton(int id) {
  const int i = id - kButtonBase;
  if (i < 0 || i >= static_cast<int>(setup_.buttons.size())) return;
  const ui::KeyCode code = static_cast<ui::KeyCode>(setup_.buttons[static_cast<std::size_t>(i)].key);
  SetFocus(window_);
  if (code == 0)
    runActionKeys();
  else
    push(code);
}

void EditView::saveImage() {
  if (savedImage_) return;
  savedImage_ = screen_.pushEditorImage();
  changesAtSave_ = screen_.changeCount();
}

void EditView::restoreImage() {
  if (!savedImage_) return;
  // Put back only over the very Screen it was taken of: what the engine drew
  // while the focus was away is newer and stays.
  if (screen_.changeCount() == changesAtSave_) (void)screen_.showImage(savedImage_);
  (void)screen_.freeImage(savedImage_);
  savedImage_ = 0;
}

bool EditView::layoutCharacterWaiting() const {
  MSG m;
  return PeekMessageW(&m, window_, WM_CHAR, WM_CHAR, PM_NOREMOVE) && m.wParam >= 0x20;
}

void EditView::eraseBackground() {
  if (now() - lastInput_ <= kRefreshAfterMs) return;
  keys_.push(key::kRefresh);
  if (IsWindowEnabled(window_) && GetFocus() != window_) SetFocus(window_);
}

void EditView::showStatusLine() {
  const std::string text = setup_.statusLine ? setup_.statusLine() : std::string();
  if (text == statusLine_) return;
  statusLine_ = text;
  // Shown in the band and, for the taskbar, after the title in the caption.
  const std::string caption = text.empty() ? setup_.title : setup_.title + "     " + text;
  SetWindowTextW(window_, platform::win32::toUtf16(caption).c_str());
  RECT client{};
  GetClientRect(window_, &client);
  RECT band{0, client.bottom - statusBandHeight(), client.right, client.bottom};
  InvalidateRect(window_, &band, FALSE);
}

void EditView::paintStatusBand(HDC dc) {
  const int height = statusBandHeight();
  if (height == 0) return;
  RECT client{};
  GetClientRect(window_, &client);
  RECT band{0, client.bottom - height, client.right, client.bottom};
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 128));
  SetTextColor(dc, RGB(255, 255, 255));
  const std::wstring text = platform::win32::toUtf16(statusLine_.empty() ? std::string() : " " + statusLine_);
  ExtTextOutW(dc, band.left + 2, band.top + 3, ETO_OPAQUE, &band, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);
  SelectObject(dc, oldFont);
}

LRESULT EditView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const bool mouse = setup_.productionLevel >= 1;
  switch (message) {
    case WM_CREATE:
      SetTimer(window_, IDT_EDIT_CURSOR, kCursorMs, nullptr);
      if (setup_.statusLine) SetTimer(window_, IDT_EDIT_STATUS, ui::kStatusLineEveryMs, nullptr);
      createButtons();
      return 0;
    case WM_SIZE:
      placeButtons();
      return 0;
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      // Every pixel is painted from the Screen; nothing to erase.
      eraseBackground();
      return 1;
    case WM_TIMER:
      if (wParam == IDT_EDIT_STATUS) {
        showStatusLine();
        return 0;
      }
      if (wParam != IDT_EDIT_CURSOR) break;
      // What a dialog's own message loop kept from being drawn is drawn here.
      if (!refresh()) blink();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Never to the default handling: F10 and Alt would open a menu.
      if (ui::KeyCode code = input_.keyDown(wParam, layoutCharacterWaiting())) deliver(code, wParam);
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      input_.keyUp(wParam);
      return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (ui::KeyCode code = input_.character(static_cast<wchar_t>(wParam))) deliver(code, 0);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_KEYMENU) return 0;
      break;
    case WM_COMMAND:
      if (lParam && HIWORD(wParam) == BN_CLICKED) onButton(LOWORD(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      if (!mouse) break;
      SetCapture(window_);
      dragging_ = true;
      moved_ = false;
      restoreImage();  // the capture is back
      pushMouse(key::kMouseClick, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      if (!mouse) break;
      pushMouse(key::kMouseDoubleClick, lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && (wParam & MK_LBUTTON)) moved_ = true;
      return 0;
    case WM_LBUTTONUP:
      if (!dragging_) break;
      dragging_ = false;
      ReleaseCapture();
      if (moved_) pushMouse(key::kMouseRelease, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      // Taken by another window (not given up by the button's release).
      if (lParam && reinterpret_cast<HWND>(lParam) != window_) saveImage();
      dragging_ = false;
      return 0;
    case WM_RBUTTONUP:
      // The hierarchy menu; its own loop keeps messages flowing meanwhile.
      if (!mouse || !setup_.hierarchyMenu || inMenu_) break;
      inMenu_ = true;
      setup_.hierarchyMenu();
      inMenu_ = false;
      return 0;
    case WM_MOUSEWHEEL:
      if (!mouse) break;
      push(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? key::kWheelForward : key::kWheelBack);
      return 0;
    case WM_SETFOCUS:
      restoreImage();
      return 0;
    case WM_KILLFOCUS:
      input_.reset();  // the modifiers' key-ups go to the window that has the focus
      saveImage();
      return 0;
    case WM_ENABLE:
      if (!wParam) saveImage();
      return 0;
    case WM_CLOSE:
      push(key::kEscape);
      return 0;
    case WM_DESTROY: {
      KillTimer(window_, IDT_EDIT_CURSOR);
      std::function<void()> hook = std::move(destroyHook_);
      destroyHook_ = nullptr;
      if (hook) hook();
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      {
        HWND window = window_;
        window_ = nullptr;
        dc_ = nullptr;  // the window's own DC goes with it
        oldFont_ = nullptr;
        buttons_.clear();
        cursorDrawn_ = false;
        return DefWindowProcW(window, message, wParam, lParam);
      }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK EditView::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* view = static_cast<EditView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (!view) return FALSE;  // only EditView::create makes these windows
    view->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    return DefWindowProcW(window, message, wParam, lParam);
  }
  auto* view = reinterpret_cast<EditView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!view) return DefWindowProcW(window, message, wParam, lParam);
  ++view->depth_;
  LRESULT result = view->handle(message, wParam, lParam);
  // A view its window owns goes once the window has gone and nothing of it runs.
  if (--view->depth_ == 0 && !view->window_ && view->self_) {
    std::unique_ptr<EditView> doomed = std::move(view->self_);
  }
  return result;
}

}  // namespace frontend
