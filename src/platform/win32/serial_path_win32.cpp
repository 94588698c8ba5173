#include "platform/serial.hpp"

namespace platform {

// Windows opens the port by its own name (under Wine too: Wine maps the
// name to a device through HKLM\Software\Wine\Ports).
std::string comDevicePath(int port) {
  if (port < 0 || port > 30) return {};
  return comPortName(port);
}

}  // namespace platform
