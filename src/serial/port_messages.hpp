#pragma once
// The texts the port layer shows when a port does not open, and where they
// are shown: the engine's warning prompt while the edit window is open, else
// a topmost message box.
#include <string>

namespace ui { class Host; }

namespace serial {

// "Com%d Open Error:%d " (the prompt's line) and "Com%d: -%s- Open Error:%d "
// (the box, with the device name).
std::string openErrorLine(int port, int error);
std::string openErrorBox(int port, int error);
// "Com%d Already Open", shown in both places.
std::string alreadyOpenText(int port);
inline constexpr const char* kOpenErrorCaption = "Port_Open() Error";
inline constexpr const char* kOpenPromptTitle = "Port_Open()";
inline constexpr const char* kGpsBusyText = "GPS_Port.phandle!=INVALID_HANDLE_VALUE Error";

// Shows promptLine through the warning prompt (250 display units) when host
// has the edit window open, else boxText in a topmost box captioned
// "Port_Open() Error". Nothing when host is null.
void showOpenFailure(ui::Host* host, const std::string& promptLine, const std::string& boxText);

}  // namespace serial
