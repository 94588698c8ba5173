// Temporary: the device names, until the platform's own definition lands.
#include <string>

#include "platform/serial.hpp"

namespace platform {

std::string comPortName(int port) {
  return port >= 10 ? "\\\\.\\COM" + std::to_string(port) : "COM" + std::to_string(port) + ":";
}

}  // namespace platform
