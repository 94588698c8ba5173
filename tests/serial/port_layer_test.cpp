// Opening and closing ports: the line configuration, the retry rule, the
// instance pool and the failure messages.
#include "serial/port_layer.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "serial/port_rig.hpp"
#include "ui/host.hpp"
#include "ui/key_queue.hpp"
#include "ui/screen.hpp"

namespace {

using serialtest::PortRig;

using PortOpen = PortRig;

TEST_F(PortOpen, MapsTheLineConfigurationAndRaisesDtrThenRts) {
  struct Case {
    char parity;
    int dataBits, stopBits, flow;
    char wantParity;
    int wantBits, wantStop, wantFlow;
  };
  const Case cases[] = {
      {'N', 8, 1, 0, 'N', 8, 1, 0}, {'X', 9, 2, 4, 'N', 8, 2, 4}, {'E', 3, 3, 7, 'E', 4, 1, 0},
      {'O', 7, 0, 2, 'O', 7, 1, 2}, {'M', 5, 2, -1, 'M', 5, 2, 0}, {'S', 6, 1, 3, 'S', 6, 1, 3},
      {'e', 8, 1, 1, 'N', 8, 1, 1},
  };
  auto line = ports.line(2);
  for (const Case& c : cases) {
    ASSERT_EQ(layer.Port_Open(2, 4800, c.parity, c.dataBits, c.stopBits, 13, c.flow, serial::kClassGeneral), 1);
    const platform::SerialSettings s = line->settings();
    EXPECT_EQ(s.baud, 4800u);
    EXPECT_EQ(s.parity, c.wantParity) << c.parity;
    EXPECT_EQ(s.dataBits, c.wantBits) << c.dataBits;
    EXPECT_EQ(s.stopBits, c.wantStop) << c.stopBits;
    EXPECT_EQ(s.flow, c.wantFlow) << c.flow;
    EXPECT_TRUE(line->dtr());
    EXPECT_TRUE(line->rts());
    EXPECT_GE(line->purges(), 1);  // opened with nothing left over
    EXPECT_EQ(layer.closePort(2), 1);
    EXPECT_TRUE(line->closed());
  }
}

TEST_F(PortOpen, RefusesBadArgumentsWithoutAMessage) {
  (void)ports.line(0);
  (void)ports.line(30);
  EXPECT_EQ(layer.Port_Open(0, 0, 'N', 8, 1, 13, 0, 0), 0);
  EXPECT_EQ(layer.Port_Open(31, 9600, 'N', 8, 1, 13, 0, 0), 0);
  EXPECT_EQ(layer.Port_Open(-1, 9600, 'N', 8, 1, 13, 0, 0), 0);
  EXPECT_EQ(ports.opens(0), 0);
  EXPECT_EQ(open(30), 1);  // the highest port is a port
  EXPECT_TRUE(host.shown().empty());
  EXPECT_EQ(layer.closePort(31), 0);
  EXPECT_EQ(layer.closePort(5), 0);
}

TEST_F(PortOpen, RetriesWhileTheDeviceIsNotReady) {
  (void)ports.line(4);
  ports.notReady(4, 10);
  EXPECT_EQ(open(4), 1);
  EXPECT_EQ(ports.opens(4), 11);
  EXPECT_EQ(clock.sleptMs(), 1000u);
  EXPECT_EQ(layer.closePort(4), 1);

  host.expect("Open Error", ui::kIdOk, "Port_Open() Error");
  ports.notReady(4, 11);
  EXPECT_EQ(open(4), 0);
  EXPECT_EQ(ports.opens(4), 11 + 11);  // the first try and ten retries
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "Com4: -COM4:- Open Error:21 ");
  EXPECT_FALSE(layer.isOpen(4));
}

TEST_F(PortOpen, RefusedOpenShowsTheDeviceNameInATopmostBox) {
  host.expect("Open Error", ui::kIdOk, "Port_Open() Error");
  ports.refuse(12, 2);
  EXPECT_EQ(open(12), 0);
  EXPECT_EQ(ports.opens(12), 1);  // only "not ready" is retried
  EXPECT_EQ(clock.sleptMs(), 0u);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "Com12: -\\\\.\\COM12- Open Error:2 ");
  EXPECT_NE(host.shown()[0].flags & ui::kMbTopmost, 0u);
  EXPECT_EQ(open(9), 0);  // no such device
  EXPECT_EQ(host.shown().back().text, "Com9: -COM9:- Open Error:2 ");
}

TEST_F(PortOpen, ALineConfigurationTheDeviceRefusesClosesItAndFails) {
  host.expect("Open Error", ui::kIdOk, "Port_Open() Error");
  auto line = ports.line(2);
  line->failConfigure(87);
  EXPECT_EQ(open(2), 0);
  EXPECT_TRUE(line->closed());
  EXPECT_FALSE(layer.isOpen(2));
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "Com2: -COM2:- Open Error:87 ");
  line->failConfigure(0);
  EXPECT_EQ(open(2), 1);
}

TEST_F(PortOpen, WithTheEditWindowOpenTheFailureGoesToTheWarningPrompt) {
  ui::Screen screen{25, 80};
  ui::KeyQueue keys;
  std::string seen;
  host.onPump = [&] {
    if (seen.empty())
      for (int r = 1; r <= screen.rows(); ++r) seen += screen.rowText(r) + "\n";
  };
  auto window = host.openEditWindow(screen, keys, {});
  ASSERT_NE(window, nullptr);
  ports.refuse(12, 5);
  EXPECT_EQ(open(12), 0);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_NE(seen.find("Port_Open()"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Com12 Open Error:5 "), std::string::npos) << seen;
}

TEST_F(PortOpen, APortAlreadyOpenIsNotOpenedTwice) {
  host.expect("Already Open", ui::kIdOk, "Port_Open() Error");
  (void)ports.line(3);
  ASSERT_EQ(open(3), 1);
  EXPECT_EQ(open(3), 0);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "Com3 Already Open");
  EXPECT_EQ(ports.opens(3), 1);
  // The first opening still serves the port, and it is the only reader.
  feed(3, "still here\r");
  EXPECT_EQ(read(3), "still here");
  // Five more general ports still fit: the refused open took no instance.
  for (int p = 4; p <= 8; ++p) {
    (void)ports.line(p);
    EXPECT_EQ(open(p), 1) << p;
  }
}

TEST_F(PortOpen, SixGeneralPortsOpenAndASeventhWaitsForAFreeInstance) {
  for (int p = 1; p <= 7; ++p) (void)ports.line(p);
  for (int p = 1; p <= 6; ++p) ASSERT_EQ(open(p), 1) << p;
  EXPECT_EQ(open(7), 0);
  EXPECT_EQ(ports.opens(7), 0);
  EXPECT_FALSE(layer.isOpen(7));
  EXPECT_EQ(layer.closePort(3), 1);
  EXPECT_EQ(open(7), 1);
  feed(7, "seven\r");
  EXPECT_EQ(read(7), "seven");
  layer.closeAll();
  for (int p = 1; p <= 7; ++p) {
    EXPECT_FALSE(layer.isOpen(p));
    EXPECT_TRUE(ports.line(p)->closed()) << p;
  }
}

TEST_F(PortOpen, ATerminatorOutOfRangeStandsForCarriageReturn) {
  (void)ports.line(6);
  for (int terminator : {0, -4, 300}) {
    ASSERT_EQ(open(6, terminator), 1);
    feed(6, "a\nb\r");
    EXPECT_EQ(read(6), "ab") << terminator;
    EXPECT_EQ(layer.closePort(6), 1);
  }
  ASSERT_EQ(open(6, '#'), 1);
  feed(6, "x1#");
  EXPECT_EQ(read(6), "x1#");
}

TEST_F(PortOpen, TheDestructorClosesEveryPort) {
  auto a = ports.line(1), b = ports.line(2);
  {
    serial::PortLayer own(ports.opener());
    ASSERT_EQ(own.Port_Open(1, 9600, 'N', 8, 1, 13, 0, 0), 1);
    ASSERT_EQ(own.Port_Open(2, 9600, 'N', 8, 1, 13, 0, 0), 1);
    EXPECT_FALSE(a->closed());
  }
  EXPECT_TRUE(a->closed());
  EXPECT_TRUE(b->closed());
}

// The GPS instance runs the routine it was given, with its own context.
TEST_F(PortOpen, GpsInstanceRunsItsRoutineBesideSixGeneralPorts) {
  (void)ports.line(5);
  EXPECT_EQ(layer.Port_Open(5, 4800, 'N', 8, 1, 13, 0, serial::kClassGps), 0);  // no routine yet
  EXPECT_EQ(ports.opens(5), 0);

  layer.setGpsReader([](serial::ReaderContext& context) {
    std::string got;
    while (!context.stopRequested()) {
      const std::string out = context.takeSend();
      if (!out.empty()) {
        std::size_t written = 0;
        context.sendDone(context.device().write(out.data(), out.size(), 100, written));
      }
      std::uint8_t b = 0;
      if (context.device().readByte(b, 2) == platform::kSerialOk) {
        got.push_back(static_cast<char>(b));
        if (got == "$FAIL") context.recordError("GPS read:" + got, 77);
      }
    }
  });
  auto gps = ports.line(5);
  ASSERT_EQ(layer.Port_Open(5, 4800, 'N', 8, 1, 13, 0, serial::kClassGps), 1);
  EXPECT_EQ(layer.queueSend(5, "$PING"), 5);
  EXPECT_TRUE(gps->waitForSent("$PING"));
  EXPECT_TRUE(serialtest::eventually([&] { return layer.pendingSend(5) == 0; }));
  gps->feed("$FAIL");
  EXPECT_TRUE(serialtest::eventually([&] { return layer.lastErrorNumber(5) == 77; }));
  EXPECT_EQ(layer.lastError(5), "GPS read:$FAIL");

  // The GPS instance is not one of the six.
  for (int p = 10; p <= 15; ++p) {
    (void)ports.line(p);
    EXPECT_EQ(open(p), 1) << p;
  }
  host.expect("GPS_Port", ui::kIdOk);
  (void)ports.line(20);
  EXPECT_EQ(layer.Port_Open(20, 4800, 'N', 8, 1, 13, 0, serial::kClassGps), 0);
  ASSERT_EQ(host.shown().size(), 1u);
  EXPECT_EQ(host.shown()[0].text, "GPS_Port.phandle!=INVALID_HANDLE_VALUE Error");
  EXPECT_EQ(layer.closePort(5), 1);
  EXPECT_TRUE(gps->closed());
  EXPECT_EQ(layer.Port_Open(20, 4800, 'N', 8, 1, 13, 0, serial::kClassGps), 1);
}

}  // namespace
