// The handlers of the five kept sentence types. Each one reads and checks
// every number it uses before it changes the state, so a sentence it drops
// leaves the state as it was.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gps/coordinate_text.hpp"
#include "gps/display_texts.hpp"
#include "gps/nmea.hpp"
#include "gps/nmea_fields.hpp"

namespace gps {

namespace {

// Fields a sentence of each type must carry, the address included.
constexpr std::size_t kGgaFields = 15, kVtgFields = 9, kGsaFields = 16, kZdaFields = 5, kRmcFields = 12;
constexpr std::size_t kOldStatusWidth = 52;
constexpr double kMaxSatellites = 999;
constexpr double kMaxHeight = 1e6;  // metres either way; more is no height on Earth
constexpr int kFirstClockYear = 2000, kLastClockYear = 9999;
constexpr int kClockCheckSeconds = 9;  // ZDA sets the clock at most this often

std::string padded(const char* text, std::size_t width) {
  std::string s(text);
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

struct ClockTime {
  int hour = 0, minute = 0;
  double second = 0;
};
// hhmmss.ss: false unless it is a time of day (a leap second 60 allowed).
bool clockTime(double t, ClockTime& out) {
  if (!(t >= 0 && t < 240000)) return false;
  const double minutes = std::floor(t / 100);
  out.hour = static_cast<int>(t / 10000);
  out.minute = static_cast<int>(minutes) - out.hour * 100;
  out.second = t - minutes * 100;
  return out.hour < 24 && out.minute < 60 && out.second < 61;
}

std::string timeText(const ClockTime& t) {
  const long seconds = std::lround(t.second);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, static_cast<int>(seconds > 59 ? 59 : seconds));
  return text;
}

std::string dateText(const platform::DateTime& now) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", now.month, now.day, now.year);
  return text;
}

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}
int dayOfWeek(int y, int m, int d) {  // 0 = Sunday
  static constexpr int kOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + kOffset[m - 1] + d) % 7;
}

// ddmm.mmmm (or dddmm.mmmm) and its hemisphere into signed degrees; false
// for a value that is no angle or lies past limit.
bool degreesOf(std::string_view value, std::string_view hemisphere, double limit, double& out) {
  const double v = fieldNumber(value);
  if (v < 0) return false;
  const double degrees = std::floor(v / 100);
  const double minutes = v - degrees * 100;
  if (minutes >= 60) return false;
  double result = degrees + minutes / 60;
  const char h = firstChar(hemisphere);
  if (h == 'S' || h == 's' || h == 'W' || h == 'w') result = -result;
  if (!(result >= -limit && result <= limit)) return false;
  out = result;
  return true;
}

// A position from four fields (latitude, its hemisphere, longitude, its
// hemisphere). atZero when both values are 0, which receivers send before
// they know where they are.
struct ReadPosition {
  bool ok = false, atZero = false;
  double latitude = 0, longitude = 0;
};
ReadPosition readPosition(const SentenceFields& f, std::size_t first) {
  ReadPosition r;
  r.atZero = fieldNumber(f[first]) == 0 && fieldNumber(f[first + 2]) == 0;
  r.ok = r.atZero || (degreesOf(f[first], f[first + 1], 90, r.latitude) &&
                      degreesOf(f[first + 2], f[first + 3], 180, r.longitude));
  return r;
}

void setDefaultPosition(GpsData& d) {
  d.position.heightEllipsoid = kDefaultHeight;
  d.position.altitudeMsl = kDefaultHeight;
  moveToPosition(d, kDefaultLatitude, kDefaultLongitude);
}

void loseFix(GpsData& d, DecodeEffects& e) {
  if (d.active) {
    e.soundInactive = true;
    d.active = false;
  }
  Position& p = d.position;
  d.texts.fixType.clear();
  p.valid = 0;
  p.warning = 1;
  p.old = 1;
  for (int& flag : d.newFix) flag = 0;
  d.quality.dgps = 0;
  d.quality.fixMode.clear();
}

const char* noFixStatus(int satellites) {
  switch (satellites) {
    case 1: return "Old - Only 1 Usable Satellite";
    case 2: return "Old - Only 2 Usable Satellites";
    case 3: return "Old - Only 3 Usable Satellites";
    default: return "Old - No GPS Time Available";
  }
}

void takeFix(GpsData& d, char quality, DecodeEffects& e) {
  if (!d.active) {
    e.soundActive = true;
    d.active = true;
  }
  const bool differential = quality != '1';
  if (!d.received.gsa && (differential || d.position.satellites > 4)) {
    d.quality.fixMode = " 3D";
    d.texts.dimension = "3D";
  }
  d.texts.fixType = differential ? "DGPS" : "GPS";
  d.quality.dgps = differential ? 1.0 : 0.0;
  Position& p = d.position;
  p.statusText.clear();
  p.valid = 1;
  p.old = 0;
  for (int& flag : d.newFix) flag = 1;
}

bool handleGga(GpsData& d, const SentenceFields& f, const DecodeInput& in, DecodeEffects& e) {
  const ReadPosition where = readPosition(f, 2);
  if (!where.ok) return false;
  const double altitude = fieldNumber(f[9]), separation = fieldNumber(f[11]);
  if (!where.atZero && (std::fabs(altitude) > kMaxHeight || std::fabs(separation) > kMaxHeight)) return false;
  const double satellites = fieldNumber(f[7]), hdop = fieldNumber(f[8]);
  if (satellites < 0 || satellites > kMaxSatellites || hdop < 0) return false;

  Position& p = d.position;
  const double timeField = fieldNumber(f[1]);
  ClockTime t;
  if (clockTime(timeField, t)) p.utcTimeText = timeText(t);
  p.utcDateText = dateText(in.utcNow);
  p.fixTimeOfDay = timeField;
  if (!where.atZero) {
    p.altitudeMsl = altitude;
    p.heightEllipsoid = altitude + separation;
    moveToPosition(d, where.latitude, where.longitude);
  } else if (!d.received.gga) {
    setDefaultPosition(d);
  }

  p.satellites = static_cast<int>(satellites);
  p.satellitesText.assign(f[7]);
  d.quality.satellites = p.satellites;
  d.texts.satellites = satellitesText(p.satellites);
  if (!d.received.gsa) d.quality.pdop = 0;
  p.hdop = hdop;
  p.hdopText.assign(f[8]);
  d.quality.hdop = hdop;
  d.texts.hdop = hdopText(hdop);

  // RTK fixed ('4') and float ('5') are differential fixes like '2'.
  const char quality = firstChar(f[6]);
  switch (quality) {
    case '0':
      loseFix(d, e);
      p.fixChar = ' ';
      p.statusText = padded(noFixStatus(p.satellites), kOldStatusWidth);
      break;
    case '1':
    case '2':
    case '4':
    case '5':
      takeFix(d, quality, e);
      p.fixChar = quality == '1' ? 'G' : 'D';
      break;
    default:  // estimated, manual, simulated: a valid fix stays as it is
      if (!p.valid) {
        loseFix(d, e);
        p.fixChar = ' ';
      }
      break;
  }
  d.received.gga = true;
  return true;
}

double speedInUnit(double kmh, int unit) {
  switch (unit) {
    case kKph: return kmh;
    case kKnots: return kmh * 1000 / kMetresPerNauticalMileOfSpeed;
    case kMps: return kmh * 1000 / 3600;
    case kFps: return kmh * 1000 / 3600 * kFeetPerMetre;
    default: return kmh / (kMetresPerStatuteMile / 1000);
  }
}

void handleVtg(GpsData& d, const SentenceFields& f) {
  double course = fieldNumber(f[1]);
  if (!(course > 0 && course < 360)) course = 0;
  const double kmh = fieldNumber(f[7]);
  d.quality.speed = speedInUnit(kmh > 0 ? kmh : 0, d.parms.velocityUnit());
  if (d.parms.magneticBearing()) {
    // A westerly variation is stored positive: 355 true + 10 W = 5 magnetic.
    const double variation = d.parms.magneticVariation();
    course = std::fmod(course + (std::isfinite(variation) ? variation : 0), 360);
    if (course < 0) course += 360;
    if (course > 359) course -= 360;
    if (course < 0) course = 0;  // 359-360 shows as 0
  }
  d.quality.course = course;
  refreshCourseTexts(d);
  d.received.vtg = true;
}

char printable(char c) { return c > ' ' && c < 0x7F ? c : ' '; }

bool handleGsa(GpsData& d, const SentenceFields& f, const DecodeInput& in) {
  const double pdop = fieldNumber(f[15]);
  if (pdop < 0) return false;
  d.quality.fixMode = {printable(firstChar(f[1])), printable(firstChar(f[2])), 'D'};
  d.texts.dimension = d.quality.fixMode;
  d.quality.pdop = pdop;
  d.texts.pdop = pdopText(pdop, in.landscape);
  d.received.gsa = true;
  return true;
}

// A whole number from a field, or -1 for anything else.
int wholeNumber(std::string_view field) {
  const double v = fieldNumber(field);
  return v >= 0 && v <= 1e6 && v == std::floor(v) ? static_cast<int>(v) : -1;
}

void handleZda(GpsData& d, const SentenceFields& f, const DecodeInput& in, DecodeEffects& e) {
  d.received.zda = true;
  if (!d.position.valid) return;
  const int now = in.utcNow.second;
  if (d.lastClockCheckSecond >= 0 && std::abs(now - d.lastClockCheckSecond) <= kClockCheckSeconds) return;
  d.lastClockCheckSecond = now;
  // Only a real date and time reaches the clock.
  ClockTime t;
  if (!clockTime(fieldNumber(f[1]), t)) return;
  const int day = wholeNumber(f[2]), month = wholeNumber(f[3]), year = wholeNumber(f[4]);
  if (year < kFirstClockYear || year > kLastClockYear || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month))
    return;
  platform::DateTime gps;
  gps.year = year;
  gps.month = month;
  gps.day = day;
  gps.hour = t.hour;
  gps.minute = t.minute;
  gps.second = t.second >= 59 ? 59 : static_cast<int>(t.second);
  gps.dayOfWeek = dayOfWeek(year, month, day);
  const platform::DateTime& pc = in.utcNow;
  if (gps.second != pc.second || gps.minute != pc.minute || gps.hour != pc.hour || gps.day != pc.day ||
      gps.month != pc.month || gps.year != pc.year) {
    e.setClock = true;
    e.clockUtc = gps;
  }
}

bool handleRmc(GpsData& d, const SentenceFields& f, const DecodeInput& in) {
  const bool suppliesPosition = !d.received.gga;
  const ReadPosition where = suppliesPosition ? readPosition(f, 3) : ReadPosition{};
  if (suppliesPosition && !where.ok) return false;

  // An empty or unreadable variation leaves the user's value.
  if (isNumber(f[10])) {
    double variation = fieldNumber(f[10]);
    if (std::fabs(variation) <= 180) {
      const char side = firstChar(f[11]);
      if (side == 'E' || side == 'e') variation = -variation;
      d.parms.setMagneticVariation(variation);
      d.quality.magneticVariation = variation;
    }
  }
  if (suppliesPosition) {
    Position& p = d.position;
    p.statusText = "** OLD ** Waiting for Update";
    p.old = 1;
    if (where.atZero) {
      setDefaultPosition(d);
    } else {
      p.heightEllipsoid = 0;
      p.altitudeMsl = 0;
      moveToPosition(d, where.latitude, where.longitude);
    }
    ClockTime t;
    if (clockTime(fieldNumber(f[1]), t)) p.utcTimeText = timeText(t);
    p.utcDateText = dateText(in.utcNow);
  }
  d.received.rmc = true;
  return true;
}

}  // namespace

DecodeEffects handleSentence(GpsData& d, std::string_view sentence, const DecodeInput& in) {
  DecodeEffects e;
  if (!keptSentence(sentence) || !checksumValid(sentence)) return e;
  const SentenceFields f = splitFields(sentence);
  const std::string_view type = f[0].substr(2);
  bool taken = false;
  d.busy = true;
  if (type == "GGA") {
    taken = f.count >= kGgaFields && handleGga(d, f, in, e);
  } else if (type == "VTG") {
    taken = f.count >= kVtgFields;
    if (taken) handleVtg(d, f);
  } else if (type == "GSA") {
    taken = f.count >= kGsaFields && handleGsa(d, f, in);
  } else if (type == "ZDA") {
    taken = f.count >= kZdaFields;
    if (taken) handleZda(d, f, in, e);
  } else if (type == "RMC") {
    taken = f.count >= kRmcFields && handleRmc(d, f, in);
  }
  d.busy = false;
  if (!taken) return e;
  e.handled = true;
  if (d.position.valid) statusWarning(d);
  e.redraw = true;
  return e;
}

}  // namespace gps
