#include "tablestore/number_text.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tablestore/day_number.hpp"

namespace {

using namespace tablestore;

std::string num(double v, int length, int decimals, bool* fits = nullptr) {
  std::string out(static_cast<std::size_t>(length), '?');
  bool ok = formatNumber(v, decimals, out.data(), length);
  if (fits) *fits = ok;
  return out;
}

TEST(NumberText, RightAlignedWithPointAndSign) {
  EXPECT_EQ(num(12.5, 6, 1), "  12.5");
  EXPECT_EQ(num(-0.25, 5, 2), "-0.25");
  EXPECT_EQ(num(0.25, 6, 2), "  0.25");
  EXPECT_EQ(num(0, 4, 0), "   0");
  EXPECT_EQ(num(-7, 4, 0), "  -7");
  EXPECT_EQ(num(45.123456789, 14, 9), "  45.123456789");
  EXPECT_EQ(num(-122.5, 13, 8), "-122.50000000");
  EXPECT_EQ(num(3, 6, 2), "  3.00");
}

TEST(NumberText, OverflowFillsStars) {
  bool fits = true;
  EXPECT_EQ(num(123456, 5, 0, &fits), "*****");
  EXPECT_FALSE(fits);
  EXPECT_EQ(num(-1234, 4, 0, &fits), "****");  // the sign needs room too
  EXPECT_FALSE(fits);
  EXPECT_EQ(num(-123, 4, 0, &fits), "-123");
  EXPECT_TRUE(fits);
  EXPECT_EQ(num(100.0, 5, 2, &fits), "*****");  // two integer places only
  EXPECT_EQ(num(99.994, 5, 2, &fits), "99.99");
  EXPECT_EQ(num(99.995, 5, 2, &fits), "*****");  // rounds up to 100.00
  EXPECT_EQ(num(std::numeric_limits<double>::quiet_NaN(), 3, 0, &fits), "***");
  EXPECT_FALSE(fits);
  EXPECT_EQ(num(std::numeric_limits<double>::infinity(), 3, 0), "***");
  EXPECT_EQ(num(1e300, 20, 2), std::string(20, '*'));
}

TEST(NumberText, RoundsHalfAwayFromZeroOnTheDecimalForm) {
  EXPECT_EQ(num(2.5, 3, 0), "  3");
  EXPECT_EQ(num(-2.5, 3, 0), " -3");
  EXPECT_EQ(num(0.145, 5, 2), " 0.15");
  EXPECT_EQ(num(1.005, 5, 2), " 1.01");
  EXPECT_EQ(num(0.144999, 5, 2), " 0.14");
  EXPECT_EQ(num(9.96, 5, 1), " 10.0");
  EXPECT_EQ(num(0.96, 4, 1), " 1.0");
  EXPECT_EQ(num(-0.004, 5, 2), " 0.00");  // no sign on a zero
}

TEST(NumberText, DecimalsCappedByLengthAndFifteen) {
  // N 3.5 keeps 2 decimals: point at offset 0 leaves no room for the "0".
  EXPECT_EQ(num(0.5, 3, 5), "***");
  EXPECT_EQ(num(5, 1, 3), "5");
  EXPECT_EQ(num(0.5, 20, 18), "   0.500000000000000");
}

TEST(NumberText, Integers) {
  std::string f(5, '?');
  EXPECT_TRUE(formatInteger(42, f.data(), 5));
  EXPECT_EQ(f, "   42");
  EXPECT_TRUE(formatInteger(-9999, f.data(), 5));
  EXPECT_EQ(f, "-9999");
  EXPECT_FALSE(formatInteger(123456, f.data(), 5));
  EXPECT_EQ(f, "*****");
}

TEST(NumberText, ParsesLikeTheFieldsHoldThem) {
  EXPECT_DOUBLE_EQ(parseNumber("  12.5"), 12.5);
  EXPECT_DOUBLE_EQ(parseNumber("-0.25"), -0.25);
  EXPECT_DOUBLE_EQ(parseNumber("   +3"), 3.0);
  EXPECT_DOUBLE_EQ(parseNumber("  .5 "), 0.5);
  EXPECT_DOUBLE_EQ(parseNumber("1.5E+03"), 1500.0);
  EXPECT_DOUBLE_EQ(parseNumber("12abc"), 12.0);
  EXPECT_EQ(parseNumber("     "), 0.0);
  EXPECT_EQ(parseNumber("*****"), 0.0);
  EXPECT_EQ(parseNumber(""), 0.0);
  EXPECT_EQ(parseNumber("-"), 0.0);
  EXPECT_EQ(parseNumber("1e999"), 0.0);
  EXPECT_EQ(parseInteger("  12.7"), 12);
  EXPECT_EQ(parseInteger(" -40 "), -40);
  EXPECT_EQ(parseInteger("****"), 0);
  EXPECT_EQ(parseInteger("99999999999999999999999"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(parseInteger("-99999999999999999999999"), std::numeric_limits<std::int64_t>::min());
}

TEST(DayNumber, JulianDayNumbersAndText) {
  EXPECT_EQ(dayNumber(2000, 1, 1), 2451545);
  EXPECT_EQ(dayNumber(1, 1, 1), 1721426);
  EXPECT_EQ(dayNumber(9999, 12, 31), 5373484);
  int y, m, d;
  civilDate(2451545 + 59, y, m, d);  // 2000 is a leap year
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000229);
  for (std::int64_t day : {1721426LL, 2299161LL, 2440588LL, 2460000LL, 5373484LL}) {
    char text[8];
    ASSERT_TRUE(writeDate(day, text));
    EXPECT_EQ(readDate(text), day);
  }
  char text[8];
  ASSERT_TRUE(writeDate(dayNumber(2024, 2, 29), text));
  EXPECT_EQ(std::string(text, 8), "20240229");
  ASSERT_TRUE(writeDate(0, text));
  EXPECT_EQ(std::string(text, 8), "        ");
  EXPECT_FALSE(writeDate(5373485, text));
  EXPECT_EQ(readDate("20230229"), kNoDate);
  EXPECT_EQ(readDate("2023 1 1"), kNoDate);
  EXPECT_EQ(readDate("00000101"), kNoDate);
}

}  // namespace
