#include <gtest/gtest.h>

#include "gps/parms.hpp"
#include "gps/port_settings.hpp"
#include "platform/errors.hpp"
#include "platform/fileops.hpp"
#include "support/faulty_files.hpp"
#include "support/scripted_host.hpp"
#include "support/selective_files.hpp"
#include "support/temp_dir.hpp"

namespace {

using gps::GpsPortImage;
using testing_support::ScriptedHost;

class PortFile : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
  ScriptedHost host;
  const char sep = platform::kSep;
  std::string root = dir.path();
  std::string path = gps::gpsSettingsPath(root, gps::kPortFileName, sep);

  // An image as a running receiver holds it: an open handle, running, a
  // lock, sentences in its buffers.
  static void markRunning(GpsPortImage& image, std::uint8_t mark) {
    for (std::size_t i = 0; i < GpsPortImage::kLockSize; ++i) image.setU8(GpsPortImage::kLock + i, mark);
    image.setI32(GpsPortImage::kHandle, 0x1234);
    image.setI32(GpsPortImage::kThreadHandle, 0x5678);
    image.setI32(GpsPortImage::kRunning, 1);
    image.setText8(GpsPortImage::kSentenceQueue, 200, "$GPGGA,1");
    image.setText8(GpsPortImage::kReadRing, 100, "$GPRMC,2");
  }
  static std::string bytesOf(const GpsPortImage& p) { return std::string(p.bytes().begin(), p.bytes().end()); }
};

TEST_F(PortFile, MissingFileGivesTheDefaultsWrittenWithInvalidHandles) {
  GpsPortImage image;
  markRunning(image, 0x11);
  image.setPortName("COM7:");
  EXPECT_EQ(gps::readGpsPort(host, root, image, sep), -1);
  EXPECT_TRUE(host.shown().empty());
  EXPECT_EQ(image.portName(), "COM2:");
  EXPECT_EQ(image.baud(), 9600u);
  EXPECT_EQ(image.protocolName(), "NMEA");
  EXPECT_EQ(image.lineFlags(), 0x1093u);
  EXPECT_EQ(image.i32(GpsPortImage::kHandle), 0x1234);  // the running port is not forgotten
  EXPECT_EQ(image.u8(GpsPortImage::kLock + 3), 0x11);

  const std::string file = testing_support::readBytes(path);
  ASSERT_EQ(file.size(), 4756u);
  GpsPortImage stored;
  std::copy(file.begin(), file.end(), stored.bytes().begin());
  for (std::size_t i = GpsPortImage::kHandle; i < GpsPortImage::kRunning; ++i)
    EXPECT_EQ(stored.u8(i), 0xff) << "byte " << i;
  EXPECT_EQ(stored.i32(GpsPortImage::kRunning), 0);
  EXPECT_EQ(stored.u8(GpsPortImage::kLock), 0);
  EXPECT_EQ(stored.portName(), "COM2:");
}

TEST_F(PortFile, ReadingKeepsTheRunTimeFieldsInMemory) {
  GpsPortImage saved;
  saved.setPortName("COM5:");
  saved.setPortNumber(5);
  saved.setBaud(4800);
  saved.setProtocol(gps::kProtocolTsip);
  saved.setU8(4000, 0x42);  // carried bytes beyond ours
  ASSERT_EQ(gps::writeGpsPort(host, root, saved, sep), 1);

  GpsPortImage running;
  markRunning(running, 0x77);
  const std::string runTimeBefore = bytesOf(running).substr(0, GpsPortImage::kRunTimeEnd);
  EXPECT_EQ(gps::readGpsPort(host, root, running, sep), 1);
  EXPECT_EQ(bytesOf(running).substr(0, GpsPortImage::kRunTimeEnd), runTimeBefore);
  EXPECT_EQ(running.portName(), "COM5:");
  EXPECT_EQ(running.portNumber(), 5);
  EXPECT_EQ(running.baud(), 4800u);
  EXPECT_EQ(running.protocolIndex(), gps::kProtocolTsip);
  EXPECT_EQ(running.protocolName(), "TSIP");
  EXPECT_EQ(running.u8(4000), 0x42);
}

TEST_F(PortFile, WritingClearsTheBuffersButKeepsTheRunningPortInMemory) {
  GpsPortImage image;
  markRunning(image, 0x55);
  image.setU8(GpsPortImage::kBuffersEnd, 0x99);  // the first carried byte
  ASSERT_EQ(gps::writeGpsPort(host, root, image, sep), 1);
  EXPECT_EQ(image.text8(GpsPortImage::kSentenceQueue, 200), "");
  EXPECT_EQ(image.text8(GpsPortImage::kReadRing, 100), "");
  EXPECT_EQ(image.i32(GpsPortImage::kHandle), 0x1234);
  EXPECT_EQ(image.i32(GpsPortImage::kRunning), 1);
  EXPECT_EQ(image.u8(GpsPortImage::kLock), 0x55);

  const std::string file = testing_support::readBytes(path);
  ASSERT_EQ(file.size(), 4756u);
  EXPECT_EQ(file.substr(GpsPortImage::kSentenceQueue, GpsPortImage::kBuffersEnd - GpsPortImage::kSentenceQueue),
            std::string(GpsPortImage::kBuffersEnd - GpsPortImage::kSentenceQueue, '\0'));
  EXPECT_EQ(static_cast<unsigned char>(file[GpsPortImage::kBuffersEnd]), 0x99);
  EXPECT_EQ(file.substr(GpsPortImage::kHandle, 16), std::string(16, '\xff'));
}

TEST_F(PortFile, UnusableFilesGiveDefaultsAndTheirMessage) {
  GpsPortImage good;
  good.setPortName("COM9:");
  struct Case {
    std::string bytes;
    testing_support::SelectiveFileSystem::Fault fault;
    const char* message;
  };
  const std::string whole = bytesOf(good);
  const Case cases[] = {
      {whole.substr(0, 4000), {}, "GPS Read DFT Size Failed"},
      {whole + "x", {}, "GPS Read DFT Size Failed"},
      {whole, {.suffix = gps::kPortFileName, .openError = platform::kErrAccessDenied}, "Can't Open GPS_Port.dft for Read"},
      {whole, {.suffix = gps::kPortFileName, .readNumber = 1, .readError = platform::kErrIoDevice}, "GPS Read DFT Failed"},
      {whole, {.suffix = gps::kPortFileName, .readNumber = 1, .shortRead = true}, "GPS Read DFT Size Failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    testing_support::writeBytes(path, c.bytes);
    testing_support::SelectiveFileSystem files;
    if (!c.fault.suffix.empty()) files.add(c.fault);
    platform::ScopedFileSystem use(files);
    ScriptedHost h;
    h.expectOnce(c.message, ui::kIdOk, "");
    GpsPortImage image;
    markRunning(image, 0x21);
    image.setPortName("COM4:");
    EXPECT_EQ(gps::readGpsPort(h, root, image, sep), 0);
    EXPECT_EQ(h.shown().size(), 1u);
    EXPECT_EQ(image.portName(), "COM2:");
    EXPECT_EQ(image.i32(GpsPortImage::kHandle), 0x1234);
    EXPECT_EQ(image.u8(GpsPortImage::kLock + 39), 0x21);
  }
}

TEST_F(PortFile, WriteFailuresAreReportedAndLeaveNoPartialFile) {
  GpsPortImage old;
  old.setPortName("COM3:");
  ASSERT_EQ(gps::writeGpsPort(host, root, old, sep), 1);
  testing_support::FaultyFileSystem files(platform::nativeFileSystem());
  platform::ScopedFileSystem use(files);
  GpsPortImage image;
  image.setPortName("COM8:");
  files.failWritesAfter(100, platform::kErrDiskFull);
  host.expectOnce("GPS Put DFT Write Size Failed", ui::kIdOk, "");
  EXPECT_EQ(gps::writeGpsPort(host, root, image, sep), 0);
  files.failWritesAfter(100, platform::kErrIoDevice);
  host.expectOnce("GPS Put DFT Write Failed", ui::kIdOk, "");
  EXPECT_EQ(gps::writeGpsPort(host, root, image, sep), 0);
  files.failWritesAfter(-1);
  files.failNext(1, platform::kErrAccessDenied);
  host.expectOnce("Can't Open GPS_Port.dft for Write", ui::kIdOk, "");
  EXPECT_EQ(gps::writeGpsPort(host, root, image, sep), 0);
  EXPECT_FALSE(platform::fileExists(path + ".new"));
  GpsPortImage back;
  EXPECT_EQ(gps::readGpsPort(host, root, back, sep), 1);
  EXPECT_EQ(back.portName(), "COM3:");
}

}  // namespace
