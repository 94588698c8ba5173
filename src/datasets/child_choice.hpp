#pragma once
// Choosing the table to open below (a child) or beside (a sibling) the
// current one. With one child it is taken at once; with more a list titled
// "Select Child" (hint "Escape to Abort") offers the names from the level's
// .bct with the table chosen last at that level preselected; siblings come
// in the same list titled "Select Sibling". A blocked table is refused with
// the warning "Child Blocked" or "Sibling Blocked", up for 2.5 seconds or
// until a key is pressed. The edit window's child and sibling keys call these.
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace apps {
class LevelBct;
}
namespace ui {
class Host;
}

namespace datasets {

inline constexpr int kChildListResource = 301;
inline constexpr int kChildListControl = 3010;
inline constexpr const char* kSelectChildTitle = "Select Child";
inline constexpr const char* kSelectSiblingTitle = "Select Sibling";
inline constexpr const char* kChildListHint = "Escape to Abort";
// How long the refusals stay up, in tens of milliseconds.
inline constexpr int kBlockedWarnTime = 250;

// The list form: the title as caption, the hint, the names, OK and Cancel.
ui::Form childListForm(const std::string& title, const std::vector<std::string>& names);

// Offers the children of the table whose .bct is parent (entries 1 to
// ChildCount of ChildNames, at most 26). Returns the chosen entry's number
// (1-based) and sets remembered to its name; 0 when there is no child, the
// user escaped, or the child is blocked ("Child Blocked").
int chooseChild(ui::Host& host, const apps::LevelBct& parent, std::string& remembered);

// The same for the siblings listed in the .bct of the table open now
// (SiblingNames, SiblingBlocked; "Sibling Blocked").
int chooseSibling(ui::Host& host, const apps::LevelBct& current, std::string& remembered);

}  // namespace datasets
