// The screen layout of reformatting, on levels the package builder makes from
// small descriptions: every shown column inside the window, no two sharing a
// cell on a page, and the default movement pairs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apps/level_definition.hpp"
#include "base/text.hpp"
#include "editor/screen_layout.hpp"
#include "tfabuild/images.hpp"
#include "tfabuild/read_description.hpp"

namespace {

namespace cc = apps::layout::column_check;

apps::LevelDefinition levelFrom(const std::string& screens, const std::string& columns) {
  const std::string json = R"({ "application": { "name": "Trees" }, "levels": [ { "code": "A____", "table": "T",
      "screens": )" + screens + R"(, "columns": )" + columns + " } ] }";
  tfabuild::AppModel app;
  tfabuild::Diagnostics diag;
  EXPECT_TRUE(tfabuild::readDescription(json, ".", app, diag)) << diag.text();
  apps::LevelDefinition level;
  if (app.levels.empty()) return level;
  const tfabuild::LevelImages im = tfabuild::levelImages(app, 0);
  level.bct = im.bct;
  level.header = im.header;
  level.info = im.info;
  level.fields = im.fields;
  for (std::size_t k = 0; k < im.defs.size(); ++k) {
    level.defs[k] = im.defs[k];
    level.checks[k] = im.checks[k];
  }
  return level;
}

struct Cells {
  int column, row, from, to;  // one row's run of cells
};

int shownWidth(const apps::LevelDefinition& l, int k) {
  const apps::ColumnDef& d = *l.def(k);
  return d.displayWidth() > 0 ? d.displayWidth() : l.field(k)->width();
}

// Every run of cells the shown columns of a page take: titles, and values on
// their row (LineDisplay) or on every grid row (VirtualDisplay).
std::vector<Cells> pageCells(const apps::LevelDefinition& l, int screen, int pageFirst) {
  std::vector<Cells> out;
  const apps::ScreenDef sd = l.header.screen(screen - 1);
  for (int k = 1; k <= l.lastColumn(); ++k) {
    const apps::ColumnDef& d = *l.def(k);
    if (d.screen() != screen || d.hidden() || d.pageFirstColumn() != pageFirst) continue;
    const int t = static_cast<int>(base::trim(l.field(k)->title()).size());
    const int w = shownWidth(l, k);
    if (t > 0) out.push_back({k, d.titleRow(), d.titleColumn(), d.titleColumn() + t - 1});
    if (editor::isLineDisplay(sd.displayType())) {
      out.push_back({k, d.valueRow(), d.valueColumn(), d.valueColumn() + w - 1});
    } else {
      EXPECT_EQ(d.valueRow(), 0) << k;
      for (int r = sd.firstGridRow(); r <= sd.lastGridRow(); ++r)
        out.push_back({k, r, d.valueColumn(), d.valueColumn() + w - 1});
    }
  }
  return out;
}

// Inside rows × cols, no overlaps on any page, page bounds that hold their columns.
void expectLaidOut(const apps::LevelDefinition& l, int rows, int cols) {
  for (int k = 1; k <= l.lastColumn(); ++k) {
    const apps::ColumnDef& d = *l.def(k);
    if (d.hidden()) continue;
    EXPECT_LE(d.pageFirstColumn(), k);
    EXPECT_GE(d.pageLastColumn(), k);
    EXPECT_EQ(l.def(d.pageFirstColumn())->pageFirstColumn(), d.pageFirstColumn()) << k;
    const std::vector<Cells> cells = pageCells(l, d.screen(), d.pageFirstColumn());
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const Cells& a = cells[i];
      EXPECT_GE(a.row, 1) << a.column;
      EXPECT_LE(a.row, rows) << a.column;
      EXPECT_GE(a.from, 1) << a.column;
      EXPECT_LE(a.to, cols) << a.column;
      for (std::size_t j = i + 1; j < cells.size(); ++j) {
        const Cells& b = cells[j];
        if (a.column == b.column && a.row == b.row) continue;
        EXPECT_FALSE(a.row == b.row && a.from <= b.to && b.from <= a.to)
            << "columns " << a.column << " and " << b.column << " share row " << a.row;
      }
    }
  }
}

editor::MovePair move(const apps::LevelDefinition& l, int k, int key) {
  return {l.check(k)->moveLines(key), l.check(k)->moveColumns(key)};
}

const std::string kLineColumns = R"([
  { "field": "PLOT", "type": "N", "width": 4, "title": "Plot number" },
  { "field": "STAND", "width": 10, "title": "Stand" },
  { "field": "SECRET", "width": 5, "hidden": true },
  { "field": "NOTES", "width": 60, "title": "Field notes of the crew" },
  { "field": "CREW", "width": 3, "title": "  Crew  " },
  { "field": "SLOPE", "type": "N", "width": 3, "title": "Slope" },
  { "field": "ASPECT", "type": "N", "width": 3, "title": "Aspect" },
  { "field": "ELEV", "type": "N", "width": 6, "title": "Elevation" },
  { "field": "HIDE2", "width": 2, "hidden": true } ])";

TEST(ScreenLayout, LineDisplayTitleThenValueOrTwoRowsAndNewPages) {
  apps::LevelDefinition l = levelFrom(R"([ { "type": "line", "promptRow": 24, "lineNumbers": true, "lineLabel": "Plot" } ])", kLineColumns);
  const int rows = 12, cols = 40;
  ASSERT_TRUE(editor::layoutScreens(l, rows, cols));
  expectLaidOut(l, rows, cols);
  const apps::ScreenDef sd = l.header.screen(0);
  EXPECT_EQ(sd.promptRow(), 12);  // kept inside the window
  EXPECT_EQ(sd.firstGridRow(), 2);
  EXPECT_EQ(sd.lastGridRow(), 11);
  EXPECT_EQ(sd.lineLabelRow(), 1);
  EXPECT_EQ(sd.lineLabelColumn(), cols - 4 - 5);
  EXPECT_EQ(sd.lineNumberColumn(), cols - 4);

  // "Plot number" (11) + 1 + 4 fits: the value follows the title.
  EXPECT_EQ(l.def(1)->titleRow(), 2);
  EXPECT_EQ(l.def(1)->valueRow(), 2);
  EXPECT_EQ(l.def(1)->valueColumn(), 13);
  EXPECT_EQ(l.def(2)->titleRow(), 3);
  // 60 wide is cut to 38; with its title that is two rows.
  EXPECT_EQ(l.def(4)->displayWidth(), cols - 2);
  EXPECT_EQ(l.def(4)->titleRow(), 4);
  EXPECT_EQ(l.def(4)->valueRow(), 5);
  EXPECT_EQ(l.def(4)->valueColumn(), 1);
  // The title is trimmed: "Crew" then a blank.
  EXPECT_EQ(l.def(5)->valueColumn(), 6);
  EXPECT_EQ(l.def(2)->displayWidth(), 0);  // an uncut width stays the field's
  // Columns 1-8 take 2 + 1 + ... rows: the grid of 10 rows holds PLOT ... ELEV
  // on one page (1, 1, 2, 1, 1, 1, 1 rows).
  EXPECT_EQ(l.def(8)->pageFirstColumn(), 1);

  // Up and Down step through the columns, over the hidden ones.
  EXPECT_EQ(move(l, 2, cc::kMoveDown), (editor::MovePair{0, 2}));
  EXPECT_EQ(move(l, 4, cc::kMoveUp), (editor::MovePair{0, -2}));
  EXPECT_EQ(move(l, 1, cc::kMoveUp), (editor::MovePair{0, 0}));
  EXPECT_EQ(move(l, 1, cc::kMoveLeft), (editor::MovePair{0, 0}));
  EXPECT_EQ(move(l, 8, cc::kMoveRight), (editor::MovePair{0, 0}));  // the last shown
  EXPECT_EQ(move(l, 8, cc::kMoveEnter), (editor::MovePair{0, 0}));
  EXPECT_EQ(move(l, 9, cc::kMoveLeft), (editor::MovePair{0, -1}));
}

TEST(ScreenLayout, LineDisplayStartsANewPageWhenTheGridRowsRunOut) {
  apps::LevelDefinition l = levelFrom(R"([ { "type": "line" } ])", kLineColumns);
  const int rows = 5, cols = 30;  // grid rows 2-5
  ASSERT_TRUE(editor::layoutScreens(l, rows, cols));
  expectLaidOut(l, rows, cols);
  // Page 1: PLOT (row 2), STAND (3), NOTES needs 4-5: fits.
  EXPECT_EQ(l.def(1)->pageLastColumn(), 4);
  EXPECT_EQ(l.def(4)->valueRow(), 5);
  EXPECT_EQ(l.def(5)->pageFirstColumn(), 5);
  EXPECT_EQ(l.def(5)->titleRow(), 2);
  EXPECT_EQ(l.def(8)->pageFirstColumn(), 5);
  EXPECT_EQ(l.def(8)->titleRow(), 5);
}

const std::string kVirtualColumns = R"([
  { "field": "PLOT", "type": "N", "width": 4, "title": "Plot" },
  { "field": "TREE", "type": "N", "width": 3, "title": "Tree no" },
  { "field": "SPC", "width": 16, "title": "Species" },
  { "field": "GONE", "width": 5, "hidden": true },
  { "field": "DBH", "type": "N", "width": 5, "title": "DBH" },
  { "field": "HT", "type": "N", "width": 3, "title": "Height" },
  { "field": "REMARK", "width": 70, "title": "Remark" },
  { "field": "CROWN", "width": 1, "title": "Crown" } ])";

TEST(ScreenLayout, VirtualDisplayLeftToRightAfterTheLineNumbers) {
  apps::LevelDefinition l = levelFrom(R"([ { "type": "virtual", "promptRow": 24 } ])", kVirtualColumns);
  const int rows = 20, cols = 40;
  ASSERT_TRUE(editor::layoutScreens(l, rows, cols));
  expectLaidOut(l, rows, cols);
  const apps::ScreenDef sd = l.header.screen(0);
  EXPECT_EQ(sd.firstGridRow(), 3);
  EXPECT_EQ(sd.lastGridRow(), 19);  // above the prompt row, now 20
  EXPECT_EQ(sd.lineLabelColumn(), cols - 4 - 5);
  // Titles on the row above the grid; each column as wide as its title or value.
  EXPECT_EQ(l.def(1)->titleRow(), 2);
  EXPECT_EQ(l.def(1)->valueColumn(), 6);
  EXPECT_EQ(l.def(2)->valueColumn(), 11);  // "Plot" 4 + a blank
  EXPECT_EQ(l.def(3)->valueColumn(), 19);  // "Tree no" 7 + a blank
  EXPECT_EQ(l.def(5)->valueColumn(), 36);  // past the hidden GONE
  EXPECT_EQ(l.def(1)->pageLastColumn(), 5);
  // HT starts page 2; REMARK is cut to the room after the line numbers.
  EXPECT_EQ(l.def(6)->pageFirstColumn(), 6);
  EXPECT_EQ(l.def(6)->valueColumn(), 6);
  EXPECT_EQ(l.def(7)->displayWidth(), cols - 5);
  EXPECT_EQ(l.def(7)->pageFirstColumn(), 7);
  EXPECT_EQ(l.def(8)->pageFirstColumn(), 8);

  EXPECT_EQ(move(l, 3, cc::kMoveUp), (editor::MovePair{-1, 0}));
  EXPECT_EQ(move(l, 3, cc::kMoveDown), (editor::MovePair{1, 0}));
  EXPECT_EQ(move(l, 3, cc::kMoveRight), (editor::MovePair{0, 2}));  // over GONE
  EXPECT_EQ(move(l, 5, cc::kMoveLeft), (editor::MovePair{0, -2}));
  EXPECT_EQ(move(l, 1, cc::kMoveLeft), (editor::MovePair{0, 0}));
  EXPECT_EQ(move(l, 8, cc::kMoveRight), (editor::MovePair{0, 0}));
  EXPECT_EQ(move(l, 8, cc::kMoveEnter), (editor::MovePair{0, 0}));
  EXPECT_EQ(move(l, 7, cc::kMoveEnter), (editor::MovePair{0, 1}));
}

TEST(ScreenLayout, TwoScreensArePagedApartAndHiddenColumnsAreSteppedOver) {
  apps::LevelDefinition l = levelFrom(R"([ { "type": "virtual", "lineNumbers": false }, { "type": "line" } ])", R"([
    { "field": "A", "width": 4 }, { "field": "B", "width": 4, "screen": 2 },
    { "field": "C", "width": 4 }, { "field": "D", "width": 4, "screen": 2, "hidden": true },
    { "field": "E", "width": 4, "screen": 2 } ])");
  ASSERT_TRUE(editor::layoutScreens(l, 25, 80));
  expectLaidOut(l, 25, 80);
  EXPECT_EQ(l.def(1)->valueColumn(), 1);  // no line numbers
  EXPECT_EQ(l.def(1)->pageLastColumn(), 3);
  EXPECT_EQ(l.def(3)->pageFirstColumn(), 1);
  EXPECT_EQ(l.def(2)->pageFirstColumn(), 2);
  EXPECT_EQ(l.def(2)->pageLastColumn(), 5);
  EXPECT_EQ(l.def(2)->displayType(), 1);
  // A on the virtual screen moves by lines; B on the line screen by columns.
  EXPECT_EQ(move(l, 1, cc::kMoveDown), (editor::MovePair{1, 0}));
  EXPECT_EQ(move(l, 2, cc::kMoveDown), (editor::MovePair{0, 1}));
  EXPECT_EQ(move(l, 3, cc::kMoveRight), (editor::MovePair{0, 2}));  // over the hidden D
}

TEST(ScreenLayout, ALevelWithNothingShownAsksForNoNewFont) {
  apps::LevelDefinition l = levelFrom(R"([ { "type": "virtual" } ])", R"([ { "field": "A", "hidden": true } ])");
  EXPECT_FALSE(editor::layoutScreens(l, 25, 80));
  apps::LevelDefinition empty;
  EXPECT_FALSE(editor::layoutScreens(empty, 25, 80));
}

TEST(ScreenLayout, ATinyWindowStillGetsPositionsInsideIt) {
  apps::LevelDefinition l = levelFrom(R"([ { "type": "line" } ])", kLineColumns);
  ASSERT_TRUE(editor::layoutScreens(l, 2, 12));
  for (int k = 1; k <= l.lastColumn(); ++k) {
    const apps::ColumnDef& d = *l.def(k);
    if (d.hidden()) continue;
    EXPECT_GE(d.valueRow(), 1);
    EXPECT_LE(d.valueRow(), 2);
    EXPECT_LE(d.valueColumn() + shownWidth(l, k) - 1, 12) << k;
  }
}

TEST(MovePairs, HiddenNeighboursAndTheEnds) {
  const std::vector<bool> shown = {false, false, true, false, false, true, false};  // 2 and 5 of 1..6
  EXPECT_EQ(editor::defaultMovePairs(shown, 2, false)[cc::kMoveLeft], (editor::MovePair{0, 0}));
  EXPECT_EQ(editor::defaultMovePairs(shown, 2, false)[cc::kMoveRight], (editor::MovePair{0, 3}));
  EXPECT_EQ(editor::defaultMovePairs(shown, 5, false)[cc::kMoveLeft], (editor::MovePair{0, -3}));
  EXPECT_EQ(editor::defaultMovePairs(shown, 5, false)[cc::kMoveEnter], (editor::MovePair{0, 0}));
  EXPECT_EQ(editor::defaultMovePairs(shown, 5, true)[cc::kMoveUp], (editor::MovePair{0, -3}));
}

}  // namespace
