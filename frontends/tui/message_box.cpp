#include "message_box.hpp"

#include <algorithm>

#include "glyphs.hpp"
#include "palette.hpp"
#include "ui/host.hpp"

namespace tui {

namespace {

struct ButtonSpec {
  const char32_t* label;
  int answer;
};

std::vector<ButtonSpec> buttonsFor(unsigned flags, int& escapeAnswer, int& endAnswer) {
  switch (flags & ui::kMbButtonMask) {
    case ui::kMbOkCancel:
      escapeAnswer = endAnswer = ui::kIdCancel;
      return {{U"OK", ui::kIdOk}, {U"Cancel", ui::kIdCancel}};
    case ui::kMbAbortRetryIgnore:
      // No Cancel button: Escape does nothing; a lost terminal aborts.
      escapeAnswer = 0, endAnswer = ui::kIdAbort;
      return {{U"Abort", ui::kIdAbort}, {U"Retry", ui::kIdRetry}, {U"Ignore", ui::kIdIgnore}};
    case ui::kMbYesNoCancel:
      escapeAnswer = endAnswer = ui::kIdCancel;
      return {{U"Yes", ui::kIdYes}, {U"No", ui::kIdNo}, {U"Cancel", ui::kIdCancel}};
    case ui::kMbYesNo:
      escapeAnswer = endAnswer = ui::kIdNo;
      return {{U"Yes", ui::kIdYes}, {U"No", ui::kIdNo}};
    case ui::kMbRetryCancel:
      escapeAnswer = endAnswer = ui::kIdCancel;
      return {{U"Retry", ui::kIdRetry}, {U"Cancel", ui::kIdCancel}};
    default:
      escapeAnswer = endAnswer = ui::kIdOk;
      return {{U"OK", ui::kIdOk}};
  }
}

// Splits at "\n" (a "\r" before it is dropped) and turns each line into cells.
std::vector<std::u32string> splitLines(std::string_view text) {
  std::vector<std::u32string> out;
  while (true) {
    std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back(glyphsOfUtf8(line));
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return out;
}

// Greedy wrap at blanks; a word longer than the width is cut.
void wrapInto(std::u32string line, std::size_t width, std::vector<std::u32string>& out) {
  while (line.size() > width) {
    std::size_t cut = line.rfind(U' ', width);
    std::size_t next = cut;
    if (cut == std::u32string::npos || cut == 0) cut = next = width;
    else next = cut + 1;
    out.push_back(line.substr(0, cut));
    line.erase(0, next);
    std::size_t firstWord = line.find_first_not_of(U' ');
    line.erase(0, firstWord == std::u32string::npos ? line.size() : firstWord);
  }
  out.push_back(std::move(line));
}

const Cell kBody{U' ', paletteRgb(kBlack), paletteRgb(kLtGray), kAttrNone};

}  // namespace

MessageBoxLayout layoutMessageBox(std::string_view text, std::string_view caption, unsigned flags,
                                  int rows, int cols) {
  MessageBoxLayout box;
  box.screenRows = rows, box.screenCols = cols;
  std::vector<ButtonSpec> descs = buttonsFor(flags, box.escapeAnswer, box.endAnswer);
  unsigned def = flags & ui::kMbDefMask;
  std::size_t defIndex = def == ui::kMbDefButton2 ? 1 : def == ui::kMbDefButton3 ? 2 : 0;
  box.defaultButton = defIndex < descs.size() ? static_cast<int>(defIndex) : 0;

  // Frame and two blanks on each side of the text.
  const int maxInner = std::max(cols - 6, 1);
  for (std::u32string& line : splitLines(text))
    wrapInto(std::move(line), static_cast<std::size_t>(maxInner), box.lines);
  const int maxLines = std::max(rows - 5, 0);
  if (static_cast<int>(box.lines.size()) > maxLines) box.lines.resize(static_cast<std::size_t>(maxLines));

  int buttonsWidth = 0;
  for (const ButtonSpec& s : descs) buttonsWidth += static_cast<int>(std::u32string_view(s.label).size()) + 4 + 2;
  buttonsWidth -= 2;
  box.caption = glyphsOfUtf8(caption);

  int inner = std::max(buttonsWidth, static_cast<int>(box.caption.size()) + 2);
  for (const std::u32string& line : box.lines) inner = std::max(inner, static_cast<int>(line.size()));
  inner = std::clamp(std::max(inner, 16), 1, maxInner);
  const int width = inner + 6;
  const int height = static_cast<int>(box.lines.size()) + 5;

  box.top = std::max((rows - height) / 2 + 1, 1);
  box.left = std::max((cols - width) / 2 + 1, 1);
  box.bottom = box.top + height - 1;
  box.right = box.left + width - 1;
  if (static_cast<int>(box.caption.size()) > width - 4)
    box.caption.resize(static_cast<std::size_t>(std::max(width - 4, 0)));
  box.textTop = box.top + 2;
  box.textLeft = box.left + 3;

  int col = box.left + std::max((width - buttonsWidth) / 2, 1);
  for (const ButtonSpec& s : descs) {
    BoxButton b;
    b.label = s.label;
    b.answer = s.answer;
    b.hotkey = static_cast<char>(b.label[0]);
    b.row = box.bottom - 1;
    b.col = col;
    b.width = static_cast<int>(b.label.size()) + 4;
    col += b.width + 2;
    box.buttons.push_back(std::move(b));
  }
  return box;
}

void drawMessageBox(CellGrid& grid, const MessageBoxLayout& box, int focused) {
  const Rgb ink = kBody.fg, paper = kBody.bg;
  grid.fillRect(box.top, box.left, box.bottom, box.right, kBody);
  auto put = [&](int row, int col, char32_t ch) {
    if (grid.contains(row, col)) grid.at(row, col) = Cell{ch, ink, paper, kAttrNone};
  };
  for (int c = box.left + 1; c < box.right; ++c) put(box.top, c, U'\u2500'), put(box.bottom, c, U'\u2500');
  for (int r = box.top + 1; r < box.bottom; ++r) put(r, box.left, U'\u2502'), put(r, box.right, U'\u2502');
  put(box.top, box.left, U'\u250C');
  put(box.top, box.right, U'\u2510');
  put(box.bottom, box.left, U'\u2514');
  put(box.bottom, box.right, U'\u2518');

  if (!box.caption.empty()) {
    std::u32string title = U" " + box.caption + U" ";
    int width = box.right - box.left + 1;
    int col = box.left + std::max((width - static_cast<int>(title.size())) / 2, 1);
    grid.putText(box.top, col, title, paletteRgb(kWhite), paletteRgb(kDkBlue), kAttrBold);
  }
  for (std::size_t i = 0; i < box.lines.size(); ++i)
    grid.putText(box.textTop + static_cast<int>(i), box.textLeft, box.lines[i], ink, paper);

  for (std::size_t i = 0; i < box.buttons.size(); ++i) {
    const BoxButton& b = box.buttons[i];
    bool on = static_cast<int>(i) == focused;
    Rgb fg = on ? paletteRgb(kWhite) : ink, bg = on ? paletteRgb(kDkBlue) : paper;
    std::uint8_t attr = on ? kAttrBold : kAttrNone;
    grid.putText(b.row, b.col, U"[ " + b.label + U" ]", fg, bg, attr);
    if (grid.contains(b.row, b.col + 2)) grid.at(b.row, b.col + 2).attr |= kAttrUnderline;
  }
}

int MessageBoxInput::onEvent(const InputEvent& e) {
  const auto& buttons = box_->buttons;
  const int n = static_cast<int>(buttons.size());
  if (n == 0) return 0;
  switch (e.key) {
    case ui::key::kLeft:
    case ui::key::kShiftTab:
      focused_ = (focused_ + n - 1) % n;
      return 0;
    case ui::key::kRight:
    case ui::key::kTab:
      focused_ = (focused_ + 1) % n;
      return 0;
    case ui::key::kEnter:
    case ' ':
      return buttons[static_cast<std::size_t>(focused_)].answer;
    case ui::key::kEscape:
      return box_->escapeAnswer;
    case ui::key::kMouseClick:
    case ui::key::kMouseDoubleClick:
      for (const BoxButton& b : buttons)
        if (e.row == b.row && e.col >= b.col && e.col < b.col + b.width) return b.answer;
      return 0;
    default:
      break;
  }
  for (const BoxButton& b : buttons) {
    bool letter = e.key < 0x80 && (e.key & ~0x20) == static_cast<unsigned char>(b.hotkey);
    if (letter || e.key == ui::key::altLetter(b.hotkey)) return b.answer;
  }
  return 0;
}

}  // namespace tui
