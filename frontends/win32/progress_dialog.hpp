#pragma once
// The progress window: a small modal dialog showing the worker's percentage
// and text line until the worker finishes.
#include <windows.h>

#include "ui/progress.hpp"

namespace frontend {

// The window's controls: the first text line, the worker's line, the bar.
inline constexpr int kProgressLine1 = 101, kProgressLine2 = 102, kProgressBar = 103;

// Shows the window over owner until progress is finished.
void runProgressDialog(HINSTANCE instance, HWND owner, const ui::ProgressSpec& desc,
                       ui::Progress& progress);

}  // namespace frontend
