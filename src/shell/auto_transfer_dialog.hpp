#pragma once
// "Tag For Auto Transfer": the current application's bundled datasets in a
// list where the crew marks those every host transfer sends; the marks are
// kept in the "AutoXfer" registry value. A marked entry begins with "* ",
// an unmarked one with two blanks. Enter, a double click or Mark turns the
// selected entry's mark on or off; OK keeps the marks, Cancel drops them.
#include <string>
#include <vector>

#include "ui/form.hpp"

namespace ui { class Host; }

namespace shell {

struct StartupValues;

inline constexpr int kAutoTransferPortraitDialog = 290, kAutoTransferLandscapeDialog = 123;
inline constexpr int kAutoTransferList = 1231, kAutoTransferMarkButton = 1232;

inline constexpr const char* kAutoTransferCaption = "Tag For Auto Transfer";
inline constexpr const char* kAutoTransferFullText =
    "Auto Transfer List Full!\nNo More Datasets Can Be Tagged.";
inline constexpr const char* kAutoTransferCommaText = "Dataset Name Holds a Comma!\nIt Can't Be Tagged.";

ui::Form autoTransferForm(bool portrait);

// The list entry of a dataset name, marked or not.
std::string autoTransferEntry(const std::string& name, bool marked);

// The command. Needs a current application ("Must Select a Valid
// Application!") whose data folder exists ("Selected Data Storage\nLocation
// Not Available.\nSelect New Location.", which also empties "AutoXfer"),
// both caption "Error". The list starts with the marks of "AutoXfer" that
// name datasets still present (others are dropped). A mark that would make
// the value longer than it can hold is refused with kAutoTransferFullText,
// a name with a comma with kAutoTransferCommaText (caption "Tag For Auto
// Transfer"). OK writes the marks: 1 when written, else 0.
int autoTransferCommand(ui::Host& host, StartupValues& values);

}  // namespace shell
