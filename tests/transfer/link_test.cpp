// The host link against a loopback peer playing the host.
#include "transfer/link.hpp"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/eventually.hpp"
#include "support/tcp_peer.hpp"
#include "support/temp_dir.hpp"
#include "transfer/link_errors.hpp"

namespace {

using testing_support::eventually;
using testing_support::PeerConnection;
using testing_support::TcpPeer;
using transfer::HostLink;

// A wait time-out short enough for the tests, long enough for a loaded machine.
constexpr std::uint32_t kShortWaitMs = 300;

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.setDebugLogPath(dir.file("link.log"));
    link.setWaitTimeoutMs(kShortWaitMs);
    ASSERT_EQ(link.startSockets(), 0);
  }
  void TearDown() override {
    EXPECT_EQ(link.disconnect(), 0);
    EXPECT_EQ(link.shutdown(), 0);
  }

  // Polls the request as the session does until it is no longer pending.
  int finish(std::uint32_t& progress) {
    int state = transfer::kRequestIdle;
    EXPECT_TRUE(eventually([&] {
      state = link.requestStatus(progress);
      return state == transfer::kRequestIdle || state == transfer::kRequestFailed;
    }));
    return state;
  }
  std::string log() const { return testing_support::readBytes(dir.file("link.log")); }

  testing_support::TempDir dir;
  HostLink link;
};

TEST_F(LinkTest, AReceiveOf280BytesInTwoSegmentsCompletes) {
  std::atomic<bool> firstArrived{false};
  TcpPeer peer([&](PeerConnection& c) {
    std::array<char, 280> header{};
    for (std::size_t i = 0; i < header.size(); ++i) header[i] = static_cast<char>(i);
    (void)c.sendAll(header.data(), 100);
    // The second segment only once the link has taken in the first.
    while (!firstArrived) std::this_thread::yield();
    (void)c.sendAll(header.data() + 100, 180);
    c.waitUntilStopped();
  });
  ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0);
  std::array<char, 280> got{};
  ASSERT_EQ(link.receiveData(got.data(), 280), 0);
  std::uint32_t progress = 0;
  ASSERT_TRUE(eventually([&] {
    (void)link.requestStatus(progress);
    return progress >= 100;
  }));
  EXPECT_EQ(progress, 100u);  // no more than the first segment was there
  firstArrived = true;
  EXPECT_EQ(finish(progress), transfer::kRequestIdle);
  EXPECT_EQ(progress, 280u);
  for (std::size_t i = 0; i < got.size(); ++i) ASSERT_EQ(got[i], static_cast<char>(i)) << i;
  const std::string text = log();
  EXPECT_NE(text.find("Socket thread running.\n"), std::string::npos);
  EXPECT_NE(text.find("Received 100 bytes\nthread not going idle\n"), std::string::npos);
  EXPECT_NE(text.find("Received 180 bytes\nreceive portion of thread going idle\n"), std::string::npos);
}

TEST_F(LinkTest, ALargeSendGoesOutWholeInOrder) {
  std::vector<unsigned char> data(1 << 20);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7 + i / 256);
  std::vector<unsigned char> seen(data.size());
  std::atomic<bool> whole{false};
  TcpPeer peer([&](PeerConnection& c) {
    whole = c.receiveExactly(seen.data(), seen.size());
    c.waitUntilStopped();
  });
  ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0);
  ASSERT_EQ(link.sendData(data.data(), static_cast<std::uint32_t>(data.size())), 0);
  std::uint32_t progress = 0;
  EXPECT_EQ(finish(progress), transfer::kRequestIdle);
  EXPECT_EQ(progress, data.size());
  ASSERT_TRUE(eventually([&] { return whole.load(); }));
  EXPECT_EQ(seen, data);
  EXPECT_NE(log().find("send portion of thread going idle\n"), std::string::npos);
}

TEST_F(LinkTest, TheHostClosingDuringAReceiveFailsTheRequest) {
  TcpPeer peer([](PeerConnection& c) {
    (void)c.sendAll("abc", 3);
    c.close();
  });
  ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0);
  char got[16];
  ASSERT_EQ(link.receiveData(got, sizeof got), 0);
  std::uint32_t progress = 0;
  EXPECT_EQ(finish(progress), transfer::kRequestFailed);
  EXPECT_EQ(progress, 3u);
  EXPECT_EQ(link.lastError(), platform::kWsaDisconnected);
  EXPECT_NE(log().find("Received 0 bytes\nr2: 10101\n"), std::string::npos);
}

TEST_F(LinkTest, SilencePastTheWaitTimesOutAndLeavesTheConnectionOpen) {
  std::atomic<bool> gotByte{false};
  TcpPeer peer([&](PeerConnection& c) {
    char b = 0;
    gotByte = c.receiveExactly(&b, 1) && b == 'Z';
    c.waitUntilStopped();
  });
  ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0);
  char got[4];
  ASSERT_EQ(link.receiveData(got, sizeof got), 0);
  std::uint32_t progress = 0;
  EXPECT_EQ(finish(progress), transfer::kRequestFailed);
  EXPECT_EQ(link.lastError(), platform::kWsaTimedOut);
  EXPECT_NE(log().find("Timeout expired.\n"), std::string::npos);
  // A failed request leaves the connection to the caller: it can still send.
  ASSERT_EQ(link.sendData("Z", 1), 0);
  EXPECT_EQ(finish(progress), transfer::kRequestIdle);
  EXPECT_TRUE(eventually([&] { return gotByte.load(); }));
}

TEST_F(LinkTest, RequestsWithoutAConnectionQueueNothing) {
  char b[8] = {};
  EXPECT_EQ(link.sendData("hello", 5), transfer::kLinkNotConnected);
  EXPECT_EQ(link.receiveData(b, 8), transfer::kLinkNotConnected);
  std::uint32_t progress = 99;
  EXPECT_EQ(link.requestStatus(progress), transfer::kRequestIdle);
  EXPECT_EQ(progress, 0u);
  EXPECT_FALSE(link.threadRunning());
}

TEST_F(LinkTest, ConnectToAClosedPortIsRefusedWithNoThread) {
  EXPECT_EQ(link.connect("127.0.0.1", testing_support::closedLoopbackPort()), platform::kWsaConnectionRefused);
  EXPECT_FALSE(link.threadRunning());
  EXPECT_FALSE(link.connected());
  EXPECT_EQ(link.sendData("x", 1), transfer::kLinkNotConnected);
  EXPECT_EQ(link.connect("10.1.1", 50000), platform::kWsaInvalidArgument);
  EXPECT_EQ(link.connect("127.0.0.1", 70000), platform::kWsaInvalidArgument);
  EXPECT_FALSE(link.threadRunning());
}

TEST_F(LinkTest, ANewRequestWhileOneIsPendingIsRefusedAndChangesNothing) {
  link.setWaitTimeoutMs(60000);
  TcpPeer peer([](PeerConnection& c) {
    char b[4];
    if (c.receiveExactly(b, 1)) (void)c.sendAll("wxyz", 4);
    c.waitUntilStopped();
  });
  ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0);
  char got[4] = {};
  ASSERT_EQ(link.receiveData(got, 4), 0);
  char other[4] = {};
  EXPECT_EQ(link.receiveData(other, 2), transfer::kLinkRequestPending);
  EXPECT_EQ(link.sendData("!", 1), transfer::kLinkRequestPending);
  std::uint32_t progress = 0;
  EXPECT_EQ(link.requestStatus(progress), transfer::kRequestReceivePending);
  EXPECT_EQ(link.disconnect(), 0);  // abandon it; the peer never got its byte
}

TEST_F(LinkTest, DisconnectWakesAThreadBlockedInAWaitAndJoinsIt) {
  link.setWaitTimeoutMs(600000);  // the wait would outlast any test
  TcpPeer peer([](PeerConnection& c) { c.waitUntilStopped(); });
  ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0);
  char got[8];
  ASSERT_EQ(link.receiveData(got, sizeof got), 0);
  ASSERT_TRUE(link.threadRunning());
  EXPECT_EQ(link.disconnect(), 0);
  EXPECT_FALSE(link.threadRunning());
  EXPECT_FALSE(link.connected());
  std::uint32_t progress = 0;
  EXPECT_EQ(link.requestStatus(progress), transfer::kRequestFailed);
  EXPECT_EQ(link.lastError(), platform::kWsaConnectionAborted);
  EXPECT_EQ(link.sendData("x", 1), transfer::kLinkNotConnected);
  const std::string text = log();
  // The socket thread's own lines may fall between the disconnect's.
  const auto disconnecting = text.find("Disconnecting.\n");
  const auto told = text.find("Telling thread to die.\n");
  const auto returning = text.find("Socket thread returning.\n");
  const auto dead = text.find("Thread dead.\n");
  ASSERT_NE(disconnecting, std::string::npos);
  ASSERT_NE(dead, std::string::npos);
  EXPECT_LT(disconnecting, told);
  EXPECT_LT(told, returning);
  EXPECT_LT(returning, dead);
}

TEST_F(LinkTest, AConnectResetsTheRunFlagSoTheLinkCanBeUsedAgain) {
  TcpPeer peer([](PeerConnection& c) {
    (void)c.sendAll("ok", 2);
    c.waitUntilStopped();
  });
  for (int round = 0; round < 3; ++round) {
    ASSERT_EQ(link.connect("127.0.0.1", peer.port()), 0) << round;
    char got[2] = {};
    ASSERT_EQ(link.receiveData(got, 2), 0);
    std::uint32_t progress = 0;
    EXPECT_EQ(finish(progress), transfer::kRequestIdle) << round;
    EXPECT_EQ(std::string(got, 2), "ok");
    EXPECT_EQ(link.disconnect(), 0);
  }
  EXPECT_TRUE(eventually([&] { return peer.accepted() == 3; }));
}

TEST(LinkObjects, TwentyLinksToOneHostShareNothing) {
  constexpr int kLinks = 20;
  // The host echoes each unit's 1000-byte block back.
  TcpPeer peer([](PeerConnection& c) {
    std::vector<char> block(1000);
    if (c.receiveExactly(block.data(), block.size())) (void)c.sendAll(block.data(), block.size());
    c.waitUntilStopped();
  });
  std::vector<std::unique_ptr<HostLink>> links;
  std::vector<std::vector<char>> out(kLinks), in(kLinks);
  for (int i = 0; i < kLinks; ++i) {
    links.push_back(std::make_unique<HostLink>());
    HostLink& l = *links.back();
    l.setWaitTimeoutMs(5000);
    ASSERT_EQ(l.startSockets(), 0);
    ASSERT_EQ(l.connect("127.0.0.1", peer.port()), 0) << i;
    out[i].assign(1000, static_cast<char>('A' + i));
    in[i].assign(1000, 0);
    ASSERT_EQ(l.sendData(out[i].data(), 1000), 0);
  }
  for (int i = 0; i < kLinks; ++i) {
    HostLink& l = *links[i];
    std::uint32_t progress = 0;
    ASSERT_TRUE(eventually([&] { return l.requestStatus(progress) == transfer::kRequestIdle; })) << i;
    ASSERT_EQ(l.receiveData(in[i].data(), 1000), 0);
  }
  for (int i = 0; i < kLinks; ++i) {
    HostLink& l = *links[i];
    std::uint32_t progress = 0;
    ASSERT_TRUE(eventually([&] { return l.requestStatus(progress) != transfer::kRequestReceivePending; })) << i;
    EXPECT_EQ(l.requestStatus(progress), transfer::kRequestIdle) << i;
    EXPECT_EQ(progress, 1000u);
    EXPECT_EQ(in[i], out[i]) << i;
  }
  // One link going away leaves the others connected.
  EXPECT_EQ(links[0]->disconnect(), 0);
  EXPECT_TRUE(links[1]->threadRunning());
  EXPECT_TRUE(links[1]->connected());
  for (auto& l : links) {
    EXPECT_EQ(l->disconnect(), 0);
    EXPECT_EQ(l->shutdown(), 0);
  }
}

}  // namespace
