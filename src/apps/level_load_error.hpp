#pragma once
// The report of a failed level load.
#include <string>
#include <string_view>

namespace ui {
class Host;
}

namespace apps {

// The caption line: "%s-Error:%d%d%d" with the application name, the level,
// the status and the phase (a missing level-1 .bct of Trees: "Trees-Error:1110").
std::string levelLoadErrorCaption(std::string_view appName, int level, int status, int phase);
// The text by status: 1 "Can't Find:%s", 2 "Opening %s", 3 "%s is Corrupt",
// 4 "Reading %s", 5 "Malloc for %s", any other "Unknown for %s"; %s the path.
std::string levelLoadErrorText(int status, std::string_view path);

// While the edit window is open both lines go to the common prompt (a
// "Warning !" box the user must acknowledge); otherwise a message box shows
// them as two lines under the caption "Load Application Error".
void reportLevelLoadError(ui::Host& host, std::string_view appName, int level, int status, int phase,
                          std::string_view path);

}  // namespace apps
