#pragma once
// What the port layer's tests share: fake devices, the fake clock (open
// retries and readMessage time-outs cost nothing), a host that records
// message boxes, and a wait for what the reader thread does on real time.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "serial/port_layer.hpp"
#include "support/fake_clock.hpp"
#include "support/eventually.hpp"
#include "support/fake_serial.hpp"
#include "support/scripted_host.hpp"

namespace serialtest {

using testing_support::eventually;

class PortRig : public ::testing::Test {
 protected:
  PortRig() { layer.setHost(&host); }

  int open(int port, int terminator = 13) {
    return layer.Port_Open(port, 9600, 'N', 8, 1, terminator, 0, serial::kClassGeneral);
  }
  // Feeds bytes to port's line and waits until its reader handled them.
  void feed(int port, const std::string& bytes) {
    auto l = ports.line(port);
    l->feed(bytes);
    ASSERT_TRUE(l->waitUntilConsumed());
  }
  std::string read(int port, std::size_t maxLength = 200) {
    std::string out;
    const int n = layer.readMessage(port, out, maxLength, 0, false, nullptr);
    EXPECT_EQ(static_cast<std::size_t>(n), out.size());
    return out;
  }

  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::ScriptedHost host;
  testsupport::FakeSerialPorts ports;
  serial::PortLayer layer{ports.opener()};
};

}  // namespace serialtest
