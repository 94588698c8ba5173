#include "gps/nmea.hpp"

namespace gps {

namespace {
constexpr std::size_t kWarningWidth = 30;
}

void statusWarning(GpsData& d) {
  const GpsParms& p = d.parms;
  const Quality& q = d.quality;
  const char* text = nullptr;  // the first test that fails
  if (q.dgps == 0.0 && p.requireDgps()) {
    text = "Warning ! DGPS Not Available";
  } else if (q.dimension() == '2' && p.require3d()) {
    text = "Warning ! 2D Positions Only";
  } else if (q.pdop > p.maxPdop()) {
    text = "Warning ! Max PDOP Exceeded";
  } else if (q.hdop > p.maxHdop()) {
    text = "Warning ! Max HDOP Exceeded";
  } else if (q.satellites < p.minSatellites()) {
    text = "Warning ! Too Few Satellites";
  }
  Position& pos = d.position;
  if (text == nullptr) {
    // A valid fix that passes every filter is current again.
    pos.statusText.clear();
    pos.warning = 0;
    pos.old = 0;
    return;
  }
  pos.statusText = text;
  if (pos.statusText.size() < kWarningWidth) pos.statusText.append(kWarningWidth - pos.statusText.size(), ' ');
  pos.old = 1;
  pos.warning = 1;
}

}  // namespace gps
