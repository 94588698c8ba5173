#include "runtime/system_command.hpp"

#include "runtime/program_tables.hpp"

#include "editor/engine.hpp"
#include "platform/command.hpp"
#include "runtime/run_errors.hpp"
#include "tablestore/table.hpp"
#include "ui/host.hpp"

namespace runtime {

namespace {

// The table store has no "flush all", so the files the command may read are
// the open level tables of the engine, flushed one by one. A flush that fails
// has reported itself through the table store; the command runs regardless.
void flushLevelTables(editor::Engine* engine) {
  if (!engine) return;
  for (editor::LevelState& level : engine->levels)
    if (level.table) (void)level.table->flush();
}

}  // namespace

void runSystemCommand(Call& c) {
  const std::string command = c.text(0);
  flushLevelTables(c.ctx.engine);
  flushProgramTables(*c.m.tables);
  ui::Host* host = c.ctx.host;
  int exitStatus = -1;
  // The window stays painted while the command runs.
  const int rc = host ? platform::runShellCommand(command, exitStatus, [host] { host->pump(); })
                      : platform::runShellCommand(command, exitStatus);
  if (rc != 0) {
    c.setStatus(kErrCantProcess);
    c.setNumber(-1);
    return;
  }
  c.setNumber(exitStatus);
}

}  // namespace runtime
