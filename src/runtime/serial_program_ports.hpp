#pragma once
// The program's port on the serial port layer: the one port a runtime
// program holds (built-ins 152-155), which is also the port the print
// built-ins queue their text on.
#include "runtime/program_port.hpp"

namespace serial {
class PortLayer;
}

namespace runtime {

class SerialProgramPorts : public ProgramPorts {
 public:
  explicit SerialProgramPorts(serial::PortLayer& ports) : ports_(ports) {}

  // Port_Open with the settings, lines ended by CR; 0 when open, 1 when not.
  [[nodiscard]] int open(int port, const PortSettings& settings) override;
  bool close(int port) override;
  bool printerOpen() const override;
  // Queues all of text or nothing: false when the port is closed or its
  // send queue cannot take the whole text.
  [[nodiscard]] bool write(std::string_view text) override;
  int pendingSend() const override;
  void purgeSend() override;

 private:
  serial::PortLayer& ports_;
  int port_ = 0;  // the port the program opened, 0: none
};

}  // namespace runtime
