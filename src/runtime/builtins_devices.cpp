// The serial port built-ins (152-155): the one port a program may hold,
// opened with the program port settings. The print built-ins (117-122) are
// in builtins_printer.cpp.
#include <string_view>

#include "runtime/builtin_table.hpp"
#include "runtime/printer_output.hpp"
#include "runtime/program_port.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

namespace {

constexpr int kHighestPort = 30;
constexpr std::string_view kParityLetters = "NEOMS";

// Opens port with the settings as they stand (the baud rate given): the port
// number, or 0 with status 35 (port not usable by a program) or 30 (the open
// failed). A port the program already holds is closed first: it holds one.
void openWithSettings(Call& c, int port, int baud) {
  c.setNumber(0);
  ProgramPorts* ports = c.ctx.ports;
  if (!ports || port < 1 || port > kHighestPort || port == c.ctx.sensorPort) {
    c.setStatus(kErrPortNotAvailable);
    return;
  }
  if (baud <= 0) {
    c.setStatus(kErrCantOpenPort);
    return;
  }
  if (c.m.programPort != 0) closeProgramPort(c.m, c.ctx);
  ports->settings.baud = baud;
  if (ports->open(port, ports->settings) != 0) {
    c.setStatus(kErrCantOpenPort);
    return;
  }
  ports->settings.port = port;
  c.m.programPort = port;
  c.setNumber(port);
}

// 152: port x at baud rate y with the current settings.
void openPort(Call& c) { openWithSettings(c, c.integer(0), c.integer(1)); }

// 153: closes the program's port; status 35 when it holds none.
void closePort(Call& c) {
  c.setNumber(0);
  if (c.m.programPort == 0 || !c.ctx.ports) {
    c.setStatus(kErrPortNotAvailable);
    return;
  }
  closeProgramPort(c.m, c.ctx);
}

// 154: port x, baud y, parity index z into "NEOMS", data bits (4th, 5-8,
// else 8), stop bits (5th, 1-2, else 1), then open.
void openPortWith(Call& c) {
  if (ProgramPorts* ports = c.ctx.ports) {
    const int parity = c.integer(2), data = c.integer(3), stop = c.integer(4);
    ports->settings.parity =
        parity >= 0 && parity < static_cast<int>(kParityLetters.size()) ? kParityLetters[static_cast<std::size_t>(parity)] : 'N';
    ports->settings.dataBits = data >= 5 && data <= 8 ? data : 8;
    ports->settings.stopBits = stop == 2 ? 2 : 1;
  }
  openWithSettings(c, c.integer(0), c.integer(1));
}

// 155: port x with flow-control kind y (0-4; others mean none), then open
// at the current baud rate.
void openPortFlow(Call& c) {
  ProgramPorts* ports = c.ctx.ports;
  if (ports) {
    const int flow = c.integer(1);
    ports->settings.flow = flow >= 0 && flow <= 4 ? flow : 0;
  }
  openWithSettings(c, c.integer(0), ports ? ports->settings.baud : 0);
}

}  // namespace

void addDeviceBuiltins(BuiltinTable& t) {
  addPrinterBuiltins(t);
  t[152] = openPort;
  t[153] = closePort;
  t[154] = openPortWith;
  t[155] = openPortFlow;
}

}  // namespace runtime
