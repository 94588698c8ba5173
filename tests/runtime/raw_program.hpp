#pragma once
// Program files built instruction by instruction, for the tests that need an
// exact encoding (data slots, malformed instructions, file limits) rather
// than the assembler's text form.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/le.hpp"
#include "runtime/instruction.hpp"
#include "runtime/interpreter.hpp"
#include "runtime/machine.hpp"
#include "runtime/program_file.hpp"

namespace runtime_test {

struct RawProgram {
  bool header = false;
  std::uint16_t entry = 0;
  std::vector<std::uint8_t> data = std::vector<std::uint8_t>(1024, 0);
  std::vector<runtime::Instruction> code;

  // The index the next instruction gets.
  std::uint16_t here() const { return static_cast<std::uint16_t>(code.size()); }

  RawProgram& push(double v) { return add(runtime::makeNumber(v)); }
  RawProgram& word(std::uint16_t kind, std::uint32_t operand) { return add(runtime::makeWord(kind, operand)); }
  RawProgram& get(std::uint32_t var) { return word(runtime::kPushVariable, var); }
  RawProgram& ref(std::uint32_t var) { return word(runtime::kPushVarRef, var); }
  RawProgram& constant(std::uint16_t offset) { return word(runtime::kPushConstant, offset); }
  RawProgram& svar(std::uint16_t offset, std::uint16_t capacity) {
    return word(runtime::kPushStringVar, offset | (static_cast<std::uint32_t>(capacity) << 16));
  }
  RawProgram& op(char a, char b = 0) { return word(runtime::kOperator, runtime::opCode(a, b)); }
  RawProgram& call(std::uint16_t number, std::uint8_t consumed, std::uint8_t produced,
                   runtime::ResultKind kind = runtime::ResultKind::Number) {
    return add(runtime::makeBuiltin(number, consumed, produced, kind));
  }
  RawProgram& end() { return call(0, 1, 0); }
  // A jump, call or condition is followed by its target slot.
  RawProgram& control(std::uint16_t code, std::uint16_t target) { return word(runtime::kControl, code).slot(target); }
  RawProgram& ret() { return word(runtime::kControl, runtime::kReturn); }
  RawProgram& condition(std::uint16_t target) { return call(1, 1, 0).slot(target); }
  RawProgram& slot(std::uint16_t target) { return word(0, target); }
  // Points the target slot at index to target.
  void patch(std::size_t index, std::uint16_t target) { base::putU32(code[index].operand.data(), target); }

  RawProgram& add(const runtime::Instruction& in) {
    code.push_back(in);
    return *this;
  }

  // Puts text (terminated) into the data segment at offset.
  void putText(std::size_t offset, const std::string& text) {
    std::memcpy(data.data() + offset, text.c_str(), text.size() + 1);
  }

  // The program file: [header] segment word, data, code.
  std::vector<std::uint8_t> bytes() const {
    std::vector<std::uint8_t> out;
    if (header) {
      out.assign(runtime::kHeaderSize, 0);
      out[0] = 'T';
      out[1] = 'F';
      out[2] = 'C';
    }
    const std::size_t at = out.size();
    out.resize(at + 4);
    base::putU32(out.data() + at, static_cast<std::uint32_t>(data.size()) | (static_cast<std::uint32_t>(entry) << 16));
    out.insert(out.end(), data.begin(), data.end());
    for (const auto& in : code) {
      std::uint8_t buf[runtime::kInstructionSize];
      runtime::encodeInstruction(in, buf);
      out.insert(out.end(), buf, buf + sizeof buf);
    }
    return out;
  }
};

// A file of segment word and data segment only, followed by rest bytes.
inline std::vector<std::uint8_t> fileWith(std::uint32_t segmentWord, std::size_t dataBytes, std::size_t rest,
                                          bool header = false) {
  std::vector<std::uint8_t> out(header ? runtime::kHeaderSize : 0, 0);
  if (header) out[0] = 'T', out[1] = 'F', out[2] = 'C';
  const std::size_t at = out.size();
  out.resize(at + 4 + dataBytes + rest, 0);
  base::putU32(out.data() + at, segmentWord);
  return out;
}

struct RawRun {
  runtime::ProgramImage image;
  int loadError = 0;
  runtime::RunOutcome outcome;
  int error() const { return outcome.error; }
  double number(std::size_t offset) const {
    double v;
    std::memcpy(&v, image.data.data() + offset, sizeof v);
    return v;
  }
  std::string text(std::size_t offset) const {
    return std::string(reinterpret_cast<const char*>(image.data.data()) + offset);
  }
};

// Parses and runs p on m with a budget of 10 million instructions unless ctx has one.
inline RawRun runRaw(const RawProgram& p, runtime::Machine& m, runtime::RunContext& ctx) {
  RawRun run;
  const std::vector<std::uint8_t> file = p.bytes();
  std::string firstLine;
  run.loadError = runtime::parseProgram(file.data(), file.size(), run.image, firstLine);
  if (run.loadError != 0) return run;
  if (ctx.budget < 0) ctx.budget = 10'000'000;
  run.outcome = runtime::execute(m, run.image, ctx);
  return run;
}

inline RawRun runRaw(const RawProgram& p) {
  runtime::Machine m;
  runtime::RunContext ctx;
  return runRaw(p, m, ctx);
}

}  // namespace runtime_test
