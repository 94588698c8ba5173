#pragma once
// What the assembler collects while it reads a program's lines: the data
// items in declaration order, the instruction slots with the names they
// still have to be resolved against, the labels, the open if/while blocks
// and the errors. Only the assembler's own files use it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/instruction.hpp"

namespace tfabuild::asmunit {

struct DataItem {
  enum class Kind { Number, String, Constant, Reserve, Anonymous } kind = Kind::Number;
  std::string name;      // empty for reserved bytes and anonymous constants
  double number = 0;     // a numeric variable's initial value
  std::string text;      // a string's initial text, a constant's text or reserved bytes' content
  std::uint32_t size = 0;  // bytes it takes (a string's capacity)
  int line = 0;
  std::uint32_t offset = 0;  // set by the layout
};

// How a slot's operand is completed once the data and labels are known.
enum class Fixup {
  None,
  Label,         // word 0 = the label's instruction index
  NumberVar,     // operand = the numeric variable's number or byte offset
  Constant,      // operand = the constant's offset
  StringVar,     // operand = offset | capacity << 16
  StringOffset,  // operand = the offset of a string variable or constant
  Anonymous,     // operand = the offset of anonymous constant `anonymous`
};

struct Slot {
  runtime::Instruction in;
  Fixup fixup = Fixup::None;
  std::string name;
  std::size_t anonymous = 0;
  int line = 0;
};

struct Block {
  enum class Kind { If, Else, While, Do } kind = Kind::If;
  int line = 0;
  std::size_t slot = 0;         // the target slot to complete
  std::uint32_t whileStart = 0;  // While/Do: the first instruction of the condition
};

struct NameUse {
  enum class Kind { Label, Data } kind = Kind::Label;
  std::size_t index = 0;  // label index or data item
  int line = 0;
};

struct Unit {
  std::string name;  // the source's name in messages
  bool header = false;
  std::vector<DataItem> data;
  std::map<std::string, std::size_t> anonymousByText;  // into data
  std::vector<std::size_t> anonymousItems;             // anonymous number → data item
  std::map<std::string, NameUse> names;                // labels and data items
  std::vector<std::uint32_t> labelIndex;               // by label number
  std::vector<Slot> code;
  std::vector<Block> blocks;
  std::optional<std::string> entryLabel;
  int entryLine = 0;
  std::uint32_t entryIndex = 0;
  std::optional<std::pair<std::uint16_t, std::uint16_t>> segword;
  std::vector<std::uint8_t> trailing;  // raw bytes after the code
  bool codeTooLarge = false;
  std::vector<std::pair<int, std::string>> errors;  // line, message

  void error(int line, std::string message) { errors.emplace_back(line, std::move(message)); }
  std::uint32_t here() const { return static_cast<std::uint32_t>(code.size()); }
  // Appends a slot; returns its index.
  std::size_t emit(const runtime::Instruction& in, int line, Fixup fixup = Fixup::None, std::string name = {});
  // A jump-like slot pair: the control or built-in instruction and its target slot.
  // Returns the index of the target slot.
  std::size_t emitWithTarget(const runtime::Instruction& in, int line);
  // Sets the target slot's word 0.
  void setTarget(std::size_t slot, std::uint32_t index);
  // Declares name at line; false (with an error) when it is taken.
  bool declare(const std::string& name, NameUse use);
  // The anonymous constant number for text (made once per distinct text).
  std::size_t anonymousConstant(const std::string& text, int line);
};

// Reads one source line into the unit (line numbers count from 1).
void assembleLine(Unit& unit, std::string_view line, int lineNumber);
// Closes the unit after the last line: open blocks are errors.
void finishBlocks(Unit& unit);
// Places the data items, completes the operands and writes the file's bytes
// into bytes (left empty when the unit has errors).
void layOut(Unit& unit, std::vector<std::uint8_t>& bytes);

}  // namespace tfabuild::asmunit
