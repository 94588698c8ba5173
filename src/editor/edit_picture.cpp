#include "editor/edit_picture.hpp"

#include <algorithm>
#include <optional>

#include "base/text.hpp"
#include "tablestore/number_text.hpp"

namespace editor {

namespace k = ui::key;

bool isPicturePlaceholder(char pictureChar) {
  switch (pictureChar) {
    case '#':
    case '*':
    case '?':
    case '@':
    case '~': return true;
    default: return false;
  }
}

bool pictureAccepts(char pictureChar, char c) {
  switch (pictureChar) {
    case '#': return isAsciiDigit(c);
    case '*': return isPrintableKey(static_cast<unsigned char>(c));
    case '?': return isAsciiDigit(c) || isAsciiLetter(c);
    case '@': return isAsciiLetter(c);
    case '~': return isAsciiDigit(c) || isAsciiLetter(c) || c == '_';
    default: return false;
  }
}

std::vector<std::string> pictureRefusal(char pictureChar) {
  switch (pictureChar) {
    case '#': return {"Must be", " Digit"};
    case '?': return {"Must be Digit", "or A to Z"};
    case '@': return {"Must be", "Letter A - Z"};
    case '~': return {"Must be Letter,", "underscore", " or digit"};
    default: return {};
  }
}

std::string pictureTemplate(std::string_view picture, int width) {
  std::string out(static_cast<std::size_t>(std::max(width, 0)), ' ');
  for (std::size_t i = 0; i < out.size() && i < picture.size(); ++i) {
    if (!isPicturePlaceholder(picture[i])) out[i] = picture[i];
  }
  return out;
}

namespace {

class PictureEditor : EditorCore {
 public:
  PictureEditor(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                std::string& buffer, bool& changed)
      : EditorCore(ctx, spot, opts, buffer, changed),
        width_(std::max(opts.width, 1)) {
    // A picture shorter than the field takes anything in the rest.
    picture_ = opts.picture.substr(0, static_cast<std::size_t>(width_));
    picture_.resize(static_cast<std::size_t>(width_), '*');
    template_ = pictureTemplate(picture_, width_);
    work_ = base::trimmedLength(buffer) == 0 ? template_ : fitToWidth(buffer, width_);
    pos_ = nextSlot(0);
  }

  ui::KeyCode run();

 private:
  bool isSlot(int i) const { return isPicturePlaceholder(picture_[static_cast<std::size_t>(i)]); }
  // The first placeholder at or after i (width when none), the last at or
  // before i (-1 when none).
  int nextSlot(int i) const {
    while (i < width_ && !isSlot(i)) ++i;
    return i;
  }
  int prevSlot(int i) const {
    while (i >= 0 && !isSlot(i)) --i;
    return i;
  }
  void draw() { drawEditedCell(ctx_, spot_, work_, width_, std::min(pos_, width_ - 1)); }
  // Takes c at the position, or shows why not.
  void type(char c);
  void paste();
  std::optional<ui::KeyCode> command(ui::KeyCode key);
  ui::KeyCode finish(ui::KeyCode key) { return finishWith(key, work_, width_); }

  const int width_;
  std::string picture_, template_, work_;
  int pos_ = 0;
};

ui::KeyCode PictureEditor::run() {
  changed_ = false;
  for (;;) {
    draw();
    ui::KeyCode key = waitKey(ctx_);
    if (key == k::kAbort) return key;
    if (key == k::kRefresh) continue;
    if (edit_key::isCopy(key)) {
      ctx_.copy.set(work_, tablestore::parseNumber(work_));
      continue;
    }
    if (!isPrintableKey(key)) {
      if (std::optional<ui::KeyCode> exit = command(key)) return finish(*exit);
      first_ = false;
      continue;
    }
    type(static_cast<char>(key));
    first_ = false;
    if (pos_ >= width_) {
      ui::KeyCode next = keyWhenFull(ctx_, opts_, [this] { draw(); });
      return next == k::kAbort ? next : finish(next);
    }
  }
}

void PictureEditor::type(char c) {
  if (first_) {
    work_ = template_;
    pos_ = nextSlot(0);
    touched_ = true;
  }
  if (pos_ >= width_) return;  // a picture of literals only: nothing to type
  if (opts_.upperCase) c = upperChar(c);
  char slot = picture_[static_cast<std::size_t>(pos_)];
  if (!pictureAccepts(slot, c)) {
    showWarning(ctx_, pictureRefusal(slot), kPictureWarnTicks);
    return;
  }
  work_[static_cast<std::size_t>(pos_)] = c;
  pos_ = nextSlot(pos_ + 1);
  touched_ = true;
}

void PictureEditor::paste() {
  if (!ctx_.copy.valid) return;
  std::string text = base::trimRight(ctx_.copy.text);
  std::string out = template_;
  int j = 0;
  for (char c : text) {
    // The copy may carry the picture's literals itself.
    if (j < width_ && !isSlot(j) && c == picture_[static_cast<std::size_t>(j)]) {
      ++j;
      continue;
    }
    j = nextSlot(j);
    if (opts_.upperCase) c = upperChar(c);
    if (j >= width_ || !pictureAccepts(picture_[static_cast<std::size_t>(j)], c)) {
      ctx_.host.beep();
      return;
    }
    out[static_cast<std::size_t>(j++)] = c;
  }
  work_ = out;
  pos_ = nextSlot(j);
  if (pos_ >= width_) pos_ = std::max(prevSlot(width_ - 1), 0);
  touched_ = true;
}

std::optional<ui::KeyCode> PictureEditor::command(ui::KeyCode key) {
  if (key == k::kBackspace) {
    int prev = prevSlot(pos_ - 1);
    if (prev < 0) return k::kLeft;
    pos_ = prev;
    work_[static_cast<std::size_t>(pos_)] = ' ';
    touched_ = true;
    return std::nullopt;
  }
  if (key == k::kMouseClick) {
    int off = clickedOffset(ctx_, spot_, width_);
    if (off < 0) return key;
    int slot = nextSlot(off);
    if (slot >= width_) slot = prevSlot(off);
    if (slot >= 0) pos_ = slot;
    return std::nullopt;
  }
  if (edit_key::isPaste(key)) {
    paste();
    return std::nullopt;
  }
  return key;
}

}  // namespace

ui::KeyCode editPicture(FieldContext& ctx, const CellSpot& spot, const FieldOptions& opts,
                        std::string& buffer, bool& changed) {
  return PictureEditor(ctx, spot, opts, buffer, changed).run();
}

}  // namespace editor
