#pragma once
// What a terminal shows after the bytes the front end wrote: a small model
// that obeys exactly the sequences the front end uses (cursor moves, 24-bit
// SGR colours, bold and underline, cursor shown or hidden and its shape) and
// ignores the modes. Tests read the terminal's cells from it instead of
// trusting the front end's own picture.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tui/palette.hpp"
#include "tui/utf8.hpp"

namespace tui_testing {

struct ModelCell {
  char32_t ch = U' ';
  tui::Rgb fg{}, bg{};
  bool bold = false, underline = false;
};

class TerminalModel {
 public:
  TerminalModel(int rows, int cols) : rows_(rows), cols_(cols), cells_(static_cast<std::size_t>(rows * cols)) {}

  // Obeys bytes (whole sequences; the front end never splits one across writes).
  void feed(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      auto b = static_cast<unsigned char>(bytes[i]);
      if (b == 0x1B && i + 1 < bytes.size() && bytes[i + 1] == '[') {
        std::size_t j = i + 2;
        while (j < bytes.size() && !(bytes[j] >= 0x40 && bytes[j] <= 0x7E)) ++j;
        if (j >= bytes.size()) return;
        csi(bytes.substr(i + 2, j - i - 2), bytes[j]);
        i = j;
        continue;
      }
      if (b < 0x20) continue;  // BEL and the like show nothing
      char32_t c = 0;
      if (utf8_.feed(b, c) == tui::Utf8Decoder::kDone) put(c);
    }
  }

  const ModelCell& at(int row, int col) const {
    return cells_[static_cast<std::size_t>((row - 1) * cols_ + (col - 1))];
  }
  std::string rowText(int row) const {
    std::string out;
    for (int c = 1; c <= cols_; ++c) tui::appendUtf8(out, at(row, c).ch);
    return out;
  }
  int cursorRow() const { return row_; }
  int cursorCol() const { return col_; }
  bool cursorVisible() const { return visible_; }
  int cursorShape() const { return shape_; }  // the last DECSCUSR value, 0 for the default

 private:
  void put(char32_t c) {
    if (row_ >= 1 && row_ <= rows_ && col_ >= 1 && col_ <= cols_) {
      ModelCell& cell = cells_[static_cast<std::size_t>((row_ - 1) * cols_ + (col_ - 1))];
      cell = pen_;
      cell.ch = c;
    }
    ++col_;
  }

  static std::vector<int> numbers(std::string_view s) {
    std::vector<int> out(1, 0);
    for (char ch : s) {
      if (ch == ';') out.push_back(0);
      else if (ch >= '0' && ch <= '9') out.back() = out.back() * 10 + (ch - '0');
    }
    return out;
  }

  void csi(std::string_view params, char final) {
    if (!params.empty() && params[0] == '?') {
      if (params == "?25" && final == 'h') visible_ = true;
      if (params == "?25" && final == 'l') visible_ = false;
      return;
    }
    if (!params.empty() && (params[0] == '>' || params[0] == '<' || params[0] == '=')) return;
    if (final == 'q' && !params.empty() && params.back() == ' ') {
      shape_ = numbers(params.substr(0, params.size() - 1))[0];
      return;
    }
    std::vector<int> p = numbers(params);
    if (final == 'H') {
      row_ = p.size() > 0 && p[0] > 0 ? p[0] : 1;
      col_ = p.size() > 1 && p[1] > 0 ? p[1] : 1;
    } else if (final == 'm') {
      for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == 0) pen_ = ModelCell{};
        else if (p[i] == 1) pen_.bold = true;
        else if (p[i] == 4) pen_.underline = true;
        else if ((p[i] == 38 || p[i] == 48) && i + 4 < p.size() && p[i + 1] == 2) {
          tui::Rgb c{static_cast<std::uint8_t>(p[i + 2]), static_cast<std::uint8_t>(p[i + 3]),
                     static_cast<std::uint8_t>(p[i + 4])};
          (p[i] == 38 ? pen_.fg : pen_.bg) = c;
          i += 4;
        }
      }
    }
  }

  int rows_, cols_;
  std::vector<ModelCell> cells_;
  ModelCell pen_;
  int row_ = 1, col_ = 1;
  bool visible_ = true;
  int shape_ = 0;
  tui::Utf8Decoder utf8_;
};

}  // namespace tui_testing
