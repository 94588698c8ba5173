#pragma once
// What every field editor works with, and the small pieces they all share:
// waiting for a key, drawing the edited cell, placing a click, the
// wait-when-full rule.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/copy_buffer.hpp"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"
#include "ui/keys.hpp"
#include "ui/screen.hpp"

namespace editor {

// Filled in by the edit session; the editors only borrow it.
struct FieldContext {
  ui::Host& host;       // pump() while waiting for a key, beep()
  ui::Screen& screen;   // the edit window's cells
  ui::KeyQueue& keys;   // where the keys come from
  CopyBuffer& copy;     // shared by all editors
  // The warning pop-up over the display: one to three lines, shown for
  // ticks × 10 ms or until a key.
  std::function<void(const std::vector<std::string>& lines, int ticks)> warn;
};

// Where the cell is drawn (row and column of its first character, from 1) and
// how many characters of it show. Only the scrolling editor reads shownWidth
// (it shows that many characters of a wider field); the other editors draw,
// and take clicks on, the whole field.
struct CellSpot {
  int row = 1, col = 1;
  int shownWidth = 0;  // 0: the field's width
};

// The column's settings an editor needs.
struct FieldOptions {
  int width = 1, decimals = 0;  // the table field's
  bool numericField = false;    // 'N' (else 'C')
  bool upperCase = false;       // letters typed become capitals
  bool waitWhenFull = false;    // full: show the value, return the next key
  int fieldType = 0;            // 0-11; the date types choose the template
  std::string picture;          // the picture editor's, the field's width
};

// The edit commands every editor knows.
namespace edit_key {
inline constexpr ui::KeyCode kCtrlC = ui::key::ctrlLetter('c');
inline constexpr ui::KeyCode kCtrlV = ui::key::ctrlLetter('v');
inline constexpr ui::KeyCode kCtrlD = ui::key::ctrlLetter('d');
inline constexpr ui::KeyCode kCtrlF = ui::key::ctrlLetter('f');
inline constexpr ui::KeyCode kCtrlT = ui::key::ctrlLetter('t');
inline constexpr ui::KeyCode kCtrlF2 = ui::key::kCtrlF1 + 0x100;
inline constexpr ui::KeyCode kAltI = 0x1700;  // the scan code of I × 256
inline bool isCopy(ui::KeyCode key) { return key == kCtrlC || key == ui::key::kCtrlInsert; }
inline bool isPaste(ui::KeyCode key) { return key == kCtrlV || key == ui::key::kShiftInsert; }
}  // namespace edit_key

// Warning texts are shown this long (in 10 ms steps).
inline constexpr int kPictureWarnTicks = 250;
inline constexpr int kDateWarnTicks = 150;

// The next key: taken from the queue, else pump() and a 10 ms sleep on the
// platform clock until one comes. Returns ui::key::kAbort at once when the
// queue has been aborted.
[[nodiscard]] ui::KeyCode waitKey(FieldContext& ctx);

// A key that types a character: 32-255 except 127.
bool isPrintableKey(ui::KeyCode key);
// The capital of a Windows-1252 letter; anything else unchanged.
char upperChar(char c);
// ASCII letters and digits, as the pictures mean them.
bool isAsciiLetter(char c);
bool isAsciiDigit(char c);

// The cell's width on screen for a field of width characters.
int shownWidthOf(const CellSpot& spot, int width);

// Draws text (cut or blank-padded to shown characters) at the cell in the
// edited cell's colours (palette 0 on 15), puts the previous colours back and
// leaves the Screen's cursor on character cursorOffset of the cell.
void drawEditedCell(FieldContext& ctx, const CellSpot& spot, std::string_view text, int shown,
                    int cursorOffset);

// The character of the cell (0 .. shown-1) under the last click, or -1 when
// the click fell outside the cell.
int clickedOffset(const FieldContext& ctx, const CellSpot& spot, int shown);

// Shows a warning through ctx.warn when the session gave one.
void showWarning(FieldContext& ctx, const std::vector<std::string>& lines, int ticks);

// The end of a full field: Enter, or with wait-when-full the next key (the
// refresh code redraws and keeps waiting; the abort code is returned too).
// redraw draws the value as it stands.
[[nodiscard]] ui::KeyCode keyWhenFull(FieldContext& ctx, const FieldOptions& opts,
                                      const std::function<void()>& redraw);

// Sets the Screen's cursor shape for the editor's lifetime and puts the
// previous one back when it ends.
class CursorShapeGuard {
 public:
  explicit CursorShapeGuard(ui::Screen& screen) : screen_(screen), previous_(screen.cursor().insert) {}
  ~CursorShapeGuard() { screen_.setInsertCursor(previous_); }
  CursorShapeGuard(const CursorShapeGuard&) = delete;
  CursorShapeGuard& operator=(const CursorShapeGuard&) = delete;

 private:
  ui::Screen& screen_;
  bool previous_;
};

// The buffer as an editor works on it: exactly width characters.
std::string fitToWidth(std::string_view text, int width);

// What every editor holds while it runs: where the cell is, the column's
// options, the buffer it edits and the changed flag it sets, and whether a
// key has edited anything yet.
class EditorCore {
 protected:
  EditorCore(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts, std::string& buffer, bool& changed)
      : ctx_(ctx), spot_(spot), opts_(opts), buffer_(buffer), changed_(changed) {}
  // Ends the editor with key: after an edit, text becomes the buffer and the
  // changed flag says whether it differs from what the buffer held (width
  // characters compared). An editor that edited nothing leaves both alone.
  ui::KeyCode finishWith(ui::KeyCode key, const std::string& text, int width) {
    if (touched_) {
      changed_ = text != fitToWidth(buffer_, width);
      buffer_ = text;
    }
    return key;
  }

  FieldContext& ctx_;
  const CellSpot& spot_;
  const FieldOptions& opts_;
  std::string& buffer_;
  bool& changed_;
  bool first_ = true, touched_ = false;
};

}  // namespace editor
