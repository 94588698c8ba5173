// The TCP client socket against a peer on the loopback interface.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/ipv4_text.hpp"
#include "platform/socket.hpp"
#include "support/tcp_peer.hpp"

namespace {

using platform::connectTcp;
using platform::SocketWait;
using testing_support::PeerConnection;
using testing_support::TcpPeer;

TEST(DottedIpv4, ReadsFourNumbersInOrder) {
  std::uint32_t a = 0;
  ASSERT_TRUE(platform::parseDottedIpv4("10.1.1.200", a));
  EXPECT_EQ(a, 0x0A0101C8u);
  ASSERT_TRUE(platform::parseDottedIpv4("255.255.255.255", a));
  EXPECT_EQ(a, 0xFFFFFFFFu);
  ASSERT_TRUE(platform::parseDottedIpv4("0.0.0.0", a));
  EXPECT_EQ(a, 0u);
}

TEST(DottedIpv4, RefusesAnythingElseAndLeavesTheAddress) {
  for (const char* bad : {"", "10.1.1", "10.1.1.1.1", "256.1.1.1", "10..1.1", "10.1.1.", ".10.1.1",
                          " 10.1.1.1", "10.1.1.1 ", "10.1.1.x", "1000.1.1.1", "10.1.1.2555", "-1.1.1.1",
                          "localhost"}) {
    std::uint32_t a = 0x12345678;
    EXPECT_FALSE(platform::parseDottedIpv4(bad, a)) << bad;
    EXPECT_EQ(a, 0x12345678u) << bad;
  }
}

class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(platform::startSockets(), 0); }
  void TearDown() override { EXPECT_EQ(platform::cleanupSockets(), 0); }
};

TEST_F(SocketTest, ConnectFailuresAreWindowsSocketsNumbers) {
  int error = 0;
  EXPECT_EQ(connectTcp("127.0.0.1", testing_support::closedLoopbackPort(), 5000, error), nullptr);
  EXPECT_EQ(error, platform::kWsaConnectionRefused);
  EXPECT_EQ(connectTcp("not.an.address", 50000, 5000, error), nullptr);
  EXPECT_EQ(error, platform::kWsaInvalidArgument);
}

TEST_F(SocketTest, MovesBytesBothWaysAndSeesThePeerClose) {
  TcpPeer peer([](PeerConnection& c) {
    char in[5] = {};
    if (c.receiveExactly(in, 5) && std::memcmp(in, "hello", 5) == 0) (void)c.sendAll("world!", 6);
    c.close();
  });
  ASSERT_NE(peer.port(), 0);
  int error = -1;
  auto s = connectTcp("127.0.0.1", peer.port(), 5000, error);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(error, 0);

  ASSERT_EQ(s->wait(SocketWait::Writable, 5000), 0);
  std::size_t sent = 0;
  ASSERT_EQ(s->send("hello", 5, sent), 0);
  EXPECT_EQ(sent, 5u);

  std::string got;
  char buffer[16];
  for (;;) {
    ASSERT_EQ(s->wait(SocketWait::Readable, 5000), 0);
    std::size_t n = 0;
    int rc = s->receive(buffer, sizeof buffer, n);
    if (rc == platform::kWsaWouldBlock) continue;
    ASSERT_EQ(rc, 0);
    if (n == 0) break;  // the peer closed
    got.append(buffer, n);
  }
  EXPECT_EQ(got, "world!");
  EXPECT_EQ(s->close(), 0);
  EXPECT_EQ(s->wait(SocketWait::Readable, 0), platform::kWsaNotSocket);
}

TEST_F(SocketTest, WaitOnASilentPeerTimesOutAndReceiveWouldBlock) {
  TcpPeer peer([](PeerConnection& c) { c.waitUntilStopped(); });
  int error = 0;
  auto s = connectTcp("127.0.0.1", peer.port(), 5000, error);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->wait(SocketWait::Readable, 30), platform::kSocketTimedOut);
  char b;
  std::size_t n = 99;
  EXPECT_EQ(s->receive(&b, 1, n), platform::kWsaWouldBlock);
  EXPECT_EQ(n, 0u);
}

TEST_F(SocketTest, ShutdownFromAnotherThreadEndsAWait) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows may let a select run to its time-out after a shutdown";
#else
  TcpPeer peer([](PeerConnection& c) { c.waitUntilStopped(); });
  int error = 0;
  auto s = connectTcp("127.0.0.1", peer.port(), 5000, error);
  ASSERT_NE(s, nullptr);
  std::atomic<int> waited{1};
  std::thread waiter([&] { waited = s->wait(SocketWait::Readable, 60000); });
  EXPECT_EQ(s->shutdownBoth(), 0);
  waiter.join();
  EXPECT_EQ(waited.load(), 0);
  std::size_t n = 99;
  char b;
  EXPECT_EQ(s->receive(&b, 1, n), 0);
  EXPECT_EQ(n, 0u);
#endif
}

TEST_F(SocketTest, SendToAPeerThatHasGoneFailsWithoutKillingTheProcess) {
  std::atomic<bool> closed{false};
  TcpPeer peer([&](PeerConnection& c) {
    c.close();
    closed = true;
  });
  int error = 0;
  auto s = connectTcp("127.0.0.1", peer.port(), 5000, error);
  ASSERT_NE(s, nullptr);
  // Keep sending until the reset comes back; the first sends may still be taken.
  std::vector<char> block(65536, 'x');
  int rc = 0;
  for (int i = 0; i < 200 && rc == 0; ++i) {
    std::size_t sent = 0;
    if (s->wait(SocketWait::Writable, 1000) != 0) continue;
    rc = s->send(block.data(), block.size(), sent);
    if (rc == 0 && sent == 0) std::this_thread::yield();
  }
  EXPECT_TRUE(rc == platform::kWsaConnectionReset || rc == platform::kWsaConnectionAborted) << rc;
}

}  // namespace
