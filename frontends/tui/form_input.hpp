#pragma once
// Terminal input for an open form. What a key means for the form is
// ui::FormState's business; this adds only what the cells bring: clicks
// found by position, access letters, the first visible entry of each list
// box, and the opened list of a drop-down (F4 or Alt+Down).
#include <map>

#include "form_layout.hpp"
#include "input_event.hpp"
#include "ui/form_state.hpp"

namespace tui {

class FormInput {
 public:
  // Rows an opened drop-down list shows at most.
  static constexpr int kDropRows = 8;

  explicit FormInput(ui::FormState& state) : state_(state) {}

  // One event against the form as shown by layout.
  void onEvent(const InputEvent& e, const FormLayout& layout);
  // Moves a list box's first visible entry when its selection changed, so the
  // selection stays in sight; keeps every first entry in range.
  void follow(const FormLayout& layout);

  int listTop(int id) const;
  // The drop-down whose list is open (0: none), its highlighted entry, and
  // where the list is drawn (below the box, or above when there is no room).
  int openList() const { return open_; }
  int highlight() const { return highlight_; }
  CellRect popup(const FormLayout& layout) const;
  // The first entry the open list shows (the highlight stays in sight).
  int popupTop(const FormLayout& layout) const;

 private:
  void key(const InputEvent& e);
  void popupEvent(const InputEvent& e, const FormLayout& layout);
  void click(const InputEvent& e, const FormLayout& layout);
  bool accessLetter(ui::KeyCode k, bool plain);
  void openDropDown(int id);
  int indexOf(int id) const;

  ui::FormState& state_;
  struct ListView {
    int top = 0;
    int seen = -2;  // the selection when last followed
  };
  std::map<int, ListView> lists_;
  int open_ = 0, highlight_ = -1;
};

}  // namespace tui
