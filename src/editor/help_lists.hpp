#pragma once
// The keystroke help lists of the two display types: fixed arrays of lines in
// which "**" separates entries; an entry's first line names its keys, the
// following lines describe them.
#include <string>
#include <vector>

namespace editor {

const std::vector<std::string>& virtualDisplayHelp();
const std::vector<std::string>& lineDisplayHelp();

// Titles of the scroll window (F1 on the keyboard, and the main window's help
// commands) and of the pop-up shown on the display.
inline constexpr const char* kVirtualHelpTitle = " < KEYSTROKE Help for Virtual Display > ";
inline constexpr const char* kLineHelpTitle = " < KEYSTROKE Help for Line Display >  ";
inline constexpr const char* kVirtualHelpPopupTitle = "VirtualDisplay KEYSTROKE Help";
inline constexpr const char* kLineHelpPopupTitle = "LineDisplay KEYSTROKE Help";

// The lines as a window shows them: separators become empty lines.
std::vector<std::string> helpWindowLines(const std::vector<std::string>& list);

}  // namespace editor
