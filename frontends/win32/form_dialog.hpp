#pragma once
// Shows a ui::Form as a modal Win32 dialog: the form becomes an in-memory
// dialog template (dialog units as they stand), the controller is fed the
// dialog's events, and its FormView calls act on the real controls.
#include <windows.h>

#include "ui/form.hpp"

namespace frontend {

// Runs the dialog centred over owner (or the screen when owner is null) until
// the controller ends it; returns the value it ended with (0 when Windows
// cannot make the dialog).
int runFormDialog(HINSTANCE instance, HWND owner, const ui::Form& form,
                  ui::FormController& controller);

}  // namespace frontend
