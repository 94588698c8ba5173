#include "runtime/serial_program_ports.hpp"

#include "serial/port_layer.hpp"

namespace runtime {

int SerialProgramPorts::open(int port, const PortSettings& s) {
  if (ports_.Port_Open(port, static_cast<std::uint32_t>(s.baud), s.parity, s.dataBits, s.stopBits,
                       serial::kDefaultTerminator, s.flow, serial::kClassGeneral) != 1)
    return 1;
  port_ = port;
  return 0;
}

bool SerialProgramPorts::close(int port) {
  if (port == port_) port_ = 0;
  return ports_.closePort(port) == 1;
}

bool SerialProgramPorts::printerOpen() const { return port_ != 0 && ports_.isOpen(port_); }

bool SerialProgramPorts::write(std::string_view text) {
  if (!printerOpen()) return false;
  // The printer waits until earlier text has gone before it queues more, so
  // a text that does not fit whole is one the queue cannot hold at all.
  if (text.size() + static_cast<std::size_t>(ports_.pendingSend(port_)) > serial::kSendLimit) return false;
  return ports_.queueSend(port_, text) == static_cast<int>(text.size());
}

int SerialProgramPorts::pendingSend() const { return port_ != 0 ? ports_.pendingSend(port_) : 0; }

void SerialProgramPorts::purgeSend() {
  if (port_ != 0) ports_.purgeSend(port_);
}

}  // namespace runtime
