#include "editor/screen_draw.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "editor/column_values.hpp"
#include "editor/line_window.hpp"
#include "tablestore/table.hpp"

namespace editor {

namespace {

constexpr int kDisplayOnlyType = 6;
constexpr int kSkippedType = 11;
constexpr int kPromptRowWidth = 79;
constexpr int kLineNumberWidth = 4;

void put(ui::Screen& screen, int row, int col, const std::string& text, ColourPair colours) {
  screen.setTextColour(colours.text);
  screen.setBackColour(colours.back);
  screen.gotoCell(row, col);
  screen.putText(text);
}

std::string trimmed(const std::string& t) {
  std::string s = base::trimRight(t);
  std::size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : s.substr(first);
}

std::string lineNumberText(std::int32_t line) {
  std::string n = std::to_string(line);
  if (static_cast<int>(n.size()) < kLineNumberWidth) n.insert(0, static_cast<std::size_t>(kLineNumberWidth) - n.size(), ' ');
  return n;
}

// The value as a cell shows it: character text as stored, cut with ">" when
// its content is wider than the cell; numbers right-aligned in the cell.
std::string shownValue(const LevelState& s, int k, const std::string& text, int width) {
  const FieldDesc& f = s.fields[static_cast<std::size_t>(k)];
  if (f.type == 'N') {
    std::string t = trimmed(text);
    if (static_cast<int>(t.size()) > width) return cutToWidth(t, width);
    return std::string(static_cast<std::size_t>(width) - t.size(), ' ') + t;
  }
  std::string content = base::trimRight(text);
  if (static_cast<int>(content.size()) > width) return cutToWidth(content, width);
  content.resize(static_cast<std::size_t>(width), ' ');
  return content;
}

// The record of line n: the buffer for the current line, else read aside.
bool recordOf(LevelState& s, std::int32_t line, std::string& out) {
  if (!s.table) return false;
  if (line == s.line() && s.table->recordNumber() == line) {
    out.assign(s.table->recordBuffer(), static_cast<std::size_t>(s.table->recordWidth()));
    return true;
  }
  return s.table->peekRecord(line, out) == 0;
}

void drawValue(Engine& e, LevelState& s, int k, int row, int col, const std::string& record) {
  const int width = shownWidth(s, k, e.screen.cols());
  const std::string text = fieldText(s, k, record);
  put(e.screen, row, col, shownValue(s, k, text, width), valueColours(e, s, k));
}

// One grid row of a VirtualDisplay screen.
void drawGridLine(Engine& e, LevelState& s, std::int32_t line, const apps::ScreenDef& sd) {
  const apps::LevelHeader& h = s.header();
  const int row = gridRowOf(line, h.topLine(), sd.firstGridRow(), sd.lastGridRow());
  std::string record;
  const bool have = line >= 1 && line <= s.lineCount() && recordOf(s, line, record);
  if (sd.showLineNumbers())
    put(e.screen, row, 1, have ? lineNumberText(line) : std::string(kLineNumberWidth, ' '),
        line == s.line() ? e.colours.prompts : e.colours.viewOnly);
  for (int k = 1; k <= s.columnCount(); ++k) {
    if (!onPage(s, k, s.column())) continue;
    const apps::ColumnDef* d = s.def->def(k);
    if (have) {
      drawValue(e, s, k, row, d->valueColumn(), record);
    } else {
      ColourPair c = valueColours(e, s, k);
      put(e.screen, row, d->valueColumn(), std::string(static_cast<std::size_t>(shownWidth(s, k, e.screen.cols())), ' '), c);
    }
  }
}

void drawTitles(Engine& e, LevelState& s, const apps::ScreenDef& sd) {
  for (int k = 1; k <= s.columnCount(); ++k) {
    if (!onPage(s, k, s.column())) continue;
    const apps::ColumnDef* d = s.def->def(k);
    if (d->titleRow() < 1) continue;
    put(e.screen, d->titleRow(), std::max(d->titleColumn(), 1), trimmed(s.def->field(k)->title()), e.colours.prompts);
    if (sd.twoLineTitles() && d->titleRow() > 1) {
      std::string second = trimmed(d->title2());
      if (!second.empty()) put(e.screen, d->titleRow() - 1, std::max(d->titleColumn(), 1), second, e.colours.prompts);
    }
  }
}

void drawHeadings(Engine& e, const apps::ScreenDef& sd) {
  const int count = std::clamp(sd.headingCount(), 0, static_cast<int>(apps::layout::screen::kMaxHeadings));
  for (int i = 0; i < count; ++i) {
    apps::ScreenDef::Heading h = sd.heading(i);
    if (h.row < 1) continue;
    std::string label = trimmed(h.label);
    std::string value;
    // A heading names a level that may not be open (a parent left): it is blank then.
    if (h.level >= 1 && h.level <= 5) {
      LevelState& from = e.levels[static_cast<std::size_t>(h.level)];
      if (from.open() && h.column >= 1 && h.column <= from.columnCount()) value = trimmed(currentText(from, h.column));
    }
    int width = std::max(h.width, 1);
    std::string shown = cutToWidth(value, width);
    shown.resize(static_cast<std::size_t>(width), ' ');
    std::string text = label.empty() ? shown : label + " " + shown;
    put(e.screen, h.row, std::max(h.col, 1), text, e.colours.constant);
  }
}

void drawLineLabel(Engine& e, LevelState& s, const apps::ScreenDef& sd) {
  if (sd.lineNumberRow() < 1) return;
  if (sd.lineLabelRow() >= 1) put(e.screen, sd.lineLabelRow(), std::max(sd.lineLabelColumn(), 1), trimmed(sd.lineLabel()), e.colours.prompts);
  put(e.screen, sd.lineNumberRow(), std::max(sd.lineNumberColumn(), 1), lineNumberText(s.line()), e.colours.prompts);
}

}  // namespace

std::string cutToWidth(const std::string& text, int width) {
  if (width < 1) return {};
  if (static_cast<int>(text.size()) <= width) return text;
  return text.substr(0, static_cast<std::size_t>(width - 1)) + ">";
}

int screenOfColumn(const LevelState& s, int k) {
  const apps::ColumnDef* d = s.def ? s.def->def(k) : nullptr;
  return d ? std::clamp(d->screen(), 1, static_cast<int>(apps::layout::level_header::kMaxScreens)) : 1;
}

apps::ScreenDef screenDef(const LevelState& s, int n) {
  return s.header().screen(std::clamp(n, 1, static_cast<int>(apps::layout::level_header::kMaxScreens)) - 1);
}

int displayTypeOf(const LevelState& s, int k) { return screenDef(s, screenOfColumn(s, k)).displayType(); }

bool onPage(const LevelState& s, int k, int current) {
  const apps::ColumnDef* d = s.def->def(k);
  const apps::ColumnDef* c = s.def->def(current);
  if (!d || !c || d->hidden()) return false;
  if (screenOfColumn(s, k) != screenOfColumn(s, current)) return false;
  // A screen laid out without pages shows all its columns.
  if (c->pageFirstColumn() < 1 || c->pageLastColumn() < c->pageFirstColumn()) return true;
  return k >= c->pageFirstColumn() && k <= c->pageLastColumn();
}

int shownWidth(const LevelState& s, int k, int screenColumns) {
  const apps::ColumnDef* d = s.def->def(k);
  int w = d && d->displayWidth() > 0 ? d->displayWidth() : s.fields[static_cast<std::size_t>(k)].width;
  return std::max(1, std::min(w, screenColumns - 2));
}

ColourPair valueColours(const Engine& e, const LevelState& s, int k) {
  const apps::ColumnCheck* c = s.def->check(k);
  const int type = c ? c->fieldType() : 0;
  if (type == kDisplayOnlyType) return e.colours.viewOnly;
  const apps::LevelHeader& h = s.header();
  if (type == kSkippedType || k < h.firstEnterableColumn() || k > h.lastEnterableColumn()) return e.colours.readOnly;
  apps::ScreenDef sd = screenDef(s, screenOfColumn(s, k));
  return {ui::clampColour(sd.dataText()), ui::clampColour(sd.dataBack())};
}

CellPlace cellPlace(const Engine& e, const LevelState& s, int k) {
  CellPlace p;
  const apps::ColumnDef* d = s.def->def(k);
  if (!d) return p;
  p.col = std::max(d->valueColumn(), 1);
  p.width = shownWidth(s, k, e.screen.cols());
  apps::ScreenDef sd = screenDef(s, screenOfColumn(s, k));
  if (isVirtualDisplay(sd.displayType()))
    p.row = gridRowOf(s.line(), s.header().topLine(), sd.firstGridRow(), sd.lastGridRow());
  else
    p.row = std::max(d->valueRow(), 1);
  return p;
}

bool screenChanged(const Engine& e) {
  const LevelState& s = e.levels[static_cast<std::size_t>(e.current)];
  const apps::ColumnDef* c = s.def->def(s.column());
  const int page = c ? c->pageFirstColumn() : 0;
  return e.drawnScreen != screenOfColumn(s, s.column()) || e.drawnPage != page;
}

void drawScreen(Engine& e) {
  LevelState& s = e.level();
  e.screen.clearScreen();
  const int n = screenOfColumn(s, s.column());
  const apps::ScreenDef sd = screenDef(s, n);
  drawTitles(e, s, sd);
  drawLines(e);
  drawHeadings(e, sd);
  drawPromptRow(e, s.column());
  const apps::ColumnDef* c = s.def->def(s.column());
  e.drawnScreen = n;
  e.drawnPage = c ? c->pageFirstColumn() : 0;
}

void drawLines(Engine& e) {
  LevelState& s = e.level();
  const apps::ScreenDef sd = screenDef(s, screenOfColumn(s, s.column()));
  if (!isVirtualDisplay(sd.displayType())) {
    drawCurrentLine(e);
    return;
  }
  const apps::LevelHeader& h = s.header();
  // Every grid row: those past the last line are blanked.
  const std::int32_t rows = std::max(sd.lastGridRow() - sd.firstGridRow(), 0) + 1;
  for (std::int32_t i = 0; i < rows; ++i) drawGridLine(e, s, h.topLine() + i, sd);
}

void drawCurrentLine(Engine& e) {
  LevelState& s = e.level();
  const apps::ScreenDef sd = screenDef(s, screenOfColumn(s, s.column()));
  if (isVirtualDisplay(sd.displayType())) {
    if (s.line() >= 1) drawGridLine(e, s, s.line(), sd);
  } else {
    std::string record;
    const bool have = s.line() >= 1 && recordOf(s, s.line(), record);
    for (int k = 1; k <= s.columnCount(); ++k) {
      if (!onPage(s, k, s.column())) continue;
      const apps::ColumnDef* d = s.def->def(k);
      if (d->valueRow() < 1) continue;
      if (have) drawValue(e, s, k, d->valueRow(), std::max(d->valueColumn(), 1), record);
    }
  }
  drawLineLabel(e, s, sd);
}

void drawCell(Engine& e, int k) {
  LevelState& s = e.level();
  if (k < 1 || k > s.columnCount() || !onPage(s, k, s.column())) return;
  CellPlace p = cellPlace(e, s, k);
  std::string record;
  if (!recordOf(s, s.line(), record)) return;
  drawValue(e, s, k, p.row, p.col, record);
}

void drawPromptRow(Engine& e, int k) {
  LevelState& s = e.level();
  const apps::ScreenDef sd = screenDef(s, screenOfColumn(s, k));
  const int row = sd.promptRow();
  if (row < 1 || row > e.screen.rows()) return;
  const int width = std::min(kPromptRowWidth, e.screen.cols());
  std::string line(static_cast<std::size_t>(width), ' ');
  const apps::ColumnDef* d = s.def->def(k);
  std::string prompt = d ? trimmed(d->prompt()) : std::string();
  if (static_cast<int>(prompt.size()) > width) prompt.resize(static_cast<std::size_t>(width));
  line.replace(static_cast<std::size_t>(width - static_cast<int>(prompt.size())) / 2, prompt.size(), prompt);
  put(e.screen, row, 1, line, e.colours.prompts);
}

}  // namespace editor
