#include "runtime/program_hooks.hpp"

#include "apps/app_open.hpp"
#include "config/process_values.hpp"
#include "editor/engine.hpp"

namespace runtime {

editor::ProgramResult ProgramHooks::runProgram(editor::Engine& e, editor::ProgramUse use, const std::string& name) {
  RunContext ctx;
  ctx.engine = &e;
  ctx.app = &e.ctx;
  ctx.host = &e.host;
  ctx.appFolder = e.ctx.values.settings.path(config::SettingsRecord::Path::AppFolder);
  while (!ctx.appFolder.empty() && ctx.appFolder.back() == e.ctx.values.style.sep) ctx.appFolder.pop_back();
  ctx.fileName = name;
  // The run may not close a sensor's port; the column's port is the sensor
  // subsystem's to name once it reads through the engine.
  ctx.sensorPort = 0;
  return runtime_.run(use, name, ctx);
}

}  // namespace runtime
