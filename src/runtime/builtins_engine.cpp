#include "runtime/builtins_engine.hpp"

#include <cstdio>

#include "editor/engine.hpp"
#include "runtime/builtins.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

namespace engine_builtins {

void answerNothing(Call& c) {
  const BuiltinInfo* info = builtinInfo(c.number());
  const Yields y = info ? info->yields : Yields::Number;
  if (y == Yields::Text || (y == Yields::Either && c.wantsText()))
    c.setText("");
  else
    c.setNumber(0);
}

void refuse(Call& c, int status) {
  c.setStatus(status);
  answerNothing(c);
}

editor::Engine* engineOf(Call& c) {
  editor::Engine* e = c.ctx.engine;
  if (!e || !e->level().open()) {
    refuse(c, kErrDataNotOpen);
    return nullptr;
  }
  return e;
}

editor::LevelState* levelOf(Call& c, editor::Engine& e, int number) {
  if (number < 0 || number > 5) {
    refuse(c, kErrBadDataSource);
    return nullptr;
  }
  editor::LevelState& s = number == 0 ? e.level() : e.levels[static_cast<std::size_t>(number)];
  if (!s.open()) {
    refuse(c, kErrDataNotOpen);
    return nullptr;
  }
  return &s;
}

bool columnOf(Call& c, const editor::LevelState& s, int k) {
  if (k >= 1 && k <= s.columnCount() && s.fields[static_cast<std::size_t>(k)].field) return true;
  refuse(c, kErrColumnRange);
  return false;
}

apps::AppContext* appOf(Call& c) {
  if (c.ctx.engine) return &c.ctx.engine->ctx;
  if (c.ctx.app) return c.ctx.app;
  refuse(c, kErrDataNotOpen);
  return nullptr;
}

std::string valueText(Call& c, int i) {
  if (c.arg(i).isString()) return c.text(i);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", c.num(i));
  return buf;
}

}  // namespace engine_builtins

void addEngineBuiltins(BuiltinTable& t) {
  engine_builtins::addPositionBuiltins(t);
  engine_builtins::addColumnBuiltins(t);
  engine_builtins::addDataBuiltins(t);
  engine_builtins::addAppBuiltins(t);
}

}  // namespace runtime
