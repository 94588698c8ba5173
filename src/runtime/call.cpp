#include "runtime/call.hpp"

namespace runtime {

namespace {
const StackEntry kZero = StackEntry::number(0);
}

const StackEntry& Call::arg(int i) const {
  if (i < 0 || i >= n_ || m.sp - n_ + i < 0) return kZero;
  return m.stack[static_cast<std::size_t>(m.sp - n_ + i)];
}

double Call::num(int i) const { return m.numberOf(arg(i)); }

std::int32_t Call::integer(int i) const { return toInt32(num(i)); }

std::string Call::text(int i) const { return m.textOf(arg(i)); }

bool Call::stringVar(int i, std::size_t& offset, std::size_t& capacity) const {
  const StackEntry& e = arg(i);
  if (e.tag != kTagStringVar) return false;
  offset = e.low16();
  capacity = e.high16();
  return true;
}

bool Call::numVar(int i, std::uint32_t& operand) const {
  const StackEntry& e = arg(i);
  if (e.tag != kTagNumVar) return false;
  operand = static_cast<std::uint32_t>(e.bits);
  return true;
}

void Call::setNumber(double v) {
  m.result = v;
  resultText_ = false;
}

void Call::setText(std::string_view s) {
  m.text.assign(s.substr(0, kTextRegister));
  resultText_ = true;
}

}  // namespace runtime
