// The receiver on a fake GPS port: connecting, the reader keeping the
// position state, the silence warning and the reconnect, sounds, the clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "gps/port_settings.hpp"
#include "gps/receiver.hpp"
#include "gps/tsip.hpp"
#include "platform/clock_set.hpp"
#include "platform/errors.hpp"
#include "platform/files.hpp"
#include "serial/port_layer.hpp"
#include "support/eventually.hpp"
#include "support/fake_serial.hpp"
#include "support/manual_clock.hpp"
#include "support/nmea_sentence.hpp"
#include "support/scripted_host.hpp"
#include "support/temp_dir.hpp"

namespace {

class FakeClockSetter : public platform::ClockSetter {
 public:
  int setUtc(const platform::DateTime& t) override {
    std::lock_guard<std::mutex> hold(lock);
    set.push_back(t);
    return answer;
  }
  int setLocal(const platform::DateTime&) override { return platform::kErrNotSupported; }
  std::size_t count() {
    std::lock_guard<std::mutex> hold(lock);
    return set.size();
  }
  std::mutex lock;
  std::vector<platform::DateTime> set;
  int answer = 0;
};

using testing_support::eventually;

// A sentence as a receiver sends it, ended by CR LF.
std::string sentence(const std::string& body) { return gpstest::nmea(body) + "\r\n"; }

class ReceiverTest : public ::testing::Test {
 protected:
  ReceiverTest() {
    ports_.setHost(&host);
    host.allowAnything();
  }
  ~ReceiverTest() override { receiver.reset(); }

  void writePortFile(int port, int protocol = gps::kProtocolNmea) {
    gps::GpsPortImage image;
    image.setPortNumber(port);
    image.setProtocol(protocol);
    testing_support::writeBytes(dir.file(gps::kPortFileName),
                                std::string(image.bytes().begin(), image.bytes().end()));
  }
  void make() {
    gps::ReceiverServices s;
    s.host = &host;
    s.installRoot = dir.path();
    s.sep = platform::kSep;
    s.clockSetter = &setter;
    s.playSound = [this](const std::string& path) {
      std::lock_guard<std::mutex> hold(soundLock);
      soundPaths.push_back(path);
    };
    receiver = std::make_unique<gps::Receiver>(ports_, s);
  }
  gps::GpsData state() { return receiver->state().snapshot(); }
  std::vector<std::string> soundNames() {
    std::lock_guard<std::mutex> hold(soundLock);
    std::vector<std::string> names;
    for (const std::string& p : soundPaths) names.push_back(p.substr(p.find_last_of(platform::kSep) + 1));
    return names;
  }

  testing_support::ManualClock clock;
  platform::ScopedClock useClock{clock};
  testing_support::TempDir dir;
  testing_support::ScriptedHost host;
  testsupport::FakeSerialPorts fakes;
  serial::PortLayer ports_{fakes.opener()};
  FakeClockSetter setter;
  std::mutex soundLock;
  std::vector<std::string> soundPaths;
  std::unique_ptr<gps::Receiver> receiver;
};

const std::string kFix = sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");

TEST_F(ReceiverTest, WithoutPortSettingsThePortStaysClosedAndTheDefaultsAreWritten) {
  make();
  EXPECT_EQ(receiver->connectGps(), 0);
  EXPECT_TRUE(host.sawText(gps::kPortOpenFailedText));
  EXPECT_FALSE(receiver->enabled());
  EXPECT_EQ(fakes.opens(2), 0);
  EXPECT_EQ(testing_support::readBytes(dir.file(gps::kPortFileName)).size(), gps::GpsPortImage::kSize);
  // The next try opens the default port, COM2.
  fakes.line(2);
  EXPECT_EQ(receiver->connectGps(), 1);
  EXPECT_TRUE(receiver->enabled());
}

TEST_F(ReceiverTest, APortThatDoesNotOpenLeavesGpsDisabled) {
  writePortFile(5);
  make();
  EXPECT_EQ(receiver->connectGps(), 0);  // no device on COM5
  EXPECT_TRUE(host.sawText(gps::kPortOpenFailedText));
  EXPECT_FALSE(receiver->enabled());
}

TEST_F(ReceiverTest, SentencesFromThePortBecomeThePositionAndTheFirstFixSoundsOnce) {
  writePortFile(3);
  auto line = fakes.line(3);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  line->feed("noise before the first sentence" + kFix + kFix);
  ASSERT_TRUE(eventually([&] { return state().position.valid == 1; }));
  ASSERT_TRUE(line->waitUntilConsumed());
  const gps::GpsData d = state();
  EXPECT_NEAR(d.position.latitude, 48.1173, 1e-6);
  EXPECT_NEAR(d.position.longitude, 11.516666, 1e-5);
  EXPECT_TRUE(receiver->detected());
  EXPECT_EQ(soundNames(), std::vector<std::string>{gps::kActiveSound});
  EXPECT_EQ(line->settings().baud, 9600u);
}

TEST_F(ReceiverTest, SilenceWarnsThenReconnectsAndResumedSentencesRecover) {
  writePortFile(3);
  auto line = fakes.line(3);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  line->feed(kFix);
  ASSERT_TRUE(eventually([&] { return state().position.valid == 1; }));

  clock.now += 5100;  // past the detection time-out
  ASSERT_TRUE(eventually([&] { return state().position.statusText == gps::kNotDetectedText; }));
  EXPECT_EQ(state().position.old, 1);
  EXPECT_FALSE(receiver->detected());
  ASSERT_TRUE(eventually([&] { return soundNames().size() == 2; }));
  EXPECT_EQ(soundNames().back(), gps::kInactiveSound);

  clock.now += 2500;  // past 1.5 × the time-out: the reader gives up
  ASSERT_TRUE(eventually([&] { return state().position.statusText == gps::kReconnectText; }));
  ASSERT_TRUE(eventually([&] { return !receiver->enabled(); }));
  EXPECT_EQ(fakes.opens(3), 1);
  host.pump();  // the posted reconnect runs on the UI thread
  EXPECT_EQ(fakes.opens(3), 2);
  EXPECT_TRUE(receiver->enabled());

  // The new reader shows the last position, old, until the receiver speaks.
  ASSERT_TRUE(eventually([&] { return state().position.valid == 0; }));
  EXPECT_NEAR(state().position.latitude, 48.1173, 1e-6);

  line->feed(kFix);
  ASSERT_TRUE(eventually([&] { return receiver->detected() && state().position.statusText.empty(); }));
  EXPECT_EQ(state().position.valid, 1);
}

TEST_F(ReceiverTest, DisconnectingClosesThePortAndTheEditWindowsEndLeavesItOpen) {
  writePortFile(3);
  fakes.line(3);
  fakes.line(4);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  ASSERT_EQ(ports_.Port_Open(4, 9600, 'N', 8, 1, 13, 0, serial::kClassGeneral), 1);
  ports_.closeGeneral();
  EXPECT_FALSE(ports_.isOpen(4));
  EXPECT_TRUE(ports_.isOpen(3));
  EXPECT_TRUE(receiver->enabled());
  receiver->disconnectGps();
  EXPECT_FALSE(ports_.isOpen(3));
  EXPECT_FALSE(receiver->enabled());
}

TEST_F(ReceiverTest, GpsTimeSetsTheClockOnlyFromAFixAndARefusalIsSaidOnce) {
  writePortFile(3);
  auto line = fakes.line(3);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  line->feed(sentence("GPZDA,101010,14,06,2031,00,00"));  // no fix yet
  ASSERT_TRUE(line->waitUntilConsumed());
  EXPECT_EQ(setter.count(), 0u);

  setter.answer = platform::kErrPrivilegeNotHeld;
  line->feed(kFix + sentence("GPZDA,101010,14,06,2031,00,00"));
  ASSERT_TRUE(eventually([&] { return setter.count() == 1; }));
  ASSERT_TRUE(eventually([&] { return !receiver->clockNote().empty(); }));
  EXPECT_EQ(setter.set[0].year, 2031);
  EXPECT_EQ(setter.set[0].hour, 10);
  // A refused setting is not tried again.
  line->feed(kFix + sentence("GPZDA,101030,14,06,2031,00,00"));
  ASSERT_TRUE(line->waitUntilConsumed());
  EXPECT_EQ(setter.count(), 1u);
}

TEST_F(ReceiverTest, AClockWithinTwoSecondsOfGpsTimeIsLeftAlone) {
  writePortFile(3);
  auto line = fakes.line(3);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  // The PC says 15 June 2030 12:00:00 UTC.
  line->feed(kFix + sentence("GPZDA,120002,15,06,2030,00,00"));
  ASSERT_TRUE(eventually([&] { return state().received.zda; }));
  ASSERT_TRUE(line->waitUntilConsumed());
  EXPECT_EQ(setter.count(), 0u);
}

TEST_F(ReceiverTest, AClockFromBeforeTheProgramWasBuiltIsNeverSet) {
  writePortFile(3);
  auto line = fakes.line(3);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  line->feed(kFix + sentence("GPZDA,101010,14,06,2001,00,00"));
  ASSERT_TRUE(eventually([&] { return state().received.zda || line->reads() > 200; }));
  ASSERT_TRUE(line->waitUntilConsumed());
  EXPECT_EQ(setter.count(), 0u);
}

TEST_F(ReceiverTest, ABacklogBeyondWhatTheReaderKeepsUpWithIsThrownAway) {
  writePortFile(3);
  auto line = fakes.line(3);
  std::string backlog;
  while (backlog.size() < 2000) backlog += kFix;
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  line->feed(backlog);
  ASSERT_TRUE(eventually([&] { return line->purges() >= 2; }));  // the open's purge, then the reader's
}

TEST_F(ReceiverTest, TsipPositionPacketsAreAnsweredWithTheOptionsPacket) {
  writePortFile(3, gps::kProtocolTsip);
  auto line = fakes.line(3);
  make();
  ASSERT_EQ(receiver->connectGps(), 1);
  std::vector<std::uint8_t> data(20, 0);
  line->feed(gps::tsipFrame(0x4A, data));
  EXPECT_TRUE(line->waitForSent(gps::tsipIoOptionsPacket()));
  EXPECT_TRUE(receiver->detected());
}

}  // namespace
