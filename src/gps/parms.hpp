#pragma once
// "GPS_Parms.dft": the 80-byte record of the GPS display units, formats,
// warning filters and logging parameters, kept in the settings folder (the
// install root). Little-endian; bytes nobody names ride along unchanged.
#include <cstdint>
#include <string>

#include "apps/record_doubles.hpp"
#include "base/fixed_record.hpp"

namespace ui { class Host; }

namespace gps {

inline constexpr const char* kParmsFileName = "GPS_Parms.dft";

// Unit of measure, velocity, distance, bearing and elevation references.
enum UnitOfMeasure : int { kStandard = 1, kMetric = 2, kNautical = 3 };
enum VelocityUnit : int { kKph = 1, kMph = 2, kKnots = 3, kMps = 4, kFps = 5 };
enum DistanceUnit : int { kMeters = 1, kFeet = 2, kKilometer = 3, kMiles = 4, kNautMile = 5 };
enum BearingRef : int { kTrueBearing = 1, kMagneticBearing = 2 };
enum ElevationRef : int { kHae = 1, kMsl = 2 };
// Coordinate formats of the position texts.
enum CoordinateFormat : int { kRawDecDeg = 0, kDecimalDeg = 1, kDegMinutes = 2, kDegMinSec = 3, kUtm = 4,
                              kUtmZone = 5 };

class GpsParms : public base::FixedRecord<80> {
 public:
  static constexpr std::size_t kUnitOfMeasure = 0, kVelocityUnit = 2, kDistanceUnit = 4, kBearingRef = 6;
  static constexpr std::size_t kAutoStore = 8, kElevationRef = 16, kKept20 = 20, kCoordinateFormat = 28;
  static constexpr std::size_t kRequireDgps = 30, kRequire3d = 32, kMinSatellites = 34;
  static constexpr std::size_t kMaxPdop = 36, kMaxHdop = 44, kKept52 = 52, kKept54 = 54;
  static constexpr std::size_t kMagneticVariation = 56, kRecordingInterval = 64, kLogDuringWarnings = 68;
  static constexpr std::size_t kAveragePoints = 72, kPositionsToAverage = 76;

  GpsParms() { setDefaults(); }

  // The listed defaults; the last four fields (offsets 64-79) are left as
  // they are.
  void setDefaults() {
    setI16(kUnitOfMeasure, kStandard);
    setI16(kVelocityUnit, kMph);
    setI16(kDistanceUnit, kFeet);
    setI16(kBearingRef, kTrueBearing);
    setI32(kAutoStore, 1);
    setI16(kElevationRef, kHae);
    apps::putF64(*this, kKept20, 0.0);
    setI16(kCoordinateFormat, kDegMinSec);
    setI16(kRequireDgps, 0);
    setI16(kRequire3d, 1);
    setI16(kMinSatellites, 4);
    apps::putF64(*this, kMaxPdop, 12.0);
    apps::putF64(*this, kMaxHdop, 12.0);
    setI16(kKept52, 1);
    setI16(kKept54, 0);
    apps::putF64(*this, kMagneticVariation, 0.0);
  }

  int unitOfMeasure() const { return i16(kUnitOfMeasure); }
  void setUnitOfMeasure(int v) { setI16(kUnitOfMeasure, static_cast<std::int16_t>(v)); }
  int velocityUnit() const { return i16(kVelocityUnit); }
  void setVelocityUnit(int v) { setI16(kVelocityUnit, static_cast<std::int16_t>(v)); }
  int distanceUnit() const { return i16(kDistanceUnit); }
  void setDistanceUnit(int v) { setI16(kDistanceUnit, static_cast<std::int16_t>(v)); }
  bool magneticBearing() const { return i16(kBearingRef) == kMagneticBearing; }
  void setBearingRef(int v) { setI16(kBearingRef, static_cast<std::int16_t>(v)); }
  bool autoStore() const { return i32(kAutoStore) != 0; }
  void setAutoStore(bool on) { setI32(kAutoStore, on ? 1 : 0); }
  bool elevationMsl() const { return i16(kElevationRef) == kMsl; }
  int elevationRef() const { return i16(kElevationRef); }
  void setElevationRef(int v) { setI16(kElevationRef, static_cast<std::int16_t>(v)); }
  // Any value outside 0-5 is taken as Deg Min Sec.
  int coordinateFormat() const {
    const int v = i16(kCoordinateFormat);
    return v >= kRawDecDeg && v <= kUtmZone ? v : kDegMinSec;
  }
  void setCoordinateFormat(int v) { setI16(kCoordinateFormat, static_cast<std::int16_t>(v)); }
  bool requireDgps() const { return i16(kRequireDgps) != 0; }
  void setRequireDgps(bool on) { setI16(kRequireDgps, on ? 1 : 0); }
  bool require3d() const { return i16(kRequire3d) != 0; }
  void setRequire3d(bool on) { setI16(kRequire3d, on ? 1 : 0); }
  int minSatellites() const { return i16(kMinSatellites); }
  void setMinSatellites(int v) { setI16(kMinSatellites, static_cast<std::int16_t>(v)); }
  double maxPdop() const { return apps::getF64(*this, kMaxPdop); }
  void setMaxPdop(double v) { apps::putF64(*this, kMaxPdop, v); }
  double maxHdop() const { return apps::getF64(*this, kMaxHdop); }
  void setMaxHdop(double v) { apps::putF64(*this, kMaxHdop, v); }
  // Degrees; an easterly variation is stored negative.
  double magneticVariation() const { return apps::getF64(*this, kMagneticVariation); }
  void setMagneticVariation(double v) { apps::putF64(*this, kMagneticVariation, v); }
  std::int32_t recordingInterval() const { return i32(kRecordingInterval); }
  void setRecordingInterval(std::int32_t v) { setI32(kRecordingInterval, v); }
  bool logDuringWarnings() const { return i32(kLogDuringWarnings) != 0; }
  void setLogDuringWarnings(bool on) { setI32(kLogDuringWarnings, on ? 1 : 0); }
  bool averagePoints() const { return i32(kAveragePoints) != 0; }
  void setAveragePoints(bool on) { setI32(kAveragePoints, on ? 1 : 0); }
  std::int32_t positionsToAverage() const { return i32(kPositionsToAverage); }
  void setPositionsToAverage(std::int32_t v) { setI32(kPositionsToAverage, v); }
};

// The path of a GPS settings file: the install root, a separator and name.
std::string gpsSettingsPath(const std::string& installRoot, const char* name, char sep);

// Reads GPS_Parms.dft into parms. Defaults are set first; a missing file
// keeps them and is written. A file that cannot be opened, is not 80 bytes
// long or cannot be read whole is reported ("... Setting to Defaults",
// top-most, empty caption), the defaults are set again and the file is
// rewritten. Returns 1 when the file was read as it stood, 0 otherwise.
int readGpsParms(ui::Host& host, const std::string& installRoot, GpsParms& parms, char sep);
// Writes parms whole, replacing the file: 1 on success; 0 after the failure
// was reported (a partial file is deleted and parms set to defaults).
int writeGpsParms(ui::Host& host, const std::string& installRoot, GpsParms& parms, char sep);

}  // namespace gps
