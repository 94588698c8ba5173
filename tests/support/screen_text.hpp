#pragma once
// The edit window's Screen as text, exactly as the terminal shows its
// characters: each 8-bit (Windows-1252) character as its Unicode character,
// frame lines as box-drawing characters where the cell's character shows as
// a blank, control bytes as blanks. Lines are UTF-8, one per row, every cell
// of the row included. Tests compare a screen against what a terminal shows.
#include <string>
#include <vector>

#include "ui/screen.hpp"

namespace testing_support {

// Row row (1 to screen.rows(); others give "") as UTF-8.
std::string screenRow(const ui::Screen& screen, int row);

// Every row; with trimRight, the blanks at each line's end are left off
// (as a terminal's text capture gives them).
std::vector<std::string> screenText(const ui::Screen& screen, bool trimRight = false);

}  // namespace testing_support
