#include "runtime/machine.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/clock.hpp"
#include "runtime/program_tables.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

StackEntry StackEntry::number(double v) {
  StackEntry e;
  std::memcpy(&e.bits, &v, sizeof v);
  e.tag = kTagNumber;
  return e;
}

double StackEntry::asDouble() const {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

std::int32_t toInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

std::int64_t toInt64(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
  if (v <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(v);
}

double decimalValue(std::string_view s) {
  // Only the decimal form: strtod alone would also take hex, "inf" and "nan".
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  const std::size_t start = i;
  auto digits = [&] {
    const std::size_t from = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    return i - from;
  };
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t n = digits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    n += digits();
  }
  if (n == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t mark = i++;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() == 0) i = mark;
  }
  const std::string number(s.substr(start, i - start));
  return std::strtod(number.c_str(), nullptr);
}

Machine::Machine()
    : strings(kArraySize), tables(std::make_unique<ProgramTables>()) {
  // Built-in 139 draws different numbers at each start of the program.
  randomState = platform::clock().ticks() ^ 0x9E3779B97F4A7C15ull;
  for (auto& s : strings) s.fill(0);
}

Machine::~Machine() { closeProgramTables(*tables); }

void Machine::reset(ProgramImage& program) {
  closeProgramTables(*tables);
  fieldDefinitions.clear();
  text.clear();
  sp = 0;
  result = 0;
  runError = 0;
  status = 0;
  format = NumberFormat{};
  ended = false;
  endValue = 0;
  image = &program;
  counter = program.entry;
}

bool Machine::numericOffset(std::uint32_t operand, std::size_t& offset) {
  const std::size_t v = operand & 0xFFFFu;
  offset = image && image->withHeader ? v : 8 * v;
  if (offset + 8 > dataSize()) {
    fail(kErrBadDataSource);
    return false;
  }
  return true;
}

bool Machine::readNumber(std::uint32_t operand, double& out) {
  std::size_t off;
  if (!numericOffset(operand, off)) return false;
  std::memcpy(&out, image->data.data() + off, sizeof out);
  return true;
}

bool Machine::writeNumber(std::uint32_t operand, double v) {
  std::size_t off;
  if (!numericOffset(operand, off)) return false;
  std::memcpy(image->data.data() + off, &v, sizeof v);
  return true;
}

std::string Machine::stringAt(std::size_t offset, std::size_t limit) {
  const std::size_t size = dataSize();
  if (offset >= size) {
    // Offset 0 of an empty segment is the (empty) string result.
    if (offset != 0) fail(kErrBadDataSource);
    return {};
  }
  const char* p = reinterpret_cast<const char*>(image->data.data()) + offset;
  std::size_t n = 0;
  const std::size_t most = std::min(size - offset, limit);
  while (n < most && p[n] != 0) ++n;
  return std::string(p, n);
}

bool Machine::writeString(std::size_t offset, std::size_t capacity, std::string_view s) {
  if (capacity == 0) return true;
  const std::size_t size = dataSize();
  if (offset >= size) {
    fail(kErrBadDataSource);
    return false;
  }
  const std::size_t room = std::min(capacity, size - offset);  // bytes we may touch
  const std::size_t n = std::min(s.size(), room - 1);
  std::memcpy(image->data.data() + offset, s.data(), n);
  image->data[offset + n] = 0;
  return true;
}

std::string Machine::textOf(const StackEntry& e) {
  switch (e.tag) {
    case kTagString:
    case kTagConstant: return stringAt(e.low16());
    case kTagStringVar: return stringAt(e.low16(), e.high16() == 0 ? 0 : e.high16() - 1u);
    case kTagNumber: return formatNumber(e.asDouble());
    case kTagNumVar: {
      double v = 0;
      if (!readNumber(static_cast<std::uint32_t>(e.bits), v)) return {};
      return formatNumber(v);
    }
    default: return {};
  }
}

double Machine::numberOf(const StackEntry& e) {
  switch (e.tag) {
    case kTagNumber:
    case kTagReturn: return e.asDouble();
    case kTagNumVar: {
      double v = 0;
      (void)readNumber(static_cast<std::uint32_t>(e.bits), v);
      return v;
    }
    case kTagString:
    case kTagConstant:
    case kTagStringVar: {
      return decimalValue(textOf(e));
    }
    default: return 0;
  }
}

StackEntry Machine::stringResult(std::string_view s) {
  text.assign(s.substr(0, kTextRegister));
  // A segment too small for the text keeps what fits (an empty one nothing).
  if (dataSize() > 0) (void)writeString(0, kResultTextMax + 1, std::string_view(text).substr(0, kResultTextMax));
  StackEntry e;
  e.bits = 0;
  e.tag = kTagString;
  return e;
}

std::string Machine::formatNumber(double v) const {
  const int width = std::clamp(format.width, 0, 100);
  const int decimals = std::clamp(format.decimals, 0, 30);
  char buf[512];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
  std::string s(buf);
  // A non-zero flag left-aligns: the leading blanks go.
  if (format.flag != 0) s.erase(0, s.find_first_not_of(' '));
  return s;
}

}  // namespace runtime
