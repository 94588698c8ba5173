#include "window_classes.hpp"

#include "canvas_window.hpp"
#include "edit_view.hpp"
#include "main_window.hpp"
#include "resource.h"
#include "scroll_window.hpp"
#include "ui/host.hpp"

namespace frontend {

namespace {

bool registerClass(ui::Host& host, const WNDCLASSEXW& wc,
                   const char* failureText) {
  if (RegisterClassExW(&wc)) return true;
  ui::inform(host, failureText, "Error");
  return false;
}

WNDCLASSEXW cellWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = name;
  return wc;
}

}  // namespace

bool registerWindowClasses(HINSTANCE instance, ui::Host& host) {
  WNDCLASSEXW main{};
  main.cbSize = sizeof(main);
  main.style = CS_HREDRAW | CS_VREDRAW;
  main.lpfnWndProc = MainWindow::windowProc;
  main.hInstance = instance;
  main.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TALLYFIN));
  main.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TALLYFIN_SMALL));
  main.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  main.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  main.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN_MENU);
  main.lpszClassName = kMainClass;
  if (!registerClass(host, main, "Failed to initialize Main Window Class.")) return false;

  if (!registerClass(host, cellWindowClass(instance, kEditClass, EditView::windowProc),
                     "Failed to initialize TFP_EditWin Class."))
    return false;
  if (!registerClass(host, cellWindowClass(instance, kScrollClass, scrollWindowProc),
                     "Failed to initialize ScrollWnd Class."))
    return false;
  WNDCLASSEXW nav = cellWindowClass(instance, kNavGraphClass, canvasWindowProc);
  nav.lpszMenuName = MAKEINTRESOURCEW(IDM_NAV_MENU);
  return registerClass(host, nav, "Failed to Register NavGraphWin Class");
}

}  // namespace frontend
