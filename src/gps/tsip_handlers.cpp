#include "gps/tsip.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/civil_date.hpp"
#include "gps/coordinate_text.hpp"
#include "gps/display_texts.hpp"

namespace gps {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double kDegreesPerRadian = 57.295779513082195;
constexpr double kRadiansPerPositionUnit = 1.462918079267163e-9;  // the 32-bit position fields
constexpr double kSecondsPerWeek = 604800, kSecondsPerDay = 86400;

// Big-endian fields; callers have checked the packet is long enough.
std::uint32_t u32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
         static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}
std::int32_t i32(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(u32(b, at)); }
std::int16_t i16(const Bytes& b, std::size_t at) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]));
}
double f32(const Bytes& b, std::size_t at) {
  const std::uint32_t bits = u32(b, at);
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
double f64(const Bytes& b, std::size_t at) {
  const std::uint64_t bits = static_cast<std::uint64_t>(u32(b, at)) << 32 | u32(b, at + 4);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

std::string printed(const char* format, int value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// "Pdop:%d" and the like, "...High" at 99.9 and above.
std::string dopText(const char* name, double dop) {
  if (dop >= 99.9) return std::string(name) + "High";
  return name + printed("%d", static_cast<int>(std::max(dop, 0.0)));
}

void setFixType(GpsData& d) {
  const bool differential = d.quality.dgps == 1.0;
  d.texts.fixType = differential ? "DGPS" : "GPS";
  d.position.fixChar = differential ? 'D' : 'G';
}

// A fix as an NMEA fix makes it: valid, current, new for every consumer.
void markFix(GpsData& d, DecodeEffects& fx) {
  if (!d.active) fx.soundActive = true;
  d.active = true;
  d.position.valid = 1;
  d.position.old = 0;
  d.position.statusText.clear();
  d.position.warning = 0;
  for (int& flag : d.newFix) flag = 1;
  setFixType(d);
}

// The fix is gone; status (when given) says why.
void markLost(GpsData& d, DecodeEffects& fx, const char* status) {
  if (d.active) fx.soundInactive = true;
  d.active = false;
  d.position.valid = 0;
  d.position.old = 1;
  for (int& flag : d.newFix) flag = 0;
  d.texts.fixType = "OLD";
  if (status) {
    d.position.statusText = status;
    d.position.warning = 1;
  }
}

bool plausible(double latitude, double longitude, double height) {
  return std::isfinite(latitude) && std::isfinite(longitude) && std::isfinite(height) && latitude >= -90 &&
         latitude <= 90 && longitude >= -180 && longitude <= 180;
}

// Stores a reported position.
void takePosition(GpsData& d, double latitude, double longitude, double height) {
  d.position.heightEllipsoid = height;  // the receiver is set to report heights above the ellipsoid
  moveToPosition(d, latitude, longitude);
}

void setSatellites(GpsData& d, int count) {
  d.position.satellites = count;
  d.position.satellitesText = printed("%d", count);
  d.quality.satellites = count;
  d.texts.satellites = satellitesText(count);
}

void setDimension(GpsData& d, bool threeD) {
  const char mode = d.quality.fixMode.empty() || d.quality.fixMode[0] == ' ' ? 'A' : d.quality.fixMode[0];
  d.quality.fixMode = std::string{mode, threeD ? '3' : '2', 'D'};
  d.texts.dimension = threeD ? "3D" : "2D";
}

// Speed and course from the east and north velocity (m/s), in the units of d.parms.
void applyVelocity(GpsData& d, double east, double north) {
  // 0.2 m/s or less counts as 0; the margin keeps a 0.2 sent as a single float in the band.
  constexpr double kDeadBand = 0.2 + 1e-6;
  if (std::fabs(east) <= kDeadBand) east = 0;
  if (std::fabs(north) <= kDeadBand) north = 0;
  double speed = std::hypot(east, north), course = 0;
  if (speed < 0.447) {
    speed = 0;
  } else if (north == 0) {
    course = east > 0 ? 90 : 270;
  } else if (east == 0) {
    course = north > 0 ? 0 : 180;
  } else {
    course = std::atan2(east, north) * kDegreesPerRadian;
    if (course < 0) course += 360;
    if (course >= 360) course = 0;  // a tiny negative angle plus 360 rounds to 360
  }
  switch (d.parms.velocityUnit()) {
    case kKph: speed = speed * 3600 / 1000; break;
    case kKnots: speed = speed * 3600 / kMetresPerNauticalMileOfSpeed; break;
    case kMps: break;
    case kFps: speed = speed * kFeetPerMetre; break;
    default: speed = speed * 3600 / kMetresPerStatuteMile; break;
  }
  if (d.parms.magneticBearing() && speed != 0) {
    course = std::fmod(course + d.parms.magneticVariation(), 360.0);
    if (course < 0) course += 360;
    if (course >= 360) course = 0;  // a tiny negative remainder plus 360
  }
  d.quality.speed = speed;
  d.quality.course = course;
  refreshCourseTexts(d);
}

// 0x41: the GPS time of week less the UTC offset gives the UTC time of day.
bool gpsTime(GpsData& d, const Bytes& b, const DecodeInput& in, DecodeEffects& fx) {
  if (b.size() < 10) return false;
  const double timeOfWeek = f32(b, 0), utcOffset = f32(b, 6);
  // A receiver without UTC parameters reports an offset of 0 (or no time
  // at all): such a time would set the clock wrong.
  if (!(timeOfWeek >= 0 && timeOfWeek < kSecondsPerWeek) || !(utcOffset >= 1 && utcOffset <= 255)) return true;
  double ofDay = std::fmod(timeOfWeek - utcOffset + kSecondsPerWeek, kSecondsPerDay);
  const int seconds = std::clamp(static_cast<int>(ofDay), 0, 86399);
  const platform::DateTime& now = in.utcNow;
  if (now.month < 1 || now.month > 12 || now.day < 1 || now.day > 31) return true;
  // The date is the PC's; near midnight it is the day whose time of day
  // lies nearest the PC clock.
  const int nowSeconds = now.hour * 3600 + now.minute * 60 + now.second;
  long long days = base::daysFromCivil(now.year, now.month, now.day);
  if (seconds - nowSeconds > 43200) --days;
  if (nowSeconds - seconds > 43200) ++days;
  platform::DateTime gps;
  const base::CivilDate date = base::civilFromDays(days);
  gps.year = date.year;
  gps.month = date.month;
  gps.day = date.day;
  gps.hour = seconds / 3600;
  gps.minute = seconds / 60 % 60;
  gps.second = seconds % 60;
  gps.dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", gps.hour, gps.minute, gps.second);
  d.position.utcTimeText = text;
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", now.month, now.day, now.year);
  d.position.utcDateText = text;
  if (gps.hour != now.hour || gps.minute != now.minute || gps.second != now.second) {
    fx.setClock = true;
    fx.clockUtc = gps;
  }
  return true;
}

// 0x46: the receiver health; the codes that name a missing fix end it.
bool health(GpsData& d, const Bytes& b, DecodeEffects& fx) {
  if (b.empty()) return false;
  const char* status = nullptr;
  switch (b[0]) {
    case 0:
      d.tsipFixUsable = true;
      d.position.statusText.clear();
      d.position.warning = 0;
      return true;
    case 1: status = "Old - No GPS Time Available"; break;
    case 2: status = "Old - Need Initialization"; break;
    case 3: status = "Old - PDOP Too High"; break;
    case 8: status = "Old - No Usable Satellites"; break;
    case 9: status = "Old - Only 1 Usable Satellite"; break;
    case 10: status = "Old - Only 2 Usable Satellites"; break;
    case 11: status = "Old - Only 3 Usable Satellites"; break;
    case 12: status = "Old - Satellite Unusable"; break;
    default: return true;  // other codes leave the state as it is
  }
  d.tsipFixUsable = false;
  markLost(d, fx, status);
  return true;
}

// A position from 0x4A or 0x84 (degrees, metres): a fix while the health allows one.
bool position(GpsData& d, double latitude, double longitude, double height, DecodeEffects& fx) {
  if (longitude > 180 && longitude <= 360) longitude -= 360;
  if (!plausible(latitude, longitude, height)) return false;
  // While the health says there is no fix the last good position stays shown.
  if (!d.tsipFixUsable) return true;
  takePosition(d, latitude, longitude, height);
  markFix(d, fx);
  return true;
}

// 0x6D: the satellites chosen, the fix dimension and the dilutions of precision.
bool satelliteSelection(GpsData& d, const Bytes& b) {
  if (b.empty()) return false;
  const int count = b[0] >> 4;
  if (b.size() < 17u + static_cast<unsigned>(count)) return false;
  const double pdop = f32(b, 1), hdop = f32(b, 5);
  if (!std::isfinite(pdop) || !std::isfinite(hdop)) return false;
  setSatellites(d, std::min(count, 9));
  d.quality.fixMode = std::string{(b[0] & 0x08) ? 'M' : 'A', (b[0] & 0x07) >= 4 ? '3' : '2', 'D'};
  d.texts.dimension = d.quality.fixMode.substr(1);
  d.quality.pdop = pdop;
  d.quality.hdop = hdop;
  d.position.hdop = hdop;
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::clamp(hdop, -1e6, 1e6));
  d.position.hdopText = text;
  d.texts.pdop = dopText("Pdop:", pdop);
  d.texts.hdop = dopText("Hdop:", hdop);
  return true;
}

// 0x82: whether differential corrections are in use.
bool differentialMode(GpsData& d, const Bytes& b) {
  if (b.empty()) return false;
  d.quality.dgps = b[0] == 1 || b[0] == 3 ? 1.0 : 0.0;
  // "OLD" (or no fix) stays until a fix comes.
  if (d.position.valid) setFixType(d);
  return true;
}

// The fix flags of 0x8F-20 and 0x8F-23: bit 0 no fix, bit 1 differential, bit 2 two-dimensional.
bool packedFix(GpsData& d, const Bytes& b, std::size_t flagsAt, std::size_t positionAt, DecodeEffects& fx) {
  const std::uint8_t flags = b[flagsAt];
  if (flags & 0x01) {
    markLost(d, fx, nullptr);
    return true;
  }
  const double latitude = i32(b, positionAt) * kRadiansPerPositionUnit * kDegreesPerRadian;
  double longitude = u32(b, positionAt + 4) * kRadiansPerPositionUnit * kDegreesPerRadian;
  if (longitude > 180) longitude -= 360;
  const double height = i32(b, positionAt + 8) / 1000.0;
  if (!plausible(latitude, longitude, height)) return false;
  d.quality.dgps = flags & 0x02 ? 1.0 : 0.0;
  setDimension(d, !(flags & 0x04));
  takePosition(d, latitude, longitude, height);
  markFix(d, fx);
  return true;
}

// 0x8F: the superpackets, told apart by their first byte.
bool superpacket(GpsData& d, const Bytes& b, DecodeEffects& fx) {
  if (b.empty()) return false;
  if (b[0] == 0x20) {
    if (b.size() < 56) return false;
    if (!packedFix(d, b, 27, 12, fx)) return false;
    if (d.position.valid) {
      setSatellites(d, b[28]);
      const double scale = b[24] & 0x01 ? 0.02 : 0.005;
      applyVelocity(d, i16(b, 2) * scale, i16(b, 4) * scale);
    }
    return true;
  }
  if (b[0] == 0x23) return b.size() >= 29 && packedFix(d, b, 8, 9, fx);
  return false;
}

}  // namespace

DecodeEffects handleTsipPacket(GpsData& d, std::uint8_t id, const std::vector<std::uint8_t>& data,
                               const DecodeInput& in) {
  DecodeEffects fx;
  bool handled = false;
  switch (id) {
    case 0x41: handled = gpsTime(d, data, in, fx); break;
    case 0x46:
      handled = health(d, data, fx);
      fx.redraw = handled;
      break;
    case 0x4A:
      handled = data.size() >= 20 &&
                position(d, f32(data, 0) * kDegreesPerRadian, f32(data, 4) * kDegreesPerRadian, f32(data, 8), fx);
      break;
    case 0x4B: handled = true; break;  // the receiver's identity: nothing to keep
    case 0x56: {
      if (data.size() < 20) break;
      const double east = f32(data, 0), north = f32(data, 4);
      if (!std::isfinite(east) || !std::isfinite(north)) break;
      applyVelocity(d, east, north);
      handled = fx.redraw = true;
      break;
    }
    case 0x5A: handled = true; break;  // raw measurements: only answered
    case 0x6D:
      handled = satelliteSelection(d, data);
      fx.redraw = handled;
      break;
    case 0x82:
      handled = differentialMode(d, data);
      fx.redraw = handled && !d.packet8fSeen;
      break;
    case 0x84:
      handled = data.size() >= 36 &&
                position(d, f64(data, 0) * kDegreesPerRadian, f64(data, 8) * kDegreesPerRadian, f64(data, 16), fx);
      fx.redraw = handled && !d.packet8fSeen;
      break;
    case 0x8F:
      handled = superpacket(d, data, fx);
      if (handled) d.packet8fSeen = fx.redraw = true;
      break;
    default: break;
  }
  fx.handled = handled;
  if (handled && (id == 0x46 || id == 0x4A || id == 0x5A || id == 0x84)) fx.reply = tsipIoOptionsPacket();
  return fx;
}

}  // namespace gps
