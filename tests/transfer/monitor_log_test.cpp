// The connection monitor thread and the bounded debug log.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "support/eventually.hpp"
#include "support/temp_dir.hpp"
#include "transfer/debug_log.hpp"
#include "transfer/link.hpp"
#include "transfer/link_errors.hpp"

namespace {

using testing_support::eventually;
using transfer::HostLink;

TEST(LinkMonitor, TheDefaultProbeAnswersNothingSoTheRunLengthIsZero) {
  HostLink link;
  ASSERT_EQ(link.startSockets(), 0);
  ASSERT_EQ(link.startPingThread("10.1.1.200", 1, 500), 0);
  transfer::MonitorStats s = link.monitorStatistics();
  EXPECT_EQ(s.runLength, 0u);
  EXPECT_EQ(s.averageReply, 0u);
  // Stopping does not wait out the period.
  EXPECT_EQ(link.shutdown(), 0);
}

TEST(LinkMonitor, StatisticsComeFromTheProbesAndRestartAtZero) {
  HostLink link;
  std::atomic<int> probes{0};
  std::string seenAddress;
  std::atomic<std::uint32_t> seenTimeout{0};
  link.setProbe([&](const std::string& address, std::uint32_t timeoutMs) -> std::uint32_t {
    if (probes == 0) seenAddress = address;
    seenTimeout = timeoutMs;
    ++probes;
    return 25;
  });
  ASSERT_EQ(link.startSockets(), 0);
  ASSERT_EQ(link.startPingThread("10.1.1.200", 1, 500), 0);
  ASSERT_TRUE(eventually([&] { return link.monitorStatistics().runLength >= 1; }));
  EXPECT_EQ(link.monitorStatistics().averageReply, 25u);
  EXPECT_EQ(link.monitorStatistics().lossPercent, 0u);
  EXPECT_EQ(link.shutdown(), 0);
  EXPECT_EQ(seenAddress, "10.1.1.200");
  EXPECT_EQ(seenTimeout.load(), 500u);

  // The first probe of the next run is held, so the figures are the start's.
  std::atomic<bool> release{false};
  link.setProbe([&](const std::string&, std::uint32_t) -> std::uint32_t {
    while (!release) std::this_thread::yield();
    return 0;
  });
  ASSERT_EQ(link.startSockets(), 0);
  ASSERT_EQ(link.startPingThread("10.1.1.200", 1, 500), 0);
  EXPECT_EQ(link.monitorStatistics().runLength, 0u);
  EXPECT_EQ(link.monitorStatistics().averageReply, 0u);
  release = true;
  EXPECT_EQ(link.shutdown(), 0);
}

TEST(LinkMonitor, ShutdownWithNothingStartedIsNotAnError) {
  HostLink link;
  EXPECT_EQ(link.shutdown(), 0);
  EXPECT_EQ(link.disconnect(), 0);
}

TEST(DebugLog, AppendsLinesAndIsSilentWhenItCannotOpen) {
  testing_support::TempDir dir;
  transfer::DebugLog log(dir.file("link.log"));
  log.line("Disconnecting.");
  log.linef("s1: %d", 10054);
  EXPECT_EQ(testing_support::readBytes(dir.file("link.log")), "Disconnecting.\ns1: 10054\n");

  transfer::DebugLog nowhere(dir.file("no-such-folder") + "/x/link.log");
  nowhere.line("lost");  // nothing to see, nothing thrown
  transfer::DebugLog off;
  off.line("lost");
  EXPECT_EQ(testing_support::fileNamesIn(dir.path()).size(), 1u);
}

TEST(DebugLog, AFullLogIsKeptAsOldAndANewOneStarted) {
  testing_support::TempDir dir;
  transfer::DebugLog log(dir.file("link.log"), 100);
  const std::string line(39, 'a');  // 40 bytes with its line break
  for (int i = 0; i < 3; ++i) log.line(line);
  EXPECT_EQ(testing_support::readBytes(dir.file("link.log")).size(), 120u);  // passed the limit
  log.line("next");
  EXPECT_EQ(testing_support::readBytes(dir.file("link.log.old")).size(), 120u);
  EXPECT_EQ(testing_support::readBytes(dir.file("link.log")), "next\n");
  for (int i = 0; i < 200; ++i) log.line(line);
  // However long it runs, the two files stay within the limit and one line.
  EXPECT_LE(testing_support::readBytes(dir.file("link.log")).size(), 140u);
  EXPECT_LE(testing_support::readBytes(dir.file("link.log.old")).size(), 140u);
}

}  // namespace
