#include "editor/edit_date_time.hpp"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "base/text.hpp"
#include "editor/date_time_check.hpp"
#include "editor/field_formats.hpp"
#include "tablestore/number_text.hpp"

namespace editor {

namespace {

namespace k = ui::key;

// What differs between the date and the time editor.
struct PartsSetup {
  std::string mask;     // the empty template: blanks where digits go
  std::string cleared;  // what the first digit clears the value to
  std::string start;    // the value editing starts from
  char separator = '/';
  ui::KeyCode fillKey = 0;
  std::function<std::string()> fillText;
  std::function<bool(std::string_view text, int& badPos)> check;
};

bool onlyChars(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

// A numeric field's stored number as the template's digits: the record
// gives " 22924" for 02/29/24, which reads back as "022924".
std::string digitsOfNumber(std::string_view buffer, int length) {
  std::string digits = base::trim(buffer);
  if (digits.empty() || !onlyChars(digits, "0123456789") || static_cast<int>(digits.size()) > length)
    return fitToWidth(buffer, length);
  return std::string(static_cast<std::size_t>(length) - digits.size(), '0') + digits;
}

class PartsEditor : EditorCore {
 public:
  PartsEditor(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
              std::string& buffer, bool& changed, PartsSetup setup)
      : EditorCore(ctx, spot, opts, buffer, changed),
        setup_(std::move(setup)), width_(std::max(opts.width, 1)),
        length_(static_cast<int>(setup_.mask.size())), work_(setup_.start) {
    for (int i = 0; i < length_; ++i) {
      if (isDigitAt(i) && (i == 0 || !isDigitAt(i - 1))) partStarts_.push_back(i);
    }
  }

  ui::KeyCode run();

 private:
  bool isDigitAt(int i) const { return setup_.mask[static_cast<std::size_t>(i)] == ' '; }
  int nextDigit(int i) const {
    while (i < length_ && !isDigitAt(i)) ++i;
    return i;
  }
  int prevDigit(int i) const {
    while (i >= 0 && !isDigitAt(i)) --i;
    return i;
  }
  void draw() {
    drawEditedCell(ctx_, spot_, fitToWidth(work_, width_), width_, std::min(pos_, length_ - 1));
  }
  // Checks the value; on refusal the position goes to the bad part.
  bool checked() {
    int bad = pos_;
    if (setup_.check(work_, bad)) return true;
    pos_ = std::clamp(bad, 0, length_ - 1);
    return false;
  }
  int partLength(int start) const {
    int end = start;
    while (end < length_ && isDigitAt(end)) ++end;
    return end - start;
  }
  // The separator key in a character field: to the next part. Digits just
  // typed from a part's start that do not fill it are the part's number
  // ("5" becomes "05"); right after a part was typed full the position is
  // already on the next one and stays.
  void separator();
  // The end of a filled value: checked, then Enter or the key after it.
  std::optional<ui::KeyCode> filled();
  std::optional<ui::KeyCode> command(ui::KeyCode key);
  ui::KeyCode finish(ui::KeyCode key) { return finishWith(key, fitToWidth(work_, width_), width_); }

  const PartsSetup setup_;
  const int width_, length_;
  std::string work_;
  std::vector<int> partStarts_;
  int pos_ = 0;
  int runStart_ = -1, runCount_ = 0;  // digits typed in a row from a part's start
};

ui::KeyCode PartsEditor::run() {
  changed_ = false;
  if (width_ < length_) {
    // The value cannot be held; show it and pass the key on.
    for (;;) {
      drawEditedCell(ctx_, spot_, buffer_, width_, 0);
      ui::KeyCode key = waitKey(ctx_);
      if (key != k::kRefresh) return key;
    }
  }
  for (;;) {
    draw();
    ui::KeyCode key = waitKey(ctx_);
    if (key == k::kAbort) return key;
    if (key == k::kRefresh) continue;
    if (edit_key::isCopy(key)) {
      ctx_.copy.set(work_, tablestore::parseNumber(work_));
      continue;
    }
    std::optional<ui::KeyCode> exit = command(key);
    first_ = false;
    if (!exit) continue;
    if (*exit == k::kAbort) return *exit;
    return finish(*exit);
  }
}

void PartsEditor::separator() {
  if (runStart_ < 0) {
    auto next = std::upper_bound(partStarts_.begin(), partStarts_.end(), pos_);
    if (next != partStarts_.end()) pos_ = *next;
    return;
  }
  int start = runStart_, count = runCount_, length = partLength(start);
  runStart_ = -1;
  if (count >= length) return;  // the part was just typed full: already at the next one
  std::string typed = work_.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
  work_.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length),
                std::string(static_cast<std::size_t>(length - count), '0') + typed);
  int next = nextDigit(start + length);
  if (next < length_) pos_ = next;
}

std::optional<ui::KeyCode> PartsEditor::filled() {
  if (!checked()) return std::nullopt;
  return keyWhenFull(ctx_, opts_, [this] { draw(); });
}

std::optional<ui::KeyCode> PartsEditor::command(ui::KeyCode key) {
  if (key >= '0' && key <= '9') {
    if (first_) {
      work_ = setup_.cleared;
      pos_ = 0;
    }
    pos_ = nextDigit(pos_);
    if (pos_ >= length_) return filled();
    work_[static_cast<std::size_t>(pos_)] = static_cast<char>(key);
    touched_ = true;
    if (std::binary_search(partStarts_.begin(), partStarts_.end(), pos_)) {
      runStart_ = pos_;
      runCount_ = 1;
    } else if (runStart_ >= 0 && pos_ == runStart_ + runCount_) {
      ++runCount_;
    } else {
      runStart_ = -1;
    }
    pos_ = nextDigit(pos_ + 1);
    if (pos_ >= length_) return filled();
    return std::nullopt;
  }
  if (key == static_cast<ui::KeyCode>(setup_.separator)) {
    if (opts_.numericField) {
      runStart_ = -1;
      if (checked()) return k::kRight;
      return std::nullopt;
    }
    separator();
    return std::nullopt;
  }
  runStart_ = -1;
  switch (key) {
    case k::kLeft:
    case k::kBackspace: {
      int prev = prevDigit(pos_ - 1);
      if (prev >= 0) {
        pos_ = prev;
        return std::nullopt;
      }
      if (checked()) return k::kLeft;
      return std::nullopt;
    }
    case k::kRight: {
      int next = nextDigit(pos_ + 1);
      if (next < length_) {
        pos_ = next;
        return std::nullopt;
      }
      if (checked()) return k::kRight;
      return std::nullopt;
    }
    case k::kMouseClick: {
      int off = clickedOffset(ctx_, spot_, width_);
      if (off < 0) break;
      off = std::min(off, length_ - 1);
      pos_ = nextDigit(off) < length_ ? nextDigit(off) : std::max(prevDigit(off), 0);
      return std::nullopt;
    }
    default: break;
  }
  if (key == setup_.fillKey) {
    work_ = fitToWidth(setup_.fillText(), length_);
    touched_ = true;
    return k::kRight;
  }
  if (edit_key::isPaste(key)) {
    if (!ctx_.copy.valid) return std::nullopt;
    std::string digits;
    for (char c : ctx_.copy.text) {
      if (isAsciiDigit(c)) digits += c;
    }
    int slots = static_cast<int>(std::count(setup_.mask.begin(), setup_.mask.end(), ' '));
    if (static_cast<int>(digits.size()) != slots) {
      ctx_.host.beep();
      return std::nullopt;
    }
    std::size_t d = 0;
    for (int i = 0; i < length_; ++i) {
      if (isDigitAt(i)) work_[static_cast<std::size_t>(i)] = digits[d++];
    }
    touched_ = true;
    pos_ = prevDigit(length_ - 1);
    return filled();
  }
  // Any other key ends the editor; an edited value must be good to leave.
  if (touched_ && !checked()) return std::nullopt;
  return key;
}

}  // namespace

ui::KeyCode editDate(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                     std::string& buffer, bool& changed) {
  PartsSetup setup;
  setup.mask = dateTemplate(opts.fieldType, opts.numericField);
  if (setup.mask.empty()) setup.mask = dateTemplate(kTypeDateMdy, opts.numericField);
  int type = isDateType(opts.fieldType) ? opts.fieldType : kTypeDateMdy;
  int length = static_cast<int>(setup.mask.size());
  setup.cleared = setup.mask;
  std::string start =
      opts.numericField ? digitsOfNumber(buffer, length) : fitToWidth(buffer, length);
  bool empty = onlyChars(start, opts.numericField ? " 0" : " ");
  setup.start = empty ? setup.mask : start;
  setup.separator = kDateSeparator;
  setup.fillKey = edit_key::kCtrlD;
  bool numeric = opts.numericField;
  setup.fillText = [type, numeric] { return todayText(type, numeric); };
  setup.check = [&ctx, type, numeric](std::string_view text, int& badPos) {
    return checkDate(ctx, text, type, numeric, badPos);
  };
  return PartsEditor(ctx, spot, opts, buffer, changed, std::move(setup)).run();
}

ui::KeyCode editTime(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                     std::string& buffer, bool& changed) {
  bool numeric = opts.numericField;
  PartsSetup setup;
  setup.mask = timeTemplate(numeric);
  int length = static_cast<int>(setup.mask.size());
  setup.cleared = numeric ? std::string("000000") : std::string("00:00:00");
  std::string start = numeric ? digitsOfNumber(buffer, length) : fitToWidth(buffer, length);
  bool zero = onlyChars(start, numeric ? " 0" : " 0:");
  setup.start = zero ? setup.cleared : start;
  setup.separator = kTimeSeparator;
  setup.fillKey = edit_key::kCtrlT;
  setup.fillText = [numeric, length] { return timeNowText(kTypeTime, numeric, length); };
  setup.check = [&ctx, numeric](std::string_view text, int& badPos) {
    return checkTime(ctx, text, numeric, badPos);
  };
  return PartsEditor(ctx, spot, opts, buffer, changed, std::move(setup)).run();
}

}  // namespace editor
