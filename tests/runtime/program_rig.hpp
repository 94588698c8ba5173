#pragma once
// Runs programs written in the assembler's text form on a machine, so the
// tests of the interpreter and its built-ins read as the programs they run.
#include <string>

#include "runtime/interpreter.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_image.hpp"
#include "runtime/run_context.hpp"
#include "tfabuild/assembler.hpp"

namespace runtime_test {

struct ProgramRun {
  tfabuild::AssembleResult assembled;
  runtime::ProgramImage image;
  int loadError = 0;  // parseProgram's code
  runtime::RunOutcome outcome;

  int error() const { return outcome.error; }
  // A numeric variable's value after the run (the test fails when the name is unknown).
  double number(const std::string& name) const;
  // A string variable's or constant's text after the run.
  std::string text(const std::string& name) const;
};

// Assembles source (a failed assembly fails the test and returns with
// loadError 5), parses the bytes as a program file and runs it on m with ctx.
// The budget of ctx is set to 10 million instructions when it has none.
ProgramRun runProgram(const std::string& source, runtime::Machine& m, runtime::RunContext& ctx);
// On machine m with an empty context (the machine's arrays and lists carry over between runs).
ProgramRun runProgram(const std::string& source, runtime::Machine& m);
// A program that stores the result of the built-in call, after pushes, in the numeric variable r.
std::string numberCall(const std::string& pushes, const std::string& call);
// The same on a fresh machine and an empty context.
ProgramRun runProgram(const std::string& source);

}  // namespace runtime_test
