// The monitor's statistics over its last ten probes.
#include "transfer/probe_ring.hpp"

#include <gtest/gtest.h>

namespace {

using transfer::MonitorStats;
using transfer::ProbeRing;

TEST(ProbeRing, AveragesAnsweredProbesAndCountsLosses) {
  ProbeRing ring;
  MonitorStats s = ring.record(10);
  EXPECT_EQ(s.averageReply, 10u);
  EXPECT_EQ(s.lossPercent, 0u);
  EXPECT_EQ(s.runLength, 1u);
  s = ring.record(0);
  EXPECT_EQ(s.averageReply, 10u);  // losses do not pull the average down
  EXPECT_EQ(s.lossPercent, 50u);
  EXPECT_EQ(s.runLength, 0u);      // the latest probe was lost
  s = ring.record(20);
  s = ring.record(30);
  EXPECT_EQ(s.averageReply, 20u);  // (10 + 20 + 30) / 3
  EXPECT_EQ(s.lossPercent, 25u);
  EXPECT_EQ(s.runLength, 2u);
}

TEST(ProbeRing, KeepsOnlyTheLastTenAndRunsAtMostTen) {
  ProbeRing ring;
  (void)ring.record(0);  // lost, then pushed out by ten answers
  MonitorStats s;
  for (int i = 0; i < 10; ++i) s = ring.record(5);
  EXPECT_EQ(s.lossPercent, 0u);
  EXPECT_EQ(s.runLength, 10u);
  for (int i = 0; i < 5; ++i) s = ring.record(15);
  EXPECT_EQ(s.averageReply, 10u);
  EXPECT_EQ(s.runLength, 10u);
  s = ring.record(0);
  EXPECT_EQ(s.lossPercent, 10u);
  EXPECT_EQ(s.runLength, 0u);
  s = ring.record(7);
  EXPECT_EQ(s.runLength, 1u);  // the run stops at the lost probe behind it
}

TEST(ProbeRing, TotalLossEmptiesTheRing) {
  ProbeRing ring;
  MonitorStats s = ring.record(0);
  EXPECT_EQ(s.lossPercent, 100u);
  EXPECT_EQ(s.averageReply, 0u);
  EXPECT_EQ(s.runLength, 0u);
  // The lost probe was forgotten: one answer is a clean record.
  s = ring.record(40);
  EXPECT_EQ(s.lossPercent, 0u);
  EXPECT_EQ(s.averageReply, 40u);
  EXPECT_EQ(s.runLength, 1u);
}

}  // namespace
