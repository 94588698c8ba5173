// Screen placement and movement pairs for what a description leaves open.
// The runtime lays the screens out again when the user reformats them; these
// positions serve an 80 × 25 cell window. The default movement pairs and the
// page bounds come from the runtime's screen layout, so the two cannot drift.
#include <algorithm>

#include "editor/screen_layout.hpp"
#include "tfabuild/images.hpp"

namespace tfabuild {

namespace {

constexpr int kScreenColumns = 80;
constexpr int kLastRow = 22;

bool lineDisplay(int displayType) { return editor::isLineDisplay(displayType); }

int cellWidth(const ColumnModel& c) {
  int w = c.displayWidth > 0 ? c.displayWidth : c.width;
  return std::min(std::max(w, static_cast<int>(c.title.size())), kScreenColumns - 2);
}

}  // namespace

void placeColumns(const LevelModel& level, std::vector<apps::ColumnDef>& defs) {
  int c = static_cast<int>(level.columns.size());
  std::vector<int> page(static_cast<std::size_t>(c) + 1, 0);  // page number per column, per screen
  for (std::size_t s = 0; s < level.screens.size(); ++s) {
    const ScreenModel& sm = level.screens[s];
    int screen = static_cast<int>(s) + 1;
    bool line = lineDisplay(sm.displayType);
    int firstRow = sm.firstGridRow > 0 ? sm.firstGridRow : (line ? 2 : (sm.twoLineTitles ? 4 : 3));
    int lastRow = sm.lastGridRow > 0 ? sm.lastGridRow : kLastRow;
    int startCol = !line && sm.lineNumbers ? 6 : 1;
    int titleWidth = 0;
    for (const auto& col : level.columns) {
      if (col.screen == screen && !col.hidden) titleWidth = std::max(titleWidth, static_cast<int>(col.title.size()));
    }
    int pageNo = 1, row = firstRow, at = startCol;
    bool pageUsed = false;
    for (int k = 1; k <= c; ++k) {
      const ColumnModel& col = level.columns[static_cast<std::size_t>(k - 1)];
      if (col.screen != screen) continue;
      apps::ColumnDef& d = defs[static_cast<std::size_t>(k)];
      d.setScreen(screen);
      d.setDisplayType(sm.displayType);
      d.setHidden(col.hidden);
      d.setDisplayWidth(col.displayWidth);
      int w = cellWidth(col);
      int titleRow = 0, titleCol = 0, valueRow = 0, valueCol = 0;
      if (!col.hidden) {
        if (line) {
          bool split = titleWidth + 2 + w > kScreenColumns - 1;
          if (row + (split ? 1 : 0) > lastRow && pageUsed) {
            ++pageNo;
            row = firstRow;
          }
          titleRow = row;
          titleCol = 1;
          valueRow = split ? row + 1 : row;
          valueCol = split ? 1 : titleWidth + 3;
          row = valueRow + 1;
        } else {
          if (at + w > kScreenColumns - 1 && pageUsed) {
            ++pageNo;
            at = startCol;
          }
          titleRow = firstRow - 1;
          titleCol = at;
          valueCol = at;
          at += w + 1;
        }
        pageUsed = true;
      }
      if (col.titleAt) {
        titleRow = (*col.titleAt)[0];
        titleCol = (*col.titleAt)[1];
      }
      if (col.valueAt) {
        valueRow = (*col.valueAt)[0];
        valueCol = (*col.valueAt)[1];
      }
      d.setTitleRow(titleRow);
      d.setTitleColumn(titleCol);
      d.setValueRow(valueRow);
      d.setValueColumn(valueCol);
      page[static_cast<std::size_t>(k)] = pageNo;
    }
    // The first and last column of each column's page, as the runtime's layout marks them.
    std::vector<int> screenOf(static_cast<std::size_t>(c) + 1, 0);
    for (int k = 1; k <= c; ++k) screenOf[static_cast<std::size_t>(k)] = level.columns[static_cast<std::size_t>(k - 1)].screen;
    const std::vector<editor::PageBounds> bounds = editor::pageBounds(screenOf, page);
    for (int k = 1; k <= c; ++k) {
      if (screenOf[static_cast<std::size_t>(k)] != screen) continue;
      defs[static_cast<std::size_t>(k)].setPageFirstColumn(bounds[static_cast<std::size_t>(k)].first);
      defs[static_cast<std::size_t>(k)].setPageLastColumn(bounds[static_cast<std::size_t>(k)].last);
    }
  }
}

void defaultMoves(const LevelModel& level, std::vector<apps::ColumnCheck>& checks) {
  namespace cc = apps::layout::column_check;
  int c = static_cast<int>(level.columns.size());
  std::vector<bool> shown(static_cast<std::size_t>(c) + 1, false);
  for (int k = 1; k <= c; ++k) shown[static_cast<std::size_t>(k)] = !level.columns[static_cast<std::size_t>(k - 1)].hidden;
  for (int k = 1; k <= c; ++k) {
    const ColumnModel& col = level.columns[static_cast<std::size_t>(k - 1)];
    bool line = lineDisplay(level.screens[static_cast<std::size_t>(col.screen - 1)].displayType);
    // The runtime's own default pairs, then what the description gives.
    const editor::MovePairs pairs = editor::defaultMovePairs(shown, k, line);
    for (int m = 0; m < static_cast<int>(cc::kMoveCount); ++m) {
      const editor::MovePair& d = pairs[static_cast<std::size_t>(m)];
      std::array<int, 2> p = col.moves[static_cast<std::size_t>(m)].value_or(std::array<int, 2>{d.lines, d.columns});
      checks[static_cast<std::size_t>(k)].setMove(m, p[0], p[1]);
    }
  }
}

void enterableRange(const LevelModel& level, int& first, int& last) {
  first = last = 0;
  for (int k = 1; k <= static_cast<int>(level.columns.size()); ++k) {
    const ColumnModel& col = level.columns[static_cast<std::size_t>(k - 1)];
    if (col.hidden || col.fieldType == 11) continue;
    if (first == 0) first = k;
    last = k;
  }
  if (level.firstEnterable > 0) first = level.firstEnterable;
  if (level.lastEnterable > 0) last = level.lastEnterable;
}

}  // namespace tfabuild
