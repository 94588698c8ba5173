#pragma once
// Engine hooks that run real programs: each program name of the application
// stands for a text in the assembler's form, which is assembled, loaded and
// run by the interpreter on the edit session the engine asks for, as the
// shell's hooks run program files. Every run is kept for the test to read.
#include <map>
#include <string>
#include <vector>

#include "editor/engine.hpp"
#include "editor/engine_hooks.hpp"
#include "program_rig.hpp"
#include "runtime/machine.hpp"

namespace runtime_test {

class ProgramHooks : public editor::EngineHooks {
 public:
  // The program named name (as the application names it) is source.
  void add(const std::string& name, const std::string& source) { programs_[name] = source; }

  editor::ProgramResult runProgram(editor::Engine& e, editor::ProgramUse use, const std::string& name) override;
  bool programsAvailable() const override { return true; }

  struct Run {
    std::string name;
    ProgramRun run;
    int status = 0;  // the status code as the run left it
  };
  const std::vector<Run>& runs() const { return runs_; }
  // The last run of name; the test fails when it never ran.
  const Run& last(const std::string& name) const;
  int count(const std::string& name) const;

  runtime::Machine machine;

 private:
  std::map<std::string, std::string> programs_;
  std::vector<Run> runs_;
};

// Runs source once on the engine, outside any event (as a program picked
// from a program list runs), on machine.
ProgramRun runOnEngine(const std::string& source, editor::Engine& e, runtime::Machine& machine);

}  // namespace runtime_test
