#pragma once
// The scroll window ("ScrollWndClass"): a top-most pop-up with a dialog frame
// and both scroll bars, inside the main window's rectangle with a tenth of its
// width and height free on every side, showing 8-bit text lines in a
// fixed-pitch font without wrapping. Its keys, wheel and scroll bars move a
// ui::ScrollView.
#include <windows.h>

#include <string>
#include <vector>

namespace frontend {

// The scroll window's rectangle inside area (a tenth of the width and of the
// height free on every side).
RECT scrollWindowRect(const RECT& area);

// Opens the scroll window titled title (UTF-8) over owner (the main window;
// the work area when null), or closes the one of this thread with the same
// title, giving the focus back and repainting its owner. False only when a
// new window cannot be created.
bool toggleScrollWindow(HINSTANCE instance, HWND owner, const std::string& title,
                        const std::vector<std::string>& lines);

// The characters a line shows: the width of scrollWindowRect over owner's
// rectangle divided by (the scroll font's average character width + 1).
int scrollWindowColumns(HWND owner);

// The scroll window of this thread titled title, or null.
HWND findScrollWindow(const std::string& title);

// The procedure of the "ScrollWndClass" class.
LRESULT CALLBACK scrollWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace frontend
