// The serial port built-ins: which ports a program may open, the line
// settings they carry, the one port a program holds and its closing when the
// run ends.
#include <gtest/gtest.h>

#include "fake_ports.hpp"
#include "runtime/program_port.hpp"
#include "runtime/run_errors.hpp"
#include "session_rig.hpp"

namespace {

using runtime_test::FakePorts;
using runtime_test::SessionRig;

runtime::StackEntry num(double v) { return SessionRig::num(v); }

struct PortRig : SessionRig {
  FakePorts ports;
  PortRig() { run.ports = &ports; }
};

TEST(PortBuiltins, WithoutThePortLayerEveryOneReportsPortNotAvailable) {
  SessionRig rig;
  for (int b : {152, 153, 154, 155}) {
    rig.m.status = 0;
    rig.m.result = 9;
    rig.call(b, {num(2), num(9600), num(0), num(8), num(1)});
    EXPECT_EQ(rig.m.result, 0) << b;
    EXPECT_EQ(rig.m.status, runtime::kErrPortNotAvailable) << b;
  }
  EXPECT_EQ(rig.m.programPort, 0);
}

TEST(PortBuiltins, OpeningGivesThePortNumberAndKeepsItAsTheProgramsPort) {
  PortRig rig;
  EXPECT_EQ(rig.call(152, {num(3), num(4800)}), 3);
  EXPECT_EQ(rig.m.status, 0);
  EXPECT_EQ(rig.m.programPort, 3);
  ASSERT_EQ(rig.ports.opens.size(), 1u);
  EXPECT_EQ(rig.ports.opens[0].port, 3);
  EXPECT_EQ(rig.ports.opens[0].settings.baud, 4800);
  EXPECT_EQ(rig.ports.opens[0].settings.parity, 'N');
  EXPECT_EQ(rig.ports.opens[0].settings.dataBits, 8);
  EXPECT_EQ(rig.ports.settings.port, 3);

  // A program holds one port: a second open gives up the first.
  EXPECT_EQ(rig.call(152, {num(5), num(9600)}), 5);
  EXPECT_EQ(rig.ports.closes, std::vector<int>{3});
  EXPECT_EQ(rig.m.programPort, 5);

  EXPECT_EQ(rig.call(153), 0);
  EXPECT_EQ(rig.ports.closes, (std::vector<int>{3, 5}));
  EXPECT_EQ(rig.m.programPort, 0);
  rig.call(153);
  EXPECT_EQ(rig.m.status, runtime::kErrPortNotAvailable);  // none held now
}

TEST(PortBuiltins, PortsAboveThirtyTheSensorsPortAndFailedOpensAreRefused) {
  PortRig rig;
  rig.run.sensorPort = 4;
  for (double port : {31.0, 4.0, 0.0, -2.0}) {
    rig.m.status = 0;
    EXPECT_EQ(rig.call(152, {num(port), num(9600)}), 0) << port;
    EXPECT_EQ(rig.m.status, runtime::kErrPortNotAvailable) << port;
  }
  EXPECT_TRUE(rig.ports.opens.empty());

  rig.m.status = 0;
  rig.call(152, {num(2), num(0)});
  EXPECT_EQ(rig.m.status, runtime::kErrCantOpenPort);  // no baud rate
  rig.ports.failOpen = true;
  rig.m.status = 0;
  EXPECT_EQ(rig.call(152, {num(2), num(9600)}), 0);
  EXPECT_EQ(rig.m.status, runtime::kErrCantOpenPort);
  EXPECT_EQ(rig.m.programPort, 0);
}

TEST(PortBuiltins, TheLineSettingsAreSetBeforeTheOpenAndOutOfRangeOnesFallBack) {
  PortRig rig;
  EXPECT_EQ(rig.call(154, {num(2), num(2400), num(1), num(7), num(2)}), 2);
  runtime::PortSettings s = rig.ports.opens.back().settings;
  EXPECT_EQ(s.baud, 2400);
  EXPECT_EQ(s.parity, 'E');
  EXPECT_EQ(s.dataBits, 7);
  EXPECT_EQ(s.stopBits, 2);

  rig.call(154, {num(2), num(1200), num(4), num(9), num(3)});
  s = rig.ports.opens.back().settings;
  EXPECT_EQ(s.parity, 'S');
  EXPECT_EQ(s.dataBits, 8);
  EXPECT_EQ(s.stopBits, 1);
  rig.call(154, {num(2), num(1200), num(5), num(4), num(0)});
  EXPECT_EQ(rig.ports.opens.back().settings.parity, 'N');
  EXPECT_EQ(rig.ports.opens.back().settings.dataBits, 8);

  // 155 keeps the baud rate and parity set before and adds the flow control.
  rig.call(154, {num(2), num(19200), num(2), num(7), num(1)});
  EXPECT_EQ(rig.call(155, {num(6), num(2)}), 6);
  s = rig.ports.opens.back().settings;
  EXPECT_EQ(s.baud, 19200);
  EXPECT_EQ(s.parity, 'O');
  EXPECT_EQ(s.flow, 2);
  rig.call(155, {num(6), num(9)});
  EXPECT_EQ(rig.ports.opens.back().settings.flow, 0);
  EXPECT_EQ(rig.m.status, 0);
}

TEST(PortBuiltins, TheRunsEndClosesTheProgramsPortButNotTheSensors) {
  PortRig rig;
  rig.call(152, {num(7), num(9600)});
  runtime::closeProgramPort(rig.m, rig.run);
  EXPECT_EQ(rig.ports.closes, std::vector<int>{7});
  EXPECT_EQ(rig.m.programPort, 0);
  runtime::closeProgramPort(rig.m, rig.run);  // nothing held: nothing closed
  EXPECT_EQ(rig.ports.closes.size(), 1u);

  // The column's sensor took the port the program had opened before.
  rig.call(152, {num(8), num(9600)});
  rig.run.sensorPort = 8;
  runtime::closeProgramPort(rig.m, rig.run);
  EXPECT_EQ(rig.ports.closes.size(), 1u);
  EXPECT_EQ(rig.m.programPort, 0);
}

}  // namespace
