#pragma once
// The serial ports a runtime program reaches: the one port it may hold at a
// time (opened with built-ins 152-155, closed when the run ends), which is
// also the printer port the print built-ins write to. The serial layer
// supplies the object through RunContext::ports; while there is none every
// serial built-in reports "Port Not Available" and every print built-in
// "Printer Port Not Open".
#include <string_view>

namespace runtime {

class Machine;
struct RunContext;

// The line settings of the program's port. They live as long as the ports
// object (set at start-up), so a program may set them in one run and open
// the port with them in the next.
struct PortSettings {
  int port = -1;        // the last port opened (-1: none yet)
  int baud = 9600;
  char parity = 'N';    // one of "NEOMS"
  int dataBits = 8;     // 5-8
  int stopBits = 1;     // 1 or 2
  int flow = 0;         // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 DTR/DSR, 4 both
};

class ProgramPorts {
 public:
  virtual ~ProgramPorts() = default;

  // Opens COM port (1-30) with the settings; returns 0, or a non-zero code
  // when the port cannot be opened.
  [[nodiscard]] virtual int open(int port, const PortSettings& settings) = 0;
  // Closes the port; false when it was not open.
  virtual bool close(int port) = 0;

  // Whether the printer port (the program's port) is open and takes text.
  virtual bool printerOpen() const = 0;
  // Queues text for sending on the printer port; false when it is not open.
  [[nodiscard]] virtual bool write(std::string_view text) = 0;
  // Bytes queued on the printer port that are still to be sent.
  virtual int pendingSend() const = 0;
  // Throws away what is still queued on the printer port.
  virtual void purgeSend() = 0;

  PortSettings settings;
};

// Closes the port the program opened, unless it is the port the current
// column reads its sensor from, and forgets it. The run entry calls this
// when a run ends, whatever ended it.
void closeProgramPort(Machine& m, RunContext& ctx);

}  // namespace runtime
