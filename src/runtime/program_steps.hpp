#pragma once
// A program's code decoded once per run into the steps the execution loop
// switches on: the instruction kind, the operator and the built-in number
// folded into one small code, the jump target read from the slot after, and
// a numeric variable's address checked against the data segment. Decoding
// never rejects a program: whatever cannot run becomes a step that stops the
// run with its error when (and only when) it is reached.
#include <bit>
#include <cstdint>
#include <vector>

#include "runtime/builtin_table.hpp"
#include "runtime/program_image.hpp"

namespace runtime {

enum class Step : std::uint8_t {
  PushNumber,     // bits: the double
  PushString,     // bits: the operand, pushed with tag 2
  PushConstant,   // tag 64
  PushStringVar,  // tag 128
  PushVarRef,     // tag 32
  PushVariable,   // aux: the variable's byte offset (checked)
  BadVariable,    // a numeric variable outside the data segment: error 13
  End,            // built-in 0
  Condition,      // built-ins 1 and 2; aux: the target (see decodeSteps)
  Builtin,        // aux: the built-in number
  // Operators.
  Not, Mod, BitAnd, Mul, Add, Sub, Div, Less, Greater, BitXor, BitOr,
  NotEqual, LessEqual, Equal, GreaterEqual, Increment, Decrement, Assign,
  // Control transfers; aux: the target (see decodeSteps).
  Jump, Return, CallSub, ControlNothing,
  Unknown,  // an unknown kind, operator or built-in: error 7
};

// The steps after the last instruction: each stops the run with error 7.
// Two, so that a condition in the last slot that steps over its (missing)
// target slot still lands on one.
inline constexpr std::size_t kStopSteps = 2;

struct DecodedStep {
  std::uint64_t bits = 0;  // the operand as pushed (kinds 1, 2, 32, 64, 128)
  std::uint32_t aux = 0;
  Step step = Step::Unknown;
  std::uint8_t consumed = 0;  // built-ins: entries consumed
  std::uint8_t produced = 0;  // built-ins: 0 or 1 result
  bool wantsText = false;     // built-ins: result kind 2

  double number() const { return std::bit_cast<double>(bits); }
};

// The step of an operator's code (its characters, first in the low byte);
// Step::Unknown for a code no operator has.
Step operatorStep(std::uint16_t code);

// Decodes every instruction of image's code segment, one step per index,
// followed by kStopSteps Unknown steps. A built-in number above the table or
// without a function becomes Unknown. A target past the code, or the target
// of a transfer in the last slot (which has no slot after it), is the index
// of the first stop step, so the loop never fetches outside the steps.
std::vector<DecodedStep> decodeSteps(const ProgramImage& image, const BuiltinTable& table);

}  // namespace runtime
