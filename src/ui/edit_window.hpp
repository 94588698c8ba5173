#pragma once
// What the engine asks of a front end's edit window. The engine's edit
// session owns the Screen and the KeyQueue; Host::openEditWindow shows them
// in a window ("TFP_EditWin", or the whole terminal) until the returned
// EditWindow is destroyed. The window turns native keys, mouse and touch
// buttons into key codes in the queue (ui/key_rules.hpp) and draws the Screen
// whenever its change counter moved, at Host::pump().
#include <functional>
#include <string>
#include <vector>

namespace ui {

class Host;
class Screen;
class KeyQueue;

// A font the engine asks for: pixel height and width of the character cell's
// glyphs, weight (400 normal, 500 and 760 bolder), fixed pitch, modern family
// (pitch-and-family 0x31), character set 0.
struct FontRequest {
  int height = 16;
  int width = 9;
  int weight = 400;
};

// What the window's font gives: character height, internal leading, average
// character width (pixels).
struct FontMetrics {
  int charHeight = 16;
  int internalLeading = 0;
  int averageWidth = 9;
};

// The touch buttons along the window's right edge (production levels 2-4).
struct TouchButton {
  std::string label;   // "AK", "F1" ... "A5" ... "F10" or "F0"
  unsigned key = 0;    // the key it pushes; 0 for "AK" (opens the action keys)
};

// One entry of a pop-up menu: a command (id > 0) or, with items, a submenu.
// A disabled entry is shown but cannot be chosen.
struct MenuItem {
  int id = 0;
  std::string label;  // UTF-8
  bool enabled = true;
  std::vector<MenuItem> items;
};

struct EditWindowSetup {
  std::string title;  // UTF-8
  // Production level 0-4: mouse and touch input from 1; Ctrl+K from 1.
  int productionLevel = 1;
  std::vector<TouchButton> buttons;  // right to left as the engine lays them out
  // Called on the UI thread by the window: F1 pressed on the keyboard (the
  // key is not queued), and Ctrl+K or the "AK" button. Either may be empty.
  std::function<void()> keyboardHelp;
  std::function<void()> actionKeys;
  // The right mouse button over the grid (production level 1 and up): the
  // engine shows its hierarchy menu (Host::popupMenu). May be empty.
  std::function<void()> hierarchyMenu;
  // The GPS status line the window shows beside its title, asked for on the
  // UI thread at most about once a second; empty text: no line. May be empty.
  std::function<std::string()> statusLine;
};

// How often a window asks for its status line.
inline constexpr int kStatusLineEveryMs = 990;

// The cell size the engine chose, for a window that draws with pixels.
struct CellGeometry {
  int cellWidth = 9;        // pixels per column
  int cellHeight = 16;      // pixels per row: font height + grid spacing
  int internalLeading = 0;  // of the font
  int gridSpacing = 0;      // 0, 3 or 8
  bool gridLines = false, grid3d = false;
  bool tallCursor = false;  // the overwrite cursor covers the cell but 10 pixels
};

class EditWindow {
 public:
  explicit EditWindow(Host& host) : host_(host) {}
  // Closes the window and gives the focus back to the main window.
  virtual ~EditWindow();
  EditWindow(const EditWindow&) = delete;
  EditWindow& operator=(const EditWindow&) = delete;

  // True when the window draws text cells of a size it chooses itself (the
  // terminal): the engine then takes rows and columns from cellRows() and
  // cellColumns() and fits no font.
  virtual bool cellBased() const = 0;
  virtual int cellRows() const = 0;
  virtual int cellColumns() const = 0;
  // The client area in pixels (cell-based windows: their columns and rows).
  virtual int clientWidth() const = 0;
  virtual int clientHeight() const = 0;
  // Makes a font of the request the window's font; returns what it gives.
  // Cell-based windows return 1 × 1 cells.
  virtual FontMetrics useFont(const FontRequest& request) = 0;
  // The cell size to draw with from now on.
  virtual void setCellGeometry(const CellGeometry& geometry) = 0;
  // Asks for the window to be brought to the front with the focus.
  virtual void focus() = 0;

  Host& host() const { return host_; }

 private:
  Host& host_;
};

}  // namespace ui
