#pragma once
// The values of an open form kept in memory: the FormView of the terminal
// front end and of tests. Front ends render from it and report input with
// the event calls, which run the controller.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace ui {

class FormState : public FormView {
 public:
  FormState(const Form& form, FormController& controller);

  // Runs onInit (once, before the first rendering).
  void init();

  // FormView
  std::string text(int id) const override;
  void setText(int id, std::string_view text) override;
  bool checked(int id) const override;
  void setChecked(int id, bool on) override;
  void setItems(int id, const std::vector<std::string>& items) override;
  std::vector<std::string> items(int id) const override;
  int selection(int id) const override;
  void setSelection(int id, int index) override;
  void setProgress(int id, int percent) override;
  void enable(int id, bool on) override;
  void show(int id, bool on) override;
  void setFocus(int id) override;
  void setCaption(std::string_view caption) override;
  void startTimer(int id, int ms) override;
  void stopTimer(int id) override;
  void end(int result) override;

  // Events from the front end (or a test).
  // A button press, or a click on a check box or radio button (which toggles
  // or selects it first). Disabled or hidden controls do nothing.
  void press(int id);
  // The user typed a new text (UTF-8) into an edit control (the limit, in
  // characters, and the number-only rule are applied here).
  void type(int id, std::string_view text);
  void select(int id, int index);
  void doubleClick(int id);
  // A key for the control with the focus: Tab/Shift+Tab move the focus;
  // Enter presses the default button (or takes a list's entry, which presses
  // the default button); Escape presses the cancel button; list keys follow
  // listKey(); printable keys and Backspace edit an edit control; Space
  // presses a focused button or check box. Returns true when the key was used.
  bool key(KeyCode k);
  // Advances the timers to now (milliseconds); calls onTimer for each due one.
  void tick(std::uint64_t nowMs);

  bool ended() const { return result_.has_value(); }
  int result() const { return result_.value_or(0); }
  int focus() const { return focus_; }
  int progress(int id) const;
  bool isEnabled(int id) const;
  bool isVisible(int id) const;
  const std::string& caption() const { return caption_; }
  const Form& form() const { return form_; }

 private:
  struct Value {
    std::string text;
    bool checked = false;
    std::vector<std::string> items;
    int selection = -1;
    int progress = 0;
    bool enabled = true, visible = true;
  };
  struct Timer {
    int intervalMs;
    std::uint64_t due;
  };
  Value& at(int id);
  const Value* find(int id) const;
  bool focusable(const Control& c) const;
  void moveFocus(int step);
  int defaultButton() const;
  int cancelButton() const;

  Form form_;
  FormController& controller_;
  std::map<int, Value> values_;
  std::map<int, Timer> timers_;
  std::optional<int> result_;
  std::string caption_;
  int focus_ = 0;
  std::uint64_t now_ = 0;
};

}  // namespace ui
