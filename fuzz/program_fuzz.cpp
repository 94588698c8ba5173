// libFuzzer target for runtime program files: any bytes are parsed as a
// program file and, when they load, run with a budget of 100000 instructions
// outside any edit session. Every run must end, and the machine must be idle
// after it. The files a program's built-ins create or delete live in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/le.hpp"
#include "platform/files.hpp"
#include "runtime/instruction.hpp"
#include "runtime/interpreter.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_file.hpp"
#include "runtime/program_tables.hpp"
#include "support/memory_files.hpp"

namespace {

// Built-in 116 hands its text to the system's command interpreter: under the
// fuzzer it becomes the no-operation built-in 145.
constexpr std::uint16_t kSystemCommand = 116;
constexpr std::uint16_t kNoOperation = 145;

void disarm(runtime::ProgramImage& image) {
  for (std::size_t at = 0; at + runtime::kInstructionSize <= image.code.size(); at += runtime::kInstructionSize) {
    std::uint8_t* p = image.code.data() + at;
    if (base::getU16(p + 8) == runtime::kCallBuiltin && base::getU16(p) == kSystemCommand)
      base::putU16(p, kNoOperation);
  }
}

}  // namespace

// Larger inputs add time, not paths: skipped (fuzz/targets, -max_len).
constexpr std::size_t kMaxInput = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  runtime::ProgramImage image;
  std::string firstLine;
  if (runtime::parseProgram(data, size, image, firstLine) != 0) return 0;
  disarm(image);

  testing_support::MemoryFileSystem files;
  platform::ScopedFileSystem use{files};
  runtime::Machine m;
  runtime::RunContext ctx;
  ctx.appFolder = "/app";
  ctx.budget = 100000;
  const runtime::RunOutcome outcome = runtime::execute(m, image, ctx);
  runtime::closeProgramTables(*m.tables);
  // A run ends by built-in 0 or by a run error; the budget guarantees one of them.
  if (m.running || (!outcome.ended && outcome.error == 0) || m.sp < 0 || m.sp > runtime::kStackSize) std::abort();
  return 0;
}
