#pragma once
// The GPS receiver's shared position state: position, time, fix quality,
// speed and course and the status texts, with one new-fix flag per consumer.
// One GpsState lives in the receiver; its mutex is the GPS lock. The reader
// thread updates it under the lock; every other reader copies it whole
// (snapshot) and works on the copy.
#include <mutex>
#include <string>

#include "gps/parms.hpp"
#include "platform/clock.hpp"

namespace gps {

// The fixed position shown before any fix.
inline constexpr double kDefaultLatitude = 42.725912, kDefaultLongitude = -114.51937297;
inline constexpr double kDefaultHeight = 1140.0;  // metres

struct Position {
  int valid = 0;  // 1 while the receiver reports a usable fix
  int old = 0;    // 1 when the shown position is no longer current
  double latitude = 0, longitude = 0;  // decimal degrees, north and east positive
  double heightEllipsoid = 0;          // metres: altitude above sea level + geoid separation
  double altitudeMsl = 0;              // metres
  // Texts in the coordinate format (UTF-8; the degree sign is U+00B0).
  std::string latitudeText, longitudeText, elevationText;
  double fixTimeOfDay = 0;  // the GGA time field as a number (hhmmss.ss)
  std::string utcTimeText;  // "%02d:%02d:%02d"
  std::string utcDateText;  // "%02d/%02d/%04d" month/day/year, from the PC's UTC clock
  char fixChar = ' ';       // ' ' no fix, 'G' GPS, 'D' differential
  int satellites = 0;
  std::string satellitesText, hdopText;  // the sentence fields as received
  double hdop = 0;
  std::string statusText;  // the status/warning line; blank when all is well
  int warning = 0;         // 1 while statusText holds a warning
};

// Receiver quality values beside the position.
struct Quality {
  double hdop = 0, pdop = 0;  // PDOP 0 until a GSA has been received
  double satellites = 0;      // in use
  double dgps = 0;            // 1.0 for a differential fix
  // Mode letter, dimension character, 'D' ("A3D"); empty when cleared. The
  // dimension character (index 1) below '3' means no 3D fix.
  std::string fixMode;
  double course = 0;             // degrees 0-359 over ground
  double speed = 0;              // in the selected velocity unit
  double magneticVariation = 0;  // degrees, easterly negative
  char dimension() const { return fixMode.size() > 1 ? fixMode[1] : ' '; }
};

// Which sentence types have been handled at least once.
struct Received {
  bool gga = false, vtg = false, gsa = false, zda = false, rmc = false;
};

// The consumers that take fixes one by one.
enum FixConsumer : int { kAveragingFix = 0, kLineFix = 1, kPolygonFix = 2, kWaypointFix = 3, kFixConsumers = 4 };

// Ready-made display texts.
struct DisplayTexts {
  std::string satellites;  // "Sv:%d "
  std::string hdop;        // "Hd:%d" or "Hd:High"
  std::string pdop;        // "Pd:%d" or "Pd:High"
  std::string fixType;     // "GPS", "DGPS", "OLD" or blank
  std::string dimension;   // "A3D", "3D", "2D" ...
  std::string course;      // "%3d°T" or "%3d°M"
  std::string speed;       // "%3d mph" ... padded with blanks to 17
  std::string cog;         // "COG:%s %s"
};

struct GpsData {
  Position position;
  Quality quality;
  DisplayTexts texts;
  Received received;
  int newFix[kFixConsumers] = {};
  // The position before the last fix (navigation); equal to it after the first.
  double previousLatitude = 0, previousLongitude = 0;
  // The settings in force: units, formats, warning filters. RMC sentences
  // replace the magnetic variation here.
  GpsParms parms;
  bool active = false;      // the receiver has a fix; the sounds mark changes of it
  bool packet8fSeen = false;  // TSIP: a 0x8F packet has been handled
  bool tsipFixUsable = true;  // TSIP: the last receiver health allows fixes (true before any)
  int lastClockCheckSecond = -1;  // ZDA: the PC clock's seconds at the last check
  bool busy = false;        // a handler is mid-update
};

class GpsState {
 public:
  // Runs fn(GpsData&) under the GPS lock and returns what it returns.
  template <class F>
  auto withLock(F&& fn) {
    std::lock_guard<std::mutex> hold(mutex_);
    return fn(data_);
  }
  // A copy of the whole state, taken under the lock.
  GpsData snapshot() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return data_;
  }
  // Tests and clears the consumer's new-fix flag; with a set flag, fix gets
  // the state as it was: true. False when no new fix waits.
  bool takeNewFix(FixConsumer consumer, GpsData* fix = nullptr) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (!data_.newFix[consumer]) return false;
    data_.newFix[consumer] = 0;
    if (fix) *fix = data_;
    return true;
  }

 private:
  mutable std::mutex mutex_;
  GpsData data_;
};

// What a decoder asks of the world, for the receiver to do outside the lock.
struct DecodeEffects {
  bool handled = false;        // the sentence or packet was taken (not dropped)
  bool soundActive = false;    // play "GPS_Active.wav"
  bool soundInactive = false;  // play "GPS_InActive.wav"
  bool setClock = false;       // set the PC's UTC clock to clockUtc
  platform::DateTime clockUtc;
  bool redraw = false;         // redraw the status line
  std::string reply;           // bytes to send to the receiver
};

// What a decoder reads of the world.
struct DecodeInput {
  platform::DateTime utcNow;  // the PC's UTC clock
  bool landscape = true;      // the screen is wider than it is high
};

}  // namespace gps
