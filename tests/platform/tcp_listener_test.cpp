// The listening socket: a port of the system's choice, waits that end
// without a connection, accepted connections that carry bytes both ways.
#include "platform/tcp_listener.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t kGuardMs = 10000;

class Listening : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(platform::startSockets(), 0); }
  void TearDown() override { (void)platform::cleanupSockets(); }
};

TEST_F(Listening, AcceptsAConnectionThatCarriesBytesBothWays) {
  int error = -1;
  auto listener = platform::listenTcp("127.0.0.1", 0, 4, error);
  ASSERT_NE(listener, nullptr) << error;
  ASSERT_NE(listener->port(), 0);
  std::unique_ptr<platform::TcpSocket> accepted;
  std::string peer;
  EXPECT_EQ(listener->accept(1, accepted, peer), platform::kSocketTimedOut);
  EXPECT_EQ(accepted, nullptr);

  auto client = platform::connectTcp("127.0.0.1", listener->port(), kGuardMs, error);
  ASSERT_NE(client, nullptr) << error;
  ASSERT_EQ(listener->accept(kGuardMs, accepted, peer), 0);
  ASSERT_NE(accepted, nullptr);
  EXPECT_EQ(peer.rfind("127.0.0.1:", 0), 0u) << peer;

  std::size_t moved = 0;
  ASSERT_EQ(client->send("ping", 4, moved), 0);
  ASSERT_EQ(moved, 4u);
  char got[8] = {};
  std::size_t have = 0;
  while (have < 4) {
    ASSERT_EQ(accepted->wait(platform::SocketWait::Readable, kGuardMs), 0);
    std::size_t n = 0;
    int rc = accepted->receive(got + have, 4 - have, n);
    if (rc == platform::kWsaWouldBlock) continue;
    ASSERT_EQ(rc, 0);
    ASSERT_GT(n, 0u);
    have += n;
  }
  EXPECT_EQ(std::string(got, 4), "ping");
  // The accepted socket is non-blocking: nothing there is "would block", not a wait.
  std::size_t n = 0;
  EXPECT_EQ(accepted->receive(got, sizeof got, n), platform::kWsaWouldBlock);

  ASSERT_EQ(accepted->send("pong", 4, moved), 0);
  EXPECT_EQ(moved, 4u);
  ASSERT_EQ(accepted->close(), 0);
  // The client reads what was sent, then the close.
  std::string back;
  for (;;) {
    ASSERT_EQ(client->wait(platform::SocketWait::Readable, kGuardMs), 0);
    int rc = client->receive(got, sizeof got, n);
    if (rc == platform::kWsaWouldBlock) continue;
    if (rc != 0 || n == 0) break;
    back.append(got, n);
  }
  EXPECT_EQ(back, "pong");
}

TEST_F(Listening, BadAddressesAndATakenPortAreErrors) {
  int error = 0;
  EXPECT_EQ(platform::listenTcp("localhost", 0, 4, error), nullptr);
  EXPECT_EQ(error, platform::kWsaInvalidArgument);
  auto first = platform::listenTcp("127.0.0.1", 0, 4, error);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(platform::listenTcp("127.0.0.1", first->port(), 4, error), nullptr);
  EXPECT_EQ(error, platform::kWsaAddressInUse);
}

}  // namespace
