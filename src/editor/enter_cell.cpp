#include "editor/enter_cell.hpp"

#include "apps/layout.hpp"
#include "editor/auto_fill.hpp"
#include "editor/column_lists.hpp"
#include "editor/column_values.hpp"
#include "editor/commands.hpp"
#include "editor/dispatch.hpp"
#include "editor/edit_date_time.hpp"
#include "editor/edit_number.hpp"
#include "editor/edit_picture.hpp"
#include "editor/edit_text.hpp"
#include "editor/events.hpp"
#include "editor/field_formats.hpp"
#include "editor/random_values.hpp"
#include "editor/screen_draw.hpp"
#include "editor/timers.hpp"
#include "editor/value_checks.hpp"
#include "platform/clock.hpp"
#include "tablestore/number_text.hpp"

namespace editor {

namespace {

namespace cc = apps::layout::column_check;
namespace k = ui::key;

constexpr int kPictureEdit = 2;

bool stopsOn(const LevelState& s, int col) {
  const apps::ColumnCheck* c = s.def->check(col);
  const apps::ColumnDef* d = s.def->def(col);
  return c && d && c->fieldType() != kTypeSkipped && !d->hidden();
}

// Whether the key that ended the last field moves the cursor left.
bool movedLeft(const LevelState& s, ui::KeyCode key) {
  switch (key) {
    case k::kLeft: case k::kShiftTab: case k::kCtrlLeft: case k::kHome: return true;
    case k::kUp: case k::kWheelForward: return !isVirtualDisplay(displayTypeOf(s, s.column()));
    default: return false;
  }
}

// Steps over skipped and hidden columns, in the direction the cursor went;
// the other way when that side has none. False when the level has no column
// the cursor may stop on (the cell then only waits for a key).
bool skipToEnterable(LevelState& s) {
  apps::LevelHeader& h = s.header();
  const int first = h.firstEnterableColumn(), last = h.lastEnterableColumn();
  int col = h.curColumn();
  if (stopsOn(s, col)) return true;
  const int step = movedLeft(s, h.exitKey()) ? -1 : 1;
  for (int dir : {step, -step}) {
    for (int c = col + dir; c >= first && c <= last; c += dir) {
      if (stopsOn(s, c)) {
        h.setCurColumn(c);
        return true;
      }
    }
  }
  return false;
}

// The date or time the fill kind writes on entering an empty cell, and the
// field type whose editor then runs; 0 for a kind that fills nothing.
int clockFillType(int kind) {
  switch (kind) {
    case 4: return kTypeDateMdy;
    case 5: return kTypeDateYmd;
    case 6: return kTypeTime;
    case 10: return kTypeDateMdyyyy;
    case 11: return kTypeDateYyyymd;
    default: return 0;
  }
}

// A deferred random value is drawn the first time its cell is entered while
// it holds 0 or less, checked as a typed value, and put on file at once.
void drawDeferredRandom(Engine& e, int col) {
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def->check(col);
  const apps::RndEntry* r = c ? s.def->rndEntry(c->randomIndex()) : nullptr;
  // Read as a number whatever the field's kind: a character field's value counts its letters.
  if (!r || !r->deferred() || tablestore::parseNumber(currentText(s, col)) > 0) return;
  std::int32_t value = 0;
  if (!drawRandom(e, col, value)) return;
  if (!acceptValue(e, col, std::to_string(value))) return;
  if (!storeLineNow(s)) e.host.beep();
}

ui::KeyCode waitOnCell(Engine& e, int col) {
  CellPlace p = cellPlace(e, e.level(), col);
  e.screen.gotoCell(p.row, p.col);
  return waitKey(e.field);
}

ui::KeyCode runEditorOfType(Engine& e, int col, int type, std::string& text, bool& changed) {
  LevelState& s = e.level();
  const CellPlace p = cellPlace(e, s, col);
  const CellSpot spot{p.row, p.col, p.width};
  FieldOptions o = fieldOptionsOf(s, col);
  o.fieldType = type;
  switch (type) {
    case kTypeDateMdy: case kTypeDateYmd: case kTypeDateMdyyyy: case kTypeDateYyyymd:
      return editDate(e.field, spot, o, text, changed);
    case kTypeTime:
      return editTime(e.field, spot, o, text, changed);
    case kTypeNumeric:
      return editNumber(e.field, spot, o, text, changed);
    default:
      break;
  }
  if (o.numericField) return editNumber(e.field, spot, o, text, changed);
  const apps::ColumnDef* d = s.def->def(col);
  // A value the cell cannot show whole scrolls inside it.
  if ((d && d->displayWidth() > 0) || p.width < o.width) return editScrollText(e.field, spot, o, text, changed);
  const apps::ColumnCheck* c = s.def->check(col);
  if (c && c->editKind() == kPictureEdit) return editPicture(e.field, spot, o, text, changed);
  return editText(e.field, spot, o, text, changed);
}

}  // namespace

FieldOptions fieldOptionsOf(const LevelState& s, int col) {
  FieldOptions o;
  const FieldDesc& f = s.fields[static_cast<std::size_t>(col)];
  const apps::ColumnCheck* c = s.def->check(col);
  o.width = f.width;
  o.decimals = f.decimals;
  o.numericField = f.type == 'N';
  if (c) {
    o.upperCase = c->upperCase();
    o.waitWhenFull = c->waitWhenFull();
    o.fieldType = c->fieldType();
    if (c->editKind() == kPictureEdit) {
      o.picture = c->text();
      o.picture.resize(static_cast<std::size_t>(f.width), ' ');
    }
  }
  return o;
}

ui::KeyCode runFieldEditor(Engine& e, int col, std::string& text, bool& changed) {
  LevelState& s = e.level();
  const apps::ColumnCheck* c = s.def->check(col);
  const int type = c ? c->fieldType() : kTypeGeneral;
  if (type == kTypeGeneral && keyedThroughList(e, col)) {
    bool has = false;
    const ui::KeyCode key = listEntryEditor(e, col, text, changed, has);
    if (has) return key;
  }
  switch (type) {
    case kTypeGeneral: case kTypeNumeric: case kTypeDateMdy: case kTypeDateYmd: case kTypeTime: case kTypeDateMdyyyy:
    case kTypeDateYyyymd:
      return runEditorOfType(e, col, type, text, changed);
    case kTypeSensor: {
      // Sensor input when there is one; otherwise the value is keyed.
      ui::KeyCode key = e.hooks.sensorInput(e, col, 0);
      if (key != 0) {
        // The sensor input has checked and stored its value itself.
        text = currentText(s, col);
        changed = false;
        return key;
      }
      return runEditorOfType(e, col, kTypeGeneral, text, changed);
    }
    case kTypeTimer:
      // The timer writes its own readings; nothing is left for the checks.
      return runTimer(e, col);
    default:
      // Display only, times with milliseconds (Ctrl+T fills them) and
      // unknown types: the cursor rests on the cell until a key.
      return waitOnCell(e, col);
  }
}

bool enterCell(Engine& e) {
  LevelState& s = e.level();
  apps::LevelHeader& h = s.header();
  if (e.aborted || h.leaveLevel()) return false;
  bool changed = false;
  const bool canStop = skipToEnterable(s);
  const int col = h.curColumn();

  // Step 2: what the cursor now stands on is drawn.
  if (screenChanged(e) || h.redrawScreen()) {
    h.setRedrawScreen(false);
    h.setRedrawLines(false);
    drawScreen(e);
  } else if (h.redrawLines()) {
    h.setRedrawLines(false);
    drawLines(e);
  } else if (e.markedLine != s.line()) {
    drawLines(e);
  }
  drawPromptRow(e, col);
  drawCurrentLine(e);
  e.markedLine = s.line();

  const apps::ColumnCheck* c = s.def->check(col);
  std::string text = s.retry ? s.retryText : currentText(s, col);
  s.retry = false;
  ui::KeyCode key = 0;
  bool edited = false;  // an editor or program ran (steps 4-6)
  if (!canStop || !c || c->noEdit()) {
    key = waitOnCell(e, col);
  } else {
    const int kind = c->fillKind();
    const int fillType = clockFillType(kind);
    if (kind == 3 || kind == 15 || kind == 7) {
      // No editing: a line number, a random value, a fixed entry.
      if (kind == 7) drawDeferredRandom(e, col);
      key = waitOnCell(e, col);
    } else if (fillType != 0 && c->fillOnEntry() && h.columnValue(col) == 0) {
      platform::DateTime now = platform::clock().localTime();
      const FieldDesc& f = s.fields[static_cast<std::size_t>(col)];
      text = fillType == kTypeTime ? formatTime(now, kTypeTime, f.type == 'N', f.width)
                                   : formatDate(now, fillType, f.type == 'N');
      changed = true;
      if (c->fieldType() == kTypeDisplayOnly) {
        key = waitOnCell(e, col);
      } else {
        bool more = false;
        key = runEditorOfType(e, col, fillType, text, more);
        edited = true;
      }
    } else {
      edited = true;
    }
    if (edited && key == 0) {
      // Step 4: the pre-entry program may end the editing.
      bool goOn = true;
      if (c->hasProgram(cc::kEventPreEntry)) {
        e.screen.saveWindow(3);
        ProgramResult r = columnEvent(e, col, cc::kEventPreEntry);
        e.screen.restoreWindow(3);
        goOn = accepted(r);
      }
      if (!goOn) {
        key = waitOnCell(e, col);
      } else if (c->hasProgram(cc::kEventEntry)) {
        // Step 5: entry by program instead of an editor.
        ProgramResult r = columnEvent(e, col, cc::kEventEntry);
        if (r.ran) {
          changed = !r.failed && r.value != 0;
          text = currentText(s, col);
          key = waitOnCell(e, col);
        } else {
          key = runFieldEditor(e, col, text, changed);
        }
      } else {
        key = runFieldEditor(e, col, text, changed);
      }
    }
    // Step 6: the post-entry program decides whether the value changed.
    if (key != k::kAbort && key != k::kF2 && c->hasProgram(cc::kEventPostEntry)) {
      e.screen.saveWindow(3);
      ProgramResult r = columnEvent(e, col, cc::kEventPostEntry);
      e.screen.restoreWindow(3);
      if (r.ran) changed = !r.failed && r.value != 0;
    }
  }
  if (key == k::kAbort) {
    e.aborted = true;
    return false;
  }
  h.setExitKey(key);

  // Step 7: a changed value is checked and stored, or the cursor stays.
  if (changed && c) {
    if (!acceptValue(e, col, text)) {
      h.setExitKey(0);
      s.retry = true;
      s.retryText = text;
    }
  }
  // Step 8: the cell shows what the record holds.
  refreshColumnValue(s, col);
  drawCurrentLine(e);
  // Step 9.
  dispatchExitKey(e);
  return !e.aborted && !h.leaveLevel();
}

}  // namespace editor
