// The date and time a host sends for the PC's clock: validity and the
// five-second rule.
#include "transfer/clock_trailer.hpp"

#include <gtest/gtest.h>

namespace {

using transfer::HostClock;

HostClock at(std::uint16_t hour, std::uint16_t minute, std::uint16_t second) {
  return HostClock{2020, 9, 3, 29, hour, minute, second, 250};
}

TEST(ClockTrailer, AddsFiveSecondsCarryingIntoMinutesAndHours) {
  auto set = transfer::clockToSet(at(10, 20, 30));
  ASSERT_TRUE(set);
  EXPECT_EQ(*set, at(10, 20, 35));
  set = transfer::clockToSet(at(10, 20, 56));
  ASSERT_TRUE(set);
  EXPECT_EQ(*set, at(10, 21, 1));
  set = transfer::clockToSet(at(12, 59, 58));
  ASSERT_TRUE(set);
  EXPECT_EQ(*set, at(13, 0, 3));
  set = transfer::clockToSet(at(23, 58, 59));
  ASSERT_TRUE(set);
  EXPECT_EQ(*set, at(23, 59, 4));
  set = transfer::clockToSet(at(23, 59, 54));
  ASSERT_TRUE(set);
  EXPECT_EQ(*set, at(23, 59, 59));
}

TEST(ClockTrailer, TheLastSecondsOfADayStayAsSent) {
  for (std::uint16_t s : {55, 57, 59}) {
    auto set = transfer::clockToSet(at(23, 59, s));
    ASSERT_TRUE(set) << s;
    EXPECT_EQ(*set, at(23, 59, s));
  }
}

TEST(ClockTrailer, EveryFieldOutsideItsRangeGivesNoTime) {
  const HostClock good{2007, 1, 1, 1, 0, 0, 0, 0};
  EXPECT_TRUE(transfer::clockToSet(good));
  EXPECT_TRUE(transfer::clockToSet(HostClock{2027, 12, 7, 31, 23, 59, 59, 999}));
  EXPECT_TRUE(transfer::clockToSet(HostClock{2031, 6, 3, 18, 12, 0, 0, 0}));  // past 2027 too
  EXPECT_TRUE(transfer::clockToSet(HostClock{2099, 12, 4, 31, 23, 0, 0, 0}));
  auto with = [&](auto change) {
    HostClock c = good;
    change(c);
    return transfer::clockToSet(c).has_value();
  };
  EXPECT_FALSE(with([](HostClock& c) { c.year = 2006; }));
  EXPECT_FALSE(with([](HostClock& c) { c.year = 2100; }));
  EXPECT_FALSE(with([](HostClock& c) { c.month = 0; }));
  EXPECT_FALSE(with([](HostClock& c) { c.month = 13; }));
  EXPECT_FALSE(with([](HostClock& c) { c.day = 0; }));
  EXPECT_FALSE(with([](HostClock& c) { c.day = 32; }));
  EXPECT_TRUE(with([](HostClock& c) { c.dayOfWeek = 0; }));  // Sunday in a SYSTEMTIME
  EXPECT_TRUE(with([](HostClock& c) { c.dayOfWeek = 6; }));
  EXPECT_FALSE(with([](HostClock& c) { c.dayOfWeek = 8; }));
  EXPECT_FALSE(with([](HostClock& c) { c.hour = 24; }));
  EXPECT_FALSE(with([](HostClock& c) { c.minute = 60; }));
  EXPECT_FALSE(with([](HostClock& c) { c.second = 60; }));
  EXPECT_TRUE(with([](HostClock& c) { c.milliseconds = 65535; }));  // not judged
}

TEST(ClockTrailer, BytesAreSixteenBitLittleEndianInSystemTimeOrder) {
  const HostClock c{2020, 9, 2, 29, 13, 45, 7, 500};
  const auto bytes = transfer::clockTrailerBytes(c);
  const std::uint8_t expected[16] = {0xE4, 0x07, 9, 0, 2, 0, 29, 0, 13, 0, 45, 0, 7, 0, 0xF4, 0x01};
  for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;
  EXPECT_EQ(transfer::readClockTrailer(bytes.data()), c);
}

}  // namespace
