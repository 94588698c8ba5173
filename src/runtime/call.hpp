#pragma once
// One built-in call as a built-in sees it: its arguments (the n topmost stack
// entries, argument 0 the deepest), the result it leaves, the run error that
// stops the run and the status code that does not. The interpreter checks
// that the stack holds n entries before it makes a Call.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/machine.hpp"
#include "runtime/run_context.hpp"

namespace runtime {

class Call {
 public:
  Call(Machine& m, RunContext& ctx, int number, int consumed, bool wantsText)
      : m(m), ctx(ctx), number_(number), n_(consumed), wantsText_(wantsText) {}

  Machine& m;
  RunContext& ctx;

  int number() const { return number_; }
  int count() const { return n_; }  // arguments given
  // Whether the instruction asks for a text result (for the built-ins that
  // can give either).
  bool wantsText() const { return wantsText_; }

  // Argument i (0-based, 0 the deepest). A missing argument (i >= count())
  // is a number 0 / an empty text.
  const StackEntry& arg(int i) const;
  double num(int i) const;            // as a number (variables read, strings parsed)
  std::int32_t integer(int i) const;  // num(i) truncated with saturation
  std::string text(int i) const;      // as a text (numbers formatted)
  // A string variable argument: its offset and capacity; false when the
  // argument is not one (tag 128).
  bool stringVar(int i, std::size_t& offset, std::size_t& capacity) const;
  // A numeric variable reference argument (tag 32): false when it is not one.
  bool numVar(int i, std::uint32_t& operand) const;

  // The result: a number (also put in the result register) or a text (copied
  // to data-segment offset 0, at most 500 characters). A built-in that sets
  // neither leaves the result register as a number.
  void setNumber(double v);
  void setText(std::string_view s);
  bool resultIsText() const { return resultText_; }

  // Stops the run with code (an entry of the run-time error table).
  void fail(int code) { m.fail(code); }
  // Sets the status code (does not stop the run).
  void setStatus(int code) { m.status = code; }

 private:
  int number_;
  int n_;
  bool wantsText_;
  bool resultText_ = false;
};

// A built-in: acts on the call.
using BuiltinFn = void (*)(Call&);

}  // namespace runtime
