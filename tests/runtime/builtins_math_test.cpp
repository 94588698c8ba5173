// The arithmetic built-ins as programs use them: argument order, the refused
// square roots, the sign rules of the parts of a number, and the random
// integer's range.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "runtime/program_rig.hpp"
#include "runtime/run_errors.hpp"

namespace {

using runtime_test::runProgram;

// Runs "r = CALL(args)" and returns r (the sign kept, unlike the end value).
double computed(const std::string& pushes, const std::string& call) {
  const auto run = runProgram("num r\n ref r\n" + pushes + "\n call " + call + "\n op =\n push 0\n end\n");
  EXPECT_EQ(run.error(), 0) << call;
  return run.number("r");
}

TEST(MathBuiltins, SquareRootRefusesZeroAndNegativeNumbers) {
  EXPECT_EQ(computed("push 16", "sqrt"), 4);
  EXPECT_DOUBLE_EQ(computed("push 2", "sqrt"), std::sqrt(2.0));
  for (const char* x : {"0", "-4"}) {
    const auto run = runProgram(std::string("push ") + x + "\n call sqrt\n end\n");
    EXPECT_EQ(run.error(), runtime::kErrDivideByZero) << x;
    EXPECT_FALSE(run.outcome.ended);
  }
}

TEST(MathBuiltins, TrigonometryIsInRadiansAndTwoArgumentsKeepTheirOrder) {
  EXPECT_DOUBLE_EQ(computed("push 1.5707963267948966", "sin"), 1);
  EXPECT_DOUBLE_EQ(computed("push 0", "cos"), 1);
  EXPECT_DOUBLE_EQ(computed("push -1", "acos"), std::acos(-1.0));
  // atan2(x, y) with x the first (deepest) argument.
  EXPECT_DOUBLE_EQ(computed("push 1\n push 0", "atan2"), std::atan2(1.0, 0.0));
  EXPECT_DOUBLE_EQ(computed("push 0\n push 1", "atan2"), 0);
  EXPECT_EQ(computed("push 2\n push 10", "pow"), 1024);
  EXPECT_DOUBLE_EQ(computed("push 2.718281828459045", "ln"), 1);
}

TEST(MathBuiltins, PartsOfANumberKeepItsSign) {
  EXPECT_DOUBLE_EQ(computed("push -2.75", "frac"), -0.75);
  EXPECT_DOUBLE_EQ(computed("push 2.75", "frac"), 0.75);
  EXPECT_EQ(computed("push -2.75", "int"), -2);
  EXPECT_EQ(computed("push 7.999", "int"), 7);
  // x minus its fraction: −0.5 gives +0, which formats without a minus sign.
  EXPECT_FALSE(std::signbit(computed("push -0.5", "int")));
  EXPECT_EQ(computed("push -3.5", "abs"), 3.5);
  EXPECT_EQ(computed("push 4", "neg"), -4);
}

TEST(MathBuiltins, LargerAndSmallerOfTwo) {
  EXPECT_EQ(computed("push -1\n push 3", "max"), 3);
  EXPECT_EQ(computed("push 3\n push -1", "max"), 3);
  EXPECT_EQ(computed("push -1\n push 3", "min"), -1);
  EXPECT_EQ(computed("push 3\n push -1", "min"), -1);
}

TEST(MathBuiltins, RandomIntegerCoversTheRangeInEitherOrder) {
  runtime::Machine m;
  runtime::RunContext ctx;
  std::set<double> seen;
  for (int i = 0; i < 300; ++i) {
    // The bounds given larger first.
    const auto run = runProgram("num r\n ref r\n push 5\n push 3\n call random\n op =\n push 0\n end\n", m, ctx);
    ASSERT_EQ(run.error(), 0);
    const double r = run.number("r");
    EXPECT_EQ(r, std::floor(r));
    EXPECT_GE(r, 3);
    EXPECT_LE(r, 5);
    seen.insert(r);
  }
  EXPECT_EQ(seen.size(), 3u);  // both ends included

  EXPECT_EQ(computed("push -7\n push -7", "random"), -7);
  const double wide = computed("push -2147483648\n push 2147483647", "random");
  EXPECT_GE(wide, -2147483648.0);
  EXPECT_LE(wide, 2147483647.0);
}

}  // namespace
