#pragma once
// The canvas window ("NavGraphWin"): the modal pop-up that shows a picture
// the core lays out (the navigation display). Its behaviour is the core's
// ui::CanvasState; this window feeds it the close keys, the menu commands,
// the timer and the size, and paints its Drawing (canvas_painter.hpp).
#include <windows.h>

#include "ui/canvas.hpp"
#include "ui/host.hpp"

namespace frontend {

// The procedure of the canvas window class. A window of the class made
// other than by runCanvasWindow behaves as a plain window.
LRESULT CALLBACK canvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the canvas window of desc (class desc.windowClass, kNavGraphClass
// when empty; it must be registered with canvasWindowProc) titled
// desc.title with desc.menu as its menu bar, over the main window's
// rectangle (owner's root owner; the work area when owner is null), owned
// by owner and focused. owner is disabled while it is open, like a dialog's.
// The window runs its own message loop, so posted work keeps running, until
// the state ends: a close key, the close box, the controller's end(), the
// window destroyed along with its owner, or WM_QUIT (left in the queue for
// the program's loop; result 0). Then owner is enabled again and gets the
// focus back.
// Returns {true, 0, result}; {false, GetLastError(), 0} when the window or
// its menu cannot be made (the controller was not called then).
ui::Host::CanvasOutcome runCanvasWindow(HINSTANCE instance, HWND owner, const ui::CanvasWindowDesc& desc,
                                        ui::CanvasController& controller);

}  // namespace frontend
