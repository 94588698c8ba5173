#include "canvas_window.hpp"

#include <algorithm>
#include <optional>

#include "access_text.hpp"
#include "braille.hpp"
#include "glyphs.hpp"
#include "platform/clock.hpp"
#include "terminal_host.hpp"

namespace tui {

namespace k = ui::key;

namespace {

// Division rounding down, so points left of or above the area land on the
// cells they would have there.
long long floorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// Writes text from cell row, col of area (from 0) to the right; cells
// outside the area are skipped.
void putInArea(CellGrid& grid, const CellRect& area, long long row, long long col, const std::u32string& text,
               Rgb ink) {
  if (row < 0 || row >= area.rows) return;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const long long c = col + static_cast<long long>(i);
    if (c >= area.cols) break;
    if (c < 0) continue;
    const int gr = area.row + static_cast<int>(row), gc = area.col + static_cast<int>(c);
    if (grid.contains(gr, gc)) grid.at(gr, gc) = Cell{text[i], ink, canvasPaper(), kAttrNone};
  }
}

// The cell of a scale bar `cells` long from `first` at cell c: its end ticks
// and the line between them (one cell long, a single tick).
char32_t scaleBarCell(long long first, long long cells, long long c) {
  if (cells == 1) return U'\u2502';
  if (c == first) return U'\u251C';
  if (c == first + cells - 1) return U'\u2524';
  return U'\u2500';
}

bool findEnabled(const std::vector<ui::MenuItem>& items, int id) {
  for (const ui::MenuItem& item : items) {
    if (!item.enabled) continue;
    if (item.items.empty() ? item.id == id : findEnabled(item.items, id)) return true;
  }
  return false;
}

}  // namespace

CanvasWindowLayout layoutCanvasWindow(int rows, int cols, bool hasMenu) {
  CanvasWindowLayout l;
  l.box = CellRect{1, 1, std::max(rows, 1), std::max(cols, 1)};
  l.menuRow = hasMenu ? 2 : 0;
  l.area.row = hasMenu ? 3 : 2;
  l.area.col = 2;
  l.area.rows = std::max(rows - l.area.row, 1);  // down to the row above the bottom edge
  l.area.cols = std::max(cols - 2, 1);
  return l;
}

ui::CanvasMetrics canvasMetrics(const CellRect& area) {
  ui::CanvasMetrics m;
  m.width = area.cols * BrailleRaster::kDotsAcross;
  m.height = area.rows * BrailleRaster::kDotsDown;
  m.charWidth = BrailleRaster::kDotsAcross;
  m.lineHeight = BrailleRaster::kDotsDown;
  m.scalableText = false;
  m.pointRadius = 2;
  return m;
}

Rgb canvasPaper() { return paletteRgb(kBlack); }

Rgb canvasInk(ui::Ink ink) {
  switch (ink) {
    case ui::Ink::Current: return paletteRgb(kTeal);
    case ui::Ink::Start: return paletteRgb(kGreen);
    case ui::Ink::Destination: return paletteRgb(kRed);
    case ui::Ink::Background: return paletteRgb(kDkGray);
    case ui::Ink::Leg: return paletteRgb(kYellow);
    case ui::Ink::ToGo: return paletteRgb(kPurple);
    case ui::Ink::Track: return paletteRgb(kBlue);
    case ui::Ink::Text:
    case ui::Ink::Scale: break;
  }
  return paletteRgb(kWhite);  // the window's own text colour on its black paper
}

std::vector<shell::MenuItem> canvasMenu(const std::vector<ui::MenuItem>& menu) {
  std::vector<shell::MenuItem> out;
  out.reserve(menu.size());
  for (const ui::MenuItem& item : menu)
    out.push_back(shell::MenuItem{item.label, item.items.empty() ? item.id : 0, canvasMenu(item.items)});
  return out;
}

bool canvasCommandEnabled(const std::vector<ui::MenuItem>& menu, int id) { return id != 0 && findEnabled(menu, id); }

void paintDrawing(CellGrid& grid, const CellRect& area, const ui::Drawing& drawing) {
  BrailleRaster raster(area.cols, area.rows);
  for (const ui::CanvasPolyline& p : drawing.polylines) raster.polyline(p.points, canvasInk(p.ink));
  for (const ui::CanvasLine& l : drawing.lines) raster.line(l.from, l.to, canvasInk(l.ink));
  for (const ui::CanvasCircle& c : drawing.circles) raster.circle(c.centre, c.radius, canvasInk(c.ink));

  const Rgb paper = canvasPaper();
  for (int r = 0; r < raster.rows(); ++r)
    for (int c = 0; c < raster.cols(); ++c) {
      const int gr = area.row + r, gc = area.col + c;
      if (!grid.contains(gr, gc)) continue;
      const std::uint8_t bits = raster.bits(c, r);
      // An empty cell is a blank: not every terminal font has the empty pattern.
      grid.at(gr, gc) = bits ? Cell{raster.glyph(c, r), raster.ink(c, r), paper, kAttrNone}
                             : Cell{U' ', canvasInk(ui::Ink::Text), paper, kAttrNone};
    }

  const long long across = BrailleRaster::kDotsAcross, down = BrailleRaster::kDotsDown;
  for (const ui::CanvasCircle& c : drawing.circles) {
    if (c.label.empty() || c.radius < 0) continue;
    // From the cell after the one holding the circle's rightmost dot.
    const long long col = floorDiv(static_cast<long long>(c.centre.x) + c.radius, across) + 1;
    putInArea(grid, area, floorDiv(c.centre.y, down), col, glyphsOfUtf8(c.label), canvasInk(c.ink));
  }
  for (const ui::CanvasScaleBar& s : drawing.scaleBars) {
    const long long cells = s.length / across;
    if (cells <= 0) continue;
    const long long row = floorDiv(s.from.y, down), col = floorDiv(s.from.x, across);
    const Rgb ink = canvasInk(ui::Ink::Scale);
    // Only the cells inside the area are made: a bar may reach far past it.
    const long long from = std::max(col, 0LL), to = std::min(col + cells - 1, area.cols - 1LL);
    for (long long c = from; c <= to; ++c) putInArea(grid, area, row, c, std::u32string(1, scaleBarCell(col, cells, c)), ink);
    const std::u32string label = glyphsOfUtf8(s.label);
    const long long len = static_cast<long long>(label.size());
    putInArea(grid, area, row - 1, col + std::max((cells - len) / 2, 0LL), label, ink);
  }
  for (const ui::CanvasText& t : drawing.texts)
    putInArea(grid, area, floorDiv(t.topLeft.y, down), floorDiv(t.topLeft.x, across), glyphsOfUtf8(t.text),
              canvasInk(t.ink));
}

void drawCanvasWindow(CellGrid& grid, const CanvasWindowLayout& l, const std::string& title,
                      const std::vector<shell::MenuItem>& bar, const MenuState* menu, const ui::Drawing& drawing) {
  const Rgb ink = dialogInk(), paper = dialogPaper();
  drawBox(grid, l.box, ink, paper);
  drawTitle(grid, l.box, glyphsOfUtf8(title));
  paintDrawing(grid, l.area, drawing);
  if (l.menuRow == 0) return;
  drawMenu(grid, layoutMenu(bar, menu, l.menuRow, grid.rows(), grid.cols()), bar, menu);
  // The bar fills its whole row: the frame's sides go back over its ends.
  for (int c : {l.box.col, l.box.right()})
    if (grid.contains(l.menuRow, c) && l.box.cols > 1) grid.at(l.menuRow, c) = Cell{U'\u2502', ink, paper, kAttrNone};
}

ui::Host::CanvasOutcome runTerminalCanvas(TerminalHost& host, const ui::CanvasWindowDesc& desc,
                                          ui::CanvasController& controller) {
  platform::Clock& clock = platform::clock();
  const std::vector<shell::MenuItem> bar = canvasMenu(desc.menu);
  const bool hasMenu = !bar.empty();
  auto layoutNow = [&] { return layoutCanvasWindow(host.rows(), host.cols(), hasMenu); };

  ui::CanvasState state(desc, controller);
  state.resize(canvasMetrics(layoutNow().area));
  state.open();
  if (state.ended()) return {true, 0, state.result()};

  std::optional<MenuState> menu;  // the menu while it is open
  const MenuState::Enabled enabled = [&desc](int id) { return canvasCommandEnabled(desc.menu, id); };
  TerminalHost::Overlay overlay = [&](CellGrid& grid, CursorState&) {
    CanvasWindowLayout l = layoutCanvasWindow(grid.rows(), grid.cols(), hasMenu);
    drawCanvasWindow(grid, l, desc.title, bar, menu ? &*menu : nullptr, state.draw());
  };
  TerminalHost::OverlayScope shown(host, overlay);
  (void)state.takeRedraw();  // showing it drew it

  // The menu has done its part: it closes before the command runs, so forms
  // the controller opens do not show it.
  auto settle = [&](MenuState::Result r) {
    if (r == MenuState::Result::Open) return;
    const int id = r == MenuState::Result::Chosen ? menu->chosen() : 0;
    menu.reset();
    if (id != 0) state.command(id);
  };
  auto openMenu = [&](int top) {
    menu.emplace(bar, enabled);
    settle(menu->clickTitle(top));
  };
  // What an event does; true when the picture may have changed.
  auto onEvent = [&](const InputEvent& e) {
    const bool click = e.key == k::kMouseClick || e.key == k::kMouseDoubleClick;
    if (menu) {
      MenuState::Result r = MenuState::Result::Open;
      if (click) r = menuClick(*menu, layoutMenu(bar, &*menu, layoutNow().menuRow, host.rows(), host.cols()), e.row, e.col);
      else if (e.key != k::kMouseRelease) r = menu->key(e);
      settle(r);
      return true;
    }
    if (state.key(e.key)) return true;
    if (!hasMenu) return false;
    if (e.key == k::kF10) {
      openMenu(0);
      return true;
    }
    if (click) {
      const int t = menuTitleAt(layoutMenu(bar, nullptr, layoutNow().menuRow, host.rows(), host.cols()), e.row, e.col);
      if (t < 0) return false;
      openMenu(t);
      return true;
    }
    if (char letter = letterOfAlt(e.key))
      for (std::size_t i = 0; i < bar.size(); ++i)
        if (accessText(bar[i].text).letter == letter) {
          openMenu(static_cast<int>(i));
          return true;
        }
    return false;
  };

  const std::uint64_t period = desc.timerMs > 0 ? static_cast<std::uint64_t>(desc.timerMs) : 0;
  std::uint64_t nextTick = clock.ticks() + period;
  while (!state.ended()) {
    if (host.stopping()) {
      state.end(0);  // nobody is left to look at it
      break;
    }
    std::optional<InputEvent> e = host.nextEvent(TerminalHost::kPollMs);
    const bool changed = e && onEvent(*e);
    if (state.ended()) break;
    const std::uint64_t now = clock.ticks();
    if (period && now >= nextTick) {
      nextTick = std::max(nextTick + period, now + 1);  // a late turn does not make up missed ticks
      state.tick();
    }
    const ui::CanvasMetrics m = canvasMetrics(layoutNow().area);
    if (m.width != state.metrics().width || m.height != state.metrics().height) state.resize(m);
    if (state.ended()) break;
    if (state.takeRedraw() || changed) host.refresh();
  }
  return {true, 0, state.result()};
}

}  // namespace tui
