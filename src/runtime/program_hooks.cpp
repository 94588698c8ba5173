#include "runtime/program_hooks.hpp"

#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "editor/engine.hpp"
#include "runtime/serial_program_ports.hpp"
#include "serial/port_layer.hpp"
#include "serial/sensor_input.hpp"

namespace runtime {

ProgramHooks::ProgramHooks() = default;
ProgramHooks::~ProgramHooks() = default;

editor::ProgramResult ProgramHooks::runProgram(editor::Engine& e, editor::ProgramUse use, const std::string& name) {
  RunContext ctx;
  ctx.engine = &e;
  ctx.app = &e.ctx;
  ctx.host = &e.host;
  ctx.appFolder = e.ctx.values.settings.path(config::SettingsRecord::Path::AppFolder);
  while (!ctx.appFolder.empty() && ctx.appFolder.back() == e.ctx.values.style.sep) ctx.appFolder.pop_back();
  ctx.fileName = name;
  // The port the current column reads its sensor from stays the sensor's.
  ctx.sensorPort = sensorPort(e);
  ctx.ports = programPorts_.get();
  return runtime_.run(use, name, ctx);
}

ui::KeyCode ProgramHooks::sensorInput(editor::Engine& e, int column, ui::KeyCode key) {
  return sensors_ ? sensors_->sensorInput(e, column, key) : 0;
}

int ProgramHooks::sensorPort(const editor::Engine& e) const { return sensors_ ? sensors_->sensorPortOf(e) : 0; }

void ProgramHooks::attachSerialPorts(serial::PortLayer& ports) {
  ports_ = &ports;
  programPorts_ = std::make_unique<SerialProgramPorts>(ports);
  sensors_ = std::make_unique<serial::SensorInput>(ports);
}

void ProgramHooks::editWindowClosed() {
  if (ports_) ports_->closeGeneral();
}

}  // namespace runtime
