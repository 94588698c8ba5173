// The built-ins that ask the crew for something: a text or a number keyed
// with the field editors at the cursor, a Y/N prompt, and a choice from the
// program's string list in the pop-up selection list.
#include <algorithm>
#include <string>

#include "base/text.hpp"
#include "config/prompts.hpp"
#include "editor/edit_number.hpp"
#include "editor/edit_text.hpp"
#include "editor/engine.hpp"
#include "runtime/fixed_number.hpp"
#include "runtime/run_errors.hpp"
#include "runtime/session_access.hpp"
#include "tablestore/number_text.hpp"
#include "ui/host.hpp"
#include "ui/select_list.hpp"

namespace runtime {

namespace {

namespace k = ui::key;

// A text entry is at most as wide as a Screen text; a number as a numeric field.
constexpr int kMaxTextWidth = ui::Screen::kMaxText;
constexpr int kMaxNumberWidth = 20;

enum class Entry { Text, Number };

struct EntryResult {
  enum class End { Entered, Escaped, Aborted, BadField } end = End::BadField;
  std::string text;  // as the editor left it, the field's width
};

// Runs the editor of kind over start (cut or padded to width) in the cell at
// the cursor until Enter, Escape or the abort code ends it; other keys that
// leave the editor (arrows, Tab, clicks elsewhere) keep the field open. The
// field is then drawn plain, with the cursor after it.
EntryResult enterAtCursor(editor::Engine& e, Entry kind, int width, int decimals, const std::string& start) {
  EntryResult r;
  ui::Screen& screen = e.screen;
  const int row = screen.row(), col = screen.col();
  if (!cellOnScreen(screen, row, col) || width < 1) return r;
  const int room = screen.cols() - col + 1;
  editor::FieldOptions opts;
  opts.numericField = kind == Entry::Number;
  opts.width = std::min(width, opts.numericField ? kMaxNumberWidth : kMaxTextWidth);
  // A number is shown whole or not at all; a text scrolls inside its room.
  if (opts.numericField && opts.width > room) return r;
  opts.decimals = opts.numericField ? std::clamp(decimals, 0, opts.width - 1) : 0;
  editor::CellSpot spot{row, col, std::min(opts.width, room)};
  std::string buffer = editor::fitToWidth(start, opts.width);
  bool changed = false;
  ui::KeyCode key = 0;
  do {
    if (opts.numericField) key = editor::editNumber(e.field, spot, opts, buffer, changed);
    else if (spot.shownWidth < opts.width) key = editor::editScrollText(e.field, spot, opts, buffer, changed);
    else key = editor::editText(e.field, spot, opts, buffer, changed);
  } while (key != k::kEnter && key != k::kEscape && key != k::kAbort);
  if (key == k::kAbort) {
    r.end = EntryResult::End::Aborted;
    return r;
  }
  r.end = key == k::kEnter ? EntryResult::End::Entered : EntryResult::End::Escaped;
  r.text = r.end == EntryResult::End::Entered ? buffer : editor::fitToWidth(start, opts.width);
  screen.gotoCell(row, col);
  screen.putTextN(r.text, spot.shownWidth);
  screen.gotoCell(row, std::min(col + spot.shownWidth, screen.cols()));
  return r;
}

// The end of an entry that gave nothing: a bad field (status 17), Escape
// (status 25) or the abort code (the run stops). False when the entry gave a value.
bool entryFailed(Call& c, editor::Engine& e, const EntryResult& r) {
  switch (r.end) {
    case EntryResult::End::Entered: return false;
    case EntryResult::End::BadField: c.setStatus(kErrColumnRange); break;
    case EntryResult::End::Escaped: c.setStatus(kErrUserAborted); break;
    case EntryResult::End::Aborted: endForAbort(c, e); break;
  }
  return true;
}

// 91 / 162: a text of width x (91) or y (162, starting from text x; a string
// variable x receives the entry too). The entry comes back without its
// trailing blanks. True when something was entered.
bool keyText(Call& c, const std::string& start, int width, int decimals) {
  editor::Engine* e = sessionOf(c, true);
  if (!e) return false;
  const EntryResult r = enterAtCursor(*e, Entry::Text, width, decimals, start);
  if (entryFailed(c, *e, r)) {
    if (c.m.runError == 0) c.setText("");
    return false;
  }
  c.setText(base::trimRight(r.text));
  return true;
}

void inputText(Call& c) { (void)keyText(c, "", c.integer(0), c.integer(1)); }

void editTextValue(Call& c) {
  std::size_t offset = 0, capacity = 0;
  if (keyText(c, c.text(0), c.integer(1), c.integer(2)) && c.stringVar(0, offset, capacity))
    (void)c.m.writeString(offset, capacity, c.m.text);
}

// 92 / 163: a number of width and decimals; 163 starts from the value x and
// stores the entry in a numeric variable x. True when something was entered.
bool keyNumber(Call& c, const std::string& start, int width, int decimals) {
  editor::Engine* e = sessionOf(c);
  if (!e) return false;
  const EntryResult r = enterAtCursor(*e, Entry::Number, width, decimals, start);
  if (entryFailed(c, *e, r)) {
    if (c.m.runError == 0) c.setNumber(0);
    return false;
  }
  c.setNumber(tablestore::parseNumber(r.text));
  return true;
}

void inputNumber(Call& c) { (void)keyNumber(c, "", c.integer(0), c.integer(1)); }

void editNumberValue(Call& c) {
  const int width = c.integer(1), decimals = c.integer(2);
  std::string start = formatFixed(c.num(0), width, std::clamp(decimals, 0, std::max(width - 1, 0)));
  // A value the field cannot hold is not shown: the crew keys it anew.
  if (static_cast<int>(start.size()) > width) start.clear();
  std::uint32_t operand = 0;
  if (keyNumber(c, start, width, decimals) && c.numVar(0, operand)) (void)c.m.writeNumber(operand, c.m.result);
}

// 104: the two texts in a box that waits for Y or N: 1 for Y, 0 for N.
// Without the edit window a Yes/No message box asks instead.
void prompt(Call& c) {
  editor::Engine* e = c.ctx.engine;
  ui::Host* host = e ? &e->host : c.ctx.host;
  if (!host) {
    c.setStatus(kErrDataNotOpen);
    c.setNumber(0);
    return;
  }
  const int answer = config::askLetter(*host, {c.text(0), c.text(1)}, 'Y', 'N');
  if (answer == 0 && e && e->keys.aborted()) {
    endForAbort(c, *e);
    return;
  }
  c.setNumber(answer == 1 ? 1 : 0);
}

// 143 / 144: the string list titled x with footer y; the chosen entry's
// index from 0, or -1 when none was chosen. 143 centres the list, 144 puts
// its title at the cursor.
void pickFromStringList(Call& c, bool atCursor) {
  editor::Engine* e = sessionOf(c);
  if (!e) return;
  ui::SelectList list;
  list.title = c.text(0);
  list.footer = c.text(1);
  list.items = c.m.stringList;
  if (atCursor) {
    list.row = e->screen.row();
    list.col = e->screen.col();
  }
  const int chosen = ui::selectFromList(e->host, e->screen, e->keys, list);
  if (chosen == 0 && e->keys.aborted()) {
    endForAbort(c, *e);
    return;
  }
  c.setNumber(chosen - 1);
}

void pickItem(Call& c) { pickFromStringList(c, false); }
void pickItemAtCursor(Call& c) { pickFromStringList(c, true); }

}  // namespace

void addInputBuiltins(BuiltinTable& t) {
  t[91] = inputText;
  t[92] = inputNumber;
  t[104] = prompt;
  t[143] = pickItem;
  t[144] = pickItemAtCursor;
  t[162] = editTextValue;
  t[163] = editNumberValue;
}

}  // namespace runtime
