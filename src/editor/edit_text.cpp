#include "editor/edit_text.hpp"

#include <algorithm>
#include <optional>

#include "base/text.hpp"
#include "tablestore/number_text.hpp"

namespace editor {

namespace {

namespace k = ui::key;

// One run of the text editor over one cell; the scrolling editor is the same
// with a narrower window onto the text.
class TextEditor : EditorCore {
 public:
  TextEditor(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts, std::string& buffer,
             bool& changed, bool scroll)
      : EditorCore(ctx, spot, opts, buffer, changed), scroll_(scroll),
        width_(std::max(opts.width, 1)), work_(fitToWidth(buffer, width_)),
        shown_(scroll ? shownWidthOf(spot, width_) : width_) {}

  ui::KeyCode run();

 private:
  void draw();
  void type(char c);
  void paste();
  // Ends the run: the work text becomes the buffer when a key changed it.
  ui::KeyCode finish(ui::KeyCode key);
  // Handles an edit command (nothing returned), or gives the key that ends
  // the editor.
  std::optional<ui::KeyCode> command(ui::KeyCode key);

  const bool scroll_;
  const int width_;
  std::string work_;
  const int shown_;
  int pos_ = 0, offset_ = 0;
  bool insert_ = true, fieldEdit_ = false;
};

ui::KeyCode TextEditor::run() {
  changed_ = false;
  CursorShapeGuard shape(ctx_.screen);
  for (;;) {
    draw();
    ui::KeyCode key = waitKey(ctx_);
    if (key == k::kAbort) return key;
    if (key == k::kRefresh) continue;
    if (isPrintableKey(key)) {
      type(static_cast<char>(key));
      if (pos_ < width_) continue;
      ui::KeyCode next = keyWhenFull(ctx_, opts_, [this] { draw(); });
      return next == k::kAbort ? next : finish(next);
    }
    if (edit_key::isCopy(key)) {
      ctx_.copy.set(work_, tablestore::parseNumber(work_));
      continue;
    }
    if (std::optional<ui::KeyCode> exit = command(key)) return finish(*exit);
    first_ = false;
  }
}

void TextEditor::draw() {
  int at = std::min(pos_, width_ - 1);
  if (at < offset_) offset_ = at;
  if (at >= offset_ + shown_) offset_ = at - shown_ + 1;
  ctx_.screen.setInsertCursor(fieldEdit_ && insert_);
  drawEditedCell(ctx_, spot_, std::string_view(work_).substr(static_cast<std::size_t>(offset_)),
                 shown_, at - offset_);
}

void TextEditor::type(char c) {
  if (first_) {
    work_.assign(static_cast<std::size_t>(width_), ' ');
    pos_ = 0;
    first_ = false;
  }
  if (opts_.upperCase) c = upperChar(c);
  if (insert_) {
    work_.insert(static_cast<std::size_t>(pos_), 1, c);
    work_.resize(static_cast<std::size_t>(width_));
  } else {
    work_[static_cast<std::size_t>(pos_)] = c;
  }
  ++pos_;
  touched_ = true;
}

void TextEditor::paste() {
  if (!ctx_.copy.valid) return;
  std::string text = base::trimRight(ctx_.copy.text);
  // A copy that does not fit is refused rather than stored cut.
  if (static_cast<int>(text.size()) > width_) {
    ctx_.host.beep();
    return;
  }
  if (opts_.upperCase) {
    for (char& c : text) c = upperChar(c);
  }
  work_ = fitToWidth(text, width_);
  pos_ = std::min(static_cast<int>(text.size()), width_ - 1);
  touched_ = true;
}

std::optional<ui::KeyCode> TextEditor::command(ui::KeyCode key) {
  std::size_t at = static_cast<std::size_t>(pos_);
  switch (key) {
    case k::kBackspace:
      if (pos_ == 0) return k::kLeft;
      if (fieldEdit_) {
        work_.erase(at - 1, 1);
        work_.push_back(' ');
      } else {
        work_[at - 1] = ' ';
      }
      --pos_;
      touched_ = true;
      return std::nullopt;
    case k::kDelete:
      work_.erase(at, 1);
      work_.push_back(' ');
      touched_ = true;
      return std::nullopt;
    case k::kLeft:
      if (!fieldEdit_ || pos_ == 0) return key;
      --pos_;
      return std::nullopt;
    case k::kRight:
      if (!fieldEdit_ || pos_ + 1 >= width_) return key;
      ++pos_;
      return std::nullopt;
    case k::kInsert:
    case edit_key::kAltI:
      insert_ = fieldEdit_ ? !insert_ : false;
      return std::nullopt;
    case edit_key::kCtrlF:
    case edit_key::kCtrlF2:
      fieldEdit_ = true;
      return std::nullopt;
    case k::kMouseClick: {
      int off = clickedOffset(ctx_, spot_, shown_);
      if (off < 0) return key;
      pos_ = std::min(offset_ + off, width_ - 1);
      return std::nullopt;
    }
    default:
      break;
  }
  if (edit_key::isPaste(key)) {
    paste();
    return std::nullopt;
  }
  if (!scroll_) return key;
  switch (key) {
    case k::kCtrlLeft: pos_ = std::max(pos_ - 1, 0); return std::nullopt;
    case k::kCtrlRight: pos_ = std::min(pos_ + 1, width_ - 1); return std::nullopt;
    case k::kCtrlHome: pos_ = 0; return std::nullopt;
    case k::kCtrlEnd:
      pos_ = std::min(static_cast<int>(base::trimmedLength(work_)), width_ - 1);
      return std::nullopt;
    default: return key;
  }
}

ui::KeyCode TextEditor::finish(ui::KeyCode key) { return finishWith(key, work_, width_); }

}  // namespace

ui::KeyCode editText(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                     std::string& buffer, bool& changed) {
  return TextEditor(ctx, spot, opts, buffer, changed, false).run();
}

ui::KeyCode editScrollText(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                           std::string& buffer, bool& changed) {
  return TextEditor(ctx, spot, opts, buffer, changed, true).run();
}

}  // namespace editor
