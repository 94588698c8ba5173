#include "runtime/machine.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Machine, TextsReadAsDecimalNumbersOnly) {
  EXPECT_DOUBLE_EQ(runtime::decimalValue("  12.5"), 12.5);
  EXPECT_DOUBLE_EQ(runtime::decimalValue("-3e2x"), -300);
  EXPECT_DOUBLE_EQ(runtime::decimalValue(".5"), 0.5);
  EXPECT_DOUBLE_EQ(runtime::decimalValue("7e"), 7);  // an exponent without digits is not one
  // Forms a C reader would take but a crew's text never means.
  EXPECT_EQ(runtime::decimalValue("0x1F"), 0);
  EXPECT_EQ(runtime::decimalValue("inf"), 0);
  EXPECT_EQ(runtime::decimalValue("nan"), 0);
  EXPECT_EQ(runtime::decimalValue(""), 0);
  EXPECT_EQ(runtime::decimalValue("-"), 0);
}

TEST(Machine, DoublesSaturateToIntegers) {
  EXPECT_EQ(runtime::toInt32(std::nan("")), 0);
  EXPECT_EQ(runtime::toInt32(1e300), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(runtime::toInt32(-1e300), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(runtime::toInt32(-2.9), -2);
  EXPECT_EQ(runtime::toInt64(std::numeric_limits<double>::infinity()),
            std::numeric_limits<std::int64_t>::max());
}

}  // namespace
