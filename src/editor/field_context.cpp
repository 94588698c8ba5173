#include "editor/field_context.hpp"

#include <algorithm>

#include "platform/clock.hpp"

namespace editor {

ui::KeyCode waitKey(FieldContext& ctx) {
  for (;;) {
    ui::KeyCode key = ctx.keys.take();
    if (key != 0) return key;
    ctx.host.pump();
    platform::waitTicks(1);
  }
}

bool isPrintableKey(ui::KeyCode key) { return key >= 32 && key <= 255 && key != 127; }

char upperChar(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  // Windows-1252: à-þ (not ÷) lie 32 above their capitals; š œ ž ÿ elsewhere.
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
  switch (u) {
    case 0x9A: return static_cast<char>(0x8A);
    case 0x9C: return static_cast<char>(0x8C);
    case 0x9E: return static_cast<char>(0x8E);
    case 0xFF: return static_cast<char>(0x9F);
    default: return c;
  }
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

int shownWidthOf(const CellSpot& spot, int width) {
  return spot.shownWidth > 0 ? std::min(spot.shownWidth, width) : width;
}

void drawEditedCell(FieldContext& ctx, const CellSpot& spot, std::string_view text, int shown,
                    int cursorOffset) {
  ui::Screen& screen = ctx.screen;
  int fg = screen.setTextColour(ui::kWhite);
  int bg = screen.setBackColour(ui::kBlack);
  screen.gotoCell(spot.row, spot.col);
  screen.putText(fitToWidth(text, shown));
  screen.setTextColour(fg);
  screen.setBackColour(bg);
  screen.gotoCell(spot.row, spot.col + std::clamp(cursorOffset, 0, std::max(shown - 1, 0)));
}

int clickedOffset(const FieldContext& ctx, const CellSpot& spot, int shown) {
  ui::KeyQueue::Cell at = ctx.keys.lastClick();
  if (at.row != spot.row || at.col < spot.col || at.col >= spot.col + shown) return -1;
  return at.col - spot.col;
}

void showWarning(FieldContext& ctx, const std::vector<std::string>& lines, int ticks) {
  if (ctx.warn) ctx.warn(lines, ticks);
}

ui::KeyCode keyWhenFull(FieldContext& ctx, const FieldOptions& opts,
                        const std::function<void()>& redraw) {
  if (!opts.waitWhenFull) return ui::key::kEnter;
  for (;;) {
    redraw();
    ui::KeyCode key = waitKey(ctx);
    if (key != ui::key::kRefresh) return key;
  }
}

std::string fitToWidth(std::string_view text, int width) {
  std::string out(static_cast<std::size_t>(std::max(width, 0)), ' ');
  std::copy_n(text.begin(), std::min(text.size(), out.size()), out.begin());
  return out;
}

}  // namespace editor
