// TSIP packets: assembly from the byte stream and what each packet does to
// the position state.
#include "gps/tsip.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "gps/coordinate_text.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Packets = std::vector<std::pair<std::uint8_t, Bytes>>;
constexpr double kRad = 3.14159265358979323846 / 180;

Packets feed(gps::TsipAssembler& a, const std::string& bytes) {
  Packets out;
  for (unsigned char c : bytes)
    if (a.feed(c)) out.emplace_back(a.id(), a.data());
  return out;
}

// Big-endian packet data built field by field.
struct Data {
  Bytes b;
  Data& u8(std::uint8_t v) { b.push_back(v); return *this; }
  Data& u32(std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
    return *this;
  }
  Data& i16(std::int16_t v) { return u8(static_cast<std::uint16_t>(v) >> 8).u8(static_cast<std::uint8_t>(v)); }
  Data& f32(float v) { std::uint32_t u; std::memcpy(&u, &v, 4); return u32(u); }
  Data& f64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    return u32(static_cast<std::uint32_t>(u >> 32)).u32(static_cast<std::uint32_t>(u));
  }
  Data& zeros(std::size_t n) { b.resize(b.size() + n); return *this; }
};

Bytes lla(double latDeg, double lonDeg, float height) {
  return Data{}.f32(float(latDeg * kRad)).f32(float(lonDeg * kRad)).f32(height).zeros(8).b;
}
Bytes llaDouble(double latDeg, double lonDeg, double height) {
  return Data{}.f64(latDeg * kRad).f64(lonDeg * kRad).f64(height).zeros(12).b;
}
std::uint32_t packedAngle(double deg) { return static_cast<std::uint32_t>(std::llround(deg / 180 * 2147483648.0)); }
// 0x8F-20: velocity east and north (raw), scale byte, fix flags, satellites.
Bytes lastFix(double lat, double lon, std::int32_t mm, std::int16_t ve, std::int16_t vn, std::uint8_t scale,
              std::uint8_t flags, std::uint8_t svs) {
  return Data{}.u8(0x20).u8(0).i16(ve).i16(vn).i16(0).u32(1000).u32(packedAngle(lat)).u32(packedAngle(lon))
      .u32(static_cast<std::uint32_t>(mm)).u8(scale).u8(0).u8(0).u8(flags).u8(svs).u8(18).i16(2100).zeros(24).b;
}
Bytes velocity(float east, float north) { return Data{}.f32(east).f32(north).zeros(12).b; }

struct Receiver {
  gps::GpsData d;
  gps::DecodeInput in;
  gps::DecodeEffects send(std::uint8_t id, const Bytes& data) { return gps::handleTsipPacket(d, id, data, in); }
};

TEST(TsipAssembler, TakesPacketsBetweenGarbageAndUndoesDoubledDle) {
  gps::TsipAssembler a;
  const std::string stream = std::string("\x01\x03zz", 4) + gps::tsipFrame(0x46, {0x10, 0x00}) + "junk" +
                             std::string("\x10\x03\x10\x10", 4) + gps::tsipFrame(0x82, {0x10, 0x10, 0x03});
  EXPECT_EQ(feed(a, stream), (Packets{{0x46, {0x10, 0x00}}, {0x82, {0x10, 0x10, 0x03}}}));
}

TEST(TsipAssembler, EveryDataByteSurvivesFraming) {
  Bytes all;
  for (int i = 0; i < 256; ++i) all.push_back(static_cast<std::uint8_t>(i));
  gps::TsipAssembler a;
  EXPECT_EQ(feed(a, gps::tsipFrame(0x5A, all)), (Packets{{0x5A, all}}));
}

TEST(TsipAssembler, TruncatedPacketGivesWayToTheNextOne) {
  gps::TsipAssembler a;
  // A lone DLE inside data starts the next packet; a packet cut off at the end gives nothing.
  const std::string stream = std::string("\x10\x4a\x01\x02", 4) + gps::tsipFrame(0x46, {0x00, 0x00}) +
                             std::string("\x10\x84\x05\x06", 4);
  EXPECT_EQ(feed(a, stream), (Packets{{0x46, {0x00, 0x00}}}));
  EXPECT_EQ(feed(a, gps::tsipFrame(0x82, {1})), (Packets{{0x82, {1}}}));
}

TEST(TsipAssembler, BufferRestartsWhenIdAndDataFillIt) {
  gps::TsipAssembler a;
  const Bytes fits(gps::kTsipBufferLimit - 2, 0x55), tooLong(gps::kTsipBufferLimit - 1, 0x55);
  EXPECT_EQ(feed(a, gps::tsipFrame(0x5A, fits)).size(), 1u);
  EXPECT_TRUE(feed(a, gps::tsipFrame(0x5A, tooLong)).empty());
  EXPECT_EQ(feed(a, gps::tsipFrame(0x46, {0})), (Packets{{0x46, {0}}}));
}

TEST(TsipPackets, IoOptionsPacketBytes) {
  EXPECT_EQ(gps::tsipIoOptionsPacket(), std::string("\x10\x35\x32\x02\x01\x00\x10\x03", 8));
}

TEST(TsipPackets, SinglePrecisionPositionIsAFixAnsweredWithIoOptions) {
  Receiver r;
  auto fx = r.send(0x4A, lla(48.12, -11.52, 545.4f));
  ASSERT_TRUE(fx.handled);
  EXPECT_NEAR(r.d.position.latitude, 48.12, 1e-5);
  EXPECT_NEAR(r.d.position.longitude, -11.52, 1e-5);
  EXPECT_NEAR(r.d.position.heightEllipsoid, 545.4, 1e-3);
  EXPECT_EQ(r.d.position.latitudeText, gps::coordinateTexts(r.d.position.latitude, r.d.position.longitude,
                                                            r.d.parms.coordinateFormat()).latitude);
  EXPECT_EQ(r.d.position.valid, 1);
  EXPECT_EQ(r.d.position.old, 0);
  for (int f : r.d.newFix) EXPECT_EQ(f, 1);
  EXPECT_EQ(r.d.texts.fixType, "GPS");
  EXPECT_TRUE(fx.soundActive);
  EXPECT_FALSE(fx.redraw);
  EXPECT_EQ(fx.reply, gps::tsipIoOptionsPacket());
  EXPECT_EQ(r.d.previousLatitude, r.d.position.latitude);  // no fix before: previous is the fix itself

  fx = r.send(0x4A, lla(48.2, -11.5, 500));
  EXPECT_FALSE(fx.soundActive);  // once per change
  EXPECT_NEAR(r.d.previousLatitude, 48.12, 1e-5);
}

TEST(TsipPackets, DoublePrecisionPositionInRadiansAndLongitudeBrought) {
  Receiver r;
  auto fx = r.send(0x84, llaDouble(-33.5, 200.25, 12.5));
  ASSERT_TRUE(fx.handled);
  EXPECT_NEAR(r.d.position.latitude, -33.5, 1e-9);
  EXPECT_NEAR(r.d.position.longitude, 200.25 - 360, 1e-9);
  EXPECT_EQ(fx.reply, gps::tsipIoOptionsPacket());
  EXPECT_TRUE(fx.redraw);
  ASSERT_TRUE(r.send(0x8F, lastFix(1, 2, 0, 0, 0, 0, 0, 5)).handled);
  EXPECT_TRUE(r.d.packet8fSeen);
  EXPECT_FALSE(r.send(0x84, llaDouble(1, 2, 3)).redraw);  // 0x8F now drives the redraws
  EXPECT_FALSE(r.send(0x82, {1}).redraw);
}

TEST(TsipPackets, LastFixCarriesPositionFlagsSatellitesAndVelocity) {
  Receiver r;
  r.d.parms.setVelocityUnit(gps::kMps);
  // East 600 × 0.005 = 3 m/s, north 800 × 0.005 = 4 m/s; differential, 2D.
  auto fx = r.send(0x8F, lastFix(-20.75, -150.5 + 360, 77000, 600, 800, 0, 0x06, 7));
  ASSERT_TRUE(fx.handled);
  EXPECT_TRUE(fx.redraw);
  EXPECT_NEAR(r.d.position.latitude, -20.75, 1e-7);
  EXPECT_NEAR(r.d.position.longitude, -150.5, 1e-7);
  EXPECT_DOUBLE_EQ(r.d.position.heightEllipsoid, 77.0);
  EXPECT_EQ(r.d.texts.fixType, "DGPS");
  EXPECT_EQ(r.d.quality.dimension(), '2');
  EXPECT_EQ(r.d.position.satellites, 7);
  EXPECT_NEAR(r.d.quality.speed, 5.0, 1e-9);
  EXPECT_NEAR(r.d.quality.course, 36.8699, 1e-4);
  // The scale bit makes the same counts 0.02 m/s each; a 3D fix without corrections.
  r.send(0x8F, lastFix(-20.75, 209.5, 77000, 600, 800, 0x01, 0x00, 7));
  EXPECT_NEAR(r.d.quality.speed, 20.0, 1e-9);
  EXPECT_EQ(r.d.texts.fixType, "GPS");
  EXPECT_EQ(r.d.quality.dimension(), '3');
  // Bit 0: no fix. The position stays, the fix is gone.
  fx = r.send(0x8F, lastFix(10, 10, 0, 0, 0, 0, 0x01, 0));
  EXPECT_TRUE(fx.soundInactive);
  EXPECT_EQ(r.d.position.valid, 0);
  EXPECT_EQ(r.d.position.old, 1);
  EXPECT_EQ(r.d.texts.fixType, "OLD");
  EXPECT_NEAR(r.d.position.latitude, -20.75, 1e-7);
  for (int f : r.d.newFix) EXPECT_EQ(f, 0);
}

TEST(TsipPackets, CompactFixPosition) {
  Receiver r;
  const Bytes b = Data{}.u8(0x23).u32(1000).i16(2100).u8(18).u8(0x02).u32(packedAngle(-45.5))
                      .u32(packedAngle(100.25)).u32(1500).zeros(8).b;
  ASSERT_TRUE(r.send(0x8F, b).handled);
  EXPECT_NEAR(r.d.position.latitude, -45.5, 1e-7);
  EXPECT_NEAR(r.d.position.longitude, 100.25, 1e-7);
  EXPECT_DOUBLE_EQ(r.d.position.heightEllipsoid, 1.5);
  EXPECT_EQ(r.d.texts.fixType, "DGPS");
}

TEST(TsipPackets, HealthMarksTheFixUnusableUntilItRecovers) {
  Receiver r;
  r.send(0x4A, lla(10, 20, 0));
  auto fx = r.send(0x46, {11, 0});
  EXPECT_TRUE(fx.redraw);
  EXPECT_TRUE(fx.soundInactive);
  EXPECT_EQ(fx.reply, gps::tsipIoOptionsPacket());
  EXPECT_EQ(r.d.position.statusText, "Old - Only 3 Usable Satellites");
  EXPECT_EQ(r.d.position.valid, 0);
  EXPECT_EQ(r.d.position.old, 1);
  EXPECT_EQ(r.d.texts.fixType, "OLD");
  EXPECT_FALSE(r.send(0x46, {3, 0}).soundInactive);
  EXPECT_EQ(r.d.position.statusText, "Old - PDOP Too High");
  // Positions while unusable are no fix and leave the last one shown.
  EXPECT_TRUE(r.send(0x4A, lla(11, 21, 0)).handled);
  EXPECT_EQ(r.d.position.valid, 0);
  EXPECT_NEAR(r.d.position.latitude, 10, 1e-5);
  // The differential mode does not hide that the fix is old.
  r.send(0x82, {3});
  EXPECT_EQ(r.d.texts.fixType, "OLD");
  r.send(0x46, {0, 0});
  EXPECT_EQ(r.d.position.statusText, "");
  fx = r.send(0x4A, lla(11, 21, 0));
  EXPECT_TRUE(fx.soundActive);
  EXPECT_EQ(r.d.position.valid, 1);
  EXPECT_EQ(r.d.texts.fixType, "DGPS");
  EXPECT_EQ(r.d.position.fixChar, 'D');
}

TEST(TsipPackets, SatelliteSelection) {
  Receiver r;
  auto fx = r.send(0x6D, Data{}.u8(0x5C).f32(2.6f).f32(99.9f).f32(1).f32(1).zeros(5).b);
  ASSERT_TRUE(fx.handled);
  EXPECT_TRUE(fx.redraw);
  EXPECT_EQ(r.d.quality.fixMode, "M3D");
  EXPECT_EQ(r.d.position.satellites, 5);
  EXPECT_EQ(r.d.texts.pdop, "Pdop:2");
  EXPECT_EQ(r.d.texts.hdop, "Hdop:High");
  EXPECT_NEAR(r.d.quality.pdop, 2.6, 1e-6);
  // Twelve satellites show as 9; bits 0-2 below 4 are a 2D fix.
  ASSERT_TRUE(r.send(0x6D, Data{}.u8(0xC3).f32(1).f32(1).f32(1).f32(1).zeros(12).b).handled);
  EXPECT_EQ(r.d.quality.satellites, 9);
  EXPECT_EQ(r.d.quality.fixMode, "A2D");
  EXPECT_EQ(r.d.texts.dimension, "2D");
  // The list must hold the satellites the count names.
  EXPECT_FALSE(r.send(0x6D, Data{}.u8(0xC3).f32(1).f32(1).f32(1).f32(1).zeros(11).b).handled);
}

TEST(TsipPackets, GpsTimeSetsTheClockOnlyWhenItDiffersAndIsReal) {
  Receiver r;
  r.in.utcNow = {2024, 5, 17, 1, 6, 22, 0, 5};
  // 349600.5 s of the week less 18 s: 01:06:22 into the fifth day.
  const Bytes time = Data{}.f32(349600.5f).i16(2100).f32(18).b;
  auto fx = r.send(0x41, time);
  EXPECT_TRUE(fx.handled);
  EXPECT_FALSE(fx.setClock);
  EXPECT_EQ(r.d.position.utcTimeText, "01:06:22");
  r.in.utcNow.second = 20;
  fx = r.send(0x41, time);
  ASSERT_TRUE(fx.setClock);
  EXPECT_EQ(fx.clockUtc.year * 10000 + fx.clockUtc.month * 100 + fx.clockUtc.day, 20240517);
  EXPECT_EQ(fx.clockUtc.second, 22);
  // Just before midnight by GPS while the PC is past it: the date is the PC's day before.
  r.in.utcNow = {2024, 3, 1, 0, 0, 3, 0, 5};
  fx = r.send(0x41, Data{}.f32(86400 * 4 - 1 + 18).i16(2100).f32(18).b);
  ASSERT_TRUE(fx.setClock);
  EXPECT_EQ(fx.clockUtc.day, 29);
  EXPECT_EQ(fx.clockUtc.month, 2);
  EXPECT_EQ(fx.clockUtc.hour, 23);
  EXPECT_EQ(fx.clockUtc.dayOfWeek, 4);
  // No time yet (negative time of week) or no UTC offset: the clock is left.
  EXPECT_FALSE(r.send(0x41, Data{}.f32(-1).i16(2100).f32(18).b).setClock);
  EXPECT_FALSE(r.send(0x41, Data{}.f32(1000).i16(2100).f32(0).b).setClock);
}

struct VelocityCase {
  float east, north;
  int unit;
  double speed, course;
};

TEST(TsipPackets, VelocityGivesSpeedAndCourse) {
  const VelocityCase cases[] = {
      {0.2f, 0.5f, gps::kMps, 0.5, 0},         // east within the dead band
      {0.3f, 0.3f, gps::kMps, 0, 0},           // below 0.447 m/s
      {-3, 0.1f, gps::kMps, 3, 270},           // north 0
      {3, 0, gps::kMps, 3, 90},
      {0, -3, gps::kMps, 3, 180},              // east 0
      {-3, -4, gps::kMps, 5, 216.8699},
      {3, 4, gps::kKph, 18, 36.8699},
      {3, 4, gps::kKnots, 5 * 3600 / 1853.321055986, 36.8699},
      {3, 4, gps::kFps, 5 * 3.280839, 36.8699},
      {3, 4, gps::kMph, 5 * 3600 / 1609.3444390292, 36.8699},
  };
  for (const auto& c : cases) {
    Receiver r;
    r.d.parms.setVelocityUnit(c.unit);
    auto fx = r.send(0x56, velocity(c.east, c.north));
    ASSERT_TRUE(fx.handled);
    EXPECT_TRUE(fx.redraw);
    EXPECT_NEAR(r.d.quality.speed, c.speed, 1e-5) << c.east << "," << c.north << " unit " << c.unit;
    EXPECT_NEAR(r.d.quality.course, c.course, 1e-4) << c.east << "," << c.north;
  }
}

TEST(TsipPackets, MagneticCourseOnlyWhileMoving) {
  Receiver r;
  r.d.parms.setBearingRef(gps::kMagneticBearing);
  r.d.parms.setMagneticVariation(10);
  r.send(0x56, velocity(static_cast<float>(-5 * std::sin(5 * kRad)), static_cast<float>(5 * std::cos(5 * kRad))));
  EXPECT_NEAR(r.d.quality.course, 5, 1e-4);  // 355 + 10 - 360
  EXPECT_EQ(r.d.texts.course, "  5\u00B0M");
  r.send(0x56, velocity(0, 0));
  EXPECT_EQ(r.d.quality.course, 0);
}

TEST(TsipPackets, ShortPacketsAreDropped) {
  const std::pair<std::uint8_t, Bytes> needed[] = {
      {0x41, Data{}.f32(1000).i16(2100).f32(18).b},
      {0x4A, lla(1, 2, 3)},
      {0x56, velocity(3, 4)},
      {0x6D, Data{}.u8(0x24).f32(1).f32(1).f32(1).f32(1).zeros(2).b},
      {0x84, llaDouble(1, 2, 3)},
      {0x8F, lastFix(1, 2, 3, 600, 800, 0, 0, 5)},
      {0x8F, Data{}.u8(0x23).zeros(28).b},
  };
  for (const auto& [id, data] : needed) {
    Receiver full, cut;
    EXPECT_TRUE(full.send(id, data).handled) << int(id);
    const Bytes shorter(data.begin(), data.end() - 1);
    const auto fx = cut.send(id, shorter);
    EXPECT_FALSE(fx.handled) << int(id);
    EXPECT_TRUE(fx.reply.empty());
    EXPECT_EQ(cut.d.position.valid, 0);
    EXPECT_EQ(cut.d.quality.speed, 0);
    EXPECT_FALSE(cut.d.packet8fSeen);
  }
  Receiver r;
  EXPECT_FALSE(r.send(0x46, {}).handled);
  EXPECT_FALSE(r.send(0x99, {1, 2, 3}).handled);
}

TEST(TsipPackets, ImpossiblePositionsAndVelocitiesAreDropped) {
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  Receiver r;
  EXPECT_FALSE(r.send(0x4A, lla(90.5, 0, 0)).handled);
  EXPECT_FALSE(r.send(0x4A, lla(nan, 0, 0)).handled);
  EXPECT_FALSE(r.send(0x84, llaDouble(0, -180.5, 0)).handled);
  EXPECT_FALSE(r.send(0x84, llaDouble(0, inf, 0)).handled);
  EXPECT_FALSE(r.send(0x84, llaDouble(0, 0, nan)).handled);
  EXPECT_FALSE(r.send(0x56, velocity(std::numeric_limits<float>::quiet_NaN(), 1)).handled);
  EXPECT_EQ(r.d.position.valid, 0);
  EXPECT_EQ(r.d.position.latitude, 0);
}

}  // namespace
