#include "engine_program_hooks.hpp"

#include <gtest/gtest.h>

#include "base/text.hpp"

namespace runtime_test {

namespace {

runtime::RunContext contextOf(editor::Engine& e) {
  runtime::RunContext ctx;
  ctx.engine = &e;
  ctx.app = &e.ctx;
  ctx.host = &e.host;
  return ctx;
}

}  // namespace

editor::ProgramResult ProgramHooks::runProgram(editor::Engine& e, editor::ProgramUse, const std::string& name) {
  auto it = programs_.find(base::trimRight(name));
  if (it == programs_.end()) return {};
  runtime::RunContext ctx = contextOf(e);
  Run r;
  r.name = it->first;
  r.run = runtime_test::runProgram(it->second, machine, ctx);
  r.status = machine.status;
  runs_.push_back(std::move(r));
  const ProgramRun& done = runs_.back().run;
  return {true, done.loadError != 0 || done.error() != 0, done.outcome.programValue()};
}

const ProgramHooks::Run& ProgramHooks::last(const std::string& name) const {
  for (auto it = runs_.rbegin(); it != runs_.rend(); ++it)
    if (it->name == name) return *it;
  ADD_FAILURE() << "program " << name << " never ran";
  static const Run none;
  return none;
}

int ProgramHooks::count(const std::string& name) const {
  int n = 0;
  for (const Run& r : runs_) n += r.name == name;
  return n;
}

ProgramRun runOnEngine(const std::string& source, editor::Engine& e, runtime::Machine& machine) {
  runtime::RunContext ctx = contextOf(e);
  return runtime_test::runProgram(source, machine, ctx);
}

}  // namespace runtime_test
