#include "ui/screen.hpp"

#include <algorithm>

namespace ui {

char32_t frameGlyph(std::uint8_t b) {
  const bool up = b & kFrameUp, down = b & kFrameDown, left = b & kFrameLeft, right = b & kFrameRight;
  if (!(up || down || left || right)) return 0;
  if ((left || right) && !(up || down)) return U'─';
  if ((up || down) && !(left || right)) return U'│';
  if (down && right && !up && !left) return U'┌';
  if (down && left && !up && !right) return U'┐';
  if (up && right && !down && !left) return U'└';
  if (up && left && !down && !right) return U'┘';
  if (up && down && right && !left) return U'├';
  if (up && down && left && !right) return U'┤';
  if (left && right && down && !up) return U'┬';
  if (left && right && up && !down) return U'┴';
  return U'┼';
}

Screen::Screen(int rows, int cols) { resize(rows, cols); }

void Screen::resize(int rows, int cols) {
  rows_ = std::max(rows, 1);
  cols_ = std::max(cols, 1);
  cells_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), ScreenCell{});
  dirty_.assign(static_cast<std::size_t>(rows_) + 1, 0);
  dirtyCount_ = 0;
  for (Image& i : images_) i = Image{};
  for (Image& i : windows_) i = Image{};
  cursor_.row = std::clamp(cursor_.row, 0, rows_);
  cursor_.col = std::clamp(cursor_.col, 0, cols_);
  markAll();
}

std::array<int, 2> Screen::gotoCell(int row, int col) {
  std::array<int, 2> before{cursor_.row, cursor_.col};
  cursor_.row = std::clamp(row, 1, rows_);
  cursor_.col = std::clamp(col, 1, cols_);
  if (before[0] != cursor_.row || before[1] != cursor_.col) touchCursor();
  return before;
}

int Screen::setTextColour(int index) {
  int before = fg_;
  fg_ = clampColour(index);
  return before;
}

int Screen::setBackColour(int index) {
  int before = bg_;
  bg_ = clampColour(index);
  return before;
}

void Screen::putText(std::string_view text) { putTextN(text, static_cast<int>(text.size())); }

void Screen::putTextN(std::string_view text, int length) {
  int n = std::clamp(length, 0, std::min(kMaxText, static_cast<int>(text.size())));
  // Text is drawn where the cursor stands; one not placed yet writes from the top left.
  const int row = std::max(cursor_.row, 1);
  const int col = std::max(cursor_.col, 1);
  if (row <= rows_) {
    for (int i = 0; i < n; ++i) {
      int c = col + i;
      if (c > cols_) break;
      set(row, c, ScreenCell{static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]),
                             static_cast<std::uint8_t>(fg_), static_cast<std::uint8_t>(bg_), 0});
    }
  }
  // The column advances by the length even past the edge, as the cursor would.
  cursor_.row = row;
  cursor_.col = col + n;
  touchCursor();
}

void Screen::clearScreen(bool inverse) { clearRegion(1, 1, rows_, cols_, inverse); }

void Screen::clearRegion(int top, int left, int bottom, int right, bool inverse) {
  top = std::max(top, 1);
  left = std::max(left, 1);
  bottom = std::min(bottom, rows_);
  right = std::min(right, cols_);
  const ScreenCell blank{' ', static_cast<std::uint8_t>(inverse ? kWhite : kBlack),
                         static_cast<std::uint8_t>(inverse ? kBlack : kWhite), 0};
  for (int r = top; r <= bottom; ++r)
    for (int c = left; c <= right; ++c) set(r, c, blank);
}

void Screen::frameBits(int row, int col, std::uint8_t bits) {
  if (row < 1 || row > rows_ || col < 1 || col > cols_) return;
  ScreenCell c = cell(row, col);
  c.frame = static_cast<std::uint8_t>(c.frame | bits);
  set(row, col, c);
}

void Screen::drawFrame(int top, int left, int bottom, int right, bool wide) {
  if (wide) ++right;
  if (top > bottom || left > right) return;
  if (top == bottom && left == right) return;
  for (int c = left; c <= right; ++c) {
    std::uint8_t h = static_cast<std::uint8_t>((c > left ? kFrameLeft : 0) | (c < right ? kFrameRight : 0));
    frameBits(top, c, static_cast<std::uint8_t>(h | (c == left || c == right ? (top < bottom ? kFrameDown : 0) : 0)));
    if (bottom != top)
      frameBits(bottom, c, static_cast<std::uint8_t>(h | (c == left || c == right ? kFrameUp : 0)));
  }
  for (int r = top + 1; r < bottom; ++r) {
    frameBits(r, left, kFrameUp | kFrameDown);
    if (right != left) frameBits(r, right, kFrameUp | kFrameDown);
  }
}

void Screen::drawBox(int top, int left, int bottom, int right) {
  clearRegion(top, left, bottom, right);
  drawFrame(top - 1, left - 1, bottom + 1, right + 1);
}

void Screen::capture(Image& image) const {
  image.inUse = true;
  image.rows = rows_;
  image.cols = cols_;
  image.cells = cells_;
  image.cursor = cursor_;
}

void Screen::paste(const Image& image) {
  // Images are freed when the size changes, so they always fit.
  for (int r = 1; r <= std::min(rows_, image.rows); ++r)
    for (int c = 1; c <= std::min(cols_, image.cols); ++c)
      set(r, c, image.cells[static_cast<std::size_t>(r - 1) * static_cast<std::size_t>(image.cols) +
                            static_cast<std::size_t>(c - 1)]);
}

bool Screen::saveWindow(int slot) {
  Image& w = windows_[static_cast<std::size_t>(std::clamp(slot, 0, kWindowSlots - 1))];
  if (!w.inUse) capture(w);
  return true;
}

bool Screen::restoreWindow(int slot) {
  Image& w = windows_[static_cast<std::size_t>(std::clamp(slot, 0, kWindowSlots - 1))];
  if (!w.inUse) return false;
  paste(w);
  w = Image{};
  return true;
}

Screen::Image* Screen::slot(int handle) {
  if (handle < 1 || handle > kPopupSlots + kEditorSlots) return nullptr;
  return &images_[static_cast<std::size_t>(handle - 1)];
}

const Screen::Image* Screen::slot(int handle) const {
  if (handle < 1 || handle > kPopupSlots + kEditorSlots) return nullptr;
  return &images_[static_cast<std::size_t>(handle - 1)];
}

int Screen::pushInto(int first, int last) {
  for (int h = first; h <= last; ++h) {
    Image* i = slot(h);
    if (!i->inUse) {
      capture(*i);
      return h;
    }
  }
  return 0;
}

int Screen::pushImage() { return pushInto(1, kPopupSlots); }
int Screen::pushEditorImage() { return pushInto(kPopupSlots + 1, kPopupSlots + kEditorSlots); }

bool Screen::showImage(int handle) {
  const Image* i = slot(handle);
  if (!i || !i->inUse) return false;
  paste(*i);
  return true;
}

bool Screen::popImage(int handle) {
  if (!showImage(handle)) return false;
  *slot(handle) = Image{};
  return true;
}

bool Screen::freeImage(int handle) {
  Image* i = slot(handle);
  if (!i || !i->inUse) return false;
  *i = Image{};
  return true;
}

bool Screen::imageInUse(int handle) const {
  const Image* i = slot(handle);
  return i && i->inUse;
}

bool Screen::suspendCursor(bool suspend) {
  bool before = cursor_.suspended;
  if (before != suspend) {
    cursor_.suspended = suspend;
    touchCursor();
  }
  return before;
}

bool Screen::setInsertCursor(bool insert) {
  bool before = cursor_.insert;
  if (before != insert) {
    cursor_.insert = insert;
    touchCursor();
  }
  return before;
}

const ScreenCell& Screen::at(int row, int col) const {
  row = std::clamp(row, 1, rows_);
  col = std::clamp(col, 1, cols_);
  return cells_[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(cols_) +
                static_cast<std::size_t>(col - 1)];
}

std::string Screen::rowText(int row) const {
  std::string s(static_cast<std::size_t>(cols_), ' ');
  if (row < 1 || row > rows_) return s;
  for (int c = 1; c <= cols_; ++c) s[static_cast<std::size_t>(c - 1)] = static_cast<char>(at(row, c).ch);
  return s;
}

bool Screen::rowDirty(int row) const {
  return row >= 1 && row <= rows_ && dirty_[static_cast<std::size_t>(row)] != 0;
}

void Screen::clearDirty() {
  std::fill(dirty_.begin(), dirty_.end(), 0);
  dirtyCount_ = 0;
}

void Screen::set(int row, int col, const ScreenCell& c) {
  ScreenCell& now = cell(row, col);
  if (now == c) return;
  now = c;
  markRow(row);
}

void Screen::markRow(int row) {
  ++changes_;
  std::uint8_t& d = dirty_[static_cast<std::size_t>(row)];
  if (!d) {
    d = 1;
    ++dirtyCount_;
  }
}

void Screen::markAll() {
  for (int r = 1; r <= rows_; ++r) markRow(r);
}

void Screen::touchCursor() { ++changes_; }

}  // namespace ui
