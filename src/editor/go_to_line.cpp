#include "editor/go_to_line.hpp"

#include <algorithm>
#include <string>

#include "editor/edit_number.hpp"
#include "editor/later_commands.hpp"
#include "editor/movement.hpp"
#include "editor/popup_box.hpp"
#include "tablestore/number_text.hpp"
#include "ui/host.hpp"

namespace editor {

namespace {

namespace k = ui::key;

constexpr const char* kPromptLine = "Goto Line:        ";
constexpr const char* kAbortLine = "< ESC to Abort >";
constexpr int kFieldOffset = 11;  // after "Goto Line: "
constexpr int kMinDigits = 4;

}  // namespace

int lineFieldWidth(std::int32_t lineCount) {
  int digits = 1;
  for (std::int32_t n = std::max<std::int32_t>(lineCount, 0); n >= 10; n /= 10) ++digits;
  return std::max(digits, kMinDigits);
}

std::int32_t lineFromKeyed(std::string_view keyed, std::int32_t lineCount) {
  const std::int64_t n = tablestore::parseInteger(keyed);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 1, std::max<std::int32_t>(lineCount, 1)));
}

void goToLinePrompt(Engine& e) {
  LevelState& s = e.level();
  if (!s.open() || s.lineCount() < 1) {
    e.host.beep();
    return;
  }
  const int width = lineFieldWidth(s.lineCount());
  std::string text(static_cast<std::size_t>(width - 1), ' ');
  text += '0';
  ui::KeyCode key = 0;
  {
    PopupBox box(e.screen, {kPromptLine, kAbortLine}, kFieldOffset + width);
    CellSpot spot;
    spot.row = box.top();
    spot.col = box.left() + kFieldOffset;
    FieldOptions opts;
    opts.width = width;
    opts.numericField = true;
    bool changed = false;
    // Keys that are neither Enter nor Escape keep the field open.
    do key = editNumber(e.field, spot, opts, text, changed);
    while (key != k::kEnter && key != k::kEscape && key != k::kAbort);
  }
  if (key == k::kAbort) {
    e.aborted = true;
    return;
  }
  if (key == k::kEscape) return;
  if (!goLine(e, lineFromKeyed(text, s.lineCount()))) e.host.beep();
}

}  // namespace editor
