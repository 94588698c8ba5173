#include "runtime/program_steps.hpp"

#include "runtime/instruction.hpp"

namespace runtime {

Step operatorStep(std::uint16_t code) {
  switch (code) {
    case opCode('!'): return Step::Not;
    case opCode('%'): return Step::Mod;
    case opCode('&'): return Step::BitAnd;
    case opCode('*'):
    case opCode('&', '&'): return Step::Mul;  // logical and is a product
    case opCode('+'):
    case opCode('|', '|'): return Step::Add;  // logical or is a sum
    case opCode('-'): return Step::Sub;
    case opCode('/'): return Step::Div;
    case opCode('<'): return Step::Less;
    case opCode('>'): return Step::Greater;
    case opCode('^'): return Step::BitXor;
    case opCode('|'): return Step::BitOr;
    case opCode('!', '='): return Step::NotEqual;
    case opCode('<', '='): return Step::LessEqual;
    case opCode('=', '='): return Step::Equal;
    case opCode('>', '='): return Step::GreaterEqual;
    case opCode('+', '+'): return Step::Increment;
    case opCode('-', '-'): return Step::Decrement;
    case opCode('='): return Step::Assign;
    default: return Step::Unknown;
  }
}

namespace {

DecodedStep decodeBuiltin(const Instruction& in, const BuiltinTable& table, std::uint32_t target) {
  DecodedStep d;
  const std::uint16_t number = in.word16();
  d.consumed = in.consumed;
  // A built-in leaves one result or none; a larger count in a damaged file
  // must not lift the stack pointer over entries nobody wrote.
  d.produced = in.produced != 0 ? 1 : 0;
  d.wantsText = in.resultKind == static_cast<std::uint16_t>(ResultKind::Text);
  d.aux = number;
  if (number >= table.size() || table[number] == nullptr) {
    d.step = Step::Unknown;
  } else if (number == kBuiltinEnd) {
    d.step = Step::End;
  } else if (number == kBuiltinIf || number == kBuiltinWhile) {
    d.step = Step::Condition;
    d.aux = target;
  } else {
    d.step = Step::Builtin;
  }
  return d;
}

DecodedStep decodeControl(const Instruction& in, std::uint32_t target) {
  DecodedStep d;
  d.aux = target;
  switch (in.word16()) {
    case kJump: d.step = Step::Jump; break;
    case kReturn: d.step = Step::Return; break;
    case kCall: d.step = Step::CallSub; break;
    default: d.step = Step::ControlNothing; break;
  }
  return d;
}

}  // namespace

std::vector<DecodedStep> decodeSteps(const ProgramImage& image, const BuiltinTable& table) {
  const std::size_t count = image.instructionCount();
  std::vector<DecodedStep> steps(count + kStopSteps);  // the stop steps are Unknown
  const std::uint8_t* code = image.code.data();
  for (std::size_t i = 0; i < count; ++i) {
    const Instruction in = decodeInstruction(code + i * kInstructionSize);
    // The target word of a jump, call or condition lies in the next slot.
    const std::size_t word = i + 1 < count ? base::getU16(code + (i + 1) * kInstructionSize) : count;
    const std::uint32_t target = static_cast<std::uint32_t>(word < count ? word : count);
    DecodedStep& d = steps[i];
    switch (in.kind) {
      case kPushNumber:
        d.step = Step::PushNumber;
        d.bits = base::getU64(in.operand.data());
        break;
      case kPushString: d.step = Step::PushString; d.bits = in.word32(); break;
      case kPushConstant: d.step = Step::PushConstant; d.bits = in.word32(); break;
      case kPushStringVar: d.step = Step::PushStringVar; d.bits = in.word32(); break;
      case kPushVarRef: d.step = Step::PushVarRef; d.bits = in.word32(); break;
      case kPushVariable: {
        // The same addressing the machine's numeric helpers use, checked once here.
        const std::size_t v = in.word32() & 0xFFFFu;
        const std::size_t offset = image.withHeader ? v : 8 * v;
        d.step = offset + 8 <= image.data.size() ? Step::PushVariable : Step::BadVariable;
        d.aux = static_cast<std::uint32_t>(offset);
        break;
      }
      case kCallBuiltin: d = decodeBuiltin(in, table, target); break;
      case kOperator: d.step = operatorStep(in.word16()); break;
      case kControl: d = decodeControl(in, target); break;
      default: d.step = Step::Unknown; break;
    }
  }
  return steps;
}

}  // namespace runtime
