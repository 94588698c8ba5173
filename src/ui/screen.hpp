#pragma once
// The character-cell model of the edit window: rows × columns of cells, each
// an 8-bit (Windows-1252) character with a text and a background colour index
// and the frame lines that run through it; the cursor; 15 image slots and 5
// whole-window save slots (copies of every cell); a change counter with dirty
// rows. The engine and runtime programs write it on the UI thread; the front
// ends draw it whenever it changed and repaint from it whenever they like.
//
// Rows and columns count from 1. Cell (r, c) is the one the front ends draw at
// x (c-1)·w … c·w-1, y (r-1)·h … r·h-1 for a cell of w × h pixels, for text,
// clears, frames, the cursor and the mouse alike. Every write is clipped to
// the screen; nothing outside it is ever touched.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ui/palette.hpp"

namespace ui {

// Frame lines through a cell: each bit is a half line from the cell's centre
// to one of its sides, so a corner joins two and an edge joins two opposite.
enum FrameBits : std::uint8_t {
  kFrameUp = 1, kFrameDown = 2, kFrameLeft = 4, kFrameRight = 8,
};

struct ScreenCell {
  std::uint8_t ch = ' ';
  std::uint8_t fg = kBlack;
  std::uint8_t bg = kWhite;
  std::uint8_t frame = 0;  // FrameBits
  friend bool operator==(const ScreenCell&, const ScreenCell&) = default;
};

// The box-drawing character (Unicode) of a cell's frame bits, or 0 for none.
char32_t frameGlyph(std::uint8_t frameBits);

struct CursorShape {
  int row = 0, col = 0;    // 0: not placed yet
  bool suspended = false;  // taken off while something is drawn or a list is up
  bool insert = false;     // half-cell block (insert) instead of an underline
  // The front ends show the cursor only when this is true.
  bool visible(int rows, int cols) const {
    return !suspended && row >= 1 && col >= 1 && row <= rows && col <= cols;
  }
  friend bool operator==(const CursorShape&, const CursorShape&) = default;
};

class Screen {
 public:
  static constexpr int kMaxText = 255;      // longer texts are cut
  static constexpr int kPopupSlots = 10;    // handles 1-10
  static constexpr int kEditorSlots = 5;    // handles 11-15
  static constexpr int kWindowSlots = 5;    // whole-window slots 0-4

  // A screen of rows × cols blank cells (black on white); sizes below 1 count as 1.
  explicit Screen(int rows = 25, int cols = 80);

  // Gives the screen a new size: every cell blank, the cursor and colours
  // kept, every image slot freed (their copies no longer fit).
  void resize(int rows, int cols);
  int rows() const { return rows_; }
  int cols() const { return cols_; }

  // --- cursor and colours
  // Moves the cursor, clipped to the screen; returns the previous position
  // as {row, col}.
  std::array<int, 2> gotoCell(int row, int col);
  int row() const { return cursor_.row; }
  int col() const { return cursor_.col; }
  // Clamp to 0-15, make current; return the previous index.
  int setTextColour(int index);
  int setBackColour(int index);
  int textColour() const { return fg_; }
  int backColour() const { return bg_; }

  // --- text
  // Writes text at the cursor in the current colours and advances the cursor
  // column by its length; texts longer than 255 are cut to 255. Cells that
  // fall outside the screen are skipped (the column still advances).
  void putText(std::string_view text);
  // The first length characters of text (length cut to 255 and to text's size).
  void putTextN(std::string_view text, int length);

  // --- clearing and frames
  // Every cell blank on white, or on black with inverse; the current colours stay.
  void clearScreen(bool inverse = false);
  // The cells of the rectangle (inclusive, clipped) blank on white or black;
  // their frame lines go too. An empty rectangle does nothing.
  void clearRegion(int top, int left, int bottom, int right, bool inverse = false);
  // Draws a frame whose lines run through the cells of rows top and bottom
  // and columns left and right (right + 1 with wide), clipped.
  void drawFrame(int top, int left, int bottom, int right, bool wide = false);
  // Clears the cells, then frames them one cell outside.
  void drawBox(int top, int left, int bottom, int right);

  // --- images
  // Copy every cell (and the cursor) into whole-window slot 0-4 (clamped).
  // Saving into a slot in use does nothing and reports success (true).
  bool saveWindow(int slot);
  // Copies the slot back and frees it; a free slot returns false and draws nothing.
  bool restoreWindow(int slot);
  // A copy of every cell in the first free pop-up slot: handle 1-10, or 0
  // when all ten are in use.
  int pushImage();
  // The same over the editor's slots: handle 11-15, or 0.
  int pushEditorImage();
  // Copies the image back; the slot stays. False (nothing drawn) for a handle
  // outside 1-15 or a free slot.
  bool showImage(int handle);
  // showImage, then frees the slot.
  bool popImage(int handle);
  // Frees the slot without drawing; false for a free slot or a bad handle.
  bool freeImage(int handle);
  bool imageInUse(int handle) const;

  // --- cursor shape
  // 1 suspends the cursor (it is not shown), 0 resumes; returns the previous flag.
  bool suspendCursor(bool suspend);
  // 1 for the insert shape, anything else for overwrite; returns the previous mode.
  bool setInsertCursor(bool insert);
  const CursorShape& cursor() const { return cursor_; }

  // --- reading (front ends and tests)
  const ScreenCell& at(int row, int col) const;  // clamped into the screen
  // The characters of a row as stored (8-bit), cols() long.
  std::string rowText(int row) const;

  // Counts every change of a cell or of the cursor; a front end redraws when
  // it differs from the value it drew.
  std::uint64_t changeCount() const { return changes_; }
  // Rows whose cells changed since clearDirty().
  bool rowDirty(int row) const;
  bool anyDirty() const { return dirtyCount_ > 0; }
  void clearDirty();

 private:
  struct Image {
    bool inUse = false;
    int rows = 0, cols = 0;
    std::vector<ScreenCell> cells;
    CursorShape cursor;
  };

  ScreenCell& cell(int row, int col) {
    return cells_[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_) +
                  static_cast<std::size_t>(col - 1)];
  }
  void set(int row, int col, const ScreenCell& c);
  void markRow(int row);
  void markAll();
  void touchCursor();
  void frameBits(int row, int col, std::uint8_t bits);
  void capture(Image& image) const;
  void paste(const Image& image);
  Image* slot(int handle);
  const Image* slot(int handle) const;
  int pushInto(int first, int last);

  int rows_ = 1, cols_ = 1;
  std::vector<ScreenCell> cells_;
  std::vector<std::uint8_t> dirty_;
  int dirtyCount_ = 0;
  int fg_ = kBlack, bg_ = kWhite;
  CursorShape cursor_;
  std::array<Image, kPopupSlots + kEditorSlots> images_{};
  std::array<Image, kWindowSlots> windows_{};
  std::uint64_t changes_ = 0;
};

}  // namespace ui
