// The arithmetic built-ins: square root, the trigonometric functions, powers
// and logarithms, the parts of a number, the larger and smaller of two, the
// negation and the random integer.
#include <cmath>
#include <cstdint>
#include <utility>

#include "runtime/builtin_table.hpp"
#include "runtime/run_errors.hpp"

namespace runtime {

namespace {

void squareRoot(Call& c) {
  const double x = c.num(0);
  // A root of zero is refused too: the system treats every x <= 0 as a fault.
  if (x <= 0) {
    c.fail(kErrDivideByZero);
    return;
  }
  c.setNumber(std::sqrt(x));
}

void sine(Call& c) { c.setNumber(std::sin(c.num(0))); }
void cosine(Call& c) { c.setNumber(std::cos(c.num(0))); }
void tangent(Call& c) { c.setNumber(std::tan(c.num(0))); }
void arcSine(Call& c) { c.setNumber(std::asin(c.num(0))); }
void arcCosine(Call& c) { c.setNumber(std::acos(c.num(0))); }
void arcTangent(Call& c) { c.setNumber(std::atan(c.num(0))); }
void arcTangent2(Call& c) { c.setNumber(std::atan2(c.num(0), c.num(1))); }
void power(Call& c) { c.setNumber(std::pow(c.num(0), c.num(1))); }
void naturalLog(Call& c) { c.setNumber(std::log(c.num(0))); }

// The remainder of x ÷ 1 keeps the sign of x: −2.75 gives −0.75.
void fraction(Call& c) { c.setNumber(std::fmod(c.num(0), 1.0)); }

// x minus its fractional part; an infinity is its own integer part.
void integerPart(Call& c) {
  const double x = c.num(0);
  c.setNumber(std::isinf(x) ? x : x - std::fmod(x, 1.0));
}

void absolute(Call& c) { c.setNumber(std::fabs(c.num(0))); }
void larger(Call& c) {
  const double x = c.num(0), y = c.num(1);
  c.setNumber(x >= y ? x : y);
}
void smaller(Call& c) {
  const double x = c.num(0), y = c.num(1);
  c.setNumber(x <= y ? x : y);
}
void negate(Call& c) { c.setNumber(-c.num(0)); }

// splitmix64: every state, 0 included, gives a well-mixed sequence, so the
// machine's state needs no checking before use.
std::uint64_t nextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// An integer from the smaller to the larger of x and y, both included.
void randomBetween(Call& c) {
  std::int64_t lo = c.integer(0), hi = c.integer(1);
  if (lo > hi) std::swap(lo, hi);
  const auto span = static_cast<std::uint64_t>(hi - lo) + 1;  // at most 2^32: no overflow
  c.setNumber(static_cast<double>(lo + static_cast<std::int64_t>(nextRandom(c.m.randomState) % span)));
}

}  // namespace

void addMathBuiltins(BuiltinTable& t) {
  t[3] = squareRoot;
  t[4] = sine;
  t[5] = cosine;
  t[6] = tangent;
  t[7] = arcSine;
  t[8] = arcCosine;
  t[9] = arcTangent;
  t[10] = arcTangent2;
  t[11] = power;
  t[12] = naturalLog;
  t[13] = fraction;
  t[14] = integerPart;
  t[15] = absolute;
  t[16] = larger;
  t[17] = smaller;
  t[123] = negate;
  t[139] = randomBetween;
}

}  // namespace runtime
