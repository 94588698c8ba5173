#include "editor/edit_number.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "base/text.hpp"
#include "tablestore/number_text.hpp"

namespace editor {

namespace {

namespace k = ui::key;

// A number as it is being keyed: sign, integer digits (no leading zeros but
// a lone "0"), whether the point was typed, and the decimals typed.
struct NumberEntry {
  bool negative = false;
  std::string whole;
  bool point = false;
  std::string fraction;
  bool hasDigits() const { return !whole.empty() || !fraction.empty(); }
};

NumberEntry entryOf(std::string_view text) {
  NumberEntry entry;
  std::string t = base::trim(text);
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) entry.negative = t[i++] == '-';
  while (i < t.size() && isAsciiDigit(t[i])) entry.whole += t[i++];
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isAsciiDigit(t[i])) entry.fraction += t[i++];
  }
  // Read as the digits that count: "012.50" is keyed as 12.5.
  std::size_t lead = entry.whole.find_first_not_of('0');
  entry.whole.erase(0, lead == std::string::npos ? entry.whole.size() : lead);
  while (!entry.fraction.empty() && entry.fraction.back() == '0') entry.fraction.pop_back();
  entry.point = !entry.fraction.empty();
  if (!entry.hasDigits()) entry.negative = false;
  return entry;
}

class NumberEditor : EditorCore {
 public:
  NumberEditor(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
               std::string& buffer, bool& changed)
      : EditorCore(ctx, spot, opts, buffer, changed),
        width_(std::max(opts.width, 1)),
        decimals_(std::clamp(opts.decimals, 0, std::min(15, width_ - 1))),
        wholeRoom_(decimals_ > 0 ? width_ - decimals_ - 1 : width_),
        entry_(entryOf(buffer)) {}

  ui::KeyCode run();

 private:
  // Characters the sign and integer part take ("0" stands before a point).
  int wholeLength(const NumberEntry& e) const {
    std::size_t digits = e.whole.empty() && e.point ? 1 : e.whole.size();
    return static_cast<int>(digits) + (e.negative ? 1 : 0);
  }
  bool fits(const NumberEntry& e) const {
    return wholeLength(e) <= wholeRoom_ && static_cast<int>(e.fraction.size()) <= decimals_;
  }
  bool full(const NumberEntry& e) const {
    return e.hasDigits() && wholeLength(e) == wholeRoom_ &&
           static_cast<int>(e.fraction.size()) == decimals_;
  }
  // The entry laid out in the field: the integer part right-aligned before
  // the point's place, the decimals after it as typed.
  std::string keyed(const NumberEntry& e) const;
  double valueOf(const NumberEntry& e) const { return tablestore::parseNumber(keyed(e)); }
  // The text stored for the entry: the number right-aligned with its decimals.
  std::string stored(const NumberEntry& e) const;
  std::string current() const { return touched_ ? stored(entry_) : fitToWidth(buffer_, width_); }
  void draw();
  // Applies a digit, sign or point; false when it was refused.
  bool type(char c);
  void paste();
  ui::KeyCode finish(ui::KeyCode key) { return finishWith(key, stored(entry_), width_); }

  const int width_, decimals_, wholeRoom_;
  NumberEntry entry_;
};

std::string NumberEditor::keyed(const NumberEntry& e) const {
  std::string whole = e.whole.empty() && e.point ? "0" : e.whole;
  if (e.negative) whole.insert(0, 1, '-');
  std::string out(static_cast<std::size_t>(std::max(wholeRoom_ - static_cast<int>(whole.size()), 0)), ' ');
  out += whole;
  if (decimals_ > 0) {
    out += e.point ? '.' : ' ';
    out += e.fraction;
  }
  return fitToWidth(out, width_);
}

std::string NumberEditor::stored(const NumberEntry& e) const {
  std::string text(static_cast<std::size_t>(width_), ' ');
  if (!e.hasDigits()) return text;
  // The entry fits by construction, so this cannot fail.
  (void)tablestore::formatNumber(valueOf(e), decimals_, text.data(), width_);
  return text;
}

void NumberEditor::draw() {
  int cursor = entry_.point ? wholeRoom_ + 1 + static_cast<int>(entry_.fraction.size())
                            : wholeRoom_ - 1;
  drawEditedCell(ctx_, spot_, touched_ ? keyed(entry_) : fitToWidth(buffer_, width_), width_,
                 cursor);
}

bool NumberEditor::type(char c) {
  NumberEntry next = entry_;
  if (c == '-') {
    next.negative = !next.negative;
  } else if (c == '+') {
    next.negative = false;
  } else if (c == '.') {
    if (next.point) return true;  // already in the decimals
    next.point = true;
  } else if (next.point) {
    next.fraction += c;
  } else if (next.whole == "0" || (next.whole.empty() && c == '0')) {
    next.whole.assign(1, c);  // a lone leading zero gives way
  } else {
    next.whole += c;
  }
  if (!fits(next)) return false;
  entry_ = next;
  touched_ = true;
  return true;
}

void NumberEditor::paste() {
  if (!ctx_.copy.valid) return;
  if (base::trimmedLength(ctx_.copy.text) == 0) {
    entry_ = NumberEntry{};
    touched_ = true;
    return;
  }
  double value = ctx_.copy.value;
  std::string text(static_cast<std::size_t>(width_), ' ');
  bool ok = tablestore::formatNumber(value, decimals_, text.data(), width_);
  // A copy with more decimals than the field keeps is refused, not rounded.
  double back = tablestore::parseNumber(text);
  if (!ok || std::fabs(back - value) > 1e-9 * std::max(1.0, std::fabs(value))) {
    ctx_.host.beep();
    return;
  }
  entry_ = entryOf(text);
  touched_ = true;
}

ui::KeyCode NumberEditor::run() {
  changed_ = false;
  for (;;) {
    draw();
    ui::KeyCode key = waitKey(ctx_);
    if (key == k::kAbort) return key;
    if (key == k::kRefresh) continue;
    bool numberKey = (key >= '0' && key <= '9') || key == '+' || key == '-' || key == '.';
    if (numberKey) {
      if (key == '.' && decimals_ == 0) {
        ctx_.host.beep();
        continue;
      }
      if (first_) {
        entry_ = NumberEntry{};
        touched_ = true;
        first_ = false;
      }
      if (!type(static_cast<char>(key))) {
        ctx_.host.beep();
        continue;
      }
      if (full(entry_)) {
        ui::KeyCode next = keyWhenFull(ctx_, opts_, [this] { draw(); });
        return next == k::kAbort ? next : finish(next);
      }
      continue;
    }
    if (edit_key::isCopy(key)) {
      std::string text = current();
      ctx_.copy.set(text, tablestore::parseNumber(text));
      continue;
    }
    first_ = false;
    if (key == k::kBackspace) {
      if (!entry_.hasDigits() || valueOf(entry_) == 0.0) return finish(k::kLeft);
      if (!entry_.fraction.empty()) {
        entry_.fraction.pop_back();
      } else if (entry_.point) {
        entry_.point = false;
      } else {
        entry_.whole.pop_back();
      }
      touched_ = true;
      continue;
    }
    if (edit_key::isPaste(key)) {
      paste();
      continue;
    }
    if (key == k::kMouseClick && clickedOffset(ctx_, spot_, width_) >= 0) continue;
    return finish(key);
  }
}

}  // namespace

ui::KeyCode editNumber(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                       std::string& buffer, bool& changed) {
  return NumberEditor(ctx, spot, opts, buffer, changed).run();
}

}  // namespace editor
