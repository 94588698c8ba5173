#include "gps/log_thread.hpp"

#include <cmath>

#include "base/text.hpp"
#include "gps/geodesy.hpp"
#include "platform/clock.hpp"
#include "tablestore/table_store.hpp"

namespace gps {

namespace {

constexpr std::uint32_t kRestAfterStoredMs = 55;
constexpr std::uint32_t kRestMs = 5;

}  // namespace

bool intervalPasses(int interval, bool wholeFeet, const Position* last, const Position& current) {
  if (!last) return true;
  if (interval >= 0) {
    // hhmmss numbers, compared as numbers (see the header).
    const double difference = std::trunc(std::fabs(current.fixTimeOfDay - last->fixTimeOfDay));
    return difference >= interval;
  }
  DistanceBearing d;
  d.fromLatitude = last->latitude;
  d.fromLongitude = last->longitude;
  d.toLatitude = current.latitude;
  d.toLongitude = current.longitude;
  distanceBearing(d, 1, false, 0);
  const double feet = wholeFeet ? std::trunc(d.feet) : d.feet;
  return feet >= -static_cast<double>(interval);
}

LogThread::~LogThread() { stop(); }

bool LogThread::start(GpsState& state, LogRequest request) {
  if (running() || request.shape == LogShape::kPoint || request.level < 1 || request.level > 5) return false;
  request_ = std::move(request);
  stopping_.store(false);
  thread_ = std::thread([this, &state] { run(state, request_, stopping_); });
  return true;
}

void LogThread::stop() {
  if (!running()) return;
  stopping_.store(true);
  thread_.join();
}

void LogThread::run(GpsState& state, const LogRequest& request, const std::atomic<bool>& stopping) {
  // Its own table context: the engine's tables are never touched from here.
  tablestore::TableStore store(nullptr);
  store.setErrorDisplay(false);
  const FixConsumer consumer = request.shape == LogShape::kPolygon ? kPolygonFix : kLineFix;
  const bool wholeFeet = request.shape == LogShape::kPolygon;
  bool haveLast = false;
  Position last;
  GpsData fix;
  while (!stopping.load()) {
    bool stored = false;
    // The copy is taken under the GPS lock; the file is written outside it,
    // so the reader never waits for the disk.
    if (state.takeNewFix(consumer, &fix) && intervalPasses(request.interval, wholeFeet, haveLast ? &last : nullptr, fix.position)) {
      std::string refusal = request.acceptance ? request.acceptance(fix) : std::string();
      if (!refusal.empty()) {
        if (request.message) request.message(refusal);
      } else {
        int count = 0;
        // A file that cannot be written loses only this fix; logging goes on
        // and the next fix is measured from the last one stored.
        if (appendPosition(store, request.path, request.level, request.keys, fix, request.fType, count)) {
          last = fix.position;
          haveLast = true;
          stored = true;
          if (request.message)
            request.message(base::format("%s:%s Positions logged:%d", request.levelName.c_str(),
                                         request.fType.c_str(), count));
        }
      }
    }
    platform::clock().sleep(stored && request.recordingInterval != 0 ? kRestAfterStoredMs : kRestMs);
  }
}

}  // namespace gps
