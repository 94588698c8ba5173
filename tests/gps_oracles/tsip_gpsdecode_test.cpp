// Our TSIP decoding against gpsd's: one stream of position and velocity
// packets over the whole globe, read by our assembler and handlers and by
// gpsdecode, whose TSIP driver logs each packet's values (two decimals for
// positions, six for velocities).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gps/tsip.hpp"
#include "support/temp_dir.hpp"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr double kRad = 3.14159265358979323846 / 180;

void put32(Bytes& b, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}
void putF32(Bytes& b, float v) { std::uint32_t u; std::memcpy(&u, &v, 4); put32(b, u); }
void putF64(Bytes& b, double v) {
  std::uint64_t u;
  std::memcpy(&u, &v, 8);
  put32(b, static_cast<std::uint32_t>(u >> 32));
  put32(b, static_cast<std::uint32_t>(u));
}

// What one packet said: a position (latitude, longitude, height) or a
// velocity (speed m/s, course degrees).
struct Value {
  char kind;
  double a, b, c;
};

struct Stream {
  std::string bytes;
  std::vector<std::pair<std::uint8_t, Bytes>> packets;
  void add(std::uint8_t id, Bytes data) {
    bytes += gps::tsipFrame(id, data);
    packets.emplace_back(id, std::move(data));
  }
};

// Positions spread over the globe (a fixed sequence), each sent as 0x4A,
// 0x84 (every other one with its longitude in 0-360) and 0x8F-20, and a velocity.
Stream globeStream() {
  Stream s;
  std::uint32_t seed = 12345;
  auto next = [&seed] { seed = seed * 1103515245u + 12345u; return (seed >> 8) / double(1 << 24); };
  for (int i = 0; i < 60; ++i) {
    const double lat = -89.9 + 179.8 * next(), lon = -180 + 359.99 * next(), height = -100 + 5000 * next();
    Bytes single;
    putF32(single, float(lat * kRad));
    putF32(single, float(lon * kRad));
    putF32(single, float(height));
    putF32(single, 0);
    putF32(single, 1000);
    s.add(0x4A, single);
    Bytes twice;
    putF64(twice, lat * kRad);
    putF64(twice, (i % 2 && lon < 0 ? lon + 360 : lon) * kRad);
    putF64(twice, height);
    putF64(twice, 0);
    putF32(twice, 1000);
    s.add(0x84, twice);
    Bytes fix = {0x20, 0, 0, 0, 0, 0, 0, 0};
    put32(fix, 1000u + i);
    put32(fix, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(lat / 180 * 2147483648.0))));
    put32(fix, static_cast<std::uint32_t>(std::llround((lon < 0 ? lon + 360 : lon) / 180 * 2147483648.0)));
    put32(fix, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::llround(height * 1000))));
    fix.insert(fix.end(), {0, 0, 0, static_cast<std::uint8_t>(i % 2 ? 0x02 : 0x00), 6, 18, 0x08, 0x34});
    fix.resize(56);
    s.add(0x8F, fix);
    Bytes velocity;
    const double east = (next() < 0.5 ? -1 : 1) * (0.5 + 40 * next());
    const double north = (next() < 0.5 ? -1 : 1) * (0.5 + 40 * next());
    putF32(velocity, float(east));
    putF32(velocity, float(north));
    for (int k = 0; k < 3; ++k) putF32(velocity, 0);
    s.add(0x56, velocity);
  }
  return s;
}

std::vector<Value> ours(const Stream& s) {
  gps::GpsData d;
  d.parms.setVelocityUnit(gps::kMps);
  gps::TsipAssembler a;
  std::vector<Value> out;
  for (unsigned char c : s.bytes) {
    if (!a.feed(c)) continue;
    const gps::DecodeEffects fx = gps::handleTsipPacket(d, a.id(), a.data(), {});
    EXPECT_TRUE(fx.handled) << std::hex << int(a.id());
    if (a.id() == 0x56)
      out.push_back({'V', d.quality.speed, d.quality.course, 0});
    else
      out.push_back({'P', d.position.latitude, d.position.longitude, d.position.heightEllipsoid});
  }
  return out;
}

std::vector<Value> gpsdecodes(const std::string& file) {
  std::vector<Value> out;
  const std::string command = "gpsdecode -d -D 9 < '" + file + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char line[4096];
  while (std::fgets(line, sizeof line, pipe)) {
    Value v{'P', 0, 0, 0};
    const char* at = nullptr;
    if ((at = std::strstr(line, "SP-LLA (0x4a): time=")) || (at = std::strstr(line, "DP-LLA (0x84) time="))) {
      at = std::strstr(at, " lat=");
      if (at && std::sscanf(at, " lat=%lf lon=%lf alt=%lf", &v.a, &v.b, &v.c) == 3) out.push_back(v);
    } else if ((at = std::strstr(line, "LFwEI (0x8f-20): time="))) {
      at = std::strstr(at, " lat=");
      if (at && std::sscanf(at, " lat=%lf lon=%lf altHAE=%lf", &v.a, &v.b, &v.c) == 3) out.push_back(v);
    } else if ((at = std::strstr(line, "Vel ENU (0x56):"))) {
      double east = 0, north = 0;
      if (std::sscanf(at, "Vel ENU (0x56): %lf %lf", &east, &north) == 2) {
        double course = std::atan2(east, north) / kRad;
        out.push_back({'V', std::hypot(east, north), course < 0 ? course + 360 : course, 0});
      }
    }
  }
  pclose(pipe);
  return out;
}

TEST(TsipOracle, PositionsAndVelocitiesAgreeWithGpsdecode) {
  const Stream s = globeStream();
  testing_support::TempDir dir;
  const std::string file = dir.file("globe.tsip");
  testing_support::writeBytes(file, s.bytes);
  const std::vector<Value> mine = ours(s), theirs = gpsdecodes(file);
  ASSERT_EQ(mine.size(), s.packets.size());
  ASSERT_EQ(theirs.size(), mine.size()) << "gpsdecode did not log every packet";
  const double printed = 0.005 + 1e-9;  // half the last printed digit
  for (std::size_t i = 0; i < mine.size(); ++i) {
    const Value &m = mine[i], &t = theirs[i];
    ASSERT_EQ(m.kind, t.kind) << "packet " << i;
    if (m.kind == 'V') {
      EXPECT_NEAR(m.a, t.a, 1e-5) << "packet " << i;
      EXPECT_NEAR(m.b, t.b, 1e-3) << "packet " << i;
      continue;
    }
    EXPECT_NEAR(m.a, t.a, printed) << "latitude of packet " << i;
    // gpsdecode logs 0x84 longitudes as sent, 0-360 included; ours are within -180..180.
    EXPECT_GE(m.b, -180);
    EXPECT_LE(m.b, 180);
    EXPECT_NEAR(std::remainder(m.b - t.b, 360.0), 0, printed) << "longitude of packet " << i;
    EXPECT_NEAR(m.c, t.c, printed) << "height of packet " << i;
  }
}

}  // namespace
