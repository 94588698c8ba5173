#pragma once
// The pick list (dialog 107): a list with a title entry, one entry per
// candidate and a closing entry, shared by the messages, the application
// lists and later lists of the program.
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace ui {

class Host;

inline constexpr int kPickListResource = 107;
inline constexpr int kPickListControl = 1070;

struct PickListTexts {
  std::string caption;  // window title
  std::string title;    // first entry, e.g. "< Available Messages >"
  std::string closing;  // last entry, e.g. "< Press OK to Select >"
};

// The form of the pick list, sized for its entries.
ui::Form pickListForm(const PickListTexts& texts, const std::vector<std::string>& names);

// Shows the list; returns the index of the chosen candidate, or -1 when the
// user cancels. The title and closing entries cannot be taken.
int runPickList(ui::Host& host, const PickListTexts& texts, const std::vector<std::string>& names);

}  // namespace ui
