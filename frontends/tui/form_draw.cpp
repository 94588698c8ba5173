#include "form_draw.hpp"

#include <algorithm>

#include "access_text.hpp"
#include "glyphs.hpp"

namespace tui {

namespace {

using K = ui::ControlKind;

std::u32string cut(std::u32string s, int width) {
  if (static_cast<int>(s.size()) > width) s.resize(static_cast<std::size_t>(std::max(width, 0)));
  return s;
}

// Splits at "\n" and wraps each line at blanks to width (long words are cut).
std::vector<std::u32string> wrap(const std::u32string& text, int width) {
  std::vector<std::u32string> out;
  const std::size_t w = static_cast<std::size_t>(std::max(width, 1));
  std::size_t start = 0;
  while (true) {
    std::size_t nl = text.find(U'\n', start);
    std::u32string line = text.substr(start, nl == std::u32string::npos ? std::u32string::npos : nl - start);
    while (line.size() > w) {
      std::size_t at = line.rfind(U' ', w);
      if (at == std::u32string::npos || at == 0) {
        out.push_back(line.substr(0, w));
        line.erase(0, w);
      } else {
        out.push_back(line.substr(0, at));
        line.erase(0, at + 1);
      }
    }
    out.push_back(line);
    if (nl == std::u32string::npos) break;
    start = nl + 1;
  }
  return out;
}

// Glyphs of UTF-8 text with line breaks kept (glyphsOfUtf8 would blank them).
std::u32string glyphsKeepingBreaks(std::string_view utf8) {
  std::u32string out;
  std::size_t start = 0;
  while (true) {
    std::size_t nl = utf8.find('\n', start);
    out += glyphsOfUtf8(utf8.substr(start, nl == std::string_view::npos ? std::string_view::npos : nl - start));
    if (nl == std::string_view::npos) break;
    out.push_back(U'\n');
    start = nl + 1;
  }
  return out;
}

struct Pen {
  Rgb ink, paper;
};

void underlineAt(CellGrid& grid, int row, int col) {
  if (grid.contains(row, col)) grid.at(row, col).attr |= kAttrUnderline;
}

void drawStatic(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, Pen pen) {
  std::string raw = s.text(c.id);
  AccessText label = accessText(raw);
  bool single = raw.find('\n') == std::string::npos && static_cast<int>(label.text.size()) <= r.cols;
  std::vector<std::u32string> lines = single ? std::vector<std::u32string>{label.text}
                                             : wrap(glyphsKeepingBreaks(raw), r.cols);
  for (int i = 0; i < r.rows && i < static_cast<int>(lines.size()); ++i) {
    std::u32string line = cut(lines[static_cast<std::size_t>(i)], r.cols);
    int col = r.col;
    if (c.centred) col += (r.cols - static_cast<int>(line.size())) / 2;
    grid.putText(r.row + i, col, line, pen.ink, pen.paper);
    if (single && label.underline >= 0) underlineAt(grid, r.row, col + label.underline);
  }
}

void drawEdit(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, bool focused,
              bool enabled, CursorState& cursor) {
  const bool typing = enabled && !c.readOnly;
  const Rgb ink = enabled ? dialogInk() : dimInk();
  const Rgb paper = typing ? fieldPaper() : dialogPaper();
  grid.fillRect(r.row, r.col, r.bottom(), r.right(), Cell{U' ', ink, paper, kAttrNone});
  std::string text = s.text(c.id);
  std::u32string shown = c.password ? std::u32string(glyphsOfUtf8(text).size(), U'*') : glyphsOfUtf8(text);
  // The end of a long text stays in sight, with a cell left for the cursor.
  const int room = focused ? std::max(r.cols - 1, 1) : r.cols;
  if (static_cast<int>(shown.size()) > room) shown = shown.substr(shown.size() - static_cast<std::size_t>(room));
  grid.putText(r.row, r.col, shown, ink, paper);
  if (focused && typing) {
    cursor.visible = true;
    cursor.row = r.row;
    cursor.col = std::min(r.col + static_cast<int>(shown.size()), r.right());
  }
}

void drawMark(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, bool focused,
              Pen pen) {
  const bool on = s.checked(c.id);
  std::u32string mark = c.kind == K::CheckBox ? (on ? U"[x] " : U"[ ] ") : (on ? U"(*) " : U"( ) ");
  AccessText label = accessText(s.text(c.id));
  grid.putText(r.row, r.col, cut(mark, r.cols), pen.ink, pen.paper);
  int room = r.cols - 4;
  if (room <= 0) return;
  std::u32string text = cut(label.text, room);
  Pen p = focused ? Pen{focusInk(), focusPaper()} : pen;
  grid.putText(r.row, r.col + 4, text, p.ink, p.paper);
  if (label.underline >= 0 && label.underline < room) underlineAt(grid, r.row, r.col + 4 + label.underline);
}

void drawButton(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, bool focused,
                Pen pen) {
  AccessText label = accessText(s.text(c.id));
  std::u32string face = buttonFace(label.text, c.defaultButton, r.cols);
  int col = r.col + (r.cols - static_cast<int>(face.size())) / 2;
  Pen p = focused ? Pen{focusInk(), focusPaper()} : pen;
  std::uint8_t attr = c.defaultButton ? kAttrBold : kAttrNone;
  grid.putText(r.row, col, face, p.ink, p.paper, attr);
  if (label.underline >= 0) {
    std::size_t at = face.find(label.text);
    if (at != std::u32string::npos && label.underline < static_cast<int>(face.size() - at))
      underlineAt(grid, r.row, col + static_cast<int>(at) + label.underline);
  }
}

void drawList(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, bool focused,
              bool enabled, int top) {
  const Rgb ink = enabled ? dialogInk() : dimInk();
  grid.fillRect(r.row, r.col, r.bottom(), r.right(), Cell{U' ', ink, fieldPaper(), kAttrNone});
  std::vector<std::string> items = s.items(c.id);
  const int n = static_cast<int>(items.size());
  const bool marks = n > r.rows && r.cols > 1;
  const int width = marks ? r.cols - 1 : r.cols;
  const int sel = s.selection(c.id);
  for (int i = 0; i < r.rows && top + i < n; ++i) {
    const int index = top + i;
    Pen p{ink, fieldPaper()};
    if (index == sel) p = focused ? Pen{focusInk(), focusPaper()} : Pen{focusInk(), dimInk()};
    std::u32string text = cut(glyphsOfUtf8(items[static_cast<std::size_t>(index)]), width);
    text.resize(static_cast<std::size_t>(width), U' ');
    grid.putText(r.row + i, r.col, text, p.ink, p.paper);
  }
  if (marks) {
    grid.fillRect(r.row, r.right(), r.bottom(), r.right(), Cell{U'\u2591', dimInk(), fieldPaper(), kAttrNone});
    if (top > 0) grid.putText(r.row, r.right(), U"\u25B2", ink, fieldPaper());
    if (top + r.rows < n) grid.putText(r.bottom(), r.right(), U"\u25BC", ink, fieldPaper());
  }
}

void drawDropDown(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, bool focused,
                  bool enabled) {
  const Rgb ink = enabled ? dialogInk() : dimInk();
  grid.fillRect(r.row, r.col, r.row, r.right(), Cell{U' ', ink, fieldPaper(), kAttrNone});
  std::vector<std::string> items = s.items(c.id);
  const int sel = s.selection(c.id);
  const int width = std::max(r.cols - 1, 0);
  if (sel >= 0 && sel < static_cast<int>(items.size())) {
    std::u32string text = cut(glyphsOfUtf8(items[static_cast<std::size_t>(sel)]), width);
    Pen p = focused ? Pen{focusInk(), focusPaper()} : Pen{ink, fieldPaper()};
    grid.putText(r.row, r.col, text, p.ink, p.paper);
  }
  if (r.cols > 1) grid.putText(r.row, r.right(), U"\u25BC", ink, dialogPaper());
}

void drawProgress(CellGrid& grid, const CellRect& r, int percent) {
  const int filled = r.cols * std::clamp(percent, 0, 100) / 100;
  std::u32string label = glyphsOfUtf8(std::to_string(std::clamp(percent, 0, 100)) + "%");
  const int at = (r.cols - static_cast<int>(label.size())) / 2;
  for (int i = 0; i < r.cols; ++i) {
    bool done = i < filled;
    char32_t ch = (i >= at && i - at < static_cast<int>(label.size())) ? label[static_cast<std::size_t>(i - at)] : U' ';
    Rgb paper = done ? focusPaper() : fieldPaper();
    Rgb ink = done ? focusInk() : dialogInk();
    if (grid.contains(r.row, r.col + i)) grid.at(r.row, r.col + i) = Cell{ch, ink, paper, kAttrBold};
  }
}

void drawGroup(CellGrid& grid, const ui::Control& c, const CellRect& r, const ui::FormState& s, Pen pen) {
  drawFrameLines(grid, r, pen.ink, pen.paper);
  AccessText label = accessText(s.text(c.id));
  if (label.text.empty() || r.cols < 5) return;
  std::u32string text = U" " + cut(label.text, r.cols - 4) + U" ";
  grid.putText(r.row, r.col + 1, text, pen.ink, pen.paper);
  if (label.underline >= 0 && label.underline < r.cols - 4) underlineAt(grid, r.row, r.col + 2 + label.underline);
}

void drawPopup(CellGrid& grid, const FormLayout& layout, const ui::FormState& s, const FormInput& input) {
  CellRect r = input.popup(layout);
  std::vector<std::string> items = s.items(input.openList());
  const int top = input.popupTop(layout);
  grid.fillRect(r.row, r.col, r.bottom(), r.right(), Cell{U' ', dialogInk(), fieldPaper(), kAttrNone});
  for (int i = 0; i < r.rows && top + i < static_cast<int>(items.size()); ++i) {
    bool on = top + i == input.highlight();
    std::u32string text = cut(glyphsOfUtf8(items[static_cast<std::size_t>(top + i)]), r.cols);
    text.resize(static_cast<std::size_t>(std::max(r.cols, 0)), U' ');
    grid.putText(r.row + i, r.col, text, on ? focusInk() : dialogInk(), on ? focusPaper() : fieldPaper());
  }
}

}  // namespace

std::u32string buttonFace(const std::u32string& label, bool isDefault, int width) {
  const std::u32string forms[] = {isDefault ? U"<< " + label + U" >>" : U"< " + label + U" >",
                                  isDefault ? U"<<" + label + U">>" : U"<" + label + U">", label};
  for (const std::u32string& f : forms)
    if (static_cast<int>(f.size()) <= width) return f;
  return cut(label, width);
}

CursorState drawForm(CellGrid& grid, const FormLayout& layout, const ui::FormState& state,
                     const FormInput& input) {
  CursorState cursor;
  drawBox(grid, layout.box, dialogInk(), dialogPaper());
  drawTitle(grid, layout.box, glyphsOfUtf8(state.caption()));
  const auto& cs = state.form().controls;
  for (std::size_t i = 0; i < cs.size() && i < layout.controls.size(); ++i) {
    const ui::Control& c = cs[i];
    if (!state.isVisible(c.id)) continue;
    const CellRect& r = layout.controls[i];
    const bool enabled = state.isEnabled(c.id);
    const bool focused = state.focus() == c.id && input.openList() == 0;
    const Pen pen{enabled ? dialogInk() : dimInk(), dialogPaper()};
    switch (c.kind) {
      case K::Static: drawStatic(grid, c, r, state, pen); break;
      case K::Edit: drawEdit(grid, c, r, state, focused, enabled, cursor); break;
      case K::CheckBox:
      case K::Radio: drawMark(grid, c, r, state, focused, pen); break;
      case K::Button: drawButton(grid, c, r, state, focused, pen); break;
      case K::ListBox: drawList(grid, c, r, state, focused, enabled, input.listTop(c.id)); break;
      case K::DropDown: drawDropDown(grid, c, r, state, focused, enabled); break;
      case K::Progress: drawProgress(grid, r, state.progress(c.id)); break;
      case K::Group: drawGroup(grid, c, r, state, pen); break;
    }
  }
  if (input.openList() != 0) drawPopup(grid, layout, state, input);
  return cursor;
}

}  // namespace tui
