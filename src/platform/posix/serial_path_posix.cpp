#include "platform/registry.hpp"
#include "platform/serial.hpp"

namespace platform {

// A POSIX machine has no COM names: the crew maps a number to a tty under the
// program's key ("Ports", value "COM3" = "/dev/ttyUSB0"); an unmapped number
// falls back to the n-th on-board port, as COM1 is /dev/ttyS0.
std::string comDevicePath(int port) {
  if (port < 0 || port > 30) return {};
  std::string key = std::string(kAppKey) + "\\Ports";
  std::string path;
  if (readRegString(RegRoot::CurrentUser, key, "COM" + std::to_string(port), path) == 1 &&
      !path.empty())
    return path;
  if (port == 0) return {};
  return "/dev/ttyS" + std::to_string(port - 1);
}

}  // namespace platform
