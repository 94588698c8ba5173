// The tty serial device, driven through a pseudo-terminal: the test holds the
// master end and plays the instrument; the device under test opens the slave.
#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/errors.hpp"
#include "platform/posix/serial_termios.hpp"
#include "platform/registry.hpp"
#include "platform/serial.hpp"
#include "support/temp_dir.hpp"

namespace {

using platform::kSerialOk;
using platform::kSerialTimeout;
using platform::SerialSettings;

// A pseudo-terminal pair; the master end is closed by closeMaster() or at the end.
class Pty {
 public:
  Pty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
      slave_ = ptsname(master_);
  }
  ~Pty() { closeMaster(); }
  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  int master() const { return master_; }
  const std::string& slave() const { return slave_; }
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  void send(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Reads what the device sent, waiting for count bytes (or 2 s of silence).
  std::string receive(std::size_t count) {
    std::string got;
    while (got.size() < count) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 2000) <= 0) break;
      char buf[256];
      ssize_t n = ::read(master_, buf, sizeof buf);
      if (n <= 0) break;
      got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
  }
  // The line settings as the slave has them (termios calls on the master
  // act on the slave).
  termios settings() const {
    termios tio{};
    tcgetattr(master_, &tio);
    return tio;
  }

 private:
  int master_ = -1;
  std::string slave_;
};

class SerialDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    int error = -1;
    device = platform::openSerialDevice(pty.slave(), error);
    ASSERT_NE(device, nullptr) << "error " << error;
    EXPECT_EQ(error, platform::kOk);
  }
  // Reads count bytes, each within 2 s.
  std::string readBytes(std::size_t count) {
    std::string got;
    std::uint8_t b = 0;
    while (got.size() < count && device->readByte(b, 2000) == kSerialOk)
      got.push_back(static_cast<char>(b));
    return got;
  }

  Pty pty;
  std::unique_ptr<platform::SerialDevice> device;
};

TEST_F(SerialDeviceTest, BytesPassBothWaysUntranslated) {
  ASSERT_EQ(device->configure(SerialSettings{}), platform::kOk);
  // CR, LF, XON/XOFF, Ctrl+C, 0 and 0xFF arrive as sent: no echo, no signals,
  // no line discipline.
  const std::string incoming("H,12.5,M\r\n\x11\x13\x03\x00\xff", 14);
  pty.send(incoming);
  EXPECT_EQ(readBytes(incoming.size()), incoming);

  const std::string outgoing("PING\r\n\x00\xfe", 8);
  std::size_t written = 0;
  EXPECT_EQ(device->write(outgoing.data(), outgoing.size(), 1000, written), kSerialOk);
  EXPECT_EQ(written, outgoing.size());
  EXPECT_EQ(pty.receive(outgoing.size()), outgoing);
}

TEST_F(SerialDeviceTest, ZeroTimeOutReadsOnlyWhatIsThere) {
  std::uint8_t b = 0;
  EXPECT_EQ(device->readByte(b, 0), kSerialTimeout);
  pty.send("Z");
  // Wait (bounded) for the byte to reach the slave, then take it without waiting.
  for (int i = 0; i < 200 && device->bytesPending() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(device->readByte(b, 0), kSerialOk);
  EXPECT_EQ(b, 'Z');
  EXPECT_EQ(device->readByte(b, 0), kSerialTimeout);
}

TEST_F(SerialDeviceTest, PurgeDropsUnreadInput) {
  pty.send("XYZ");
  for (int i = 0; i < 200 && device->bytesPending() < 3; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(device->bytesPending(), 3u);
  device->purge();
  EXPECT_EQ(device->bytesPending(), 0u);
  std::uint8_t b = 0;
  EXPECT_EQ(device->readByte(b, 0), kSerialTimeout);
  pty.send("Q");
  ASSERT_EQ(device->readByte(b, 2000), kSerialOk);
  EXPECT_EQ(b, 'Q');
}

// The pseudo-terminal keeps the rate, stop bits, mark/space and flow
// control it is given (it forces 8 bits and no parity enable bit, so those
// are checked on the termios mapping below).
TEST_F(SerialDeviceTest, LineSettingsReachTheTty) {
  SerialSettings s;
  s.baud = 115200;
  s.parity = 'M';
  s.stopBits = 2;
  s.flow = platform::kFlowRtsCts;
  ASSERT_EQ(device->configure(s), platform::kOk);
  termios tio = pty.settings();
  EXPECT_EQ(cfgetospeed(&tio), B115200);
  EXPECT_EQ(cfgetispeed(&tio), B115200);
  EXPECT_EQ(tio.c_cflag & (PARODD | CMSPAR), static_cast<tcflag_t>(PARODD | CMSPAR));
  EXPECT_TRUE(tio.c_cflag & CSTOPB);
  EXPECT_TRUE(tio.c_cflag & CRTSCTS);
  EXPECT_TRUE(tio.c_cflag & CLOCAL);
  EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR | IGNCR | ISTRIP));
  EXPECT_FALSE(tio.c_lflag & (ECHO | ICANON | ISIG));
  EXPECT_FALSE(tio.c_oflag & OPOST);

  // Reconfiguring replaces the earlier choices rather than adding to them.
  s.baud = 9600;
  s.parity = 'N';
  s.stopBits = 1;
  s.flow = platform::kFlowXonXoff;
  ASSERT_EQ(device->configure(s), platform::kOk);
  tio = pty.settings();
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_FALSE(tio.c_cflag & (CSTOPB | CRTSCTS | PARODD | CMSPAR));
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
}

// termios from a dirty starting point: every field set, so a flag the
// mapping forgets to clear shows up.
termios dirtyTermios() {
  termios tio{};
  tio.c_iflag = ~tcflag_t{0};
  tio.c_oflag = ~tcflag_t{0};
  tio.c_lflag = ~tcflag_t{0};
  tio.c_cflag = ~tcflag_t{0} & ~CBAUD;
  return tio;
}

struct FrameCase {
  char parity;
  int dataBits;
  int stopBits;
  int flow;
  tcflag_t size, parityFlags;
  bool twoStops, rtsCts, xonXoff;
};

TEST(SerialTermios, FramingAndFlowMapOntoTheFlags) {
  const FrameCase cases[] = {
      {'N', 8, 1, platform::kFlowNone, CS8, 0, false, false, false},
      {'E', 7, 2, platform::kFlowRtsCts, CS7, PARENB, true, true, false},
      {'O', 6, 1, platform::kFlowXonXoff, CS6, PARENB | PARODD, false, false, true},
      {'M', 5, 1, platform::kFlowBoth, CS5, PARENB | PARODD | CMSPAR, false, true, false},
      {'S', 8, 1, platform::kFlowDtrDsr, CS8, PARENB | CMSPAR, false, false, false},
      // 4 bits: termios has no such size, the nearest is 5; 9 and more: 8.
      {'N', 4, 1, 9, CS5, 0, false, false, false},
      {'?', 9, 3, -1, CS8, 0, false, false, false},
  };
  for (const FrameCase& c : cases) {
    SCOPED_TRACE(std::string("parity ") + c.parity + " bits " + std::to_string(c.dataBits));
    termios tio = dirtyTermios();
    SerialSettings s;
    s.parity = c.parity;
    s.dataBits = c.dataBits;
    s.stopBits = c.stopBits;
    s.flow = c.flow;
    bool custom = true;
    ASSERT_EQ(platform::posix::applyLineSettings(tio, s, custom), platform::kOk);
    EXPECT_FALSE(custom);
    EXPECT_EQ(tio.c_cflag & CSIZE, c.size);
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), c.parityFlags);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.twoStops);
    EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, c.rtsCts);
    EXPECT_EQ((tio.c_iflag & (IXON | IXOFF)) != 0, c.xonXoff);
    EXPECT_FALSE(tio.c_iflag & (INPCK | ISTRIP | ICRNL | IGNCR | INLCR | PARMRK | IXANY));
    EXPECT_FALSE(tio.c_oflag & OPOST);
    EXPECT_FALSE(tio.c_lflag & (ECHO | ICANON | ISIG | IEXTEN));
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(tio.c_cc[VMIN], 0);
  }
}

TEST(SerialTermios, RatesWithoutAConstantAreLeftToTheCaller) {
  termios tio{};
  SerialSettings s;
  bool custom = false;
  s.baud = 57600;
  ASSERT_EQ(platform::posix::applyLineSettings(tio, s, custom), platform::kOk);
  EXPECT_FALSE(custom);
  EXPECT_EQ(cfgetospeed(&tio), B57600);
  s.baud = 250000;
  ASSERT_EQ(platform::posix::applyLineSettings(tio, s, custom), platform::kOk);
  EXPECT_TRUE(custom);
  s.baud = 0;
  EXPECT_EQ(platform::posix::applyLineSettings(tio, s, custom), platform::kErrInvalidParameter);
}

TEST_F(SerialDeviceTest, NonStandardRateIsSetOrRefusedWithACode) {
  SerialSettings s;
  s.baud = 250000;
  int rc = device->configure(s);
#ifdef __linux__
  ASSERT_EQ(rc, platform::kOk);
  termios tio = pty.settings();
  // "Other" rate (the kernel's BOTHER), not the placeholder standard one.
  EXPECT_EQ(tio.c_cflag & CBAUD, static_cast<tcflag_t>(CBAUDEX));
#else
  EXPECT_EQ(rc, platform::kErrNotSupported);
#endif
  // The port still works at its new rate.
  pty.send("ok");
  EXPECT_EQ(readBytes(2), "ok");

  s.baud = 0;
  EXPECT_EQ(device->configure(s), platform::kErrInvalidParameter);
}

TEST_F(SerialDeviceTest, OtherEndClosingIsAnErrorNotATimeOut) {
  pty.closeMaster();
  std::uint8_t b = 0;
  int rc = device->readByte(b, 2000);
  EXPECT_GT(rc, 0) << "read gave " << rc;
  // It stays an error: a reader loop does not spin on time-outs.
  EXPECT_GT(device->readByte(b, 0), 0);
  std::size_t written = 0;
  EXPECT_GT(device->write("x", 1, 200, written), 0);
}

TEST_F(SerialDeviceTest, WriteStopsAtItsTimeOutWhenNobodyReads) {
  // The master never reads, so the pseudo-terminal's buffer fills up.
  std::string big(1 << 20, 'a');
  std::size_t written = 0;
  EXPECT_EQ(device->write(big.data(), big.size(), 100, written), kSerialTimeout);
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, big.size());
}

TEST_F(SerialDeviceTest, OnlyOneHolderAtATime) {
  int error = 0;
  auto second = platform::openSerialDevice(pty.slave(), error);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(error, platform::kErrAccessDenied);
  // Once the first holder lets go, the port opens again.
  device.reset();
  auto again = platform::openSerialDevice(pty.slave(), error);
  EXPECT_NE(again, nullptr) << "error " << error;
}

TEST(SerialOpen, PathsThatAreNoSerialDevice) {
  testing_support::TempDir dir;
  int error = 0;
  EXPECT_EQ(platform::openSerialDevice(dir.file("ttyNone"), error), nullptr);
  EXPECT_EQ(error, platform::kErrFileNotFound);
  EXPECT_EQ(platform::openSerialDevice("", error), nullptr);
  EXPECT_EQ(error, platform::kErrFileNotFound);
  testing_support::writeBytes(dir.file("plain"), "not a tty");
  EXPECT_EQ(platform::openSerialDevice(dir.file("plain"), error), nullptr);
  EXPECT_EQ(error, platform::kErrNotSupported);
}

TEST(SerialNames, ShortFormUpToNineDeviceFormAbove) {
  EXPECT_EQ(platform::comPortName(0), "COM0:");
  EXPECT_EQ(platform::comPortName(9), "COM9:");
  EXPECT_EQ(platform::comPortName(10), "\\\\.\\COM10");
  EXPECT_EQ(platform::comPortName(30), "\\\\.\\COM30");
}

class SerialMappingTest : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  std::unique_ptr<platform::Registry> reg = platform::makeFileRegistry(dir.file("registry"));
  platform::ScopedRegistry use{*reg};
  const std::string portsKey = std::string(platform::kAppKey) + "\\Ports";
};

TEST_F(SerialMappingTest, UnmappedPortsAreTheOnBoardTtys) {
  EXPECT_EQ(platform::comDevicePath(1), "/dev/ttyS0");
  EXPECT_EQ(platform::comDevicePath(30), "/dev/ttyS29");
  EXPECT_EQ(platform::comDevicePath(0), "");
  EXPECT_EQ(platform::comDevicePath(31), "");
  EXPECT_EQ(platform::comDevicePath(-1), "");
}

TEST_F(SerialMappingTest, RegistryMapsAPortToAnyDevice) {
  ASSERT_EQ(platform::writeRegString(portsKey, "COM3", "/dev/ttyUSB0"), 1);
  ASSERT_EQ(platform::writeRegString(portsKey, "COM0", "/dev/ttyACM0"), 1);
  EXPECT_EQ(platform::comDevicePath(3), "/dev/ttyUSB0");
  EXPECT_EQ(platform::comDevicePath(0), "/dev/ttyACM0");
  EXPECT_EQ(platform::comDevicePath(4), "/dev/ttyS3");  // its neighbours keep the default
  // An empty mapping is no mapping.
  ASSERT_EQ(platform::writeRegString(portsKey, "COM5", ""), 1);
  EXPECT_EQ(platform::comDevicePath(5), "/dev/ttyS4");
}

TEST_F(SerialMappingTest, NativeOpenerOpensTheMappedDevice) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  ASSERT_EQ(platform::writeRegString(portsKey, "COM7", pty.slave()), 1);
  ASSERT_EQ(platform::writeRegString(portsKey, "COM8", dir.file("gone")), 1);
  platform::SerialOpener open = platform::nativeSerialOpener();
  int error = -1;
  auto device = open(7, error);
  ASSERT_NE(device, nullptr) << "error " << error;
  pty.send("7");
  std::uint8_t b = 0;
  ASSERT_EQ(device->readByte(b, 2000), kSerialOk);
  EXPECT_EQ(b, '7');

  EXPECT_EQ(open(8, error), nullptr);
  EXPECT_EQ(error, platform::kErrFileNotFound);
  EXPECT_EQ(open(0, error), nullptr);  // no default for port 0
  EXPECT_EQ(error, platform::kErrFileNotFound);
}

}  // namespace

#endif  // _WIN32
