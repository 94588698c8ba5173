#include "apps/level_records.hpp"

#include <algorithm>

namespace apps {

namespace {
std::size_t headingOffset(int i) {
  return layout::screen::kHeadings + layout::screen::kHeadingSize * detail::clampIndex(i, layout::screen::kMaxHeadings);
}
std::size_t screenOffset(int i) {
  return layout::level_header::kScreens +
         layout::level_header::kScreenSize * detail::clampIndex(i, layout::level_header::kMaxScreens);
}
}  // namespace

ScreenDef::Heading ScreenDef::heading(int i) const {
  namespace s = layout::screen;
  std::size_t at = headingOffset(i);
  Heading h;
  h.label = text8(at + s::kHeadingLabel, s::kHeadingLabelSize);
  h.level = i16(at + s::kHeadingLevel);
  h.column = i16(at + s::kHeadingColumn);
  h.row = i16(at + s::kHeadingRow);
  h.col = i16(at + s::kHeadingCol);
  h.width = i16(at + s::kHeadingWidth);
  return h;
}

void ScreenDef::setHeading(int i, const Heading& h) {
  namespace s = layout::screen;
  std::size_t at = headingOffset(i);
  setText8(at + s::kHeadingLabel, s::kHeadingLabelSize, h.label);
  setI16(at + s::kHeadingLevel, static_cast<std::int16_t>(h.level));
  setI16(at + s::kHeadingColumn, static_cast<std::int16_t>(h.column));
  setI16(at + s::kHeadingRow, static_cast<std::int16_t>(h.row));
  setI16(at + s::kHeadingCol, static_cast<std::int16_t>(h.col));
  setI16(at + s::kHeadingWidth, static_cast<std::int16_t>(h.width));
}

ScreenDef LevelHeader::screen(int i) const {
  ScreenDef s;
  auto first = bytes().begin() + static_cast<std::ptrdiff_t>(screenOffset(i));
  std::copy(first, first + static_cast<std::ptrdiff_t>(ScreenDef::kSize), s.bytes().begin());
  return s;
}

void LevelHeader::setScreen(int i, const ScreenDef& s) {
  std::copy(s.bytes().begin(), s.bytes().end(),
            bytes().begin() + static_cast<std::ptrdiff_t>(screenOffset(i)));
}

}  // namespace apps
