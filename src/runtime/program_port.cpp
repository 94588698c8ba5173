#include "runtime/program_port.hpp"

#include "runtime/machine.hpp"
#include "runtime/run_context.hpp"

namespace runtime {

void closeProgramPort(Machine& m, RunContext& ctx) {
  const int port = m.programPort;
  m.programPort = 0;
  // The sensor's port stays with the sensor input, which opened it.
  if (port == 0 || port == ctx.sensorPort || !ctx.ports) return;
  (void)ctx.ports->close(port);
}

}  // namespace runtime
