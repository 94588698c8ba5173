#pragma once
// The common warning prompts. While the edit window is open
// (ui::Host::editScreen() and editKeys() are set) they draw a framed box into
// its Screen and read its key queue; otherwise they use a message box.
#include <string>
#include <string_view>
#include <vector>

namespace ui { class Host; }

namespace config {

// Two-line warning. With tenths > 0 (in tens of milliseconds) and the edit
// window open: a framed box "< Warning ! >" with a beep, up until the time has
// passed, a key is pressed or the edit session is stopped. Otherwise, unless
// quiet: a beep and a "Warning !" message box ("%s\n%s\n"). Keys waiting in
// the edit window's queue are thrown away first. Returns 1 for Yes (or when
// no question is asked) and 2 for No.
int warn(ui::Host& host, std::string_view line1, std::string_view line2, int tenths, bool yesNo,
         bool quiet);
// The same with three lines.
int warn3(ui::Host& host, std::string_view line1, std::string_view line2, std::string_view line3,
          int tenths, bool yesNo, bool quiet);

// Shows the box lines in the edit window and waits for one of two answer
// letters (case ignored): 1 for letterA, 2 for letterB, 0 when the edit
// session is stopped meanwhile (the abort code) or its window closes.
// Without the edit window a Yes/No box stands in (Yes = letterA).
int askLetter(ui::Host& host, const std::vector<std::string>& box, char letterA, char letterB);

// Shows the lines in a framed box titled title on the edit window's Screen,
// without a beep, until tenths (tens of milliseconds) have passed, a key is
// pressed (the abort code included) or the edit window closes; the screen
// beneath is put back after. False, with nothing shown, when the edit window
// is not open or no image slot is free.
bool showTimedBox(ui::Host& host, std::string_view title, const std::vector<std::string>& lines, int tenths);

}  // namespace config
