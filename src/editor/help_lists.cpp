#include "editor/help_lists.hpp"

namespace editor {

// The lists name the keys the dispatcher binds: insert and delete line are
// also Alt+I and Alt+D (Ctrl+I is Tab and Ctrl+D reads the date), and the
// automatic-entry menu is Ctrl+R or Alt+R.

const std::vector<std::string>& virtualDisplayHelp() {
  static const std::vector<std::string> lines = {
      "  F1 | ALT_H | CTRL_1", "  keystroke help", "**",
      "  F2 | CTRL_2", "  view data validation", "  checks", "**",
      "  CTRL_F2", "  field edit for ", "  character columns", "**",
      "  F3 | CTRL_3", "  search column", "**",
      "  F4 | CTRL_4 | CTRL_X | ALT_X", "  check file for", "  missing data and", "  back up one level", "**",
      "  F5 | CTRL_5 | CTRL_Y | ALT_Y", "  Advance to child data level", "**",
      "  ALT_F5 | ALT_5 | CTRL_Z | ALT_Z", "  Sibling jump", "**",
      "  F6 | CTRL_6 | CTRL_L", "  go to line num", "**",
      "  F7 | CTRL_7", "  global program list", "**",
      "  F8 | CTRL_8", "  file level program list", "**",
      "  F9 | CTRL_9 | ALT_I", "  insert line", "**",
      "  F10 | CTRL_0 | ALT_D", "  delete line", "**",
      "  ESCAPE", "  back up one level", "**",
      "  PAGE_UP | CTRL_UP", "  move up one screen", "**",
      "  PAGE_DOWN | CTRL_DN", "  move down one screen", "**",
      "  CTRL_PAGE_UP", "  move to line one", "**",
      "  CTRL_PAGE_DOWN", "  move to last line", "**",
      "  UP_ARROW", "  move up one line", "**",
      "  DOWN_ARROW", "  move down one line", "**",
      "  LEFT_ARROW", "  move to previous column", "**",
      "  RIGHT_ARROW | ENTER", "  move to next column", "**",
      "  CTRL_ENTER", "  copy data from cell above", "**",
      "  TAB | CTRL_RIGHT", "  right one screen", "**",
      "  SHIFT_TAB | CTRL_LEFT", "  left one screen", "**",
      "  HOME", "  move to first", "  col on display", "  if on first", "  display column, ",
      "  move to 1st column", "**",
      "  END", "  move to last", "  column on display", "  if on last display", "  column, move to",
      "  last column", "**",
      "CTRL_HOME", "  move to first line", "  and first column", "**",
      "  CTRL_END", "  move to last line", "  and last column", "**",
      "  CTRL_D", "  read date from clock", "  on date columns", "**",
      "  CTRL_T", "  activate/deactivate timers or", "  read time from clock on time columns", "",
      "  For serial Input Only, Open/Close Terminal for", "  Bi directional Sensor Communication", "**",
      "  CTRL_R | ALT_R", "  set auto entry type", "**",
      "  ALT_P | CTRL_P", "  poll serial port", "  when auto or manual", "  poll type", "**",
      "  ALT_S | CTRL_S", "  serial input only", "  talk to sensor", "**",
      "  ALT_T | CTRL_T", "  For serial Input Only, Open/Close Terminal for",
      "  Bi directional Sensor Communication",
  };
  return lines;
}

const std::vector<std::string>& lineDisplayHelp() {
  static const std::vector<std::string> lines = {
      "  PAGE_UP | CTRL_UP -  move to previous line ", "**",
      "  PAGE_DOWN | CTRL_DOWN -  move to next line or create new line", "**",
      "  F1 | ALT_H | CTRL_1", "  keystroke help", "**",
      "  F2 | CTRL_2", "  view data validation", "  checks", "**",
      "  CTRL_F2", "  field edit for character columns", "**",
      "  F3 | CTRL_3", "  search column", "**",
      "  F4 | CTRL_4 | CTRL_X | ALT_X", "  check file for missing data and", "  back up one level", "**",
      "  F5 | CTRL_5 | CTRL_Y | ALT_Y", "  advance to child data level", "**",
      "  ALT_F5 | ALT_5 | CTRL_Z | ALT_Z", "  Sibling jump", "**",
      "  F6 | CTRL_6 | CTRL_L", "  go to line num", "**",
      "  F7 | CTRL_7", "  global program list", "**",
      "  F8 | CTRL_8", "  file level program list", "**",
      "  F9 | CTRL_9 | ALT_I", "  insert line", "**",
      "  F10 | CTRL_0 | ALT_D", "  delete line", "**",
      "  ESCAPE", "  back up one level", "**",
      "  CTRL_PAGE_UP", "  move to line one", "**",
      "  CTRL_PAGE_DOWN", "  move to last line", "**",
      "  UP_ARROW | LEFT_ARROW", "  move to previous", "  column", "**",
      "  DOWN_ARROW | RIGHT_ARROW | ENTER", "  move to next column", "**",
      "  CTRL_ENTER", "  copy data from cell above", "**",
      "  TAB | CTRL_RIGHT", "  right one screen", "**",
      "  SHIFT_TAB | CTRL_LEFT", "  left one screen", "**",
      "  HOME", "  move to first col on display", "  if on first display column,",
      "  move to 1st column of file", "**",
      "  END", "  move to last column on display", "  if on last display column, move to",
      "  last column of file", "**",
      "  CTRL_HOME", "  move to first line and first column", "**",
      "  CTRL_END", "  move to last line and last column", "**",
      "  CTRL_D", "  read date from clock", "  on date columns", "**",
      "  CTRL_T", "  activate/deactivate timers and", "  read time from clock on time columns", "",
      "  For serial Input Only, Open/Close Terminal for", "  Bi directional Sensor Communication", "**",
      "  CTRL_R | ALT_R", "  set auto entry type", "**",
      "  ALT_P | CTRL_P", "  poll serial port when auto or manual", "  poll type", "**",
      "  ALT_S | CTRL_S", "  serial input only", "  talk to sensor", "**",
      "  ALT_T | CTRL_T", "  For serial Input Only, Open/Close Terminal for",
      "  Bi directional Sensor Communication",
  };
  return lines;
}

std::vector<std::string> helpWindowLines(const std::vector<std::string>& list) {
  std::vector<std::string> out;
  out.reserve(list.size());
  for (const auto& line : list) out.push_back(line == "**" ? std::string() : line);
  return out;
}

}  // namespace editor
