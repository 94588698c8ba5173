#pragma once
// The progress window: a small modal dialog showing the worker's percentage
// and text line until the worker finishes.
#include <windows.h>

#include "ui/progress.hpp"

namespace frontend {

// Shows the window over owner until progress is finished.
void runProgressDialog(HINSTANCE instance, HWND owner, const ui::ProgressSpec& spec,
                       ui::Progress& progress);

}  // namespace frontend
