#pragma once
// The interpreter's machine state: one set shared by every program slot and
// reset at the start of each run (the arrays, the string list and the
// keeping slots' data segments survive between runs). Every access to the
// data segment goes through the checked helpers here: a program file is
// outside input, and its offsets, capacities and lengths are trusted only
// after they are checked against the segment.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/program_image.hpp"

namespace runtime {

enum Tag : std::uint16_t {
  kTagNumber = 1,
  kTagString = 2,      // low 16 bits: data-segment offset
  kTagNumVar = 32,     // low 16 bits: byte offset (with header) or variable number
  kTagConstant = 64,   // low 16 bits: data-segment offset
  kTagStringVar = 128, // low 16 bits: offset; high 16 bits: capacity with the terminator
  kTagReturn = 2048,   // a return address (an instruction index held as a double)
};

struct StackEntry {
  std::uint64_t bits = 0;  // a double's bits for tags 1 and 2048, else the operand
  std::uint16_t tag = 0;

  static StackEntry number(double v);
  double asDouble() const;
  std::uint16_t low16() const { return static_cast<std::uint16_t>(bits); }
  std::uint16_t high16() const { return static_cast<std::uint16_t>(bits >> 16); }
  bool isString() const { return tag == kTagString || tag == kTagConstant || tag == kTagStringVar; }
};

inline constexpr int kStackSize = 256;
inline constexpr int kArraySize = 512;
inline constexpr int kStringEntrySize = 204;
inline constexpr int kStringEntryText = 202;  // a whole entry's text
inline constexpr int kHalfEntryText = 100;    // each half's text (offsets 0 and 101)
inline constexpr int kStringListSize = 500;
inline constexpr int kProgramTables = 10;
inline constexpr int kFieldDefinitions = 100;
inline constexpr std::size_t kResultTextMax = 500;  // string results written at offset 0
inline constexpr std::size_t kTextRegister = 512;

struct NumberFormat {
  int width = 15;
  int decimals = 7;
  int flag = 0;
};

// A field defined for the next program-table create (built-in 129).
struct FieldDefinition {
  std::string name;  // up to 10 characters
  char type = 'N';   // 'N' or 'C'
  int length = 0;
  int decimals = 0;
};

// The program tables' open handles (built-ins 128-138, 161); defined beside them.
struct ProgramTables;
void closeProgramTables(ProgramTables& tables);

class Machine {
 public:
  Machine();
  ~Machine();
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // The run's program (its data segment is written in place); null when idle.
  ProgramImage* image = nullptr;
  std::uint32_t counter = 0;  // index of the instruction executing
  std::array<StackEntry, kStackSize + 1> stack{};
  int sp = 0;                  // entries in use
  double result = 0;           // the result register
  std::string text;            // the text register (at most kTextRegister characters)
  int runError = 0;            // non-zero stops the run
  int status = 0;              // the last status of a data or device built-in
  NumberFormat format;
  bool ended = false;          // built-in 0 ran
  double endValue = 0;         // its result
  bool running = false;        // a run is under way on this state

  std::array<double, kArraySize> array1{}, array2{};
  std::vector<std::array<char, kStringEntrySize>> strings;  // kArraySize entries
  std::vector<std::string> stringList;                      // the pick list (copies)
  std::vector<FieldDefinition> fieldDefinitions;
  std::unique_ptr<ProgramTables> tables;
  int lastKeyRead = 0;  // the last key built-ins 81 and 84 returned
  std::uint64_t randomState = 1;  // the generator of built-in 139 (seeded from the clock at start)
  int textColour = -1;            // the text colour the screen built-ins write in (-1: the engine's)
  int backColour = -1;            // and the background
  int programPort = 0;            // the COM port the program opened (0: none); closed when the run ends

  // Clears the per-run state (step 1 of the execution loop) for image.
  void reset(ProgramImage& program);

  // Stops the run with code (the first error stays).
  void fail(int code) {
    if (runError == 0) runError = code;
  }

  // ---- checked access to the data segment ----
  std::size_t dataSize() const { return image ? image->data.size() : 0; }
  // The byte offset of numeric variable operand, or false (error 13 set) when
  // the variable does not lie wholly inside the data segment.
  bool numericOffset(std::uint32_t operand, std::size_t& offset);
  bool readNumber(std::uint32_t operand, double& out);
  bool writeNumber(std::uint32_t operand, double v);
  // The NUL-terminated string at offset, cut at the segment's end (and at
  // limit characters); empty and error 13 for an offset past the segment.
  std::string stringAt(std::size_t offset, std::size_t limit = 65535);
  // Writes text into the string variable at offset with capacity (including
  // the terminator): cut to capacity − 1 and to the segment, then terminated.
  // Capacity 0 writes nothing. False (error 13) when offset is past the segment.
  bool writeString(std::size_t offset, std::size_t capacity, std::string_view text);
  // The text of a string entry (tags 2, 64, 128); for a number, its value
  // formatted with the number format.
  std::string textOf(const StackEntry& entry);
  // The number an entry stands for: tag 1 its value, tag 32 the variable's
  // value, a string its value read as a decimal number.
  double numberOf(const StackEntry& entry);
  // Puts text at offset 0 as a string result (at most kResultTextMax
  // characters, within the segment) and returns the tag-2 entry for it.
  StackEntry stringResult(std::string_view text);

  // The number formatted as assignment to a string variable does it.
  std::string formatNumber(double v) const;
};

// Doubles to integers as indexes, counts and codes need them: truncated
// toward zero, NaN as 0, values past the range saturated.
std::int32_t toInt32(double v);
// The value of a text read as a decimal number (leading blanks, a sign,
// digits, a point, an exponent); 0 when it does not start with one.
double decimalValue(std::string_view s);
std::int64_t toInt64(double v);

}  // namespace runtime
