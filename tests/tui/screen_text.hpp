#pragma once
// Reading a cell grid as text in tests: rows as UTF-8, and where a text stands.
#include <string>
#include <string_view>

#include "tui/cell_grid.hpp"
#include "tui/utf8.hpp"

namespace tui_testing {

inline std::string rowText(const tui::CellGrid& g, int row) {
  std::string out;
  for (int c = 1; c <= g.cols(); ++c) tui::appendUtf8(out, g.at(row, c).ch);
  return out;
}

inline std::u32string decode(std::string_view utf8) {
  std::u32string out;
  tui::Utf8Decoder d;
  char32_t c = 0;
  for (char b : utf8)
    if (d.feed(static_cast<unsigned char>(b), c) == tui::Utf8Decoder::kDone) out.push_back(c);
  return out;
}

struct Where {
  int row = 0, col = 0;  // 0 when not found
  explicit operator bool() const { return row != 0; }
};

// The first place text (UTF-8) stands on one row of the grid.
inline Where find(const tui::CellGrid& g, std::string_view text) {
  std::u32string want = decode(text);
  for (int r = 1; r <= g.rows(); ++r) {
    std::u32string row;
    for (int c = 1; c <= g.cols(); ++c) row.push_back(g.at(r, c).ch);
    std::size_t at = row.find(want);
    if (at != std::u32string::npos) return {r, static_cast<int>(at) + 1};
  }
  return {};
}

inline bool has(const tui::CellGrid& g, std::string_view text) { return static_cast<bool>(find(g, text)); }

}  // namespace tui_testing
