#include "edit_window.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "edit_view.hpp"
#include "platform/codepage.hpp"
#include "platform/win32/wide.hpp"
#include "resource.h"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"
#include "window_classes.hpp"

namespace frontend {

namespace {

using platform::win32::toUtf16;

RECT placeOver(HWND owner) {
  RECT rc{};
  if (owner && GetWindowRect(owner, &rc)) return rc;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
  return rc;
}

bool isEditWindow(HWND w) {
  wchar_t name[64] = {};
  return GetClassNameW(w, name, 64) && lstrcmpW(name, kEditClass) == 0;
}

std::vector<HWND> threadEditWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        if (isEditWindow(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

Win32EditWindow::Win32EditWindow(ui::Host& host, std::unique_ptr<EditView> view, HWND mainWindow)
    : ui::EditWindow(host), view_(std::move(view)), mainWindow_(mainWindow) {}

Win32EditWindow::~Win32EditWindow() {
  if (HWND w = view_->window()) DestroyWindow(w);
  if (closed_) closed_();
  if (mainWindow_ && IsWindow(mainWindow_)) {
    SetFocus(mainWindow_);
    InvalidateRect(mainWindow_, nullptr, TRUE);
    UpdateWindow(mainWindow_);
  }
  // Closed from inside one of its own messages: the view goes when that returns.
  if (view_->busy()) {
    EditView* view = view_.get();
    view->adopt(std::move(view_));
  }
}

HWND Win32EditWindow::handle() const { return view_->window(); }

int Win32EditWindow::clientWidth() const {
  RECT rc{};
  if (HWND w = view_->window()) GetClientRect(w, &rc);
  return rc.right;
}

int Win32EditWindow::clientHeight() const {
  RECT rc{};
  if (HWND w = view_->window()) GetClientRect(w, &rc);
  // The GPS status band is no part of the cells.
  return std::max(static_cast<int>(rc.bottom) - view_->statusBandHeight(), 0);
}

int Win32EditWindow::cellRows() const { return clientHeight() / view_->painter().cellHeight(); }
int Win32EditWindow::cellColumns() const { return clientWidth() / view_->painter().cellWidth(); }

ui::FontMetrics Win32EditWindow::useFont(const ui::FontRequest& request) { return view_->useFont(request); }

void Win32EditWindow::setCellGeometry(const ui::CellGeometry& geometry) { view_->setCellGeometry(geometry); }

void Win32EditWindow::focus() {
  HWND w = view_->window();
  if (!w) return;
  BringWindowToTop(w);
  SetFocus(w);
}

void Win32EditWindow::refresh() { (void)view_->refresh(); }

bool Win32EditWindow::queueFull() const { return view_->keys().count() >= ui::KeyQueue::kCapacity; }

std::unique_ptr<Win32EditWindow> createEditWindow(ui::Host& host, HINSTANCE instance, HWND owner,
                                                  ui::Screen& screen, ui::KeyQueue& keys,
                                                  const ui::EditWindowSetup& setup) {
  auto view = std::make_unique<EditView>(screen, keys, setup);
  if (!view->create(instance, owner, placeOver(owner), toUtf16(setup.title))) {
    const int error = static_cast<int>(GetLastError());
    const char* text = view->dcFailed() ? "GetDC error=%d.\r\n" : "Create TFP Edit Window error=%d.\r\n";
    ui::inform(host, base::format(text, error), "Error");
    return nullptr;
  }
  view->show();
  return std::make_unique<Win32EditWindow>(host, std::move(view), owner);
}

HWND findEditWindow() {
  std::vector<HWND> windows = threadEditWindows();
  return windows.empty() ? nullptr : windows.front();
}

}  // namespace frontend
