#pragma once
// Message files for the crew: "*.mes" files in the messages folder, listed,
// shown in the scroll window and deleted from the main window.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui { class Host; }

namespace shell {

inline constexpr int kMessageMaxLines = 1028;
inline constexpr int kMessageMaxWidth = 259;

// Breaks a message text into display lines of at most width characters:
// characters below the blank end a line (a run of them ends it once); a line
// that reaches the width breaks at its last blank, or is cut at the width when
// it has none. The closing lines "", "*** End of Message ***", "" follow.
std::vector<std::string> messageLines(std::string_view text, int width);

// The messages folder under an install root (a separator only where missing).
std::string messagesFolder(const std::string& installRoot, char sep);

// Lists the message files and lets the user pick one. count: the number of
// files (0 none), or -1 when the user cancelled. Returns the chosen name.
std::optional<std::string> pickMessageFile(ui::Host& host, const std::string& installRoot, char sep,
                                           int& count);

// Shows one message file in the scroll window; false after a failure message.
bool viewMessage(ui::Host& host, const std::string& installRoot, char sep, const std::string& name);

// The two main-window commands.
void viewMessagesCommand(ui::Host& host, const std::string& installRoot, char sep);
void deleteMessagesCommand(ui::Host& host, const std::string& installRoot, char sep);

}  // namespace shell
