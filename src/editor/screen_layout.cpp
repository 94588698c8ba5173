#include "editor/screen_layout.hpp"

#include <algorithm>

#include "base/text.hpp"

namespace editor {

namespace cc = apps::layout::column_check;

MovePairs defaultMovePairs(const std::vector<bool>& shown, int k, bool lineDisplay) {
  const int c = static_cast<int>(shown.size()) - 1;
  int left = 0, right = 0;
  for (int j = k - 1; j >= 1; --j) {
    if (j <= c && shown[static_cast<std::size_t>(j)]) {
      left = j - k;
      break;
    }
  }
  for (int j = k + 1; j <= c; ++j) {
    if (j >= 1 && shown[static_cast<std::size_t>(j)]) {
      right = j - k;
      break;
    }
  }
  MovePairs p;
  p[cc::kMoveUp] = lineDisplay ? MovePair{0, left} : MovePair{-1, 0};
  p[cc::kMoveDown] = lineDisplay ? MovePair{0, right} : MovePair{1, 0};
  p[cc::kMoveLeft] = {0, left};
  p[cc::kMoveRight] = {0, right};
  p[cc::kMoveEnter] = {0, right};
  return p;
}

std::vector<PageBounds> pageBounds(const std::vector<int>& screenOf, const std::vector<int>& pageOf) {
  const int c = static_cast<int>(std::min(screenOf.size(), pageOf.size())) - 1;
  std::vector<PageBounds> out(static_cast<std::size_t>(std::max(c, 0)) + 1);
  auto at = [](const std::vector<int>& v, int k) { return v[static_cast<std::size_t>(k)]; };
  for (int k = 1; k <= c; ++k) {
    int first = k, last = k;
    for (int j = k - 1; j >= 1; --j) {
      if (at(screenOf, j) != at(screenOf, k)) continue;
      if (at(pageOf, j) != at(pageOf, k)) break;
      first = j;
    }
    for (int j = k + 1; j <= c; ++j) {
      if (at(screenOf, j) != at(screenOf, k)) continue;
      if (at(pageOf, j) != at(pageOf, k)) break;
      last = j;
    }
    out[static_cast<std::size_t>(k)] = {first, last};
  }
  return out;
}

namespace {

constexpr int kLineNumberWidth = 4;
constexpr int kAfterLineNumbers = kLineNumberWidth + 2;  // numbers in 1-4, a blank, then the columns

struct Window {
  int rows, cols;
};

// Keeps the screen's grid, prompt row and line number inside the window.
void fitScreen(apps::ScreenDef& sd, const Window& w, bool line) {
  if (sd.promptRow() < 0) sd.setPromptRow(0);
  if (sd.promptRow() > w.rows) sd.setPromptRow(w.rows);
  const int bottom = std::max(sd.promptRow() > 0 ? sd.promptRow() - 1 : w.rows, 1);
  const int titleRows = line ? 0 : (sd.twoLineTitles() ? 2 : 1);
  // Row 1 holds the line number; the titles stand above the grid.
  const int top = titleRows + (sd.showLineNumbers() ? 2 : 1);
  const int first = std::min(std::max(sd.firstGridRow(), top), bottom);
  const int stored = sd.lastGridRow();
  const int last = stored >= first && stored <= bottom ? stored : bottom;
  sd.setFirstGridRow(first);
  sd.setLastGridRow(last);
  if (sd.showLineNumbers()) {
    const int n = static_cast<int>(base::trim(sd.lineLabel()).size());
    sd.setLineLabelRow(1);
    sd.setLineLabelColumn(std::max(w.cols - n - 5, 1));
    sd.setLineNumberRow(1);
    sd.setLineNumberColumn(std::max(w.cols - kLineNumberWidth, 1));
  }
}

int titleLength(const std::string& text) { return static_cast<int>(base::trim(text).size()); }

// The width the column shows, cut to limit; a cut one is stored as the
// column's display width (an uncut one keeps its own, 0 meaning the field's).
int cutWidth(apps::ColumnDef& d, const apps::ColumnField& f, int limit) {
  const int own = std::max(d.displayWidth() > 0 ? d.displayWidth() : f.width(), 1);
  const int w = std::min(own, std::max(limit, 1));
  if (w < own) d.setDisplayWidth(w);
  return w;
}

void clearPositions(apps::ColumnDef& d) {
  d.setTitleRow(0);
  d.setTitleColumn(0);
  d.setValueRow(0);
  d.setValueColumn(0);
}

struct ScreenColumns {
  apps::LevelDefinition& level;
  int screen;  // 1-based
  std::vector<int>& pageOf;
  const std::vector<int>& screenOf;
  int c;
};

bool placeLine(ScreenColumns& sc, const apps::ScreenDef& sd, const Window& w) {
  const int first = sd.firstGridRow(), last = sd.lastGridRow();
  int row = first, page = 1;
  bool used = false;
  for (int k = 1; k <= sc.c; ++k) {
    if (sc.screenOf[static_cast<std::size_t>(k)] != sc.screen) continue;
    apps::ColumnDef& d = sc.level.defs[static_cast<std::size_t>(k)];
    sc.pageOf[static_cast<std::size_t>(k)] = page;
    if (d.hidden()) {
      clearPositions(d);
      continue;
    }
    const apps::ColumnField& f = sc.level.fields[static_cast<std::size_t>(k)];
    const int t = titleLength(f.title());
    int width = cutWidth(d, f, w.cols - 2);
    const bool oneRow = t + width + 1 <= w.cols;
    const int need = oneRow || last == first ? 1 : 2;
    if (used && row + need - 1 > last) {
      sc.pageOf[static_cast<std::size_t>(k)] = ++page;
      row = first;
    }
    d.setTitleRow(row);
    d.setTitleColumn(1);
    if (need == 2) {
      d.setValueRow(row + 1);
      d.setValueColumn(1);
    } else {
      // A one-row grid keeps the value beside its title, cut to what is left.
      const int at = t == 0 ? 1 : std::min(t + 2, w.cols);
      if (at + width - 1 > w.cols) {
        width = w.cols - at + 1;
        d.setDisplayWidth(width);
      }
      d.setValueRow(row);
      d.setValueColumn(at);
    }
    row += need;
    used = true;
  }
  return used;
}

bool placeVirtual(ScreenColumns& sc, const apps::ScreenDef& sd, const Window& w) {
  const int start = sd.showLineNumbers() && w.cols > kAfterLineNumbers ? kAfterLineNumbers : 1;
  const int room = w.cols - start + 1;
  const int titleRow = std::max(sd.firstGridRow() - 1, 1);
  int at = start, page = 1;
  bool used = false;
  for (int k = 1; k <= sc.c; ++k) {
    if (sc.screenOf[static_cast<std::size_t>(k)] != sc.screen) continue;
    apps::ColumnDef& d = sc.level.defs[static_cast<std::size_t>(k)];
    sc.pageOf[static_cast<std::size_t>(k)] = page;
    if (d.hidden()) {
      clearPositions(d);
      continue;
    }
    const apps::ColumnField& f = sc.level.fields[static_cast<std::size_t>(k)];
    const int width = cutWidth(d, f, std::min(w.cols - 2, room));
    int title = titleLength(f.title());
    if (sd.twoLineTitles()) title = std::max(title, titleLength(d.title2()));
    const int span = std::min(std::max(width, title), room);
    if (used && at + span - 1 > w.cols) {
      sc.pageOf[static_cast<std::size_t>(k)] = ++page;
      at = start;
    }
    d.setTitleRow(titleRow);
    d.setTitleColumn(at);
    d.setValueRow(0);
    d.setValueColumn(at);
    at += span + 1;
    used = true;
  }
  return used;
}

}  // namespace

bool layoutScreens(apps::LevelDefinition& level, int rows, int cols) {
  const Window w{std::max(rows, 1), std::max(cols, 1)};
  const int c = std::min(level.lastColumn(), static_cast<int>(apps::layout::kMaxColumns) - 1);
  if (c < 1) return false;
  const int screens = std::clamp(level.header.screenCount(), 1, static_cast<int>(apps::layout::level_header::kMaxScreens));
  std::vector<int> screenOf(static_cast<std::size_t>(c) + 1, 0), pageOf(static_cast<std::size_t>(c) + 1, 0);
  for (int k = 1; k <= c; ++k) {
    apps::ColumnDef& d = level.defs[static_cast<std::size_t>(k)];
    if (d.screen() < 1 || d.screen() > screens) d.setScreen(1);
    screenOf[static_cast<std::size_t>(k)] = d.screen();
  }

  bool placed = false;
  std::vector<bool> lineScreen(static_cast<std::size_t>(screens) + 1, false);
  for (int s = 1; s <= screens; ++s) {
    apps::ScreenDef sd = level.header.screen(s - 1);
    const bool line = isLineDisplay(sd.displayType());
    lineScreen[static_cast<std::size_t>(s)] = line;
    fitScreen(sd, w, line);
    level.header.setScreen(s - 1, sd);
    for (int k = 1; k <= c; ++k)
      if (screenOf[static_cast<std::size_t>(k)] == s) level.defs[static_cast<std::size_t>(k)].setDisplayType(sd.displayType());
    ScreenColumns sc{level, s, pageOf, screenOf, c};
    if (line ? placeLine(sc, sd, w) : placeVirtual(sc, sd, w)) placed = true;
  }

  const std::vector<PageBounds> pages = pageBounds(screenOf, pageOf);
  std::vector<bool> shown(static_cast<std::size_t>(c) + 1, false);
  for (int k = 1; k <= c; ++k) shown[static_cast<std::size_t>(k)] = !level.defs[static_cast<std::size_t>(k)].hidden();
  for (int k = 1; k <= c; ++k) {
    apps::ColumnDef& d = level.defs[static_cast<std::size_t>(k)];
    d.setPageFirstColumn(pages[static_cast<std::size_t>(k)].first);
    d.setPageLastColumn(pages[static_cast<std::size_t>(k)].last);
    const MovePairs moves = defaultMovePairs(shown, k, lineScreen[static_cast<std::size_t>(screenOf[static_cast<std::size_t>(k)])]);
    for (int m = 0; m < static_cast<int>(cc::kMoveCount); ++m)
      level.checks[static_cast<std::size_t>(k)].setMove(m, moves[static_cast<std::size_t>(m)].lines,
                                                       moves[static_cast<std::size_t>(m)].columns);
  }
  return placed;
}

}  // namespace editor
