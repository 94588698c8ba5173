#pragma once
// A program's code decoded once per run into the steps the execution loop
// switches on: the instruction kind, the operator and the built-in number
// folded into one small code, the jump target read from the slot after, and
// a numeric variable's address checked against the data segment. Decoding
// never rejects a program: whatever cannot run becomes a step that stops the
// run with its error when (and only when) it is reached.
//
// Common runs of instructions on numeric variables and constants (v = a + b,
// v++, a < b as a loop's condition) are fused into one step, which does
// exactly what the instructions do one by one and counts as all of them
// against the budget. The loop takes a fused step only when the budget holds
// that many instructions and the stack has room for the entries they push;
// otherwise it executes the first instruction's plain step. A jump into the
// middle of a run lands on plain steps (only a run's first index is fused).
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
  // Fused runs; aux: the index of their FusedStep. The runs with an
  // operator have one step per operator (so the loop dispatches once), in
  // the order of TALLYFIN_FUSABLE_OPERATORS.
  FusedAssign,     // ref v; a; =
  FusedIncrement,  // ref v; ++ (or --)
#define TALLYFIN_FUSABLE_OPERATORS(X) \
  X(Add) X(Sub) X(Mul) X(Less) X(Greater) X(LessEqual) X(GreaterEqual) X(Equal) X(NotEqual) X(BitAnd) X(BitOr) X(BitXor)
#define TALLYFIN_FUSED_STEPS(op) FusedAssign##op, FusedBinary##op, FusedCondition##op,
  // For each operator: ref v; a; b; op; =  —  a; b; op  —  a; b; op; condition
  TALLYFIN_FUSABLE_OPERATORS(TALLYFIN_FUSED_STEPS)
#undef TALLYFIN_FUSED_STEPS
};

// The three fused steps of each operator, in the order of the enumeration.
enum class FusedShape : std::uint8_t { Assign = 0, Binary = 1, Condition = 2 };

// What each fused run stands for: its instructions (counted against the
// budget; the loop goes on after them) and the most entries they push above
// the stack pointer on the way. Fixed per shape, so the loop knows the next
// index without reading it.
struct FusedSize {
  std::uint8_t length, depth;
};
inline constexpr FusedSize kFusedAssignSize{3, 2};        // ref v; a; =
inline constexpr FusedSize kFusedIncrementSize{2, 1};     // ref v; ++
inline constexpr FusedSize kFusedAssignBinarySize{5, 3};  // ref v; a; b; op; =
inline constexpr FusedSize kFusedBinarySize{3, 2};        // a; b; op
inline constexpr FusedSize kFusedConditionSize{4, 2};     // a; b; op; condition (+ its target slot)

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

// A fused run. Its operands a and b are numeric variables or constants and
// its operator one that cannot fail on numbers (not / or %).
struct FusedStep {
  // The operands' 8 bytes: a variable in the data segment or the constant
  // held below. The data segment's bytes do not move while a run lasts.
  const std::uint8_t* a = nullptr;
  const std::uint8_t* b = nullptr;
  std::uint8_t* dest = nullptr;  // the variable assigned or stepped
  std::uint64_t aConst = 0, bConst = 0;
  std::uint32_t target = 0;  // a condition's target
  double delta = 0;          // an increment's +1 or −1
};

struct DecodedProgram {
  std::vector<DecodedStep> steps;  // what the loop runs: fused where a run starts
  std::vector<DecodedStep> plain;  // the same without fusion
  std::vector<FusedStep> fused;
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

// decodeSteps, then the fusion of the runs. image's data segment is where
// the fused steps read and write the variables.
DecodedProgram decodeProgram(ProgramImage& image, const BuiltinTable& table);

// The fused step of shape for operator op, or Step::Unknown when op cannot
// be fused (it could fail on numbers, as / and % can).
Step fusedStep(Step op, FusedShape shape);

}  // namespace runtime
