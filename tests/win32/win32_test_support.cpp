#include "win32_test_support.hpp"

#include <atomic>

#include "ui/host.hpp"
#include "window_classes.hpp"

namespace win32_test {

namespace {

std::atomic<bool> watchdogFired{false};

struct Search {
  const wchar_t* className;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  wchar_t name[128] = {};
  GetClassNameW(w, name, 128);
  if (lstrcmpW(name, s->className) != 0) return TRUE;
  if (s->title && windowText(w) != s->title) return TRUE;
  s->found = w;
  return FALSE;
}

// A host whose only use is reporting a class that cannot be registered.
class ReportingHost final : public ui::Host {
 public:
  int messageBox(std::string_view text, std::string_view, unsigned) override {
    ADD_FAILURE() << "while registering the window classes: " << text;
    return ui::kIdOk;
  }
  void pump() override {}
  void post(std::function<void()>) override {}
  void beep() override {}
  int runForm(const ui::Form&, ui::FormController&) override { return 0; }
  bool toggleScrollWindow(const std::string&, const std::vector<std::string>&) override { return false; }
  int scrollWindowColumns() override { return 80; }
  bool mainWindowHasFocus() override { return false; }
};

void CALLBACK watchdogProc(HWND, UINT, UINT_PTR, DWORD) {
  watchdogFired = true;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(w, name, 16);
        if (lstrcmpW(name, L"#32770") == 0) PostMessageW(w, WM_CLOSE, 0, 0);
        return TRUE;
      },
      0);
}

}  // namespace

bool windowsAvailable() {
  static const bool available = [] {
    HWND w = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!w) return false;
    DestroyWindow(w);
    return true;
  }();
  return available;
}

std::wstring windowText(HWND window) {
  int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), n + 1)));
  return text;
}

HWND findThreadWindow(const wchar_t* className, const wchar_t* title) {
  Search s{className, title, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), matchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND findDialogShowing(const std::wstring& text) {
  struct Find {
    const std::wstring* text;
    HWND found;
  } f{&text, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Find*>(p);
        wchar_t name[16] = {};
        GetClassNameW(w, name, 16);
        if (lstrcmpW(name, L"#32770") != 0) return TRUE;
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
          if (windowText(c) == *f->text) {
            f->found = w;
            return FALSE;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&f));
  return f.found;
}

void registerClassesOnce() {
  static const bool done = [] {
    ReportingHost host;
    return frontend::registerWindowClasses(GetModuleHandleW(nullptr), host);
  }();
  ASSERT_TRUE(done) << "the window classes could not be registered";
}

bool takeQuit() {
  MSG msg;
  bool found = false;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
  return found;
}

Watchdog::Watchdog(UINT seconds) {
  watchdogFired = false;
  timer_ = SetTimer(nullptr, 0, seconds * 1000, watchdogProc);
}

Watchdog::~Watchdog() {
  if (timer_) KillTimer(nullptr, timer_);
}

bool Watchdog::fired() const { return watchdogFired; }

}  // namespace win32_test
