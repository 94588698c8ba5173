// What the front end writes: exact colours, the cells that changed and
// nothing else, and text that can never be taken for a control sequence.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tui/cell_grid.hpp"
#include "tui/escapes.hpp"
#include "tui/glyphs.hpp"
#include "tui/palette.hpp"
#include "tui/renderer.hpp"

namespace {

using namespace tui;

TEST(Palette, SixteenEntriesAsExactTruecolour) {
  const char* want[16] = {
      "255;255;255", "255;0;0",   "0;0;255",   "0;255;0",   "255;255;0", "0;255;255",
      "255;0;255",   "224;224;224", "128;128;128", "128;0;0", "0;0;128",   "0;96;0",
      "128;128;0",   "0;128;128", "128;0;128", "0;0;0"};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(esc::foreground(paletteRgb(i)), std::string("\x1b[38;2;") + want[i] + "m") << i;
    EXPECT_EQ(esc::background(paletteRgb(i)), std::string("\x1b[48;2;") + want[i] + "m") << i;
  }
}

TEST(Palette, IndicesOutsideTheRangeAreClamped) {
  EXPECT_EQ(paletteRgb(20), paletteRgb(kBlack));
  EXPECT_EQ(paletteRgb(-3), paletteRgb(kWhite));
  EXPECT_EQ(esc::background(kMainBackground), "\x1b[48;2;0;160;0m");
}

TEST(Escapes, StyleSetsEverythingFromACleanState) {
  Cell c{U'x', Rgb{1, 2, 3}, Rgb{4, 5, 6}, kAttrBold | kAttrUnderline};
  EXPECT_EQ(esc::style(c), "\x1b[0;1;4;38;2;1;2;3;48;2;4;5;6m");
  c.attr = kAttrNone;
  EXPECT_EQ(esc::style(c), "\x1b[0;38;2;1;2;3;48;2;4;5;6m");
  EXPECT_EQ(esc::cursorTo(12, 345), "\x1b[12;345H");
}

TEST(Escapes, ModesAreTurnedOnAndBackOff) {
  std::string_view on = esc::enterSequence(), off = esc::leaveSequence();
  for (std::string_view mode : {"\x1b[?1049h", "\x1b[>4;1m", "\x1b[?1036h", "\x1b[?1000h", "\x1b[?1006h"})
    EXPECT_NE(on.find(mode), std::string_view::npos) << mode;
  for (std::string_view mode : {"\x1b[?1049l", "\x1b[>4m", "\x1b[?1036l", "\x1b[?1000l", "\x1b[?1006l",
                                "\x1b[?25h", "\x1b[0m", "\x1b[0 q"})
    EXPECT_NE(off.find(mode), std::string_view::npos) << mode;
  // The alternate screen is left last, so the restored modes apply to the shell's screen.
  EXPECT_EQ(off.substr(off.size() - 8), "\x1b[?1049l");
}

const Rgb kInk = paletteRgb(kBlack), kPaper = paletteRgb(kWhite);

TEST(DrawCells, FullDrawWritesEveryCellWithOneStyleRun) {
  CellGrid g(2, 2, Cell{U' ', kInk, kPaper, kAttrNone});
  g.putText(1, 1, U"ab", kInk, kPaper);
  g.putText(2, 1, U"cd", kInk, kPaper);
  EXPECT_EQ(drawCells(nullptr, g),
            "\x1b[1;1H\x1b[0;38;2;0;0;0;48;2;255;255;255mab\x1b[2;1Hcd");
}

TEST(DrawCells, OnlyChangedCellsAreWritten) {
  CellGrid before(3, 10, Cell{U' ', kInk, kPaper, kAttrNone});
  CellGrid after = before;
  EXPECT_EQ(drawCells(&before, after), "");

  after.putText(2, 4, U"xy", kInk, kPaper);  // adjacent: one move, one style
  after.putText(2, 8, U"z", kInk, kPaper);   // same row further on: a move, no new style
  after.putText(3, 1, U"w", paletteRgb(kRed), kPaper);
  EXPECT_EQ(drawCells(&before, after),
            "\x1b[2;4H\x1b[0;38;2;0;0;0;48;2;255;255;255mxy"
            "\x1b[2;8Hz"
            "\x1b[3;1H\x1b[0;38;2;255;0;0;48;2;255;255;255mw");
}

TEST(DrawCells, ABackgroundChangeAloneIsWritten) {
  CellGrid before(1, 3, Cell{U' ', kInk, kPaper, kAttrNone});
  CellGrid after = before;
  after.at(1, 2).bg = kMainBackground;
  EXPECT_EQ(drawCells(&before, after), "\x1b[1;2H\x1b[0;38;2;0;0;0;48;2;0;160;0m ");
}

TEST(DrawCells, AnotherSizeRedrawsEverything) {
  CellGrid before(1, 2), after(1, 3);
  EXPECT_EQ(drawCells(&before, after), drawCells(nullptr, after));
}

TEST(DrawCells, EightBitTextGoesOutAsUtf8) {
  CellGrid g(1, 4, Cell{U' ', kInk, kPaper, kAttrNone});
  g.putText(1, 1, glyphsOf("\x80\xe9\x9b\xff"), kInk, kPaper);
  EXPECT_EQ(drawCells(nullptr, g),
            "\x1b[1;1H\x1b[0;38;2;0;0;0;48;2;255;255;255m\xe2\x82\xac\xc3\xa9\xe2\x80\xba\xc3\xbf");
}

TEST(DrawCells, ControlCharactersNeverReachTheTerminal) {
  CellGrid g(1, 5, Cell{U' ', kInk, kPaper, kAttrNone});
  g.putText(1, 1, glyphsOf(std::string("\x1b\x07\x7f\x81\x9d", 5)), kInk, kPaper);
  g.at(1, 5).ch = U'\u009b';  // a C1 introducer put in directly
  std::string out = drawCells(nullptr, g);
  std::string text = out.substr(out.rfind('m') + 1);
  EXPECT_EQ(text, "     ");
}

TEST(Glyphs, WideTextThroughTheCodePage) {
  EXPECT_EQ(glyphsOfUtf8("A\xc3\xa9\xe2\x82\xac"), U"A\u00e9\u20ac");
  EXPECT_EQ(glyphsOfUtf8("\xc4\x80"), U"?");  // not in Windows-1252
  EXPECT_EQ(cp1252Of(U'\u20ac'), 0x80);
  EXPECT_EQ(cp1252Of(U'\u0100'), -1);
  EXPECT_EQ(cp1252Of(U'\u0081'), -1);
}

TEST(CellGrid, WritesAreClipped) {
  CellGrid g(2, 3);
  EXPECT_EQ(g.putText(1, 2, U"abcd", kInk, kPaper), 2);
  EXPECT_EQ(g.putText(1, -1, U"xyz", kInk, kPaper), 1);
  EXPECT_EQ(g.at(1, 1).ch, U'z');
  EXPECT_EQ(g.putText(3, 1, U"x", kInk, kPaper), 0);
  g.fillRect(-5, -5, 50, 50, Cell{U'#', kInk, kPaper, kAttrNone});
  EXPECT_EQ(g.at(2, 3).ch, U'#');
  CellGrid empty(0, 10);
  EXPECT_EQ(empty.rows(), 0);
  EXPECT_EQ(empty.cols(), 0);
}

TEST(Renderer, FirstFrameIsFullThenOnlyChanges) {
  Renderer r;
  CellGrid g(2, 3, Cell{U' ', kInk, kPaper, kAttrNone});
  std::string first = r.frame(g, CursorState{});
  EXPECT_EQ(first, std::string(esc::kHideCursor) + drawCells(nullptr, g));
  EXPECT_EQ(r.frame(g, CursorState{}), "");
  g.at(2, 3).ch = U'q';
  // The terminal still draws in the style of the last cell written.
  EXPECT_EQ(r.frame(g, CursorState{}), "\x1b[2;3Hq");
  g.at(1, 1) = Cell{U'r', paletteRgb(kRed), kPaper, kAttrNone};
  EXPECT_EQ(r.frame(g, CursorState{}), "\x1b[1;1H\x1b[0;38;2;255;0;0;48;2;255;255;255mr");
  // After a disturbance neither the cells nor the style are taken as known.
  r.invalidate();
  EXPECT_EQ(r.frame(g, CursorState{}), std::string(esc::kHideCursor) + drawCells(nullptr, g));
}

TEST(DrawCells, AKnownPenIsUsedAndKeptUpToDate) {
  CellGrid before(1, 3, Cell{U' ', kInk, kPaper, kAttrNone});
  CellGrid after = before;
  after.at(1, 2).ch = U'x';
  std::optional<Cell> pen = Cell{U' ', kInk, kPaper, kAttrNone};
  EXPECT_EQ(drawCells(&before, after, &pen), "\x1b[1;2Hx");
  after.at(1, 3).bg = kMainBackground;
  EXPECT_EQ(drawCells(&before, after, &pen), "\x1b[1;2Hx\x1b[0;38;2;0;0;0;48;2;0;160;0m ");
  ASSERT_TRUE(pen.has_value());
  EXPECT_EQ(pen->bg, kMainBackground);
  std::optional<Cell> unknown;
  EXPECT_EQ(drawCells(&before, after, &unknown).substr(0, 9), "\x1b[1;2H\x1b[0");
}

TEST(Renderer, CursorIsPlacedAfterDrawingAndHiddenWhileDrawingMuch) {
  Renderer r;
  CellGrid g(2, 3, Cell{U' ', kInk, kPaper, kAttrNone});
  r.frame(g, CursorState{});
  EXPECT_EQ(r.frame(g, CursorState{true, 2, 2}), "\x1b[2;2H\x1b[?25h");
  EXPECT_EQ(r.frame(g, CursorState{true, 2, 2}), "");
  EXPECT_EQ(r.frame(g, CursorState{true, 1, 3}), "\x1b[1;3H");
  // A small change goes out in one piece with the cursor left on.
  g.at(1, 1).ch = U'a';
  EXPECT_EQ(r.frame(g, CursorState{true, 1, 3}), "\x1b[1;1Ha\x1b[1;3H");
  EXPECT_EQ(r.frame(g, CursorState{false, 1, 3}), "\x1b[?25l");
  // A cursor outside the grid is not shown.
  EXPECT_EQ(r.frame(g, CursorState{true, 9, 9}), "");

  // A large change is drawn with the cursor off and the cursor shown after it.
  CellGrid big(20, 40, Cell{U' ', kInk, kPaper, kAttrNone});
  Renderer rb;
  rb.frame(big, CursorState{true, 1, 1});
  big.fillRect(1, 1, 20, 40, Cell{U'#', kInk, kPaper, kAttrNone});
  std::string out = rb.frame(big, CursorState{true, 1, 1});
  EXPECT_EQ(out.substr(0, 6), esc::kHideCursor);
  EXPECT_EQ(out.substr(out.size() - 12), "\x1b[1;1H\x1b[?25h");
}

TEST(Renderer, CursorShapeIsSentWhenItChanges) {
  using S = esc::CursorStyle;
  Renderer r;
  CellGrid g(2, 3, Cell{U' ', kInk, kPaper, kAttrNone});
  r.frame(g, CursorState{});
  EXPECT_EQ(r.frame(g, CursorState{true, 1, 2, S::kBlinkingUnderline}), "\x1b[3 q\x1b[1;2H\x1b[?25h");
  EXPECT_EQ(r.frame(g, CursorState{true, 1, 2, S::kBlinkingUnderline}), "");
  EXPECT_EQ(r.frame(g, CursorState{true, 1, 2, S::kBlinkingBar}), "\x1b[5 q");
  // Taken away, the cursor gets the terminal's default shape back.
  EXPECT_EQ(r.frame(g, CursorState{}), "\x1b[?25l\x1b[0 q");
  EXPECT_EQ(r.frame(g, CursorState{}), "");
}

}  // namespace
