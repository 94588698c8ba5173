// The GPS reader routine on the GPS port instance's thread.
#include <cstdio>
#include <string>

#include "gps/clock_policy.hpp"
#include "gps/coordinate_text.hpp"
#include "gps/display_texts.hpp"
#include "gps/nmea.hpp"
#include "gps/reader_shared.hpp"
#include "gps/tsip.hpp"
#include "platform/clock.hpp"
#include "platform/clock_set.hpp"
#include "platform/errors.hpp"
#include "platform/sound.hpp"
#include "serial/port_layer.hpp"
#include "ui/host.hpp"

namespace gps {

namespace {

constexpr std::size_t kPurgeAbove = 924;   // waiting bytes thrown away rather than parsed late
constexpr std::size_t kNmeaPass = 768;     // bytes one assembly pass takes at most
constexpr std::size_t kTsipPass = 1022;
constexpr std::uint32_t kIdleSleepMs = 100;
constexpr std::uint64_t kRedrawEveryMs = 750;
constexpr std::uint32_t kReconnectPauseMs = 500;

class Reader {
 public:
  Reader(const std::shared_ptr<ReaderShared>& shared, serial::ReaderContext& context)
      : shared_(shared), s_(*shared), ctx_(context), clock_(platform::clock()) {}

  void run() {
    start();
    while (!ctx_.stopRequested()) {
      const std::uint64_t now = clock_.ticks();
      const std::uint64_t silent = now - s_.lastSentence.load();
      if (silent > s_.timeoutMs) {
        if (silent * 2 > 3ull * s_.timeoutMs) {
          giveUp();
          return;
        }
        warnSilent();
      }
      bool did = false;
      if (silent * 10 < 12ull * s_.timeoutMs) did = s_.protocol == kProtocolTsip ? tsipStep() : nmeaStep();
      if (!did) clock_.sleep(kIdleSleepMs);
    }
    end();
  }

 private:
  void start() {
    const bool known = s_.positionKnown;
    s_.state.withLock([known](GpsData& d) {
      d.position.valid = 0;
      if (known) {
        // A reader started again after a reconnect keeps the last position
        // the receiver gave, marked old: the fixed start position would pass
        // for a real one where nobody has been.
        d.position.old = 1;
      } else {
        d.position.latitude = kDefaultLatitude;
        d.position.longitude = kDefaultLongitude;
        d.position.heightEllipsoid = kDefaultHeight;
        d.position.altitudeMsl = kDefaultHeight;
        d.previousLatitude = kDefaultLatitude;
        d.previousLongitude = kDefaultLongitude;
      }
      formatPosition(d.position, d.parms);
      resetSpeedTexts(d);
    });
    s_.lastSentence = clock_.ticks();
  }

  void warnSilent() {
    s_.detected = false;
    bool wasActive = false;
    s_.state.withLock([&](GpsData& d) {
      d.position.warning = 1;
      d.position.statusText = kNotDetectedText;
      d.position.old = 1;
      wasActive = d.active;
      d.active = false;
    });
    if (wasActive) playGpsSound(s_, kInactiveSound);
    statusChanged(false);
  }

  // Silent for too long: the port is closed and opened again from the UI thread.
  void giveUp() {
    s_.detected = false;
    s_.state.withLock([](GpsData& d) {
      d.position.statusText = kReconnectText;
      d.position.warning = 1;
      d.position.old = 1;
      d.active = false;
    });
    statusChanged(true);
    if (ui::Host* host = s_.services.host) {
      std::weak_ptr<ReaderShared> weak = shared_;
      host->post([weak] {
        if (auto shared = weak.lock(); shared && shared->owner) shared->owner->reconnectNow();
      });
    }
    clock_.sleep(kReconnectPauseMs);
    end();
  }

  void end() {
    s_.enabled = false;
    s_.detected = false;
    s_.state.withLock([](GpsData& d) { d.active = false; });
    statusChanged(true);
  }

  // Reads what is waiting, a byte at a time; false when nothing came.
  template <class Feed>
  bool readPass(std::size_t most, Feed&& feed) {
    platform::SerialDevice& device = ctx_.device();
    if (device.bytesPending() > kPurgeAbove) device.purge();
    std::size_t taken = 0;
    while (taken < most && !ctx_.stopRequested()) {
      std::uint8_t byte = 0;
      const int rc = device.readByte(byte, 0);
      if (rc == platform::kSerialTimeout) break;
      if (rc != platform::kSerialOk) {
        char text[48];
        std::snprintf(text, sizeof text, "ReadFile() error:%d.", rc);
        ctx_.recordError(text, rc);
        break;
      }
      ++taken;
      feed(byte);
    }
    return taken > 0;
  }

  void sentenceArrived() {
    s_.lastSentence = clock_.ticks();
    s_.detected = true;
  }

  bool nmeaStep() {
    const bool did = readPass(kNmeaPass, [this](std::uint8_t byte) {
      if (!assembler_.feed(byte)) return;
      sentenceArrived();
      if (keptSentence(assembler_.sentence())) (void)queue_.put(assembler_.sentence());
    });
    std::string sentence;
    while (queue_.take(sentence)) {
      const DecodeInput in = input();
      DecodeEffects fx = s_.state.withLock([&](GpsData& d) {
        DecodeEffects e = handleSentence(d, sentence, in);
        if (d.position.valid) s_.positionKnown = true;
        return e;
      });
      apply(fx, true);
    }
    return did;
  }

  bool tsipStep() {
    return readPass(kTsipPass, [this](std::uint8_t byte) {
      if (!tsip_.feed(byte)) return;
      sentenceArrived();
      const DecodeInput in = input();
      DecodeEffects fx = s_.state.withLock([&](GpsData& d) {
        DecodeEffects e = handleTsipPacket(d, tsip_.id(), tsip_.data(), in);
        if (d.position.valid) s_.positionKnown = true;
        return e;
      });
      apply(fx, false);
    });
  }

  DecodeInput input() const {
    DecodeInput in;
    in.utcNow = clock_.systemTime();
    in.landscape = s_.services.landscape;
    return in;
  }

  void apply(const DecodeEffects& fx, bool nmea) {
    if (fx.soundActive) playGpsSound(s_, kActiveSound);
    if (fx.soundInactive) playGpsSound(s_, kInactiveSound);
    if (fx.setClock) setClock(fx.clockUtc);
    if (!fx.reply.empty()) {
      std::size_t written = 0;
      const int rc = ctx_.device().write(fx.reply.data(), fx.reply.size(), 1500, written);
      if (rc > 0) {
        char text[48];
        std::snprintf(text, sizeof text, "WriteFile() error:%d.", rc);
        ctx_.recordError(text, rc);
      }
    }
    // NMEA redraws after every handled sentence (at most every 750 ms);
    // TSIP when its packet asks for it.
    if (fx.handled && (nmea || fx.redraw)) statusChanged(false);
  }

  void setClock(const platform::DateTime& gpsTime) {
    platform::ClockSetter* setter = s_.services.clockSetter;
    if (setter == nullptr || s_.clockRefused) return;
    if (!realDateTime(gpsTime) || !notBeforeBuild(gpsTime) || !worthSetting(gpsTime, clock_.systemTime())) return;
    const int rc = setter->setUtc(gpsTime);
    if (rc == platform::kErrPrivilegeNotHeld || rc == platform::kErrAccessDenied) {
      // Said once: the next fixes would only be refused again.
      s_.clockRefused = true;
      std::lock_guard<std::mutex> hold(s_.noteLock);
      s_.clockNote = "PC Clock Not Set From GPS: " + platform::errorText(rc);
    }
  }

  void statusChanged(bool always) {
    const std::uint64_t now = clock_.ticks();
    if (!always && lastRedraw_ != 0 && now - lastRedraw_ < kRedrawEveryMs) return;
    lastRedraw_ = now == 0 ? 1 : now;
    if (s_.services.statusChanged) s_.services.statusChanged();
  }

  const std::shared_ptr<ReaderShared>& shared_;
  ReaderShared& s_;
  serial::ReaderContext& ctx_;
  platform::Clock& clock_;
  SentenceAssembler assembler_;
  SentenceQueue queue_;
  TsipAssembler tsip_;
  std::uint64_t lastRedraw_ = 0;
};

}  // namespace

void playGpsSound(const ReaderShared& shared, const char* name) {
  const std::string path = shared.services.installRoot + shared.services.sep + name;
  if (shared.services.playSound)
    shared.services.playSound(path);
  else
    platform::playSoundFile(path);
}

void runGpsReader(const std::shared_ptr<ReaderShared>& shared, serial::ReaderContext& context) {
  Reader(shared, context).run();
}

}  // namespace gps
