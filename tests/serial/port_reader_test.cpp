// The line reader thread behind an open port: the message store as callers
// see it, sending, failing devices, terminal mode and closing a reader that
// hangs.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "serial/port_layer.hpp"
#include "serial/port_rig.hpp"
#include "ui/key_queue.hpp"

namespace {

using serialtest::eventually;

class PortReader : public serialtest::PortRig {
 protected:
  void SetUp() override {
    line = ports.line(3);
    ASSERT_EQ(open(3), 1);
  }
  std::shared_ptr<testsupport::FakeSerialLine> line;
};

TEST_F(PortReader, SixLinesBeforeAnyReadLeaveOnlyTheSixth) {
  feed(3, "one\rtwo\rthree\rfour\rfive\rsix\r");
  EXPECT_EQ(read(3), "six");
  EXPECT_EQ(read(3), "");
}

TEST_F(PortReader, LinesComeOutOldestFirstAndCutToTheCallersLength) {
  feed(3, std::string(300, 'w') + "\r12345\r");
  EXPECT_EQ(read(3, 1000), std::string(serial::kMessageText, 'w'));
  EXPECT_EQ(read(3, 3), "123");
  EXPECT_EQ(read(3), "");  // the rest of a line read short is gone
}

TEST_F(PortReader, TimeOutZeroLooksOnceAndAWaitingKeyGivesUp) {
  std::string out = "old";
  EXPECT_EQ(layer.readMessage(3, out, 200, 0, false, nullptr), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(clock.sleptMs(), 0u);
  // A time-out waits in 10 ms steps on the clock.
  EXPECT_EQ(layer.readMessage(3, out, 200, 50, false, nullptr), 0);
  EXPECT_EQ(clock.sleptMs(), 50u);

  ui::KeyQueue keys;
  ASSERT_TRUE(keys.push('a'));
  EXPECT_EQ(layer.readMessage(3, out, 200, 60000, false, &keys), 0);
  EXPECT_EQ(clock.sleptMs(), 50u);  // gave up without waiting
  // A line that is ready wins over the key.
  feed(3, "ready\r");
  EXPECT_EQ(layer.readMessage(3, out, 200, 60000, false, &keys), 5);
  EXPECT_EQ(out, "ready");
  EXPECT_EQ(layer.readMessage(7, out, 200, 0, false, nullptr), 0);  // not open
}

TEST_F(PortReader, PurgeThrowsAwayStoredLinesAndThePartLine) {
  feed(3, "stored\rpar");
  std::string out;
  const int purgesBefore = line->purges();
  EXPECT_EQ(layer.readMessage(3, out, 200, 0, true, nullptr), 0);
  EXPECT_EQ(line->purges(), purgesBefore + 1);
  feed(3, "tial\r");
  EXPECT_EQ(read(3), "tial");
  feed(3, "again\r");
  layer.purgeReceive(3);
  EXPECT_EQ(read(3), "");
}

TEST_F(PortReader, AHugeLineIsDroppedAndTheNextIsRead) {
  feed(3, std::string(10000, 'h') + "\rafter\r");
  EXPECT_EQ(read(3), "after");
  EXPECT_EQ(read(3), "");
}

TEST_F(PortReader, ABurstKeepsTheNewestLines) {
  std::string burst;
  for (int i = 0; i < 10000; ++i) burst += "n" + std::to_string(i) + "\r\n";
  feed(3, burst);
  std::string got;
  for (std::string s = read(3); !s.empty(); s = read(3)) got += s + " ";
  EXPECT_EQ(got, "n9995 n9996 n9997 n9998 n9999 ");
}

TEST_F(PortReader, GarbageNeverStopsTheReader) {
  std::mt19937 random(11);
  std::string junk;
  for (int i = 0; i < 60000; ++i) junk.push_back(static_cast<char>(random() & 0xFF));
  feed(3, junk);
  for (std::string s = read(3); !s.empty(); s = read(3)) {
    EXPECT_LE(s.size(), serial::kMessageText);
    for (unsigned char c : s) EXPECT_GE(c, 32u);
  }
  feed(3, "\rclean\r");
  std::string last, s;
  while (!(s = read(3)).empty()) last = s;
  EXPECT_EQ(last, "clean");
}

TEST_F(PortReader, FailingReadsAreRecordedAndTheReaderGoesOn) {
  EXPECT_EQ(layer.lastError(3), "");
  EXPECT_EQ(layer.lastErrorNumber(3), 0);
  line->failReads(1117);
  ASSERT_TRUE(eventually([&] { return layer.lastErrorNumber(3) == 1117; }));
  EXPECT_EQ(layer.lastError(3), "ReadFile() error:1117.");
  line->failReads(0);
  feed(3, "back\r");
  EXPECT_EQ(read(3), "back");
  EXPECT_EQ(layer.closePort(3), 1);
}

TEST_F(PortReader, SendsQueuedTextUpToItsFirstZeroByte) {
  EXPECT_EQ(layer.queueSend(3, std::string_view("abc\0def", 7)), 3);
  EXPECT_TRUE(line->waitForSent("abc"));
  EXPECT_TRUE(eventually([&] { return layer.pendingSend(3) == 0; }));
  EXPECT_EQ(line->takeSent(), "abc");
  EXPECT_EQ(layer.queueSend(9, "x"), 0);  // not open
}

TEST_F(PortReader, TheQueueHoldsAtMost1022BytesAndPurgeSendEmptiesIt) {
  line->hang(true);  // holds the reader in a read, so nothing is sent meanwhile
  ASSERT_TRUE(line->waitUntilHung());
  EXPECT_EQ(layer.queueSend(3, std::string(1000, 'a')), 1000);
  EXPECT_EQ(layer.queueSend(3, std::string(100, 'b')), 22);
  EXPECT_EQ(layer.queueSend(3, "c"), 0);
  EXPECT_EQ(layer.pendingSend(3), 1022);
  line->release();
  EXPECT_TRUE(line->waitForSent(std::string(1000, 'a') + std::string(22, 'b')));
  EXPECT_TRUE(eventually([&] { return layer.pendingSend(3) == 0; }));
  EXPECT_EQ(line->takeSent().size(), 1022u);

  line->hang(true);
  ASSERT_TRUE(line->waitUntilHung());
  EXPECT_EQ(layer.queueSend(3, "dropped"), 7);
  layer.purgeSend(3);
  EXPECT_EQ(layer.pendingSend(3), 0);
  line->release();
  feed(3, "x\r");  // the reader has been round its loop since
  EXPECT_EQ(line->sent(), "");
}

TEST_F(PortReader, WhatIsQueuedGoesOutBeforeThePortCloses) {
  // A printer's last line, queued just before the program closes the port.
  line->hang(true);
  ASSERT_TRUE(line->waitUntilHung());
  EXPECT_EQ(layer.queueSend(3, "LAST\r\n"), 6);
  line->release();
  EXPECT_EQ(layer.closePort(3), 1);
  EXPECT_EQ(line->sent(), "LAST\r\n");

  // The same when every port closes at once (the edit window's end).
  auto four = ports.line(4);
  ASSERT_EQ(open(3), 1);
  ASSERT_EQ(open(4), 1);
  EXPECT_EQ(layer.queueSend(3, "three"), 5);
  EXPECT_EQ(layer.queueSend(4, "four"), 4);
  layer.closeAll();
  EXPECT_EQ(line->sent(), "LAST\r\nthree");
  EXPECT_EQ(four->sent(), "four");
}

TEST_F(PortReader, OutputThatCannotGoOutIsReportedAndNotLeftPending) {
  line->stallWrites(true);
  EXPECT_EQ(layer.queueSend(3, "PRINT"), 5);
  ASSERT_TRUE(eventually([&] { return layer.lastErrorNumber(3) == 1460; }));
  EXPECT_EQ(layer.lastError(3), "WriteStr() error:1460.");
  EXPECT_TRUE(eventually([&] { return layer.pendingSend(3) == 0; }));
  EXPECT_EQ(line->sent(), "");
  line->stallWrites(false);
  EXPECT_EQ(layer.queueSend(3, "OK"), 2);
  EXPECT_TRUE(line->waitForSent("OK"));
}

TEST_F(PortReader, TerminalModeHandsOverRawBytesInsteadOfLines) {
  feed(3, "zz");  // a part line from before terminal mode
  ASSERT_TRUE(layer.setTerminalMode(3, true));
  feed(3, "ab\r\ncd");
  EXPECT_EQ(read(3), "");
  EXPECT_EQ(layer.takeTerminalBytes(3), "ab\r\ncd");
  EXPECT_EQ(layer.takeTerminalBytes(3), "");
  EXPECT_EQ(layer.queueSend(3, "k"), 1);  // keys still go out
  EXPECT_TRUE(line->waitForSent("k"));

  std::string many;
  for (int i = 0; i < 5000; ++i) many.push_back(static_cast<char>('0' + i % 10));
  feed(3, many);
  EXPECT_EQ(layer.takeTerminalBytes(3), many.substr(many.size() - 4096));

  ASSERT_TRUE(layer.setTerminalMode(3, false));
  feed(3, "ef\r");
  EXPECT_EQ(read(3), "ef");
  EXPECT_FALSE(layer.setTerminalMode(8, true));
}

// A reader stuck in a device call is left to end on its own: the instance
// is free at once, and the reader, when the call returns, touches only what
// it owns (run under the address sanitizer).
TEST(PortReaderHang, AHungReaderStillFreesItsInstance) {
  testing_support::FakeClock clock;
  platform::ScopedClock useClock{clock};
  testsupport::FakeSerialPorts ports;
  for (int p = 1; p <= 7; ++p) (void)ports.line(p);
  auto hung = ports.line(1);
  {
    serial::PortLayer layer(ports.opener());
    for (int p = 1; p <= 6; ++p) ASSERT_EQ(layer.Port_Open(p, 9600, 'N', 8, 1, 13, 0, 0), 1);
    hung->hang(true);
    ASSERT_TRUE(hung->waitUntilHung());
    EXPECT_EQ(layer.closePort(1), 1);
    EXPECT_FALSE(layer.isOpen(1));
    EXPECT_FALSE(hung->closed());  // still held by its reader
    ASSERT_EQ(layer.Port_Open(7, 9600, 'N', 8, 1, 13, 0, 0), 1);
    ports.line(7)->feed("seventh\r");
    ASSERT_TRUE(ports.line(7)->waitUntilConsumed());
    std::string out;
    EXPECT_EQ(layer.readMessage(7, out, 200, 0, false, nullptr), 7);
  }
  // The layer is gone; the reader ends now and closes its device.
  hung->feed("late\r");
  hung->release();
  EXPECT_TRUE(eventually([&] { return hung->closed(); }));
}

}  // namespace
