#include "runtime/program_rig.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "runtime/program_file.hpp"

namespace runtime_test {

double ProgramRun::number(const std::string& name) const {
  auto it = assembled.symbols.find(name);
  if (it == assembled.symbols.end() || it->second.offset + 8 > image.data.size()) {
    ADD_FAILURE() << "no numeric variable " << name;
    return 0;
  }
  double v;
  std::memcpy(&v, image.data.data() + it->second.offset, sizeof v);
  return v;
}

std::string ProgramRun::text(const std::string& name) const {
  auto it = assembled.symbols.find(name);
  if (it == assembled.symbols.end() || it->second.offset >= image.data.size()) {
    ADD_FAILURE() << "no string " << name;
    return {};
  }
  const char* p = reinterpret_cast<const char*>(image.data.data()) + it->second.offset;
  std::size_t n = 0;
  while (it->second.offset + n < image.data.size() && p[n] != 0) ++n;
  return std::string(p, n);
}

ProgramRun runProgram(const std::string& source, runtime::Machine& m, runtime::RunContext& ctx) {
  ProgramRun run;
  run.assembled = tfabuild::assembleProgram(source, "test");
  if (!run.assembled.ok()) {
    std::string all;
    for (const std::string& e : run.assembled.errors) all += e + "\n";
    ADD_FAILURE() << "assembly failed:\n" << all;
    run.loadError = 5;
    return run;
  }
  std::string firstLine;
  run.loadError = runtime::parseProgram(run.assembled.bytes.data(), run.assembled.bytes.size(),
                                        run.image, firstLine);
  if (run.loadError != 0) return run;
  if (ctx.budget < 0) ctx.budget = 10'000'000;
  run.outcome = runtime::execute(m, run.image, ctx);
  return run;
}

ProgramRun runProgram(const std::string& source, runtime::Machine& m) {
  runtime::RunContext ctx;
  return runProgram(source, m, ctx);
}

std::string numberCall(const std::string& pushes, const std::string& call) {
  return "num r\n ref r\n" + pushes + "\n call " + call + "\n op =\n push 0\n end\n";
}

ProgramRun runProgram(const std::string& source) {
  runtime::Machine m;
  runtime::RunContext ctx;
  return runProgram(source, m, ctx);
}

}  // namespace runtime_test
