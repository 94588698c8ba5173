#include "serial/port_messages.hpp"

#include "config/prompts.hpp"
#include "platform/serial.hpp"
#include "ui/host.hpp"

namespace serial {

// Closing a port has texts of its own ("Com%d Close Error:%d ", "Close Com%d
// Error:%d ", caption "Close Port Error") for a close that fails; closing our
// devices cannot fail, so they are never shown.

std::string openErrorLine(int port, int error) {
  return "Com" + std::to_string(port) + " Open Error:" + std::to_string(error) + " ";
}

std::string openErrorBox(int port, int error) {
  return "Com" + std::to_string(port) + ": -" + platform::comPortName(port) + "- Open Error:" +
         std::to_string(error) + " ";
}

std::string alreadyOpenText(int port) { return "Com" + std::to_string(port) + " Already Open"; }

void showOpenFailure(ui::Host* host, const std::string& promptLine, const std::string& boxText) {
  if (host == nullptr) return;
  if (host->editScreen() != nullptr) {
    (void)config::warn(*host, kOpenPromptTitle, promptLine, 250, false, false);
  } else {
    (void)ui::inform(*host, boxText, kOpenErrorCaption);
  }
}

}  // namespace serial
