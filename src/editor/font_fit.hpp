#pragma once
// Choosing the edit window's font when the window is created: the cell size
// that fits the application's screen format into the window, the grid
// spacing the display settings ask for (dropped when the font would be too
// small for it), and the question whether the screens should be reformatted
// when the font comes out very small or too large.
#include "config/settings.hpp"
#include "ui/edit_window.hpp"

namespace ui { class Host; }

namespace editor {

// Captions and texts of the font messages.
inline constexpr const char* kFontProblemCaption = "Font Size Problem";
inline constexpr const char* kNo3dGridText = "Font Will be Too Small\n3D Grid option won't be used.";
inline constexpr const char* kNoGridText = "Font Will be Too Small\nShow Grid option won't be used.";
inline constexpr const char* kFontErrorCaption = "Font Size Error";
inline constexpr const char* kVerySmallText =
    "Font Will be Very Small\nIt is Recommended That\nThe Screens be Reformatted.\nReformat Screens ?\nIt Can Be Reset Later.";
inline constexpr const char* kTooLargeText =
    "Font Will be Too Large\nIt is Recommended That\nThe Screens be Reformatted.\nReformat Screens ?\nIt Can Be Reset Later.";

// The cell rows of 12 pixels and more that grid lines need.
inline constexpr int kMinGridCellHeight = 12;
// The shrink loop gives up after this many smaller fonts.
inline constexpr int kMaxShrinkSteps = 256;

struct FontFit {
  ui::FontRequest font;      // the font the window was given last
  ui::CellGeometry geometry; // also given to the window
  // The Screen's size: client height / cell height, client width / cell width.
  int rows = 0, columns = 0;
  // The screens are to be laid out anew in layoutRows × layoutColumns (the
  // settings say they were reformatted, or the user agreed just now).
  bool reformat = false;
  int layoutRows = 0, layoutColumns = 0;
  // The settings record changed (the reformatted flag was set): the caller
  // saves it.
  bool saveSettings = false;
  // What the fitting worked with, for refitAfterLayout.
  int usableHeight = 0, touchMargin = 0;
};

// Fits the window's font (window creation). screenColumns × screenRows is
// the application's screen format (2 × 3 when either is 0); productionLevel
// 0-4 (outside: clamped). Reads grid lines, 3D grid lines, bold fonts, font
// size, tall cursor, the keyboard area and the reformatted flag from settings.
// The font is made as high as the maximum cell height ((usable height -
// rows × grid spacing - touch margin) / (rows - 1), one row dividing by 1)
// and fits when its characters are no higher and columns + 1 cells fit the
// client width; one that does not fit loses 3D grid lines, then gets smaller
// one pixel at a time (never below 1, at most kMaxShrinkSteps times).
// Grid options the font is too small for are shown (kNo3dGridText,
// kNoGridText) and left out of the geometry; the record keeps them. A "Yes" to
// the very small / too large question sets the record's reformatted flag and
// saveSettings. The stored font size is used clamped to 7-24 and never
// written back. A cell-based window fits nothing and asks nothing: its own
// rows and columns (also the layout's when the settings say the screens are
// reformatted), 1 × 1 cells, no grid. The geometry is given to the window
// before returning.
FontFit fitEditFont(ui::Host& host, ui::EditWindow& window, config::SettingsRecord& settings, int screenColumns,
                    int screenRows, int productionLevel);

// After the screens were laid out for fit.layoutRows × fit.layoutColumns (and
// the layout asked for it): makes the font again from the preferred size of
// settings and gives the window its geometry. Returns fit with the new font,
// geometry and Screen size; layoutRows × layoutColumns become the cells the
// new font leaves (columns (client width - 1) / cell width - 1, rows
// (client height - touch margin) / cell height - 1). A cell-based window
// keeps its cells.
FontFit refitAfterLayout(ui::EditWindow& window, const config::SettingsRecord& settings, const FontFit& fit);

}  // namespace editor
