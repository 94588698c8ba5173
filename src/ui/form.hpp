#pragma once
// Dialogs as data. A Form lists its controls (ids, kinds, texts, rectangles
// in dialog units); a FormController in the subsystem that owns the dialog
// holds all its behaviour and reads and writes control values through a
// FormView. Front ends show the form (Win32: an in-memory dialog template;
// terminal: cells, one cell = 4 × 8 dialog units) and feed events back, so
// every dialog's behaviour is tested without a screen.
#include <string>
#include <string_view>
#include <vector>

#include "ui/keys.hpp"

namespace ui {

enum class ControlKind {
  Static,    // text
  Edit,      // one-line entry
  CheckBox,
  Radio,     // a radio button; a run of them after one with groupStart is one group
  ListBox,
  DropDown,  // drop-down list (choose only)
  Button,    // push button
  Progress,  // progress bar 0-100
  Group,     // a frame with a caption
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
};

// Button ids every front end knows.
inline constexpr int kIdOkButton = 1;
inline constexpr int kIdCancelButton = 2;

struct Control {
  int id = 0;
  ControlKind kind = ControlKind::Static;
  std::string text;  // UTF-8; "&" marks the access letter of buttons and labels
  Rect rect;
  int limit = 0;            // Edit: most characters accepted (0 = no limit)
  bool numberOnly = false;  // Edit: digits only
  bool password = false;    // Edit: shown as '*'
  bool readOnly = false;    // Edit
  bool defaultButton = false;
  bool cancelButton = false;  // Escape presses it
  bool groupStart = false;    // Radio: first of a group
  bool centred = false;       // Static: centred text
  bool enabled = true;
  bool visible = true;
};

struct Form {
  int resource = 0;     // the dialog's resource number, for reference
  std::string caption;  // title bar
  Rect size;            // width and height in dialog units (x, y unused)
  std::vector<Control> controls;
  // Control with the first focus (0: the first control that takes focus).
  int firstFocus = 0;

  const Control* find(int id) const;
  Control* find(int id);
};

// A push button that Enter presses, and one that Escape presses.
Control defaultButton(int id, std::string text, Rect rect);
Control cancelButton(int id, std::string text, Rect rect);

// A dialog of one labelled entry field with OK and Cancel below it, the
// entry focused: the shape of the password, name and identification dialogs.
// The label stands left of the entry; width is the dialog's.
Form entryForm(int resource, std::string caption, Control label, Control entry, int width);

// Control values, as the controller sees them.
class FormView {
 public:
  virtual ~FormView() = default;
  virtual std::string text(int id) const = 0;
  virtual void setText(int id, std::string_view text) = 0;
  virtual bool checked(int id) const = 0;
  virtual void setChecked(int id, bool on) = 0;
  // List box and drop-down entries and the selected index (-1: none).
  virtual void setItems(int id, const std::vector<std::string>& items) = 0;
  virtual std::vector<std::string> items(int id) const = 0;
  virtual int selection(int id) const = 0;
  virtual void setSelection(int id, int index) = 0;
  virtual void setProgress(int id, int percent) = 0;
  virtual void enable(int id, bool on) = 0;
  virtual void show(int id, bool on) = 0;
  virtual void setFocus(int id) = 0;
  virtual void setCaption(std::string_view caption) = 0;
  // A repeating timer calling onTimer(id) every ms milliseconds.
  virtual void startTimer(int id, int ms) = 0;
  virtual void stopTimer(int id) = 0;
  // Ends the dialog; runForm returns result.
  virtual void end(int result) = 0;
};

class FormController {
 public:
  virtual ~FormController() = default;
  virtual void onInit(FormView& view) {}
  // A button was pressed (kIdOkButton for Enter on the default, kIdCancelButton
  // for Escape), or a check box or radio button clicked. The default ends the
  // dialog with the button's id for OK and Cancel.
  virtual void onCommand(FormView& view, int id) {
    if (id == kIdOkButton || id == kIdCancelButton) view.end(id == kIdOkButton ? 1 : 0);
  }
  virtual void onSelectionChange(FormView& view, int id) {}
  virtual void onDoubleClick(FormView& view, int id) {}
  virtual void onTimer(FormView& view, int timerId) {}
};

// What a key does in a list control: the list behaviour every list dialog shares.
struct ListKeyResult {
  enum Action { None, Moved, Take, Cancel } action = None;
  int selection = -1;
};
// Enter takes the selection, Escape cancels, Up and Down move by one, a typed
// printable character selects the next entry beginning with it (case ignored,
// wrapping to the top), the wheel moves by one.
ListKeyResult listKey(const std::vector<std::string>& items, int selection, KeyCode key);

}  // namespace ui
