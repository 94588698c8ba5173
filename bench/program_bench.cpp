// The program interpreter on a numeric loop of 10 million iterations,
//   while i < 10000000 do sum = sum + i; i++ loop
// beside the same loop run by the Lua 5.4 interpreter as a process (its start
// included, a millisecond or two). Both are timed in processor time (the
// "manual time" of the reports). scripts/bench prints the ratio; the counters
// of BM_ProgramLoop give it too (lua_ms, ratio = ours / Lua's).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <time.h>

#include "base/le.hpp"
#include "runtime/builtins.hpp"
#include "runtime/instruction.hpp"
#include "runtime/interpreter.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_file.hpp"

namespace {

using namespace runtime;

constexpr double kIterations = 10'000'000;
constexpr std::uint32_t kSum = 1, kI = 2;  // variable numbers (no header: bytes 8 and 16)

// The program's file, built with the instruction encoders.
std::vector<std::uint8_t> loopFile() {
  std::vector<Instruction> code;
  auto target = [](std::uint16_t t) { return makeWord(0, t); };
  code.push_back(makeWord(kPushVariable, kI));  // 0: while
  code.push_back(makeNumber(kIterations));
  code.push_back(makeWord(kOperator, opCode('<')));
  code.push_back(makeBuiltin(kBuiltinWhile, 1, 0));  // 3: do
  code.push_back(target(0));                         // 4: patched below
  code.push_back(makeWord(kPushVarRef, kSum));       // sum = sum + i
  code.push_back(makeWord(kPushVariable, kSum));
  code.push_back(makeWord(kPushVariable, kI));
  code.push_back(makeWord(kOperator, opCode('+')));
  code.push_back(makeWord(kOperator, opCode('=')));
  code.push_back(makeWord(kPushVarRef, kI));  // i++
  code.push_back(makeWord(kOperator, opCode('+', '+')));
  code.push_back(makeWord(kControl, kJump));  // loop
  code.push_back(target(0));
  code[4] = target(static_cast<std::uint16_t>(code.size()));
  code.push_back(makeWord(kPushVariable, kSum));  // end sum
  code.push_back(makeBuiltin(kBuiltinEnd, 1, 0));

  const std::size_t dataSize = 32;
  std::vector<std::uint8_t> file(4 + dataSize + code.size() * kInstructionSize, 0);
  base::putU32(file.data(), dataSize);
  for (std::size_t i = 0; i < code.size(); ++i) encodeInstruction(code[i], file.data() + 4 + dataSize + i * kInstructionSize);
  return file;
}

// Processor time in milliseconds: the machine the benchmarks run on is often
// shared, and wall time then measures the neighbours.
double processMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
double childrenMs() {
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  auto ms = [](const timeval& v) { return v.tv_sec * 1e3 + v.tv_usec / 1e3; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

// The sum 0 + 1 + … + (n − 1), which the program ends with.
constexpr double kExpected = kIterations * (kIterations - 1) / 2;

double timeOurs(benchmark::State* state) {
  const std::vector<std::uint8_t> file = loopFile();
  ProgramImage image;
  std::string line;
  if (parseProgram(file.data(), file.size(), image, line) != 0) return -1;
  Machine m;
  RunContext ctx;
  const double start = processMs();
  const RunOutcome r = execute(m, image, ctx);
  const double stop = processMs();
  if (r.error != 0 || r.value != kExpected) {
    if (state) state->SkipWithError("the loop did not end with the sum");
    return -1;
  }
  return stop - start;
}

// Runs the loop in Lua; milliseconds of the child's processor time, or -1
// when lua5.4 is missing.
double timeLua(bool locals) {
  const std::string loop = locals ? "local sum, i = 0, 0 while i < 10000000 do sum = sum + i i = i + 1 end"
                                  : "sum, i = 0, 0 while i < 10000000 do sum = sum + i i = i + 1 end";
  const std::string command = "lua5.4 -e '" + loop + "' >/dev/null 2>&1";
  const double start = childrenMs();
  const int rc = std::system(command.c_str());
  const double stop = childrenMs();
  if (rc != 0) return -1;
  return stop - start;
}

void BM_ProgramLoop(benchmark::State& state) {
  double total = 0;
  for (auto _ : state) {
    const double ms = timeOurs(&state);
    if (ms < 0) return;
    total += ms;
    state.SetIterationTime(ms / 1000);
  }
  const double ours = total / static_cast<double>(state.iterations());
  state.counters["ours_ms"] = ours;
  state.counters["ns_per_instruction"] = ours * 1e6 / (kIterations * 12);
  const double lua = timeLua(true);
  if (lua > 0) {
    state.counters["lua_ms"] = lua;
    state.counters["ratio"] = ours / lua;
  }
}
BENCHMARK(BM_ProgramLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LuaLoop(benchmark::State& state) {
  for (auto _ : state) {
    const double ms = timeLua(state.range(0) != 0);
    if (ms < 0) {
      state.SkipWithError("lua5.4 did not run (scripts/setup installs it)");
      return;
    }
    state.SetIterationTime(ms / 1000);
  }
}
// 1: the loop's variables are locals (registers); 0: globals, as ours live in the data segment.
BENCHMARK(BM_LuaLoop)->Arg(1)->Arg(0)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
