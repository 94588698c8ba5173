#include <cstdio>

#include "platform/errors.hpp"
#include "platform/serial.hpp"

namespace platform {

// Ports 0-9 keep the short DOS-style name; 10 and above need the device
// namespace form, which CreateFile takes for any number.
std::string comPortName(int port) {
  char name[24];
  if (port >= 0 && port <= 9)
    std::snprintf(name, sizeof name, "COM%d:", port);
  else
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
  return name;
}

SerialOpener nativeSerialOpener() {
  return [](int port, int& error) -> std::unique_ptr<SerialDevice> {
    std::string path = comDevicePath(port);
    if (path.empty()) {
      error = kErrFileNotFound;
      return nullptr;
    }
    return openSerialDevice(path, error);
  };
}

}  // namespace platform
