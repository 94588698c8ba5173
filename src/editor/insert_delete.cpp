// F9 and F10: inserting a line before the current one and deleting the
// current line, with the child data that hangs below it.
#include <algorithm>
#include <cstring>

#include "config/prompts.hpp"
#include "datasets/data_session.hpp"
#include "datasets/line_children.hpp"
#include "editor/auto_fill.hpp"
#include "editor/column_states.hpp"
#include "editor/column_values.hpp"
#include "editor/later_commands.hpp"
#include "editor/line_checks.hpp"
#include "editor/line_ops.hpp"
#include "editor/popup_box.hpp"
#include "editor/renumber_lines.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

constexpr const char* kCreatingLine = " Creating New Line ";
constexpr const char* kDeletingChildren = "Deleting Child Files";

std::int32_t countOf(const LevelState& s) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(s.table->recordCount(), INT32_MAX));
}

// The level is left: the data collection loop takes it from here (and
// removes the data of a level left without lines).
void leave(Engine& e) {
  e.change = Engine::LevelChange::Leave;
  e.level().header().setLeaveLevel(true);
}

// Blanks the record buffer: a live record with every field blank.
void blankRecord(LevelState& s) {
  char* b = s.table->recordBuffer();
  std::memset(b, ' ', static_cast<std::size_t>(s.table->recordWidth()));
  (void)s.table->changed(1);
}

void settle(Engine& e) {
  LevelState& s = e.level();
  refreshColumnValues(s);
  (void)evaluateColumnStates(e);
  s.header().setRedrawLines(true);
}

}  // namespace

bool insertBlankLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return false;
  apps::LevelHeader& h = s.header();
  const std::int32_t max = h.maxLines();
  if (!h.insertAllowed() || (max > 0 && s.lineCount() >= max)) return false;
  if (h.checkOnLineChange() != 0 && s.line() >= 1 && !checkLine(e, true, false)) return false;
  if (!storeLine(e)) return false;
  const std::int32_t at = std::clamp<std::int32_t>(s.line(), 1, s.lineCount() + 1);
  {
    PopupBox box(e.screen, {kCreatingLine});
    if (s.table->openGap(at) != 0) {
      h.setLineCount(countOf(s));
      if (s.line() >= 1 && s.line() <= s.lineCount()) (void)s.table->goRecord(s.line());
      settle(e);
      return false;
    }
  }
  // The gap holds a copy of the line after it: the new line starts blank.
  blankRecord(s);
  h.setLineCount(countOf(s));
  h.setCurLine(at);
  initNewLine(e, at == 1, false);
  // The new line is written before the others are renumbered, so the table
  // always holds it, and the renumbering moves the keys below it.
  if (s.table->writeRecord(at) != 0) e.host.beep();
  (void)renumberLines(e, RenumberOrder::FromLast);
  h.setCurColumn(h.firstEnterableColumn());
  h.setLineModified(false);
  (void)s.table->flush();
  settle(e);
  return true;
}

void insertLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return;
  apps::LevelHeader& h = s.header();
  const std::int32_t max = h.maxLines();
  if (!h.insertAllowed() || (max > 0 && s.lineCount() >= max)) {
    e.host.beep();
    return;
  }
  if (config::warn(e.host, "Insert Line?", "   (Y/N)", 0, true, false) != 1) return;
  if (!insertBlankLine(e)) e.host.beep();
}

namespace {

bool deletionAllowed(LevelState& s) {
  const apps::LevelHeader& h = s.header();
  return h.deleteAllowed() && s.lineCount() >= 1 && s.line() >= 1 && s.line() >= h.firstLine();
}

// Deletes the stored current line with the child data below it; the level
// is left when it has no line left. False when the table refused.
bool removeCurrentLine(Engine& e, bool children) {
  LevelState& s = e.level();
  apps::LevelHeader& h = s.header();
  const std::int32_t line = s.line();
  if (children) {
    PopupBox box(e.screen, {kDeletingChildren});
    datasets::DatasetFiles files;
    // A failing listing or deletion does not stop the line's deletion.
    if (files.read(e.session.dataFolder, e.session.datasetNumber, e.session.datasetName, e.session.unitCode) == 0)
      (void)datasets::deleteLineChildren(files, lineOwner(e, lineKeys(s)));
  }
  if (s.table->deleteRecord() != 0 || s.table->pack() != 0) {
    h.setLineCount(countOf(s));
    (void)s.table->goRecord(std::min(line, s.lineCount()));
    settle(e);
    return false;
  }
  h.setLineCount(countOf(s));
  h.setLineModified(false);
  if (s.lineCount() == 0) {
    // The parent's links to this table are cleared when the level closes.
    h.setLinesDeleted(true);
    h.setCurLine(0);
    (void)s.table->flush();
    leave(e);
    return true;
  }
  const std::int32_t now = std::min(line, s.lineCount());
  h.setCurLine(now);
  (void)s.table->goRecord(now);
  if (h.bottomLine() > s.lineCount()) {
    const std::int32_t shift = h.bottomLine() - s.lineCount();
    h.setBottomLine(s.lineCount());
    h.setTopLine(std::max<std::int32_t>(1, h.topLine() - shift));
  }
  (void)renumberLines(e, RenumberOrder::FromFirst);
  (void)s.table->flush();
  (void)checkLine(e, false, false);
  settle(e);
  return true;
}

}  // namespace

bool deleteCurrentLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open() || !deletionAllowed(s)) return false;
  // The only line of the first level stays: without a question nothing
  // may end data collection.
  if (s.lineCount() == 1 && e.current == 1) return false;
  if (!storeLine(e)) return false;
  return removeCurrentLine(e, levelHasChildren(e));
}

void deleteLine(Engine& e) {
  LevelState& s = e.level();
  if (!s.open()) return;
  if (!deletionAllowed(s)) {
    e.host.beep();
    return;
  }
  if (config::warn(e.host, "Delete Current Line?", "      (Y/N)", 0, true, false) != 1) return;
  if (!storeLine(e)) {
    e.host.beep();
    return;
  }
  const bool children = levelHasChildren(e);
  if (children && config::askLetter(e.host, {"This Will ALSO ERASE", "Child Level Data.", "Proceed ? (Y,N)"},
                                    'y', 'n') != 1)
    return;
  // The only line of the first level is kept: leaving ends data collection
  // there, and the crew still has the dataset they came with.
  if (s.lineCount() == 1 && e.current == 1) {
    leave(e);
    return;
  }
  if (!removeCurrentLine(e, children)) e.host.beep();
}

}  // namespace editor
