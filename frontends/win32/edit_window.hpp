#pragma once
// The edit window ("TFP_EditWin"): the window data are entered in, a pop-up
// with a dialog frame laid over the main window and owned by it. Until the
// data-entry engine draws its screen here it shows the level-1 table's name
// and line count. Escape or a close request ends it; the owner then gets
// WM_TFP_EDIT_CLOSED, posted, and ends the edit session.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace datasets { struct EditSessionStart; }

namespace frontend {

// Ids of the two text lines (static controls) the window shows.
inline constexpr int kEditTableLine = 1;
inline constexpr int kEditHintLine = 2;

// The lines shown for a level-1 table (UTF-8): "Table: PLOTS   Lines: 0"
// and "Escape: back to the main window".
std::vector<std::string> editWindowLines(const std::string& tableName, std::int64_t lineCount);

// Creates the edit window titled start.title over owner's window rectangle
// (styles popup, visible, clip children, dialog frame; owned by owner), paints
// it and gives it the focus. Returns null when it cannot be created; the
// thread's last error then says why (never 0).
HWND openEditWindow(HINSTANCE instance, HWND owner, const datasets::EditSessionStart& start);

// The edit window of this thread, or null.
HWND findEditWindow();

// Destroys every edit window of this thread without posting
// WM_TFP_EDIT_CLOSED: for the owner, which is closing the session itself.
void closeEditWindows();

// The procedure of the "TFP_EditWin" class.
LRESULT CALLBACK editWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace frontend
