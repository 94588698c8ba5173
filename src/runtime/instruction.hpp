#pragma once
// One instruction of a runtime program: 14 bytes, little-endian. The operand
// (bytes 0-7) is a double for kind 1, a 32-bit value for the push kinds and a
// 16-bit code for built-in calls, operators and control transfers; bytes
// 10-13 matter only to built-in calls.
//
// Control flow rule (the interpreter and the assembler both follow it): a
// jump, a call, a false condition and a return name the index of the next
// instruction to execute; every other instruction goes on at its index + 1.
// The target of a jump, call or condition is the 16-bit word at offset 0 of
// the slot after it, which is data and is stepped over.
#include <array>
#include <cstdint>
#include <cstring>

#include "base/le.hpp"

namespace runtime {

inline constexpr std::size_t kInstructionSize = 14;

enum Kind : std::uint16_t {
  kPushNumber = 1,     // operand: the number
  kPushString = 2,     // operand: data-segment offset of a string
  kCallBuiltin = 4,    // operand: built-in number
  kOperator = 8,       // operand: the operator's characters (first in the low byte)
  kPushVariable = 16,  // operand: a numeric variable; its value is pushed
  kPushVarRef = 32,    // operand: a numeric variable; a reference is pushed
  kPushConstant = 64,  // operand: data-segment offset of a string constant
  kPushStringVar = 128,  // operand: offset (low 16 bits) and capacity (high 16 bits)
  kControl = 256,      // operand: 0 jump, 1 return, 2 call
};

enum Control : std::uint16_t { kJump = 0, kReturn = 1, kCall = 2 };

// Operator codes: the characters as a little-endian 16-bit value.
constexpr std::uint16_t opCode(char a, char b = 0) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(a) |
                                    (static_cast<unsigned char>(b) << 8));
}

enum class ResultKind : std::uint16_t { Number = 1, Text = 2 };

struct Instruction {
  std::array<std::uint8_t, 8> operand{};
  std::uint16_t kind = 0;
  std::uint16_t resultKind = 0;
  std::uint8_t consumed = 0;
  std::uint8_t produced = 0;

  double number() const {
    double d;
    std::memcpy(&d, operand.data(), sizeof d);
    return d;
  }
  std::uint32_t word32() const { return base::getU32(operand.data()); }
  std::uint16_t word16() const { return base::getU16(operand.data()); }
};

// Decodes the instruction at p (kInstructionSize bytes).
inline Instruction decodeInstruction(const std::uint8_t* p) {
  Instruction in;
  std::memcpy(in.operand.data(), p, 8);
  in.kind = base::getU16(p + 8);
  in.resultKind = base::getU16(p + 10);
  in.consumed = p[12];
  in.produced = p[13];
  return in;
}

// Encodes in at p (kInstructionSize bytes).
inline void encodeInstruction(const Instruction& in, std::uint8_t* p) {
  std::memcpy(p, in.operand.data(), 8);
  base::putU16(p + 8, in.kind);
  base::putU16(p + 10, in.resultKind);
  p[12] = in.consumed;
  p[13] = in.produced;
}

inline Instruction makeNumber(double v) {
  Instruction in;
  std::memcpy(in.operand.data(), &v, sizeof v);
  in.kind = kPushNumber;
  return in;
}
inline Instruction makeWord(std::uint16_t kind, std::uint32_t operand) {
  Instruction in;
  base::putU32(in.operand.data(), operand);
  in.kind = kind;
  return in;
}
inline Instruction makeBuiltin(std::uint16_t number, std::uint8_t consumed, std::uint8_t produced,
                               ResultKind result = ResultKind::Number) {
  Instruction in = makeWord(kCallBuiltin, number);
  in.resultKind = static_cast<std::uint16_t>(result);
  in.consumed = consumed;
  in.produced = produced;
  return in;
}

}  // namespace runtime
