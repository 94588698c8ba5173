#pragma once
// GDI drawing of the core's canvas pictures (the navigation display): the
// colour and pen of each ink, the fonts, and the painting itself, kept apart
// from the window so a picture can be painted into any device context.
#include <windows.h>

#include "ui/canvas.hpp"

namespace frontend {

// The cell height of the normal text (circle labels, scale-bar label), in pixels.
inline constexpr int kCanvasTextHeight = 16;
inline constexpr int kCanvasPointRadius = 4;
inline constexpr COLORREF kCanvasBackground = RGB(255, 255, 255);

// The colour an ink is drawn in.
COLORREF inkColour(ui::Ink ink);

// A fixed-pitch font whose character cell is height pixels high (clamped to
// 1..1024). The caller deletes it.
HFONT createCanvasFont(int height);

// The metrics the layout gets for a client area of width x height pixels:
// one character of the normal font measured with GetTextMetrics, scalable
// text, the point radius.
ui::CanvasMetrics canvasMetrics(int width, int height);

// Fills area with the background, then draws drawing in its order:
// polylines, lines, circles (labels to their right), scale bars, texts (each
// in a font of its height, from its top-left). Points far outside area are
// clipped before they reach GDI. dc's selected objects are as before.
void paintDrawing(HDC dc, const ui::Drawing& drawing, RECT area);

}  // namespace frontend
