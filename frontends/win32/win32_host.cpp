#include "win32_host.hpp"

#include <utility>

#include "canvas_window.hpp"
#include "edit_window.hpp"
#include "form_dialog.hpp"
#include "menu_data.hpp"
#include "platform/win32/wide.hpp"
#include "progress_dialog.hpp"
#include "scroll_window.hpp"
#include "window_classes.hpp"

namespace frontend {

namespace {

constexpr wchar_t kPostClass[] = L"TFP_HostPost";
// The private message that says "work is waiting in the queue".
constexpr UINT kRunPosted = WM_APP + 0x200;

}  // namespace

Win32Host::Win32Host(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &Win32Host::postWindowProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kPostClass;
  RegisterClassExW(&wc);
  // A message-only window: never shown, never found by FindWindow.
  postWindow_ = CreateWindowExW(0, kPostClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance_, nullptr);
  SetWindowLongPtrW(postWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Host::~Win32Host() {
  if (postWindow_) {
    SetWindowLongPtrW(postWindow_, GWLP_USERDATA, 0);
    DestroyWindow(postWindow_);
  }
}

int Win32Host::messageBox(std::string_view text, std::string_view caption, unsigned flags) {
  return MessageBoxW(frontOwner(), platform::win32::toUtf16(text).c_str(),
                     platform::win32::toUtf16(caption).c_str(), flags);
}

void Win32Host::dispatch(MSG& msg) {
  // Alt+letters and F10 are keys of the edit window, not the main window's commands.
  HWND edit = editWindow();
  const bool forEdit = edit && msg.hwnd && (msg.hwnd == edit || IsChild(edit, msg.hwnd));
  if (!forEdit && accelerators_ && mainWindow_ && TranslateAcceleratorW(mainWindow_, accelerators_, &msg))
    return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

namespace {

// The next message; while the edit window's key queue is full, only those
// that carry no keyboard or mouse input, which stay queued for later.
bool nextMessage(MSG& msg, bool inputWaits) {
  if (!inputWaits) return PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0;
  return PeekMessageW(&msg, nullptr, 0, WM_KEYFIRST - 1, PM_REMOVE) ||
         PeekMessageW(&msg, nullptr, WM_KEYLAST + 1, WM_MOUSEFIRST - 1, PM_REMOVE) ||
         PeekMessageW(&msg, nullptr, WM_MOUSELAST + 1, 0xFFFFFFFF, PM_REMOVE);
}

}  // namespace

void Win32Host::pump() {
  MSG msg;
  while (nextMessage(msg, edit_ && edit_->queueFull())) {
    if (msg.message == WM_QUIT) {
      // Leave it for the message loop, which ends the program.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatch(msg);
  }
  if (edit_) edit_->refresh();
}

int Win32Host::runMessageLoop() {
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 0;
    dispatch(msg);
  }
  return static_cast<int>(msg.wParam);
}

void Win32Host::post(std::function<void()> fn) {
  {
    std::lock_guard<std::mutex> lock(postLock_);
    posted_.push_back(std::move(fn));
  }
  // Should the post fail (a full queue), the work stays queued and runs with
  // the next one that gets through.
  PostMessageW(postWindow_, kRunPosted, 0, 0);
}

void Win32Host::beep() { MessageBeep(MB_OK); }

HWND Win32Host::owner() const { return (mainWindow_ && IsWindow(mainWindow_)) ? mainWindow_ : nullptr; }

HWND Win32Host::frontOwner() const {
  HWND main = owner();
  if (!main) return nullptr;
  HWND popup = GetLastActivePopup(main);
  if (!popup || popup == main || !IsWindowVisible(popup)) return main;
  // The scroll window is a companion, not a step of the work: a dialog owned
  // by it would leave the main window enabled.
  wchar_t name[64] = {};
  if (GetClassNameW(popup, name, 64) && lstrcmpW(name, kScrollClass) == 0) return main;
  return popup;
}

int Win32Host::runForm(const ui::Form& form, ui::FormController& controller) {
  return runFormDialog(instance_, frontOwner(), form, controller);
}

void Win32Host::showProgress(const ui::ProgressSpec& desc, ui::Progress& progress) {
  runProgressDialog(instance_, frontOwner(), desc, progress);
}

bool Win32Host::toggleScrollWindow(const std::string& title, const std::vector<std::string>& lines) {
  // Over the edit window it belongs to the edit window, which then gets the
  // focus back and stays in front when it closes.
  HWND edit = editWindow();
  return frontend::toggleScrollWindow(instance_, edit && IsWindow(edit) ? edit : owner(), title, lines);
}

int Win32Host::scrollWindowColumns() { return frontend::scrollWindowColumns(owner()); }

bool Win32Host::mainWindowHasFocus() {
  HWND focus = GetFocus();
  return mainWindow_ && focus && (focus == mainWindow_ || IsChild(mainWindow_, focus));
}

int Win32Host::popupMenu(const std::vector<ui::MenuItem>& items) {
  HWND window = editWindow();
  if (!window) window = owner();
  if (!window) return 0;
  HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  int chosen = 0;
  POINT at{};
  if (appendMenuItems(menu, items) && GetCursorPos(&at)) {
    // TPM_RETURNCMD: the command comes back here instead of as WM_COMMAND.
    chosen = static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                                             at.x, at.y, 0, window, nullptr));
  }
  DestroyMenu(menu);
  return chosen;
}

ui::Host::CanvasOutcome Win32Host::runCanvasWindow(const ui::CanvasWindowDesc& desc,
                                                   ui::CanvasController& controller) {
  return frontend::runCanvasWindow(instance_, frontOwner(), desc, controller);
}

HWND Win32Host::editWindow() const { return edit_ ? edit_->handle() : nullptr; }

std::unique_ptr<ui::EditWindow> Win32Host::createEditWindow(ui::Screen& screen, ui::KeyQueue& keys,
                                                            const ui::EditWindowSetup& setup) {
  std::unique_ptr<Win32EditWindow> window =
      frontend::createEditWindow(*this, instance_, owner(), screen, keys, setup);
  if (!window) return nullptr;
  edit_ = window.get();
  window->setClosedHook([this] { edit_ = nullptr; });
  return window;
}

void Win32Host::runPosted() {
  std::deque<std::function<void()>> work;
  {
    std::lock_guard<std::mutex> lock(postLock_);
    work.swap(posted_);
  }
  // Run outside the lock: the work may post again.
  for (auto& fn : work)
    if (fn) fn();
}

LRESULT CALLBACK Win32Host::postWindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == kRunPosted) {
    auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host) host->runPosted();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace frontend
