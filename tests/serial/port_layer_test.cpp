#include "serial/port_layer.hpp"

#include <gtest/gtest.h>

#include "support/fake_clock.hpp"
#include "support/fake_serial.hpp"

namespace {

TEST(PortLayerSmoke, OpensReadsSendsCloses) {
  testing_support::FakeClock clock;
  platform::ScopedClock useClock(clock);
  testsupport::FakeSerialPorts ports;
  auto line = ports.line(3);
  serial::PortLayer layer(ports.opener());
  ASSERT_EQ(layer.Port_Open(3, 9600, 'N', 8, 1, 13, 0, serial::kClassGeneral), 1);
  line->feed("hello\r\n");
  ASSERT_TRUE(line->waitUntilConsumed());
  std::string out;
  EXPECT_EQ(layer.readMessage(3, out, 200, 0, false, nullptr), 5);
  EXPECT_EQ(out, "hello");
  EXPECT_EQ(layer.queueSend(3, "go"), 2);
  EXPECT_TRUE(line->waitForSent("go"));
  EXPECT_EQ(layer.closePort(3), 1);
  EXPECT_TRUE(line->closed());
}

}  // namespace
