// The line and polygon log: the interval rule on its own, then the thread fed
// fix by fix through the GPS lock as the reader would.
#include "gps/log_thread.hpp"

#include <gtest/gtest.h>

#include <mutex>

#include "support/eventually.hpp"
#include "support/manual_clock.hpp"
#include "support/temp_dir.hpp"
#include "tablestore/table_store.hpp"

namespace {

using testing_support::eventually;

// About 20 feet of latitude.
constexpr double kTwentyFeet = 5.5e-5;

gps::Position at(double latitude, double timeOfDay = 120000) {
  gps::Position p;
  p.latitude = latitude;
  p.longitude = -114.5;
  p.fixTimeOfDay = timeOfDay;
  p.satellites = 8;
  return p;
}

TEST(IntervalRule, SecondsCompareFixTimesOfDayAsNumbers) {
  const gps::Position last = at(42, 120000);
  EXPECT_TRUE(gps::intervalPasses(5, false, nullptr, at(42, 120000)));
  EXPECT_FALSE(gps::intervalPasses(5, false, &last, at(42, 120004.9)));
  EXPECT_TRUE(gps::intervalPasses(5, false, &last, at(42, 120005)));
  EXPECT_TRUE(gps::intervalPasses(5, false, &last, at(42, 115955)));  // an earlier time counts by its size
  EXPECT_TRUE(gps::intervalPasses(0, false, &last, at(42, 120000)));
  // One second across a minute boundary is 41 as hhmmss numbers.
  const gps::Position endOfMinute = at(42, 120059);
  EXPECT_TRUE(gps::intervalPasses(30, false, &endOfMinute, at(42, 120100)));
}

TEST(IntervalRule, NegativeIntervalsAreMinimumFeetWhateverTheTime) {
  const gps::Position last = at(42);
  EXPECT_FALSE(gps::intervalPasses(-50, false, &last, at(42 + 2 * kTwentyFeet, 130000)));  // ~40 ft
  EXPECT_TRUE(gps::intervalPasses(-50, true, &last, at(42 - 3 * kTwentyFeet)));            // ~60 ft south
}

class LogThreadTest : public ::testing::Test {
 protected:
  LogThreadTest() : useClock(clock) {}

  gps::LogRequest request(int interval) {
    gps::LogRequest r;
    r.shape = gps::LogShape::kLine;
    r.interval = interval;
    r.path = dir.file("line.GPF");
    r.level = 1;
    r.keys = {"k1"};
    r.levelName = "Trees";
    r.fType = "LINE";
    r.message = [this](const std::string& m) {
      std::lock_guard<std::mutex> hold(lock);
      messages.push_back(m);
    };
    return r;
  }

  // Hands the position over as the reader does and waits until the log
  // thread has taken it.
  void feed(gps::FixConsumer consumer, const gps::Position& p) {
    state.withLock([&](gps::GpsData& d) {
      d.position = p;
      d.newFix[consumer] = 1;
    });
    ASSERT_TRUE(eventually([&] { return state.snapshot().newFix[consumer] == 0; }));
  }

  std::vector<double> loggedLatitudes(const std::string& path) {
    std::vector<double> out;
    tablestore::TableStore store;
    tablestore::Table* t = store.openTable(path);
    if (!t) return out;
    for (std::int64_t n = 1; n <= t->recordCount(); ++n)
      if (t->goRecord(n) == 0) out.push_back(t->fieldByName("LATITUDE")->number());
    (void)store.closeTable(t);
    return out;
  }

  std::vector<std::string> received() {
    std::lock_guard<std::mutex> hold(lock);
    return messages;
  }

  testing_support::ManualClock clock;
  platform::ScopedClock useClock;
  testing_support::TempDir dir;
  gps::GpsState state;
  std::mutex lock;
  std::vector<std::string> messages;
};

TEST_F(LogThreadTest, AMinimumDistanceLogsOnlyAfterThatMuchMovement) {
  gps::LogThread log;
  ASSERT_TRUE(log.start(state, request(-50)));
  EXPECT_TRUE(log.running());
  for (int step = 0; step <= 6; ++step) feed(gps::kLineFix, at(42 + step * kTwentyFeet));
  log.stop();
  EXPECT_FALSE(log.running());
  const std::vector<double> logged = loggedLatitudes(dir.file("line.GPF"));
  ASSERT_EQ(logged.size(), 3u);
  EXPECT_NEAR(logged[0], 42, 1e-9);
  EXPECT_NEAR(logged[1], 42 + 3 * kTwentyFeet, 1e-9);
  EXPECT_NEAR(logged[2], 42 + 6 * kTwentyFeet, 1e-9);
  EXPECT_EQ(received(), (std::vector<std::string>{"Trees:LINE Positions logged:1", "Trees:LINE Positions logged:2",
                                                  "Trees:LINE Positions logged:3"}));
}

TEST_F(LogThreadTest, IntervalZeroLogsEveryAcceptedFixAndRefusedOnesAreSkipped) {
  gps::LogRequest r = request(0);
  r.acceptance = [](const gps::GpsData& d) {
    return d.position.satellites < 4 ? std::string("Satellites Below Minimum") : std::string();
  };
  gps::LogThread log;
  ASSERT_TRUE(log.start(state, r));
  gps::Position few = at(43);
  few.satellites = 3;
  feed(gps::kLineFix, at(42));
  feed(gps::kLineFix, at(42));  // same place and time: still logged
  feed(gps::kLineFix, few);
  feed(gps::kLineFix, at(44));
  log.stop();
  EXPECT_EQ(loggedLatitudes(dir.file("line.GPF")), (std::vector<double>{42, 42, 44}));
  EXPECT_EQ(received(), (std::vector<std::string>{"Trees:LINE Positions logged:1", "Trees:LINE Positions logged:2",
                                                  "Satellites Below Minimum", "Trees:LINE Positions logged:3"}));
}

TEST_F(LogThreadTest, APolygonLogTakesOnlyPolygonFixesAndAppendsToAnExistingFile) {
  gps::LogRequest r = request(0);
  r.shape = gps::LogShape::kPolygon;
  r.fType = "POLY";
  int count = 0;
  tablestore::TableStore before;
  ASSERT_TRUE(gps::appendPosition(before, r.path, 1, r.keys, gps::GpsData{}, "POLY", count));
  gps::LogThread log;
  ASSERT_TRUE(log.start(state, r));
  state.withLock([](gps::GpsData& d) { d.newFix[gps::kLineFix] = 1; });
  feed(gps::kPolygonFix, at(45));
  log.stop();
  EXPECT_EQ(state.snapshot().newFix[gps::kLineFix], 1);
  EXPECT_EQ(loggedLatitudes(r.path), (std::vector<double>{0, 45}));
  EXPECT_EQ(received(), std::vector<std::string>{"Trees:POLY Positions logged:2"});
}

TEST_F(LogThreadTest, StopEndsTheThreadAndOneLogRunsAtATime) {
  gps::LogThread log;
  EXPECT_FALSE(log.running());
  log.stop();  // nothing runs: nothing happens
  gps::LogRequest point = request(0);
  point.shape = gps::LogShape::kPoint;
  EXPECT_FALSE(log.start(state, point));
  ASSERT_TRUE(log.start(state, request(0)));
  EXPECT_FALSE(log.start(state, request(0)));
  log.stop();
  EXPECT_FALSE(log.running());
  // A fix that came while no log ran is the next log's first.
  state.withLock([](gps::GpsData& d) { d.newFix[gps::kLineFix] = 1; });
  ASSERT_TRUE(log.start(state, request(0)));
  ASSERT_TRUE(eventually([&] { return state.snapshot().newFix[gps::kLineFix] == 0; }));
  log.stop();
  EXPECT_EQ(loggedLatitudes(dir.file("line.GPF")).size(), 1u);
}

}  // namespace
